#include "RomError.h"

namespace rom {

std::string_view describe(RomError error)
{
    switch (error) {
    case RomError::None:
        return "No error.";
    case RomError::NoFileName:
        return "No file was chosen.";
    case RomError::NotFound:
        return "The file does not exist. It may have been moved, renamed or deleted.";
    case RomError::IsDirectory:
        return "This is a folder, not an image file.";
    case RomError::NotRegularFile:
        return "This is not an ordinary file (it may be a device or a pipe), so it cannot be an image file.";
    case RomError::SymlinkLoop:
        return "The path goes through symbolic links that lead round in a circle, so it names no file.";
    case RomError::NameTooLong:
        return "The path, or one of the names in it, is longer than the system allows.";
    case RomError::AccessDenied:
        return "You do not have permission to read this file.";
    case RomError::ReadOnly:
        return "The file is read-only, and the editor needs to write to it. "
               "Make it writable (or copy it to a writable folder) and open it again.";
    case RomError::InUse:
        return "Another copy of the editor (or another program that locks the file) has it open for editing. "
               "Close it there first, so that the two cannot overwrite each other's changes.";
    case RomError::BadSize:
        return "Its size is not that of an SNES cartridge image: an image is a whole number of kilobytes, "
               "plus 512 bytes when it has a copier header.";
    case RomError::TooSmall:
        return "The file is too small to hold the shop table, so it is not a complete image of the game.";
    case RomError::NotHiRom:
        return "This is not a HiROM SNES image: its cartridge header gives another memory map, "
               "so the shop table cannot be where this editor expects it.";
    case RomError::NotOpen:
        return "No image file is open for writing.";
    case RomError::BadShopIndex:
        return "The shop number is outside 0 to 127.";
    case RomError::ReadFailed:
        return "The system reported an error while reading the file.";
    case RomError::WriteFailed:
        return "The system reported an error while writing the file. The file was left as it was.";
    case RomError::DiskFull:
        return "The disk is full (or your disk quota is used up). The file was left as it was.";
    case RomError::FileTooLarge:
        return "The file-size limit this program runs under (ulimit -f) lies below the place written, so the "
               "system refused the write. The file was left as it was.";
    case RomError::WritePartial:
        return "The system reported an error while writing the file, and the old bytes could not all be put "
               "back: the file may hold part of what was being written.";
    case RomError::FileChanged:
        return "The file on disk is no longer the one that was opened: it was deleted, moved, "
               "replaced or changed in size by another program.";
    case RomError::FlushFailed:
        return "The system could not confirm that the changes reached the disk.";
    case RomError::TooLargeToRead:
        return "The file is larger than any SNES cartridge image (over 128 MiB), so it is not read whole.";
    }
    return "Unknown error.";
}

} // namespace rom
