#pragma once

#include <string_view>

namespace rom {

// Why an operation on an image file did not happen. Each value has one
// sentence for the user in describe().
enum class RomError {
    None,
    NoFileName,     // an empty path was given
    NotFound,       // nothing exists at the path; the editor never creates files
    IsDirectory,    // the path names a folder
    NotRegularFile, // a device, pipe or socket: reading it could hang or have side effects
    SymlinkLoop,    // the path's symbolic links lead round in a circle
    NameTooLong,    // the path or one of its names is longer than the system allows
    AccessDenied,   // the file cannot be read
    ReadOnly,       // the file can be read but not written, and writing was asked for
    InUse,          // another program holds the lock this editor takes on the images it edits
    BadSize,        // the size is neither whole kilobytes nor whole kilobytes plus a copier header
    TooSmall,       // the file ends before the shop table does
    NotHiRom,       // the cartridge header's map mode is not HiROM
    NotOpen,        // no image is open, or it was opened for reading only and a write was asked for
    BadShopIndex,   // a shop index outside 0-127
    ReadFailed,     // the system reported an error while reading
    WriteFailed,    // the system reported an error while writing; the bytes written over are as they were
    DiskFull,       // no room on the disk (or in the quota); the bytes written over are as they were
    FileTooLarge,   // the process's file-size limit lies below the place written; the bytes are as they were
    WritePartial,   // a write failed and the old bytes could not all be put back
    FileChanged,    // the file at the path was deleted, moved, replaced or changed in size since it was opened
    FlushFailed,    // the system could not confirm that earlier writes reached the disk
    TooLargeToRead, // the cartridge contents are larger than kMaxCartridgeSize, so they are not read whole
};

// A sentence or two for the user: what is wrong, in plain words.
[[nodiscard]] std::string_view describe(RomError error);

} // namespace rom
