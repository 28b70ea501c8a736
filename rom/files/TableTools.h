#pragma once

#include "CartridgeChecksum.h"
#include "ItemNames.h"
#include "LabelCheck.h"
#include "RomFile.h"
#include "TableCheck.h"
#include "TableCsv.h"
#include "ToolError.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace rom {

enum class PatchFormat {
    Ips,
    Bps,
};

// What an exported table holds besides the ten code columns.
struct ExportOptions {
    bool labels = true;     // a label column for each code
    bool addresses = false; // where each shop lies: its SNES address and its offset in the image's file
};

// A CSV table as read: the shops it gives, and its label cells, for
// LabelCheck against the codes.
struct CsvTable {
    std::vector<ShopRow> rows;
    std::vector<CsvLabel> labels;
};

struct ImportOptions {
    // Write even into an image whose table does not look like one (TableCheck).
    bool force = false;
    ItemNames names; // the names the labels are checked against
};

// What an import did, and what the user should hear of the table imported.
struct ImportReport {
    std::vector<int> shops; // the shops written, in row order
    std::vector<LabelDisagreement> labels;
};

// A patch made, and what the user should hear of it.
struct PatchReport {
    std::vector<std::uint8_t> bytes;
    bool changesNothing = false; // the two cartridges are the same
    bool checksumValid = true;   // the modified image's stored checksum matches its contents
};

// The operations on whole files around the shop table, for the command-line
// program and the window's File menu alike: the table as CSV out and in,
// patches between two images, the cartridge checksum. Every error names the
// file at fault; images are checked as RomFile::open checks them and are
// written only through RomFile's narrow writes.
class TableTools {
public:
    // A CSV table or an item names file larger than this is refused unread:
    // a whole table with long labels is well under 100 KiB.
    static constexpr std::size_t kMaxTextFileSize = 4 * 1024 * 1024;

    [[nodiscard]] static ToolError open(RomFile &image, const FilePath &path, Access access);

    // The table of an open image with all its columns, the type labels of
    // ShopTypeLabels::text and the item labels of names.
    [[nodiscard]] static ToolError exportCsv(RomFile &image, const ItemNames &names, std::string &csv);
    // The table with the columns options asks for.
    [[nodiscard]] static ToolError exportCsv(RomFile &image, const ItemNames &names, const ExportOptions &options,
                                             std::string &csv);
    // A CSV table, checked whole (TableCsv::read). rows is untouched on error.
    [[nodiscard]] static ToolError readCsv(const FilePath &path, std::vector<ShopRow> &rows);
    // The same, with the label cells. table is untouched on error.
    [[nodiscard]] static ToolError readCsv(const FilePath &path, CsvTable &table);
    [[nodiscard]] static ToolError readItemNames(const FilePath &path, ItemNames &names);
    // Writes each shop of the table whose bytes differ from the image's as
    // one record (RomFile::writeShop), in row order, but first refuses an
    // image whose table does not look like one (the reason a TableDoubt)
    // unless options.force is set, then checks the labels (LabelCheck).
    // report lists the shops written, also when a write fails part of the way.
    [[nodiscard]] static ToolError importTable(RomFile &image, const CsvTable &table, const ImportOptions &options,
                                               ImportReport &report);

    // The table of the image at path, opened for reading only.
    [[nodiscard]] static ToolError readTable(const FilePath &path, ShopTable &table);
    // The patch from the cartridge contents of clean to those of modified,
    // both opened for reading only; they may differ in layout, not in
    // cartridge size. patch is untouched on error.
    [[nodiscard]] static ToolError makePatch(const FilePath &clean, const FilePath &modified, PatchFormat format,
                                             std::vector<std::uint8_t> &patch);
    // The same, and whether the patch changes anything and the modified
    // image's checksum is valid, which costs one more pass over its
    // cartridge. report is untouched on error.
    [[nodiscard]] static ToolError makePatch(const FilePath &clean, const FilePath &modified, PatchFormat format,
                                             PatchReport &report);

    // The checksum of an open image's whole cartridge.
    [[nodiscard]] static ToolError checksum(RomFile &image, std::optional<CartridgeChecksum> &sum);
    // Writes the fields that make sum valid (RomFile::writeChecksumFields),
    // unless it already is; written tells whether anything was written.
    [[nodiscard]] static ToolError fixChecksum(RomFile &image, const CartridgeChecksum &sum, bool &written);

    // Writes bytes as the file at path through OutputFile::write, which
    // refuses images (those given, the open one among them, and any other),
    // files another program holds a lock on and files with other names.
    [[nodiscard]] static ToolError writeOutput(const FilePath &path, std::span<const std::uint8_t> bytes,
                                               std::initializer_list<FilePath> images);
};

} // namespace rom
