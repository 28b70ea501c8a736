#pragma once

#include "FileError.h"
#include "FilePath.h"

#include <cstddef>
#include <string>

namespace rom {

// Whole files outside the images, read in one go: CSV tables and item
// names files, through FileAccess. (Files are written only through
// OutputFile.)
class PlainFile {
public:
    // Reads an ordinary file or a pipe whole, refusing it (TooLarge) once it
    // holds more than maxSize bytes. Untouched on error.
    [[nodiscard]] static FileError read(const FilePath &path, std::size_t maxSize, std::string &bytes);
};

} // namespace rom
