#pragma once

#include "CartridgeBytes.h"
#include "DecodedNames.h"
#include "FilePath.h"
#include "ImageLayout.h"
#include "KnownName.h"
#include "NameTable.h"
#include "RelativeSearch.h"
#include "TableFile.h"
#include "ToolError.h"

#include <string>
#include <vector>

namespace rom {

// The file operations around the game's own item names, for shop-table and
// the window alike: a table file read, the names of a name table read from
// an image, and the relative search for one. Images are opened for reading
// only (read-only files will do, and an image open in the editor too) and
// never written. Every error names the file at fault, as the caller named it.
class NameTools {
public:
    // A table file, read whole (at most TableTools::kMaxTextFileSize bytes)
    // and parsed; table is untouched on error.
    [[nodiscard]] static ToolError readTableFile(const FilePath &path, TableFile &table);
    // The cartridge contents of the image at path and its layout.
    [[nodiscard]] static ToolError readCartridge(const FilePath &path, CartridgeBytes &cartridge,
                                                 ImageLayout &layout);
    // The names of a name table in a cartridge read from the image at
    // imagePath; a layout that does not lie inside the cartridge is refused
    // with its first problem.
    [[nodiscard]] static ToolError decodeNames(const FilePath &imagePath, std::span<const std::uint8_t> cartridge,
                                               const NameTable &nameTable, DecodedNames &names);
    // RelativeSearch::find over a cartridge read from the image at imagePath.
    [[nodiscard]] static ToolError findNames(const FilePath &imagePath, std::span<const std::uint8_t> cartridge,
                                             const std::vector<KnownName> &known, SearchResult &result);
};

} // namespace rom
