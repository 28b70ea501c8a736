#include "PositionedWrite.h"

#include "Transfer.h"

#include <algorithm>
#include <cerrno>

namespace rom {

namespace {

RomError writeErrorFor(int error)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return RomError::DiskFull;
    case EFBIG: return RomError::FileTooLarge;
    default: return RomError::WriteFailed;
    }
}

std::size_t writeAt(const PositionedWrite::Image &image, std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    return transfer(bytes.size(), [&](std::size_t done) {
        return image.files.pwrite(image.file, bytes.data() + done, bytes.size() - done, std::int64_t(offset + done));
    });
}

} // namespace

RomError PositionedWrite::write(const Image &image, std::uint64_t offset, std::span<const std::uint8_t> bytes,
                                std::span<const std::uint8_t> old, FileStatus &before, FileStatus &after)
{
    // Taken before reserving, which moves the file's times on some file systems.
    if (image.files.fstat(image.file, before) != 0)
        return RomError::ReadFailed;
    if (const RomError error = reserve(image, offset, bytes.size()); error != RomError::None)
        return error;
    // The last look before the write: a file another program has cut short
    // (or lengthened) is not written, so it keeps the size that program left.
    FileStatus last;
    if (image.files.fstat(image.file, last) != 0)
        return RomError::ReadFailed;
    if (last.size != image.opened.size)
        return RomError::FileChanged;
    if (const RomError error = put(image, offset, bytes, old); error != RomError::None)
        return error;
    return checkAfter(image, offset, bytes.size(), old, after);
}

// Bytes over a hole of a sparse file get their blocks before anything is
// written, so that a full disk cannot stop the write halfway.
RomError PositionedWrite::reserve(const Image &image, std::uint64_t offset, std::size_t count)
{
    if (image.files.fallocate(image.file, std::int64_t(offset), std::int64_t(count)) != 0 &&
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
                                     std::span<const std::uint8_t> old, FileStatus &after)
{
    if (image.files.fstat(image.file, after) != 0)
        return RomError::ReadFailed;
    if (after.size != image.opened.size)
        return giveBack(image, offset, old.first(count), after.size);
    // Another file took the path between the look before the write and the
    // write: the bytes went to the file no longer named, which gets its own back.
    FileStatus named;
    if (image.files.stat(image.path, named) != 0 || !sameFile(named, image.opened))
        return writeAt(image, offset, old.first(count)) == count ? RomError::FileChanged : RomError::WritePartial;
    return RomError::None;
}

// Another program changed the file's size around the write. The file keeps
// the size that program gave it, and its old bytes where they lie inside it.
RomError PositionedWrite::giveBack(const Image &image, std::uint64_t offset, std::span<const std::uint8_t> old,
                                   std::int64_t size)
{
    // Cut short in the instant between the last look and the write, which
    // lengthened it again: the size it had then cannot be known, so it
    // ends where the bytes written start and keeps none of them.
    if (size < image.opened.size && std::uint64_t(size) == offset + old.size())
        return image.files.ftruncate(image.file, std::int64_t(offset)) == 0 ? RomError::FileChanged
                                                                             : RomError::WritePartial;
    // Only the bytes inside the file: a write past its end would lengthen it.
    const std::uint64_t end = std::uint64_t(std::max<std::int64_t>(size, 0));
    const std::size_t inside = end > offset ? std::size_t(std::min<std::uint64_t>(end - offset, old.size())) : 0;
    return writeAt(image, offset, old.first(inside)) == inside ? RomError::FileChanged : RomError::WritePartial;
}

} // namespace rom
