#pragma once

#include <string>

namespace rom {

// Why a plain file (a CSV table or item names file read, a table or patch
// written) could not be used. Each value has one sentence for the user.
enum class FileProblem {
    None,
    NotRegularFile, // a folder, device or socket: only ordinary files (and pipes, to read) are used
    TooLarge,       // a file to read that is larger than the limit for its kind
    CannotRead,     // the system refused to open or read it
    CannotWrite,    // the system refused to make, write, flush or rename the new file
    IsAnImage,      // a file to write that is one of the images the same command reads or writes
};

struct FileError {
    FileProblem problem = FileProblem::None;
    int systemError = 0; // errno, for CannotRead and CannotWrite

    [[nodiscard]] bool ok() const { return problem == FileProblem::None; }
    // A sentence, with the system's own words for systemError.
    [[nodiscard]] std::string message() const;
};

} // namespace rom
