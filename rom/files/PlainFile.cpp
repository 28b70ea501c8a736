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
// Names tried for the new file before giving up: another program making
// files of the same names at the same moment would be the only reason to.
constexpr int kTemporaryNameTries = 100;
constexpr mode_t kPermissionBits = 07777;
// What a new file gets before the umask, as for any file a program makes.
constexpr mode_t kNewFileMode = 0666;

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

bool writeAll(int fd, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = EIO;
            return false;
        }
        done += std::size_t(put);
    }
    return true;
}

// A new file beside path, named after it and hidden: ".game.bps.1234-0".
int makeTemporary(const std::string &path, std::string &temporary)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string stem = path.substr(0, nameStart) + "." + path.substr(nameStart) + "." +
                             std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        temporary = stem + std::to_string(attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, kNewFileMode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The rename is durable once the folder that holds the name is flushed;
// a folder that cannot be flushed (some file systems) still has the file.
void flushFolderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
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

FileError PlainFile::replace(const std::string &path, std::span<const std::uint8_t> bytes)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return {FileProblem::CannotWrite, ENOENT};
    struct stat existing {};
    const bool replacing = ::stat(path.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode))
        return {FileProblem::NotRegularFile};
    std::string temporary;
    const int fd = makeTemporary(path, temporary);
    if (fd < 0)
        return {FileProblem::CannotWrite, errno};
    bool written = (!replacing || ::fchmod(fd, existing.st_mode & kPermissionBits) == 0) && writeAll(fd, bytes) &&
                   ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return {FileProblem::CannotWrite, error};
    }
    flushFolderOf(path);
    return {};
}

bool PlainFile::sameFile(const std::string &a, const std::string &b)
{
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

} // namespace rom
