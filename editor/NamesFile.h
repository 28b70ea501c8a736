#pragma once

#include "ItemNames.h"

#include <string>

// Item names files on disk, by the bytes of their paths.
namespace names_file {

// The largest file taken for an item names file: 256 lines of 40 characters
// fit many times over.
inline constexpr long kMaxSize = 1 << 20;

// Reads and parses the file. Empty on success, else what is wrong (the
// line, for a file that does not parse), for the user.
[[nodiscard]] std::string read(const std::string &path, rom::ItemNames &names);
// Writes the names to the file, replacing it whole or not at all.
[[nodiscard]] std::string write(const std::string &path, const rom::ItemNames &names);

} // namespace names_file
