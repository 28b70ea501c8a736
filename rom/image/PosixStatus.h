#pragma once

#include "FileAccess.h"

#include <sys/stat.h>

namespace rom {

// What the POSIX layer's stat() says, in FileAccess's terms.
[[nodiscard]] inline FileStatus statusOf(const struct stat &info)
{
    constexpr mode_t kPermissionBits = 07777;
    const FileKind kind = S_ISREG(info.st_mode)    ? FileKind::Regular
                          : S_ISDIR(info.st_mode)  ? FileKind::Directory
                          : S_ISCHR(info.st_mode)  ? FileKind::Device
                          : S_ISFIFO(info.st_mode) ? FileKind::Pipe
                                                   : FileKind::Other;
    return {.kind = kind,
            .device = std::uint64_t(info.st_dev),
            .index = std::uint64_t(info.st_ino),
            .size = std::int64_t(info.st_size),
            .links = std::uint64_t(info.st_nlink),
            .modified = {info.st_mtim.tv_sec, info.st_mtim.tv_nsec},
            .changed = {info.st_ctim.tv_sec, info.st_ctim.tv_nsec},
            .permissions = unsigned(info.st_mode & kPermissionBits)};
}

} // namespace rom
