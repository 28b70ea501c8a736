#pragma once

#include "NameTableError.h"

#include <cstdint>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace rom {

// Where a game keeps its item names: one entry of entryLength bytes per
// code from firstCode to lastCode, one after the other from start (a
// cartridge offset, the copier header not counted); each entry's first
// `skip` bytes (an icon, say) are not part of the name.
struct NameTableLayout {
    static constexpr int kMaxEntryLength = 64;
    static constexpr int kLastCode = 0xFE; // FF is the empty slot, never a name

    std::uint64_t start = 0;
    int entryLength = 16;
    int skip = 0;
    int firstCode = 0x00;
    int lastCode = kLastCode;

    [[nodiscard]] int count() const { return lastCode - firstCode + 1; }
    [[nodiscard]] bool covers(int code) const { return code >= firstCode && code <= lastCode; }
    // The cartridge offset of a covered code's entry.
    [[nodiscard]] std::uint64_t entryOffset(int code) const
    {
        return start + std::uint64_t(code - firstCode) * std::uint64_t(entryLength);
    }

    // What is wrong with each field for a cartridge of cartridgeSize bytes,
    // at most one error a field, in the order of the fields; empty when the
    // whole table lies inside the cartridge.
    [[nodiscard]] std::vector<NameTableError> problems(std::uint64_t cartridgeSize) const;

    // The cartridge offset of an address as the user writes it: an SNES
    // address of the HiROM map ("$D2B300", "$D2:B300", "D2:B300") or an
    // offset into the cartridge ("0x12B300"); either case, blanks around.
    [[nodiscard]] static std::variant<std::uint64_t, NameTableError> parseAddress(std::string_view text);
    // A whole number for the entry length or the bytes to skip: decimal, or hex after 0x.
    [[nodiscard]] static std::variant<int, NameTableError> parseNumber(std::string_view text, NameTableField field);
    // The codes covered, "00-FE" (two hex digits each); not checked against each other.
    [[nodiscard]] static std::variant<std::pair<int, int>, NameTableError> parseCodes(std::string_view text);
};

} // namespace rom
