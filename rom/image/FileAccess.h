#pragma once

#include "FilePath.h"

#include <cstddef>
#include <cstdint>

namespace rom {

// An open file: a descriptor on POSIX systems, a HANDLE's value on Windows.
#ifdef _WIN32
using FileHandle = std::intptr_t;
#else
using FileHandle = int;
#endif
// No file; also what open() and dup() return on failure (INVALID_HANDLE_VALUE on Windows).
constexpr FileHandle kNoFile = -1;

enum class FileKind {
    Regular,
    Directory,
    Device, // a character device (a terminal, NUL, /dev/null)
    Pipe,
    Other,  // a block device, a socket, a symbolic link not followed
};

// A moment as the file system records it.
struct FileTime {
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;

    friend bool operator==(const FileTime &, const FileTime &) = default;
};

// What stat() tells of a file, the same on both systems.
struct FileStatus {
    FileKind kind = FileKind::Other;
    // Together they name the file: device and inode on POSIX systems, the
    // volume's serial number and the file index on Windows.
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    std::int64_t size = 0;
    std::uint64_t links = 1; // names the file has (hard links)
    FileTime modified;       // its bytes last changed
    FileTime changed;        // its bytes or its attributes last changed; a writer cannot set it back
    unsigned permissions = 0; // the POSIX permission bits (07777); 0 on Windows
};

// Whether two statuses are of the same file, whatever happened to it between them.
[[nodiscard]] inline bool sameFile(const FileStatus &a, const FileStatus &b)
{
    return a.device == b.device && a.index == b.index;
}

// Whether b shows the file a showed as it was: the same file, size and times.
[[nodiscard]] inline bool unchanged(const FileStatus &a, const FileStatus &b)
{
    return sameFile(a, b) && a.size == b.size && a.modified == b.modified && a.changed == b.changed;
}

// How a file is opened.
enum class OpenMode {
    Read,      // an image to read: never blocks in opening
    ReadWrite, // an image to edit: never blocks in opening
    Stream,    // a file or pipe read through: a pipe waits for its writer
};

// The system's calls on files, behind one seam so that tests can make a
// call fail the way a full disk or a vanished device would, and so that
// one build uses POSIX calls and another Win32's. Each function has the
// meaning and return value of the POSIX or Linux call it is named after, and
// leaves the reason for a failure in errno; on Windows, the system's error
// is translated to the errno POSIX gives for the same reason (a full disk is
// ENOSPC, a lock held elsewhere EWOULDBLOCK, a sharing mode that forbids
// what is asked too: the file is in use).
class FileAccess {
public:
    virtual ~FileAccess() = default;

    virtual int stat(const FilePath &path, FileStatus &status);
    // The name itself: a symbolic link (or on Windows, any reparse point) is not followed.
    virtual int lstat(const FilePath &path, FileStatus &status);
    virtual int fstat(FileHandle file, FileStatus &status);
    // Other programs may still read, write, rename and delete the file.
    virtual FileHandle open(const FilePath &path, OpenMode mode);
    virtual FileHandle dup(FileHandle file);
    // flock(LOCK_EX | LOCK_NB) or flock(LOCK_SH | LOCK_NB); on Windows,
    // LockFileEx on one byte far past any image's end, so that the lock
    // never stops another program reading or writing the file's bytes.
    virtual int flock(FileHandle file, bool exclusive);
    virtual std::ptrdiff_t read(FileHandle file, void *buffer, std::size_t count);
    virtual std::ptrdiff_t pread(FileHandle file, void *buffer, std::size_t count, std::int64_t offset);
    virtual std::ptrdiff_t pwrite(FileHandle file, const void *buffer, std::size_t count, std::int64_t offset);
    // fallocate(FALLOC_FL_KEEP_SIZE); EOPNOTSUPP where there is no such call.
    virtual int fallocate(FileHandle file, std::int64_t offset, std::int64_t length);
    virtual int ftruncate(FileHandle file, std::int64_t length);
    virtual int fdatasync(FileHandle file);
    virtual int fsync(FileHandle file);
    virtual int close(FileHandle file);

    // The real calls.
    [[nodiscard]] static FileAccess &system();
};

} // namespace rom
