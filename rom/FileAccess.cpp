#include "FileAccess.h"

#include <fcntl.h>
#include <unistd.h>

namespace rom {

int FileAccess::stat(const char *path, struct stat *info) { return ::stat(path, info); }
int FileAccess::fstat(int fd, struct stat *info) { return ::fstat(fd, info); }
int FileAccess::open(const char *path, int flags) { return ::open(path, flags); }
ssize_t FileAccess::pread(int fd, void *buffer, size_t count, off_t offset)
{
    return ::pread(fd, buffer, count, offset);
}
ssize_t FileAccess::pwrite(int fd, const void *buffer, size_t count, off_t offset)
{
    return ::pwrite(fd, buffer, count, offset);
}
int FileAccess::fsync(int fd) { return ::fsync(fd); }
int FileAccess::close(int fd) { return ::close(fd); }

FileAccess &FileAccess::system()
{
    static FileAccess real;
    return real;
}

} // namespace rom
