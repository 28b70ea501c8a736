// OutputWriter's POSIX part.
#include "OutputWriter.h"

#include "PosixStatus.h"
#include "TemporaryName.h"
#include "Transfer.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace rom {

namespace {

// What a new file gets before the umask, as for any file a program makes.
constexpr mode_t kNewFileMode = 0666;
// Where the system shows an open file as a link that linkat can follow.
constexpr std::string_view kOpenFileLinks = "/proc/self/fd/";

// The signals that stop a program from outside, held back while a temporary
// name exists so that the program stops once the name is gone. A signal mask
// is the calling thread's own: in a program of several threads, another one
// may take the signal (see OutputWriter::replace).
sigset_t holdStopSignals()
{
    sigset_t stops;
    sigset_t old;
    sigemptyset(&stops);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stops, signal);
    pthread_sigmask(SIG_BLOCK, &stops, &old);
    return old;
}

void releaseSignals(const sigset_t &old) { pthread_sigmask(SIG_SETMASK, &old, nullptr); }

bool writeAll(int fd, std::span<const std::uint8_t> bytes)
{
    return transfer(bytes.size(), [&](std::size_t done) {
               return ::write(fd, bytes.data() + done, bytes.size() - done);
           }) == bytes.size();
}

// A pipe whose reader has gone makes a write fail with EPIPE and sends
// SIGPIPE, which would end the program (the editor too): the signal is held
// back and taken off, so that the error is reported like any other.
bool writeWithoutPipeSignal(int fd, std::span<const std::uint8_t> bytes)
{
    sigset_t pipe;
    sigset_t old;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, &old);
    const bool written = writeAll(fd, bytes);
    const int error = errno;
    if (!written && error == EPIPE && !sigismember(&old, SIGPIPE)) {
        const timespec none{};
        (void)sigtimedwait(&pipe, nullptr, &none);
    }
    releaseSignals(old);
    errno = error;
    return written;
}

// Fills a new file and closes it: the permissions of the file it replaces,
// the bytes, on the disk.
FileError fill(int fd, const FileStatus *existing, std::span<const std::uint8_t> bytes)
{
    const bool written = (!existing || ::fchmod(fd, mode_t(existing->permissions)) == 0) &&
                         writeAll(fd, bytes) && ::fsync(fd) == 0;
    return written ? FileError{} : FileError{FileProblem::CannotWrite, errno};
}

// Whether the name still holds the file that was checked, untouched.
bool stillThere(int folder, const std::string &name, const FileStatus &existing)
{
    struct stat info {};
    return ::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && unchanged(existing, statusOf(info));
}

// Gives the file named temporary the name, replacing `existing` or, when
// there is none, no file at all.
FileError giveName(int folder, const std::string &temporary, const std::string &name, const FileStatus *existing)
{
    if (existing) {
        if (!stillThere(folder, name, *existing))
            return {FileProblem::ChangedMeanwhile};
        return ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0 ? FileError{}
                                                                                 : FileError{FileProblem::CannotWrite, errno};
    }
    if (::renameat2(folder, temporary.c_str(), folder, name.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno == EEXIST)
        return {FileProblem::ChangedMeanwhile};
    if (errno != EINVAL && errno != ENOSYS)
        return {FileProblem::CannotWrite, errno};
    // A file system that cannot refuse to replace: the name was free a moment ago.
    struct stat now {};
    if (::fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0)
        return {FileProblem::ChangedMeanwhile};
    return ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0 ? FileError{}
                                                                             : FileError{FileProblem::CannotWrite, errno};
}

// Gives an unnamed file the name `link` in the folder; EEXIST when taken.
int linkUnnamed(int fd, int folder, const std::string &link)
{
    const std::string self = std::string(kOpenFileLinks) + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), folder, link.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    // Without /proc, only a program allowed to look up any file may do this.
    return errno == ENOENT ? ::linkat(fd, "", folder, link.c_str(), AT_EMPTY_PATH) : -1;
}

