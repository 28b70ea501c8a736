#include "CartridgeChecksum.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace rom {

namespace {

// How the checksum fields are counted, whatever they hold: FF FF 00 00.
constexpr std::uint64_t kFieldsCountedAs = 0xFF + 0xFF;
// Bytes are summed a word at a time, in 16-bit lanes that each gain at most
// 2 x 0xFF per word, so a lane can take kWordsPerBlock words before it is emptied.
constexpr std::size_t kWord = sizeof(std::uint64_t);
constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FF;
constexpr std::size_t kWordsPerBlock = 0xFFFF / (2 * 0xFF);

std::uint64_t laneTotal(std::uint64_t lanes)
{
    return (lanes & 0xFFFF) + (lanes >> 16 & 0xFFFF) + (lanes >> 32 & 0xFFFF) + (lanes >> 48);
}

std::uint64_t plainSum(std::span<const std::uint8_t> bytes)
{
    std::uint64_t total = 0;
    std::size_t at = 0;
    while (bytes.size() - at >= kWord) {
        const std::size_t words = std::min((bytes.size() - at) / kWord, kWordsPerBlock);
        std::uint64_t lanes = 0;
        for (std::size_t n = 0; n < words; ++n, at += kWord) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + at, kWord);
            lanes += (word & kEvenBytes) + (word >> 8 & kEvenBytes);
        }
        total += laneTotal(lanes);
    }
    for (; at < bytes.size(); ++at)
        total += bytes[at];
    return total;
}

// The sum of bytes as they appear when mirrored to fill room, a power of two
// no smaller than them. Each byte is read once; the arithmetic wraps, which
// the 16-bit result does not mind.
std::uint64_t mirroredSum(std::span<const std::uint8_t> bytes, std::size_t room)
{
    const std::size_t part = std::bit_floor(bytes.size());
    if (part == bytes.size())
        return plainSum(bytes) * (room / part);
    const std::uint64_t once = plainSum(bytes.first(part)) + mirroredSum(bytes.subspan(part), part);
    return once * (room / (2 * part));
}

std::uint16_t wordAt(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return std::uint16_t(bytes[at] | bytes[at + 1] << 8);
}

} // namespace

CartridgeChecksum::CartridgeChecksum(std::span<const std::uint8_t> cartridge)
    : m_hasHeader(cartridge.size() >= kHiRomBankSize)
{
    if (cartridge.empty())
        return;
    std::uint64_t sum = mirroredSum(cartridge, std::bit_ceil(cartridge.size()));
    if (m_hasHeader) {
        // The header lies in the largest power-of-two part, which counts once.
        for (std::size_t at = kChecksumComplementOffset; at < kChecksumComplementOffset + kChecksumFieldsSize; ++at)
            sum -= cartridge[at];
        sum += kFieldsCountedAs;
        m_storedComplement = wordAt(cartridge, kChecksumComplementOffset);
        m_storedChecksum = wordAt(cartridge, kChecksumOffset);
    }
    m_computed = std::uint16_t(sum);
}

bool CartridgeChecksum::isValid() const
{
    return m_hasHeader && m_storedChecksum == m_computed && m_storedComplement == std::uint16_t(~m_computed);
}

CartridgeChecksum::Fields CartridgeChecksum::fixedFields() const
{
    const auto complement = std::uint16_t(~m_computed);
    return {std::uint8_t(complement), std::uint8_t(complement >> 8), std::uint8_t(m_computed),
            std::uint8_t(m_computed >> 8)};
}

} // namespace rom
