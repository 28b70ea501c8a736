// The Win32 layer under FileAccess, on Windows or under Wine: the errno each
// Win32 error becomes, and the calls' POSIX meaning: positioned reads and
// writes, the identity of a file, the editor's lock (which leaves the
// image's bytes readable), sharing modes and the read-only attribute.
// Prints one line per failed check and "N passed, M failed".
#include "FileAccess.h"
#include "RomFile.h"
#include "WindowsError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <windows.h>

namespace {

int passed = 0;
int failed = 0;

void check(bool holds, const char *what)
{
    holds ? ++passed : ++failed;
    if (!holds)
        std::printf("FAIL: %s (errno %d)\n", what, errno);
}

void errorsBecomePosixReasons()
{
    const struct {
        unsigned long windows;
        int posix;
        const char *name;
    } rows[] = {
        {ERROR_FILE_NOT_FOUND, ENOENT, "file not found"},
        {ERROR_PATH_NOT_FOUND, ENOENT, "path not found"},
        {ERROR_ACCESS_DENIED, EACCES, "access denied"},
        {ERROR_WRITE_PROTECT, EROFS, "write-protected medium"},
        {ERROR_SHARING_VIOLATION, EWOULDBLOCK, "sharing mode refuses"},
        {ERROR_LOCK_VIOLATION, EWOULDBLOCK, "locked bytes"},
        {ERROR_DISK_FULL, ENOSPC, "disk full"},
        {ERROR_HANDLE_DISK_FULL, ENOSPC, "disk full, through a handle"},
        {1295, ENOSPC, "disk quota used up"},
        {ERROR_FILE_TOO_LARGE, EFBIG, "file too large"},
        {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG, "name too long"},
        {ERROR_BROKEN_PIPE, EPIPE, "pipe's reader gone"},
        {ERROR_CRC, EIO, "any other: an I/O error"},
    };
    for (const auto &row : rows)
        check(rom::errnoFor(row.windows) == row.posix, row.name);
}

void callsHaveTheirPosixMeaning(const std::wstring &path)
{
    rom::FileAccess &files = rom::FileAccess::system();
    rom::FileStatus status;
    check(files.stat(std::filesystem::path(path + L".missing"), status) == -1 && errno == ENOENT, "stat: missing");
    check(files.stat(std::filesystem::path(L"."), status) == 0 && status.kind == rom::FileKind::Directory,
          "stat: a folder");
    const rom::FileHandle file = files.open(std::filesystem::path(path), rom::OpenMode::ReadWrite);
    check(file != rom::kNoFile, "open for writing");
    check(files.pwrite(file, "abc", 3, 10) == 3, "pwrite at an offset");
    char read[3] = {};
    check(files.pread(file, read, 3, 10) == 3 && std::memcmp(read, "abc", 3) == 0, "pread at an offset");
    check(files.pread(file, read, 3, 13) == 0, "pread at the end reads nothing");
    rom::FileStatus named;
    rom::FileStatus opened;
    check(files.stat(std::filesystem::path(path), named) == 0 && files.fstat(file, opened) == 0 &&
              named.kind == rom::FileKind::Regular && named.size == 13 && named.device == opened.device &&
              named.index == opened.index && named.index != 0,
          "stat and fstat: one file, its size");
    check(files.ftruncate(file, 5) == 0 && files.fstat(file, opened) == 0 && opened.size == 5, "ftruncate");
    check(files.fallocate(file, 0, 5) == -1 && errno == EOPNOTSUPP, "fallocate: none on Windows");
    check(files.fdatasync(file) == 0, "fdatasync");

    // The lock: a second handle is refused it, shared or not, but reads the bytes.
    const rom::FileHandle other = files.open(std::filesystem::path(path), rom::OpenMode::ReadWrite);
    check(files.flock(file, true) == 0, "flock: the first lock");
    check(files.flock(other, true) == -1 && errno == EWOULDBLOCK, "flock: a second exclusive lock is refused");
    check(files.flock(other, false) == -1 && errno == EWOULDBLOCK, "flock: a shared lock is refused");
    check(files.pread(other, read, 2, 0) == 2, "a locked file's bytes stay readable");
    check(files.pwrite(other, "z", 1, 0) == 1, "and writable");
    const rom::FileHandle copy = files.dup(file);
    check(files.close(file) == 0 && files.flock(other, true) == -1, "dup keeps the lock after a close");
    check(files.close(copy) == 0 && files.flock(other, true) == 0, "the last close lets it go");
    check(files.close(other) == 0, "close");
}

void heldFilesAreRefused(const std::wstring &path)
{
    const HANDLE holder = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    rom::RomFile image;
    // Not an image, so refused once open; but first the sharing mode refuses writing.
    check(image.open(std::filesystem::path(path), rom::Access::ReadWrite) == rom::RomError::InUse,
          "held without sharing writes: in use");
    ::CloseHandle(holder);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    check(rom::FileAccess::system().open(std::filesystem::path(path), rom::OpenMode::ReadWrite) == rom::kNoFile &&
              errno == EACCES,
          "read-only attribute: not opened for writing");
    check(image.open(std::filesystem::path(path), rom::Access::ReadWrite) == rom::RomError::ReadOnly,
          "read-only attribute: read-only");
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace

int main()
{
    // A name outside the ANSI code page.
    const std::wstring path = L"tst_windowsfileaccess-\u30B7\u03A9.bin";
    const HANDLE made = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(made);
    errorsBecomePosixReasons();
    callsHaveTheirPosixMeaning(path);
    heldFilesAreRefused(path);
    ::DeleteFileW(path.c_str());
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
