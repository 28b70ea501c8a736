// The Win32 layer under FileAccess (FileAccessPosix.cpp is the POSIX one).
#include "FileAccess.h"

#include "WindowsError.h"

#include <algorithm>
#include <cerrno>
#include <windows.h>

namespace rom {

namespace {

// Other programs go on reading, writing, renaming and deleting a file open
// here, as they may on POSIX systems; FileAccess's callers notice.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The byte that the editor's lock covers: Windows refuses reads and writes
// of locked bytes to every other handle, so the lock lies far past the end
// of any image, where it stops only another lock.
constexpr std::uint64_t kLockOffset = std::uint64_t(1) << 62;
// The most one ReadFile or WriteFile call moves; Transfer.h repeats calls.
constexpr std::size_t kMaxTransfer = std::size_t(1) << 30;
// Windows counts file times in 100-nanosecond ticks since 1601; POSIX
// counts seconds since 1970, kTicksTo1970 ticks later.
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kNanosecondsPerTick = 100;
constexpr std::int64_t kTicksTo1970 = 116'444'736'000'000'000;

HANDLE handleOf(FileHandle file) { return reinterpret_cast<HANDLE>(file); }
FileHandle fileOf(HANDLE handle) { return reinterpret_cast<FileHandle>(handle); }

OVERLAPPED at(std::uint64_t offset)
{
    OVERLAPPED place{};
    place.Offset = DWORD(offset & 0xFFFFFFFF);
    place.OffsetHigh = DWORD(offset >> 32);
    return place;
}

FileTime timeOf(std::int64_t ticks)
{
    const std::int64_t since1970 = ticks - kTicksTo1970;
    std::int64_t seconds = since1970 / kTicksPerSecond;
    std::int64_t rest = since1970 % kTicksPerSecond;
    if (rest < 0) {
        --seconds;
        rest += kTicksPerSecond;
    }
    return {seconds, rest * kNanosecondsPerTick};
}

int statusOf(HANDLE handle, FileStatus &status)
{
    const DWORD type = ::GetFileType(handle);
    if (type == FILE_TYPE_UNKNOWN && ::GetLastError() != NO_ERROR)
        return failWithLastError();
    if (type != FILE_TYPE_DISK) {
        status = FileStatus{};
        status.kind = type == FILE_TYPE_CHAR ? FileKind::Device : type == FILE_TYPE_PIPE ? FileKind::Pipe : FileKind::Other;
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO times{};
    if (!::GetFileInformationByHandle(handle, &info) ||
        !::GetFileInformationByHandleEx(handle, FileBasicInfo, &times, sizeof times))
        return failWithLastError();
    const DWORD attributes = info.dwFileAttributes;
    status = {.kind = attributes & FILE_ATTRIBUTE_DIRECTORY       ? FileKind::Directory
                      : attributes & FILE_ATTRIBUTE_REPARSE_POINT ? FileKind::Other
                                                                  : FileKind::Regular,
              .device = info.dwVolumeSerialNumber,
              .index = std::uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow,
              .size = std::int64_t(std::uint64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow),
              .links = info.nNumberOfLinks,
              .modified = timeOf(times.LastWriteTime.QuadPart),
              .changed = timeOf(times.ChangeTime.QuadPart),
              .permissions = 0};
    return 0;
}

DWORD chunk(std::size_t count) { return DWORD(std::min(count, kMaxTransfer)); }

// Asking only for attributes passes every sharing mode; folders open too.
int statusOfName(const FilePath &path, DWORD flags, FileStatus &status)
{
    const HANDLE handle = ::CreateFileW(path.system().c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return failWithLastError();
    const int result = statusOf(handle, status);
    const int error = errno;
    ::CloseHandle(handle);
    errno = error;
    return result;
}

} // namespace

int FileAccess::stat(const FilePath &path, FileStatus &status) { return statusOfName(path, 0, status); }

int FileAccess::lstat(const FilePath &path, FileStatus &status)
{
    return statusOfName(path, FILE_FLAG_OPEN_REPARSE_POINT, status);
}

int FileAccess::fstat(FileHandle file, FileStatus &status) { return statusOf(handleOf(file), status); }

FileHandle FileAccess::open(const FilePath &path, OpenMode mode)
{
    // Windows refuses to write a file with the read-only attribute, but not
    // when Wine runs it as root: asked here, both refuse alike.
    const DWORD attributes = ::GetFileAttributesW(path.system().c_str());
    if (mode == OpenMode::ReadWrite && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY)) {
        errno = EACCES;
        return kNoFile;
    }
    const DWORD access = mode == OpenMode::ReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    const HANDLE handle =
        ::CreateFileW(path.system().c_str(), access, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        failWithLastError();
    return fileOf(handle);
}

FileHandle FileAccess::dup(FileHandle file)
{
    HANDLE copy = INVALID_HANDLE_VALUE;
    const HANDLE self = ::GetCurrentProcess();
    if (!::DuplicateHandle(self, handleOf(file), self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        failWithLastError();
    return fileOf(copy);
}

int FileAccess::flock(FileHandle file, bool exclusive)
{
    OVERLAPPED place = at(kLockOffset);
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    return ::LockFileEx(handleOf(file), flags, 0, 1, 0, &place) ? 0 : failWithLastError();
}

std::ptrdiff_t FileAccess::read(FileHandle file, void *buffer, std::size_t count)
{
    DWORD got = 0;
    if (::ReadFile(handleOf(file), buffer, chunk(count), &got, nullptr))
        return got;
    // A pipe whose writer has gone is at its end.
    return ::GetLastError() == ERROR_BROKEN_PIPE ? 0 : failWithLastError();
}

std::ptrdiff_t FileAccess::pread(FileHandle file, void *buffer, std::size_t count, std::int64_t offset)
{
    OVERLAPPED place = at(std::uint64_t(offset));
    DWORD got = 0;
    if (::ReadFile(handleOf(file), buffer, chunk(count), &got, &place))
        return got;
    return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : failWithLastError();
}

std::ptrdiff_t FileAccess::pwrite(FileHandle file, const void *buffer, std::size_t count, std::int64_t offset)
{
    OVERLAPPED place = at(std::uint64_t(offset));
    DWORD put = 0;
    return ::WriteFile(handleOf(file), buffer, chunk(count), &put, &place) ? std::ptrdiff_t(put) : failWithLastError();
}

// NTFS gives a file's bytes their room as they are written; there is no
// hole to fill first, and no call to do it.
int FileAccess::fallocate(FileHandle, std::int64_t, std::int64_t)
{
    errno = EOPNOTSUPP;
    return -1;
}

int FileAccess::ftruncate(FileHandle file, std::int64_t length)
{
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = length;
    return ::SetFileInformationByHandle(handleOf(file), FileEndOfFileInfo, &end, sizeof end) ? 0 : failWithLastError();
}

int FileAccess::fdatasync(FileHandle file) { return ::FlushFileBuffers(handleOf(file)) ? 0 : failWithLastError(); }
int FileAccess::fsync(FileHandle file) { return ::FlushFileBuffers(handleOf(file)) ? 0 : failWithLastError(); }
int FileAccess::close(FileHandle file) { return ::CloseHandle(handleOf(file)) ? 0 : failWithLastError(); }

FileAccess &FileAccess::system()
{
    static FileAccess real;
    return real;
}

} // namespace rom
