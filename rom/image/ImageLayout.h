#pragma once

#include <cstdint>
#include <optional>

// Where the editor's data lies in a HiROM cartridge image. Offsets are
// cartridge offsets; a copier image puts a 512-byte header in front of them.

namespace rom {

// Size of the header a copier device writes in front of the cartridge contents.
inline constexpr std::uint64_t kCopierHeaderSize = 0x200;
// Cartridge offset of the 21-byte internal name in the cartridge header.
inline constexpr std::uint64_t kNameOffset = 0xFFC0;
inline constexpr std::size_t kNameLength = 21;
// Cartridge offset of the map-mode byte in the cartridge header.
inline constexpr std::uint64_t kMapModeOffset = 0xFFD5;
// Cartridge offset of the shop table: kShopCount records of kShopRecordSize bytes.
inline constexpr std::uint64_t kShopTableOffset = 0x47AC0;
inline constexpr int kShopCount = 128;
inline constexpr std::size_t kShopRecordSize = 9;
inline constexpr std::uint64_t kShopTableEnd = kShopTableOffset + kShopCount * kShopRecordSize;

// The largest cartridge read whole (for a checksum or a patch): eight times
// the 16 MiB a SNES can address, room for any image and for oversized tests.
inline constexpr std::uint64_t kMaxCartridgeSize = 128 * 1024 * 1024;

enum class ImageLayout {
    Headered,   // copier header present: file offset = cartridge offset + 0x200
    Headerless, // cartridge contents start at file offset 0
};

// Copier images are whole kilobytes of cartridge plus the 512-byte header;
// any other size is not an image this editor can place its offsets in.
[[nodiscard]] constexpr std::optional<ImageLayout> layoutForFileSize(std::uint64_t size)
{
    switch (size % 1024) {
    case 0: return ImageLayout::Headerless;
    case kCopierHeaderSize: return ImageLayout::Headered;
    default: return std::nullopt;
    }
}

[[nodiscard]] constexpr std::uint64_t fileOffset(ImageLayout layout, std::uint64_t cartridgeOffset)
{
    return cartridgeOffset + (layout == ImageLayout::Headered ? kCopierHeaderSize : 0);
}

[[nodiscard]] constexpr std::uint64_t shopFileOffset(ImageLayout layout, int index)
{
    return fileOffset(layout, kShopTableOffset + std::uint64_t(index) * kShopRecordSize);
}

// The offset in the cartridge of a byte at fileOffset in the file, or
// nothing for a byte of the copier header.
[[nodiscard]] constexpr std::optional<std::uint64_t> cartridgeOffsetOfFile(ImageLayout layout,
                                                                         std::uint64_t fileOffset)
{
    const std::uint64_t header = layout == ImageLayout::Headered ? kCopierHeaderSize : 0;
    if (fileOffset < header)
        return std::nullopt;
    return fileOffset - header;
}

// The HiROM map: banks $C0-$FF show the cartridge's first 4 MiB whole, one
// 64 KiB bank each; banks $40-$7D show the same; banks $00-$3F and $80-$BF
// show the upper half ($8000-$FFFF) of each of the first 64 banks.
inline constexpr std::uint64_t kHiRomMapBankSize = 0x10000;
// Cartridge bytes the HiROM map reaches: 64 banks.
inline constexpr std::uint64_t kHiRomMapSize = 64 * kHiRomMapBankSize;
// The banks that show the cartridge whole, and how addresses are written for it.
inline constexpr std::uint32_t kHiRomFirstBank = 0xC0;
// Banks $40-$7D mirror $C0-$FD; $7E and $7F are work RAM.
inline constexpr std::uint32_t kHiRomMirrorFirstBank = 0x40;
inline constexpr std::uint32_t kHiRomMirrorLastBank = 0x7D;
inline constexpr std::uint32_t kWorkRamBank = 0x7E;
// Banks $00-$3F and $80-$BF show ROM from this address of the bank up.
inline constexpr std::uint32_t kHiRomUpperHalf = 0x8000;
inline constexpr std::uint32_t kSnesAddressEnd = 0x1000000; // 24-bit addresses

// The cartridge offset that the SNES address (bank << 16 | address in the
// bank) reads in the HiROM map, or nothing where the map shows no cartridge
// byte (work RAM, the hardware registers, the lower half of the low banks).
[[nodiscard]] constexpr std::optional<std::uint64_t> cartridgeOffsetOfHiRom(std::uint32_t snesAddress)
{
    if (snesAddress >= kSnesAddressEnd)
        return std::nullopt;
    const std::uint32_t bank = snesAddress >> 16;
    const std::uint32_t inBank = snesAddress & 0xFFFF;
    const std::uint64_t bankBase = std::uint64_t(bank & 0x3F) * kHiRomMapBankSize;
    if (bank >= kHiRomFirstBank || (bank >= kHiRomMirrorFirstBank && bank <= kHiRomMirrorLastBank))
        return bankBase + inBank;
    const bool workRam = bank == kWorkRamBank || bank == kWorkRamBank + 1;
    if (!workRam && inBank >= kHiRomUpperHalf)
        return bankBase + inBank;
    return std::nullopt;
}

// The SNES address of a cartridge offset in banks $C0-$FF of the HiROM map,
// or nothing for an offset past the 4 MiB the map reaches.
[[nodiscard]] constexpr std::optional<std::uint32_t> hiRomAddress(std::uint64_t cartridgeOffset)
{
    if (cartridgeOffset >= kHiRomMapSize)
        return std::nullopt;
    return std::uint32_t(kHiRomFirstBank << 16 | cartridgeOffset);
}

// HiROM is map mode 0x21 (slow) or 0x31 (fast); ExHiROM is 0x25 / 0x35.
// Bit 4 only selects the memory speed, so it is masked off.
[[nodiscard]] constexpr bool isHiRomMapMode(std::uint8_t mapMode)
{
    const std::uint8_t mode = mapMode & 0xEF;
    return mode == 0x21 || mode == 0x25;
}

} // namespace rom
