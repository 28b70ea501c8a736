#pragma once

#include "FileError.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace rom {

// Whole files outside the images, read or written in one go: CSV tables,
// item names files, patches. Paths are used as the bytes given.
class PlainFile {
public:
    // Reads an ordinary file or a pipe whole, refusing it (TooLarge) once it
    // holds more than maxSize bytes. Untouched on error.
    [[nodiscard]] static FileError read(const std::string &path, std::size_t maxSize, std::string &bytes);

    // Replaces the file at path, or makes it, so that it holds bytes or
    // stays as it was, whatever happens: the bytes go to a new file in the
    // same folder, which is flushed to the disk and then renamed to path.
    // A new file gets the usual permissions; a replaced one keeps its own.
    [[nodiscard]] static FileError replace(const std::string &path, std::span<const std::uint8_t> bytes);

    // Whether both paths name one existing file (links followed).
    [[nodiscard]] static bool sameFile(const std::string &a, const std::string &b);
};

} // namespace rom
