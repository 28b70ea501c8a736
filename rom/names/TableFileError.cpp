#include "TableFileError.h"

namespace rom {

namespace {

std::string describe(const TableFileError &error)
{
    switch (error.problem) {
    case TableFileProblem::NotUtf8:
        return "this line is not UTF-8 text; save the file with the UTF-8 encoding";
    case TableFileProblem::NotUnderstood:
        return "this is not a line of a table file, such as 8A=A, 8A8B=th, /FF or *FE";
    case TableFileProblem::OddDigits:
        return "the byte sequence " + error.sequence + " has an odd number of hex digits; a byte takes two";
    case TableFileProblem::RepeatedSequence:
        return "the byte sequence " + error.sequence + " appears again (first on line " +
               std::to_string(error.firstLine) + ")";
    }
    return "the line cannot be read";
}

} // namespace

std::string TableFileError::message() const
{
    return "line " + std::to_string(line) + ": " + describe(*this);
}

} // namespace rom
