#include "PlainFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rom {

namespace {

// Read in pieces of this size from a pipe, whose size is not known ahead.
constexpr std::size_t kReadPiece = 64 * 1024;

bool readable(const struct stat &info) { return S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode); }

FileError readOpen(int fd, std::size_t maxSize, std::string &bytes)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return {FileProblem::CannotRead, errno};
    if (!readable(info))
        return {FileProblem::NotRegularFile};
    std::string text;
    for (;;) {
        const std::size_t done = text.size();
        // One byte more than allowed tells a file just too large from one that fits.
        text.resize(std::min(done + kReadPiece, maxSize + 1));
        const ssize_t got = ::read(fd, text.data() + done, text.size() - done);
        if (got < 0 && errno == EINTR) {
            text.resize(done);
            continue;
        }
        if (got < 0)
            return {FileProblem::CannotRead, errno};
        text.resize(done + std::size_t(got));
        if (text.size() > maxSize)
            return {FileProblem::TooLarge};
        if (got == 0)
            break;
    }
    bytes = std::move(text);
    return {};
}

} // namespace

FileError PlainFile::read(const std::string &path, std::size_t maxSize, std::string &bytes)
{
    if (path.find('\0') != std::string::npos)
        return {FileProblem::CannotRead, ENOENT};
    // Look before opening: opening a device can block or have side effects.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {FileProblem::CannotRead, errno};
    if (!readable(info))
        return {FileProblem::NotRegularFile};
    if (S_ISREG(info.st_mode) && std::uint64_t(info.st_size) > maxSize)
        return {FileProblem::TooLarge};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {FileProblem::CannotRead, errno};
    const FileError error = readOpen(fd, maxSize, bytes);
    ::close(fd);
    return error;
}

} // namespace rom
