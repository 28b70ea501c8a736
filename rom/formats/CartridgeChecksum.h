#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace rom {

// The HiROM cartridge header lies in the first bank of this size.
inline constexpr std::size_t kHiRomBankSize = 0x10000;
// Cartridge offset of the checksum's complement (16 bits, little-endian).
inline constexpr std::size_t kChecksumComplementOffset = 0xFFDC;
// Cartridge offset of the checksum (16 bits, little-endian).
inline constexpr std::size_t kChecksumOffset = 0xFFDE;
// The complement and the checksum, two bytes each.
inline constexpr std::size_t kChecksumFieldsSize = 4;

// The checksum a HiROM cartridge header keeps: the 16-bit sum of every byte
// of the cartridge, its four checksum bytes counted as FF FF 00 00. A size
// that is not a power of two is summed as the console sees it mirrored: the
// largest power-of-two part once, then the rest (by the same rule) repeated
// until it fills as much again, e.g. 3 MiB as 2 MiB + 2 x the last 1 MiB.
class CartridgeChecksum {
public:
    using Fields = std::array<std::uint8_t, kChecksumFieldsSize>;

    // Sums the cartridge contents (copier header removed) in one pass.
    explicit CartridgeChecksum(std::span<const std::uint8_t> cartridge);

    // False for contents too short to hold a HiROM header: nothing is stored then.
    [[nodiscard]] bool hasHeader() const { return m_hasHeader; }
    [[nodiscard]] std::uint16_t computed() const { return m_computed; }
    [[nodiscard]] std::uint16_t storedChecksum() const { return m_storedChecksum; }
    [[nodiscard]] std::uint16_t storedComplement() const { return m_storedComplement; }
    [[nodiscard]] bool isValid() const;
    // The four bytes to write at kChecksumComplementOffset to make it valid.
    [[nodiscard]] Fields fixedFields() const;

private:
    bool m_hasHeader = false;
    std::uint16_t m_computed = 0;
    std::uint16_t m_storedChecksum = 0;
    std::uint16_t m_storedComplement = 0;
};

} // namespace rom
