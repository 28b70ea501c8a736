#pragma once

#include <string>

namespace rom {

// What is wrong with a line of a table file.
enum class TableFileProblem {
    NotUtf8,          // the line is not valid UTF-8 text
    NotUnderstood,    // none of the forms a table file's line takes
    OddDigits,        // the byte sequence has an odd number of hex digits
    RepeatedSequence, // an earlier line already gave this byte sequence
};

// Why a table file was refused: its first wrong line and what is wrong.
struct TableFileError {
    int line = 0; // 1-based
    TableFileProblem problem = TableFileProblem::NotUnderstood;
    std::string sequence{}; // OddDigits, RepeatedSequence: the hex digits as written
    int firstLine = 0;    // RepeatedSequence: the line that gave the sequence first

    // For the user, e.g. "line 12: the byte sequence 8A appears again (first on line 3)".
    [[nodiscard]] std::string message() const;
};

} // namespace rom
