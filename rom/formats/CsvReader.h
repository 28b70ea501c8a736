#pragma once

#include "CsvError.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rom {

// One field of a CSV line, unquoted, with the physical line it starts on.
struct CsvField {
    std::string text;
    int line = 0;
};
using CsvRecord = std::vector<CsvField>;

// Splits UTF-8 CSV text into records, as RFC 4180 describes, accepting more
// than it asks for: a byte-order mark at the start, LF, CRLF or CR line ends,
// and blank lines, which are skipped. Quoted fields may hold commas, quote
// marks (doubled) and line ends; lines are counted as a text editor shows them.
class CsvReader {
public:
    explicit CsvReader(std::string_view text);

    // The next record that is not a blank line. False at the end of the text,
    // or at malformed quoting, which error() then describes.
    [[nodiscard]] bool next(CsvRecord &record);
    [[nodiscard]] const CsvError &error() const { return m_error; }

private:
    [[nodiscard]] bool readField(CsvField &field, int position);
    [[nodiscard]] bool readQuoted(std::string &text, int position);
    [[nodiscard]] bool atLineEnd() const;
    // Steps over the CR, LF or CRLF at the current position.
    void skipLineEnd();
    bool fail(CsvProblem problem, int line, int position);

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    CsvError m_error;
};

} // namespace rom
