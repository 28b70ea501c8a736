#pragma once

#include <string>

namespace rom {

// What is wrong with a line of an item names file.
enum class NamesFileProblem {
    NotUtf8,          // the line is not valid UTF-8 text
    NoCode,           // the line does not start with two hex digits
    NoColon,          // no colon follows the item code
    RepeatedCode,     // an earlier line already named this code
    EmptyName,        // nothing but blanks after the colon
    NameTooLong,      // more than ItemNames::kMaxNameLength characters
    ControlCharacter, // the name holds a control character, such as a tab
};

// Why an item names file was refused: the first line found wrong, and what
// is wrong with it.
struct NamesFileError {
    int line = 0; // 1-based
    NamesFileProblem problem = NamesFileProblem::NoCode;
    int code = -1;      // the item code the line gives, where it was read
    int firstLine = 0;  // RepeatedCode: the line that gave the code first
    int nameLength = 0; // NameTooLong: the name's length in characters

    // For the user, e.g. "line 12: code 2A appears again (first on line 3)".
    [[nodiscard]] std::string message() const;
};

} // namespace rom
