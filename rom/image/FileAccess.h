#pragma once

#include <sys/stat.h>
#include <sys/types.h>

namespace rom {

// The operating-system calls RomFile makes, behind one seam so that tests can
// make a call fail the way a full disk or a vanished device would. Each
// function has the meaning, return value and errno of the POSIX or Linux call
// it is named after.
class FileAccess {
public:
    virtual ~FileAccess() = default;

    virtual int stat(const char *path, struct stat *info);
    virtual int fstat(int fd, struct stat *info);
    virtual int open(const char *path, int flags);
    virtual int dup(int fd);
    virtual int flock(int fd, int operation);
    virtual ssize_t pread(int fd, void *buffer, size_t count, off_t offset);
    virtual ssize_t pwrite(int fd, const void *buffer, size_t count, off_t offset);
    virtual int fallocate(int fd, int mode, off_t offset, off_t length);
    virtual int ftruncate(int fd, off_t length);
    virtual int fdatasync(int fd);
    virtual int fsync(int fd);
    virtual int close(int fd);

    // The real calls.
    [[nodiscard]] static FileAccess &system();
};

} // namespace rom
