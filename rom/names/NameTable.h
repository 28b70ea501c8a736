#pragma once

#include "DecodedNames.h"
#include "NameTableLayout.h"
#include "TableFile.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

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
    void setLayout(const NameTableLayout &layout) { m_layout = layout; }

    // The names of the codes the layout covers, or of its first `count`
    // (read as in the whole table); none at all when the layout has
    // problems() with the size of cartridge.
    [[nodiscard]] DecodedNames decode(std::span<const std::uint8_t> cartridge,
                                      int count = NameTableLayout::kLastCode + 1) const;
    // The name in one entry's bytes after the skipped ones; padding is the
    // padding byte, or -1.
    [[nodiscard]] DecodedName decodeEntry(std::span<const std::uint8_t> bytes, int padding) const;
    // The name of one covered code, for a view that reads names as it
    // shows them; padding as paddingByte() gives it for the cartridge.
    [[nodiscard]] DecodedName decodeCode(std::span<const std::uint8_t> cartridge, int code, int padding) const;
    // The padding byte of the entries in a cartridge the layout fits, or -1.
    [[nodiscard]] int paddingByte(std::span<const std::uint8_t> cartridge) const;

private:
    // What a piece of a name came from: one entry of the table file, or one
    // byte it has none for.
    struct Piece {
        std::size_t end; // where its text ends in the name so far
        int bytes;
        bool blank;
        bool unmapped;
        bool padding;
    };
    // The pieces of one entry's name, and their text.
    struct Pieces {
        std::array<Piece, NameTableLayout::kMaxEntryLength> list; // the first `count` are set
        std::size_t count = 0;
        std::string text;
    };

    void readPieces(std::span<const std::uint8_t> bytes, int padding, Pieces &pieces) const;

    NameTableLayout m_layout;
    TableFile m_table;
};

} // namespace rom
