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

// HiROM is map mode 0x21 (slow) or 0x31 (fast); ExHiROM is 0x25 / 0x35.
// Bit 4 only selects the memory speed, so it is masked off.
[[nodiscard]] constexpr bool isHiRomMapMode(std::uint8_t mapMode)
{
    const std::uint8_t mode = mapMode & 0xEF;
    return mode == 0x21 || mode == 0x25;
}

} // namespace rom