// Names an unnamed file: straight with its name when it replaces nothing,
// else first with a temporary name that is then renamed over the old file.
FileError nameUnnamed(int fd, int folder, const std::string &name, const FileStatus *existing)
{
    if (!existing) {
        if (linkUnnamed(fd, folder, name) == 0)
            return {};
        return errno == EEXIST ? FileError{FileProblem::ChangedMeanwhile} : FileError{FileProblem::CannotWrite, errno};
    }
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        const std::string temporary = temporaryName();
        if (linkUnnamed(fd, folder, temporary) != 0) {
            if (errno == EEXIST)
                continue;
            return {FileProblem::CannotWrite, errno};
        }
        const FileError error = giveName(folder, temporary, name, existing);
        if (!error.ok())
            ::unlinkat(folder, temporary.c_str(), 0);
        return error;
    }
    return {FileProblem::CannotWrite, EEXIST};
}

// Where the file system has no unnamed files: a new file with a temporary
// name from the start. The caller holds the stop signals.
FileError replaceThroughNamed(int folder, const std::string &name, const FileStatus *existing,
                              std::span<const std::uint8_t> bytes)
{
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        const std::string temporary = temporaryName();
        const int fd = ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                                kNewFileMode);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return {FileProblem::CannotWrite, errno};
        FileError error = fill(fd, existing, bytes);
        if (::close(fd) != 0 && error.ok())
            error = {FileProblem::CannotWrite, errno};
        if (error.ok())
            error = giveName(folder, temporary, name, existing);
        if (!error.ok())
            ::unlinkat(folder, temporary.c_str(), 0);
        return error;
    }
    return {FileProblem::CannotWrite, EEXIST};
}

// File systems without unnamed files refuse them in one of these ways.
bool noUnnamedFiles(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

FileError replaceIn(int folder, const std::string &name, const FileStatus *existing,
                    std::span<const std::uint8_t> bytes)
{
    const int fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode);
    if (fd < 0 && !noUnnamedFiles(errno))
        return {FileProblem::CannotWrite, errno};
    const bool unnamed = fd >= 0;
    FileError error = unnamed ? fill(fd, existing, bytes) : FileError{};
    const sigset_t old = holdStopSignals();
    if (!unnamed)
        error = replaceThroughNamed(folder, name, existing, bytes);
    else if (error.ok())
        error = nameUnnamed(fd, folder, name, existing);
    releaseSignals(old);
    // The file was on the disk before it was named: once it is, a close that
    // fails (as on some network file systems) no longer undoes the write.
    if (unnamed)
        ::close(fd);
    return error;
}

} // namespace

FileError OutputWriter::replace(const FilePath &folder, const FilePath &name, const FileStatus *existing,
                                std::span<const std::uint8_t> bytes)
{
    const int fd = ::open(folder.system().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {FileProblem::CannotWrite, errno};
    const FileError error = replaceIn(fd, name.system().native(), existing, bytes);
    // The new name is durable once the folder is flushed; a folder that
    // cannot be flushed (some file systems) still holds it.
    if (error.ok())
        (void)::fsync(fd);
    ::close(fd);
    return error;
}

FileError OutputWriter::writeInto(const FilePath &path, std::span<const std::uint8_t> bytes)
{
    const int fd = ::open(path.system().c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {FileProblem::CannotWriteStream, errno};
    // The name may have been given to a file meanwhile, which must not be written over from its start.
    struct stat info {};
    FileError error;
    if (::fstat(fd, &info) != 0)
        error = {FileProblem::CannotWriteStream, errno};
    else if (!S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode))
        error = {FileProblem::ChangedMeanwhile};
    else if (!writeWithoutPipeSignal(fd, bytes))
        error = {FileProblem::CannotWriteStream, errno};
    ::close(fd);
    return error;
}

} // namespace rom
