#include "FileAccess.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace rom {

int FileAccess::stat(const char *path, struct stat *info) { return ::stat(path, info); }
int FileAccess::fstat(int fd, struct stat *info) { return ::fstat(fd, info); }
int FileAccess::open(const char *path, int flags) { return ::open(path, flags); }
int FileAccess::dup(int fd) { return ::fcntl(fd, F_DUPFD_CLOEXEC, 0); }
int FileAccess::flock(int fd, int operation) { return ::flock(fd, operation); }
ssize_t FileAccess::pread(int fd, void *buffer, size_t count, off_t offset)
{
    return ::pread(fd, buffer, count, offset);
}
ssize_t FileAccess::pwrite(int fd, const void *buffer, size_t count, off_t offset)
{
    return ::pwrite(fd, buffer, count, offset);
}
int FileAccess::fallocate(int fd, int mode, off_t offset, off_t length)
{
    return ::fallocate(fd, mode, offset, length);
}
int FileAccess::ftruncate(int fd, off_t length) { return ::ftruncate(fd, length); }
int FileAccess::fdatasync(int fd) { return ::fdatasync(fd); }
int FileAccess::fsync(int fd) { return ::fsync(fd); }
int FileAccess::close(int fd) { return ::close(fd); }

FileAccess &FileAccess::system()
{
    static FileAccess real;
    return real;
}

} // namespace rom
