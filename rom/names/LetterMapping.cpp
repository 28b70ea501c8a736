#include "LetterMapping.h"

#include <string>
#include <vector>

namespace rom {

namespace {

constexpr char kClassFirst[kLetterClasses] = {'A', 'a', '0'};

struct Range {
    int first;
    int size;
};

bool overlap(const Range &a, const Range &b)
{
    return a.first < b.first + b.size && b.first < a.first + a.size;
}

} // namespace

bool LetterMapping::learn(const NamePattern &name, const std::uint8_t *bytes)
{
    for (std::size_t at = 0; at < name.symbols.size(); ++at) {
        const Symbol &symbol = name.symbols[at];
        const int byte = bytes[at];
        if (symbol.kind == LetterClass::Other) {
            std::int16_t &known = m_other[std::size_t(symbol.value)];
            if (known >= 0 && known != byte)
                return false;
            known = std::int16_t(byte);
            continue;
        }
        const auto kind = std::size_t(symbol.kind);
        const int first = byte - symbol.value;
        // The whole class must fit in the byte values, without wrapping round.
        if (first < 0 || first + kClassSizes[kind] > TableFile::kByteValues)
            return false;
        if (m_first[kind] >= 0 && m_first[kind] != first)
            return false;
        m_first[kind] = first;
    }
    return true;
}

bool LetterMapping::agrees(const NamePattern &name, const std::uint8_t *bytes) const
{
    for (std::size_t at = 0; at < name.symbols.size(); ++at) {
        const Symbol &symbol = name.symbols[at];
        const int known = symbol.kind == LetterClass::Other ? m_other[std::size_t(symbol.value)]
                                                            : m_first[std::size_t(symbol.kind)];
        const int expected = symbol.kind == LetterClass::Other ? known : known + symbol.value;
        if (known >= 0 && bytes[at] != expected)
            return false;
    }
    return true;
}

bool LetterMapping::sharedCases() const
{
    const auto upper = std::size_t(LetterClass::Upper);
    const auto lower = std::size_t(LetterClass::Lower);
    return m_first[upper] >= 0 && m_first[upper] == m_first[lower];
}

bool LetterMapping::consistent() const
{
    std::vector<Range> ranges;
    for (std::size_t kind = 0; kind < m_first.size(); ++kind) {
        const bool sameAsUpper = kind == std::size_t(LetterClass::Lower) && sharedCases();
        if (m_first[kind] >= 0 && !sameAsUpper)
            ranges.push_back({m_first[kind], kClassSizes[kind]});
    }
    for (const std::int16_t byte : m_other)
        if (byte >= 0)
            ranges.push_back({byte, 1});
    for (std::size_t a = 0; a < ranges.size(); ++a)
        for (std::size_t b = 0; b < a; ++b)
            if (overlap(ranges[a], ranges[b]))
                return false;
    return true;
}

std::array<bool, TableFile::kByteValues> LetterMapping::mappedBytes() const
{
    std::array<bool, TableFile::kByteValues> mapped{};
    for (std::size_t kind = 0; kind < m_first.size(); ++kind)
        for (int value = 0; m_first[kind] >= 0 && value < kClassSizes[kind]; ++value)
            mapped[std::size_t(m_first[kind] + value)] = true;
    for (const std::int16_t known : m_other)
        if (known >= 0)
            mapped[std::size_t(known)] = true;
    return mapped;
}

TableFile LetterMapping::table(const SearchPattern &pattern, std::optional<std::uint8_t> endByte) const
{
    TableFile table;
    for (std::size_t kind = 0; kind < m_first.size(); ++kind) {
        if (m_first[kind] < 0 || (kind == std::size_t(LetterClass::Lower) && sharedCases()))
            continue;
        for (int value = 0; value < kClassSizes[kind]; ++value) {
            const std::uint8_t byte = std::uint8_t(m_first[kind] + value);
            table.add(std::span(&byte, 1), std::string(1, char(kClassFirst[kind] + value)));
        }
    }
    for (std::size_t other = 0; other < pattern.others().size(); ++other) {
        const std::uint8_t byte = std::uint8_t(m_other[other]);
        if (m_other[other] >= 0)
            table.add(std::span(&byte, 1), pattern.others()[other]);
    }
    if (endByte)
        table.add(std::span(&*endByte, 1), "", TableFile::Kind::End);
    return table;
}

} // namespace rom
