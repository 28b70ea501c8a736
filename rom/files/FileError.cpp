#include "FileError.h"

#include <cstring>

namespace rom {

namespace {

std::string systemWords(int error)
{
    return error != 0 ? std::string(" (") + std::strerror(error) + ")" : std::string();
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
    case FileProblem::IsAnImage:
        return "This is one of the images named on the command line; it is never replaced by another file.";
    }
    return "Unknown error.";
}

} // namespace rom
