#pragma once

#include "DecodedNames.h"
#include "NameTableLayout.h"
#include "TableFile.h"

#include <cstdint>
#include <span>

namespace rom {

// A name table in a cartridge, read with a table file. Each entry is read
// from its first byte after the skipped ones up to an end sequence or its
// last byte; blanks at either end, line breaks among them, and the
// padding after the name are dropped. The padding byte is one the table
// file has no entry for and that ends more than half of the entries (two at least).
// Decoding all 255 names takes some tens of microseconds.
class NameTable {
public:
    NameTable() = default;
    NameTable(NameTableLayout layout, TableFile table);

    [[nodiscard]] const NameTableLayout &layout() const { return m_layout; }
    [[nodiscard]] const TableFile &table() const { return m_table; }

    // The names of the codes the layout covers; none at all when the layout
    // has problems() with the size of cartridge.
    [[nodiscard]] DecodedNames decode(std::span<const std::uint8_t> cartridge) const;
    // The name in one entry's bytes after the skipped ones; padding is the
    // padding byte, or -1.
    [[nodiscard]] DecodedName decodeEntry(std::span<const std::uint8_t> bytes, int padding) const;

private:
    [[nodiscard]] int paddingByte(std::span<const std::uint8_t> cartridge) const;

    NameTableLayout m_layout;
    TableFile m_table;
};

} // namespace rom
