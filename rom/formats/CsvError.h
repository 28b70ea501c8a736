#pragma once

#include <string>
#include <string_view>

namespace rom {

// Why a shop table in CSV was refused. Each value has one sentence for the
// user in describe().
enum class CsvProblem {
    None,
    NoHeader,       // the text holds no line at all
    MissingColumn,  // one of shop, type, slot1-slot8 is not in the header
    RepeatedColumn, // one of those names appears twice in the header
    FieldCount,     // a row has more or fewer fields than the header
    StrayQuote,     // a quote mark inside a field that does not start with one
    TextAfterQuote, // a quoted field goes on after its closing quote mark
    UnclosedQuote,  // a quoted field runs to the end of the text
    BadShop,        // a shop number that is not decimal 0-127
    BadCode,        // a code that is not exactly two hexadecimal digits
    ShortCode,      // a code of one hexadecimal digit, its leading zero dropped (by a spreadsheet, often)
    RepeatedShop,   // a shop that an earlier row already gave
};

[[nodiscard]] std::string_view describe(CsvProblem problem);

// Where in the text a CSV problem lies.
struct CsvError {
    CsvProblem problem = CsvProblem::None;
    int line = 0;       // physical line, from 1; 0 when there is no problem
    int field = 0;      // field position in its line, from 1; 0 for the whole header
    std::string column; // header name of that field; empty when the header has none for it

    [[nodiscard]] bool ok() const { return problem == CsvProblem::None; }
    // "Line 7, column slot3: " followed by describe(problem).
    [[nodiscard]] std::string message() const;
};

} // namespace rom
