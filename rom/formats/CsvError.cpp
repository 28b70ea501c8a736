#include "CsvError.h"

namespace rom {

std::string_view describe(CsvProblem problem)
{
    switch (problem) {
    case CsvProblem::None:
        return "No error.";
    case CsvProblem::NoHeader:
        return "The file is empty: its first line must name the columns shop, type and slot1 to slot8.";
    case CsvProblem::MissingColumn:
        return "The first line has no column of this name; shop, type and slot1 to slot8 are all needed.";
    case CsvProblem::RepeatedColumn:
        return "The first line names this column twice.";
    case CsvProblem::FieldCount:
        return "The line does not have as many fields as the first line has columns.";
    case CsvProblem::StrayQuote:
        return "A quote mark is inside a field that does not start with one: put the whole field in quotes "
               "and double each quote mark inside it.";
    case CsvProblem::TextAfterQuote:
        return "A quoted field goes on after its closing quote mark.";
    case CsvProblem::UnclosedQuote:
        return "A quoted field that starts here has no closing quote mark.";
    case CsvProblem::BadShop:
        return "The shop must be a whole number from 0 to 127.";
    case CsvProblem::BadCode:
        return "A code must be exactly two hexadecimal digits, such as 0A or ff.";
    case CsvProblem::ShortCode:
        return "A code must be two hexadecimal digits, such as 02, not one: a spreadsheet may have dropped its "
               "leading zero (keep the code columns as text when you save).";
    case CsvProblem::RepeatedShop:
        return "This shop is already given on an earlier line.";
    }
    return "Unknown error.";
}

std::string CsvError::message() const
{
    std::string text = "Line " + std::to_string(line);
    if (!column.empty())
        text += ", column " + column;
    else if (field > 0)
        text += ", field " + std::to_string(field);
    return text + ": " + std::string(describe(problem));
}

} // namespace rom
