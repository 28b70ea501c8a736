#pragma once

#include <sys/stat.h>
#include <sys/types.h>

namespace rom {

// The operating-system calls RomFile makes, behind one seam so that tests can
// make a call fail the way a full disk or a vanished device would. Each
// function has the meaning, return value and errno of the POSIX call it is named after.
class FileAccess {
public:
    virtual ~FileAccess() = default;

    virtual int stat(const char *path, struct stat *info);
    virtual int fstat(int fd, struct stat *info);
    virtual int open(const char *path, int flags);
    virtual ssize_t pread(int fd, void *buffer, size_t count, off_t offset);
    virtual ssize_t pwrite(int fd, const void *buffer, size_t count, off_t offset);
    virtual int fsync(int fd);
    virtual int close(int fd);

    // The real calls.
    [[nodiscard]] static FileAccess &system();
};

} // namespace rom
