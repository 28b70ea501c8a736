#pragma once

#include <string>

namespace rom {

// Why a plain file (a CSV table or item names file read, a table, names file
// or patch written) could not be used. Each value has one sentence for the
// user, worded for the window and the command line alike.
enum class FileProblem {
    None,
    NotRegularFile, // a folder, socket or block device; to read, also a device: only files and pipes are read
    TooLarge,       // a file to read that is larger than the limit for its kind
    CannotRead,     // the system refused to open or read it
    CannotWrite,    // the system refused to make, write, flush or name the new file
    CannotWriteStream, // the system refused to open or write a device or pipe written directly
    IsAnImage,      // a file to write that is an image: the one open, one the command reads, or any that passes its checks
    Locked,         // a file to write that another program (an editor) holds a lock on
    HasOtherNames,  // a file to write that has hard links: replacing it would split it from its other names
    ChangedMeanwhile, // the file to write was made, replaced or deleted by another program while it was written
};

struct FileError {
    FileProblem problem = FileProblem::None;
    int systemError = 0; // errno, for CannotRead, CannotWrite and CannotWriteStream

    [[nodiscard]] bool ok() const { return problem == FileProblem::None; }
    // A sentence, with the system's own words for systemError.
    [[nodiscard]] std::string message() const;
};

} // namespace rom
