#include "FileError.h"

#include <cerrno>
#include <cstring>

namespace rom {

namespace {

// The system's words for an errno, where it has some: Windows' C runtime
// has none for the POSIX reasons that its file layer reports too.
std::string wordsFor(int error)
{
#ifdef _WIN32
    switch (error) {
    case EWOULDBLOCK: return "another program has the file open and does not share it";
    case ELOOP: return "too many levels of symbolic links";
    case EOPNOTSUPP: return "operation not supported";
    default: break;
    }
#endif
    return std::strerror(error);
}

std::string systemWords(int error)
{
    return error != 0 ? " (" + wordsFor(error) + ")" : std::string();
}

} // namespace

std::string FileError::message() const
{
    switch (problem) {
    case FileProblem::None:
        return "No error.";
    case FileProblem::NotRegularFile:
        return "This is not an ordinary file (it may be a folder or a device).";
    case FileProblem::TooLarge:
        return "The file is too large to be a file of this kind.";
    case FileProblem::CannotRead:
        return "The file could not be read" + systemWords(systemError) + ".";
    case FileProblem::CannotWrite:
        return "The new file could not be written" + systemWords(systemError) +
               "; a file already of that name is as it was.";
    case FileProblem::CannotWriteStream:
        return "The device or pipe could not be written" + systemWords(systemError) +
               "; part of the bytes may have gone through.";
    case FileProblem::IsAnImage:
        return "This is an SNES image, and what this command writes never is one, so the image is left as it is. "
               "Choose another file name.";
    case FileProblem::Locked:
        return "Another program holds a lock on this file (the editor locks the images it has open), so it is "
               "left as it is. Choose another file name.";
    case FileProblem::HasOtherNames:
        return "This file has other names (hard links): replacing it would leave them with the old contents, and "
               "writing into it could leave it half written, so it is left as it is. Choose another file name.";
    case FileProblem::ChangedMeanwhile:
        return "Another program made, replaced or deleted a file of this name while the new one was being "
               "written, so what it left there stays and nothing was written.";
    }
    return "Unknown error.";
}

} // namespace rom
