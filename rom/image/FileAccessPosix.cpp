// The POSIX layer under FileAccess (FileAccessWindows.cpp is the Win32 one).
#include "FileAccess.h"

#include "PosixStatus.h"

#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace rom {

namespace {

// Never become a controlling terminal, never leak into child processes.
constexpr int kOpenFlags = O_CLOEXEC | O_NOCTTY;

int flagsFor(OpenMode mode)
{
    switch (mode) {
    case OpenMode::Read: return O_RDONLY | O_NONBLOCK | kOpenFlags;
    case OpenMode::ReadWrite: return O_RDWR | O_NONBLOCK | kOpenFlags;
    case OpenMode::Stream: return O_RDONLY | kOpenFlags;
    }
    return O_RDONLY | O_NONBLOCK | kOpenFlags;
}

int statusFrom(int result, const struct stat &info, FileStatus &status)
{
    if (result == 0)
        status = statusOf(info);
    return result;
}

// A write past the process's file-size limit would end the program with
// SIGXFSZ; ignored, it fails with EFBIG and is reported like any write error.
void ignoreFileSizeSignal()
{
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

} // namespace

int FileAccess::stat(const FilePath &path, FileStatus &status)
{
    struct stat info {};
    return statusFrom(::stat(path.system().c_str(), &info), info, status);
}

int FileAccess::lstat(const FilePath &path, FileStatus &status)
{
    struct stat info {};
    return statusFrom(::lstat(path.system().c_str(), &info), info, status);
}

int FileAccess::fstat(FileHandle file, FileStatus &status)
{
    struct stat info {};
    return statusFrom(::fstat(file, &info), info, status);
}

FileHandle FileAccess::open(const FilePath &path, OpenMode mode)
{
    ignoreFileSizeSignal();
    return ::open(path.system().c_str(), flagsFor(mode));
}

FileHandle FileAccess::dup(FileHandle file) { return ::fcntl(file, F_DUPFD_CLOEXEC, 0); }

int FileAccess::flock(FileHandle file, bool exclusive) { return ::flock(file, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB); }

std::ptrdiff_t FileAccess::read(FileHandle file, void *buffer, std::size_t count)
{
    return ::read(file, buffer, count);
}

std::ptrdiff_t FileAccess::pread(FileHandle file, void *buffer, std::size_t count, std::int64_t offset)
{
    return ::pread(file, buffer, count, off_t(offset));
}

std::ptrdiff_t FileAccess::pwrite(FileHandle file, const void *buffer, std::size_t count, std::int64_t offset)
{
    return ::pwrite(file, buffer, count, off_t(offset));
}

int FileAccess::fallocate(FileHandle file, std::int64_t offset, std::int64_t length)
{
    return ::fallocate(file, FALLOC_FL_KEEP_SIZE, off_t(offset), off_t(length));
}

int FileAccess::ftruncate(FileHandle file, std::int64_t length) { return ::ftruncate(file, off_t(length)); }
int FileAccess::fdatasync(FileHandle file) { return ::fdatasync(file); }
int FileAccess::fsync(FileHandle file) { return ::fsync(file); }
int FileAccess::close(FileHandle file) { return ::close(file); }

FileAccess &FileAccess::system()
{
    static FileAccess real;
    return real;
}

} // namespace rom
