#include "NamesFileError.h"

#include "HexDigits.h"
#include "ItemNames.h"

namespace rom {

namespace {

std::string codeText(int code) { return "code " + hexByte(code); }

std::string describe(const NamesFileError &error)
{
    switch (error.problem) {
    case NamesFileProblem::NotUtf8:
        return "this line is not UTF-8 text; save the file with the UTF-8 encoding";
    case NamesFileProblem::NoCode:
        return "the line does not start with an item code, two hex digits from 00 to FF";
    case NamesFileProblem::NoColon:
        return "a colon must follow " + codeText(error.code);
    case NamesFileProblem::RepeatedCode:
        return codeText(error.code) + " appears again (first on line " + std::to_string(error.firstLine) + ")";
    case NamesFileProblem::EmptyName:
        return codeText(error.code) + " has no name after the colon";
    case NamesFileProblem::NameTooLong:
        return "the name for " + codeText(error.code) + " has " + std::to_string(error.nameLength)
             + " characters; at most " + std::to_string(ItemNames::kMaxNameLength) + " are allowed";
    case NamesFileProblem::ControlCharacter:
        return "the name for " + codeText(error.code) + " holds a control character, such as a tab";
    }
    return "the line cannot be read";
}

} // namespace

std::string NamesFileError::message() const
{
    return "line " + std::to_string(line) + ": " + describe(*this);
}

} // namespace rom
