#include "PositionedWrite.h"

#include "Transfer.h"

#include <fcntl.h>

namespace rom {

namespace {

RomError writeErrorFor(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return RomError::DiskFull;
    case EFBIG: return RomError::FileTooLarge;
    default: return RomError::WriteFailed;
    }
}

std::size_t writeAt(const PositionedWrite::Image &image, std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    return transfer(bytes.size(), [&](std::size_t done) {
        return image.files.pwrite(image.fd, bytes.data() + done, bytes.size() - done, off_t(offset + done));
    });
}

} // namespace

RomError PositionedWrite::write(const Image &image, std::uint64_t offset, std::span<const std::uint8_t> bytes,
                                std::span<const std::uint8_t> old, struct stat &before, struct stat &after)
{
    // Taken before reserving, which moves the file's times on some file systems.
    if (image.files.fstat(image.fd, &before) != 0)
        return RomError::ReadFailed;
    if (const RomError error = reserve(image, offset, bytes.size()); error != RomError::None)
        return error;
    // The last look before the write: a file another program has cut short
    // (or lengthened) is not written, so it keeps the size that program left.
    struct stat last {};
    if (image.files.fstat(image.fd, &last) != 0)
        return RomError::ReadFailed;
    if (last.st_size != image.size)
        return RomError::FileChanged;
    if (const RomError error = put(image, offset, bytes, old); error != RomError::None)
        return error;
    return checkAfter(image, offset, bytes.size(), old, after);
}

// Bytes over a hole of a sparse file get their blocks before anything is
// written, so that a full disk cannot stop the write halfway.
RomError PositionedWrite::reserve(const Image &image, std::uint64_t offset, std::size_t count)
{
    if (image.files.fallocate(image.fd, FALLOC_FL_KEEP_SIZE, off_t(offset), off_t(count)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS && errno != EINTR)
        return writeErrorFor(errno);
    return RomError::None;
}

// One positioned write: a crash cannot leave the bytes half written.
RomError PositionedWrite::put(const Image &image, std::uint64_t offset, std::span<const std::uint8_t> bytes,
                              std::span<const std::uint8_t> old)
{
    const std::size_t written = writeAt(image, offset, bytes);
    if (written == bytes.size())
        return RomError::None;
    const RomError error = writeErrorFor(errno);
    return writeAt(image, offset, old.first(written)) == written ? error : RomError::WritePartial;
}

RomError PositionedWrite::checkAfter(const Image &image, std::uint64_t offset, std::size_t count,
                                     std::span<const std::uint8_t> old, struct stat &after)
{
    if (image.files.fstat(image.fd, &after) != 0)
        return RomError::ReadFailed;
    if (after.st_size != image.size) {
        // Cut short in the instant between the last look and the write, which
        // lengthened it again: the size it had then cannot be known, so it
        // ends where the bytes written start and keeps none of them.
        if (after.st_size < image.size && std::uint64_t(after.st_size) == offset + count)
            (void)image.files.ftruncate(image.fd, off_t(offset));
        return RomError::FileChanged;
    }
    // Another file took the path between the look before the write and the
    // write: the bytes went to the file no longer named, which gets its own back.
    struct stat named {};
    if (image.files.stat(image.path.c_str(), &named) != 0 || named.st_dev != image.device ||
        named.st_ino != image.inode) {
        (void)writeAt(image, offset, old);
        return RomError::FileChanged;
    }
    return RomError::None;
}

} // namespace rom
