#pragma once

#include "FilePath.h"
#include "ImageLayout.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Synthetic cartridge images for demonstrations and tests: a HiROM cartridge
// header with an invented name, a shop table that looks like a game's, and
// pseudo-random bytes everywhere else so that any stray write shows.
namespace demo {

struct DemoImageOptions {
    rom::ImageLayout layout = rom::ImageLayout::Headered;
    std::uint64_t cartridgeSize = 0x400000; // 4 MiB, a common HiROM size
    std::string name = "MOONLIT ARCHIPELAGO  ";  // padded or cut to 21 characters
    std::uint8_t mapMode = 0x31;                 // HiROM, fast memory
    std::uint32_t seed = 1;
    // Give some shops type codes above 0x35, which have no label.
    bool unlabelledTypes = false;
};

// With the item names of the invented game (DemoNames.h) where the
// cartridge is large enough for them.
[[nodiscard]] std::vector<std::uint8_t> makeDemoImage(const DemoImageOptions &options);

// Writes bytes to a file at path, whole and on the disk, or leaves it as it
// was. Refuses to replace an existing file unless overwrite is set. Returns
// an empty string or what went wrong.
[[nodiscard]] std::string writeImageFile(const std::string &path, const std::vector<std::uint8_t> &bytes,
                                         bool overwrite);

// As writeImageFile, for a file that is no image (a table file): it never
// replaces an image, nor the file of any of images.
[[nodiscard]] std::string writeOutputFile(const std::string &path, const std::vector<std::uint8_t> &bytes,
                                          bool overwrite, std::span<const rom::FilePath> images);

// Whether a file of that name exists, as the two above see it.
[[nodiscard]] bool fileExists(const std::string &path);

} // namespace demo
