#pragma once

#include "FileAccess.h"
#include "RomError.h"

#include <cstdint>
#include <span>

namespace rom {

// One positioned write of a few bytes into an open image, done so that the
// bytes land in the file the path names, or the file is left as another
// program left it and the write is reported as not done (FileChanged):
// nothing is written into a file whose size changed since it was opened; a
// file whose size another program changes around the write gets its old
// bytes back where they lie inside it, and one cut short in the instant
// before the write, which the write then lengthened, is cut back where the
// bytes start; after the write the path must still name the file written
// (else the old bytes are put back there). A put-back that falls short is
// reported as WritePartial.
class PositionedWrite {
public:
    // The open image, and its status when it was opened (its identity and size count).
    struct Image {
        FileAccess &files;
        FileHandle file;
        const FilePath &path;
        const FileStatus &opened;
    };

    // Writes bytes at offset; old holds the bytes they replace, put back if
    // the write fails part of the way (WritePartial if they cannot be). On
    // success, before and after are the file's state before the write (its
    // times not yet moved by it) and once written.
    [[nodiscard]] static RomError write(const Image &image, std::uint64_t offset, std::span<const std::uint8_t> bytes,
                                        std::span<const std::uint8_t> old, FileStatus &before, FileStatus &after);

private:
    [[nodiscard]] static RomError reserve(const Image &image, std::uint64_t offset, std::size_t count);
    [[nodiscard]] static RomError put(const Image &image, std::uint64_t offset, std::span<const std::uint8_t> bytes,
                                      std::span<const std::uint8_t> old);
    [[nodiscard]] static RomError checkAfter(const Image &image, std::uint64_t offset, std::size_t count,
                                             std::span<const std::uint8_t> old, FileStatus &after);
    [[nodiscard]] static RomError giveBack(const Image &image, std::uint64_t offset, std::span<const std::uint8_t> old,
                                           std::int64_t size);
};

} // namespace rom
