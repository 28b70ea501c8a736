#include "DifferenceScan.h"

#include <algorithm>
#include <cstring>

// The scan is built for the vectors every processor of the kind has (16
// bytes), and on x86-64 once more for 32-byte vectors, chosen at run time
// where the processor has them. Either build must be given vectors of its
// own width: wider ones are split into single bytes, a hundred times slower.
#if defined(__x86_64__) && defined(__GNUC__)
#define SCAN_WIDE_VECTORS 1
#define SCAN_FOR_WIDE_VECTORS __attribute__((target("avx2")))
#else
#define SCAN_WIDE_VECTORS 0
#define SCAN_FOR_WIDE_VECTORS
#endif
#define SCAN_INLINE inline __attribute__((always_inline))

namespace rom {

namespace {

using NarrowLanes = std::uint8_t __attribute__((vector_size(16)));
using WideLanes = std::uint8_t __attribute__((vector_size(32)));
// Vectors of places looked at before looking whether any matched (as
// findHitBlock spells them out).
constexpr std::size_t kBlockVectors = 4;

// One or two chained differences: bytes[middle] - bytes[first] is
// toMiddle and bytes[last] - bytes[middle] is toLast, modulo 256.
struct Chain {
    int first;
    int middle;
    int last;
    std::uint8_t toMiddle;
    std::uint8_t toLast;

    explicit Chain(const std::vector<Difference> &filter)
        : first(filter.front().earlier)
        , middle(filter.front().later)
        , last(filter.back().later)
        , toMiddle(filter.front().value)
        , toLast(filter.size() > 1 ? filter.back().value : 0)
    {
    }

    [[nodiscard]] bool holdsAt(const std::uint8_t *at) const
    {
        return std::uint8_t(at[middle] - at[first]) == toMiddle && std::uint8_t(at[last] - at[middle]) == toLast;
    }
};

template <typename Lanes>
SCAN_INLINE bool anySet(const Lanes &lanes)
{
    std::uint64_t words[sizeof(Lanes) / sizeof(std::uint64_t)];
    std::memcpy(words, &lanes, sizeof words);
    std::uint64_t any = 0;
    for (const std::uint64_t word : words)
        any |= word;
    return any != 0;
}

// The filter as the vector code reads it: three places (the last two the
// same for a single difference) and the differences between them, the
// values in every lane.
template <typename Lanes>
struct LaneChain {
    std::ptrdiff_t first;
    std::ptrdiff_t middle;
    std::ptrdiff_t last;
    Lanes toMiddle;
    Lanes toLast;

    explicit LaneChain(const Chain &chain)
        : first(chain.first)
        , middle(chain.middle)
        , last(chain.last)
        , toMiddle(Lanes{} + chain.toMiddle)
        , toLast(Lanes{} + chain.toLast)
    {
    }
};

// Marks the places from `at` on, as many as Lanes has, where both
// differences hold: all ones in their lane.
template <typename Lanes>
SCAN_INLINE void markHits(Lanes &hits, const std::uint8_t *at, const LaneChain<Lanes> &chain)
{
    Lanes first, middle, last;
    std::memcpy(&first, at + chain.first, sizeof(Lanes));
    std::memcpy(&middle, at + chain.middle, sizeof(Lanes));
    std::memcpy(&last, at + chain.last, sizeof(Lanes));
    hits = Lanes(((middle - first) == chain.toMiddle) & ((last - middle) == chain.toLast));
}

// The first place from `at` on that starts a block of kBlockVectors
// vectors of places with a match, or the first from which no whole block
// remains before count. No call in the loop, so that its vectors stay in
// registers.
template <typename Lanes>
SCAN_INLINE std::size_t findHitBlock(const std::uint8_t *data, std::size_t at, std::size_t count, const Chain &chain)
{
    constexpr std::size_t kLanes = sizeof(Lanes);
    const LaneChain<Lanes> lanes(chain);
    for (; at + kBlockVectors * kLanes <= count; at += kBlockVectors * kLanes) {
        Lanes a, b, c, d;
        markHits(a, data + at, lanes);
        markHits(b, data + at + kLanes, lanes);
        markHits(c, data + at + 2 * kLanes, lanes);
        markHits(d, data + at + 3 * kLanes, lanes);
        if (anySet(Lanes((a | b) | (c | d))))
            return at;
    }
    return at;
}

__attribute__((noinline)) std::size_t findNarrow(const std::uint8_t *data, std::size_t at, std::size_t count,
                                                 const Chain &chain)
{
    return findHitBlock<NarrowLanes>(data, at, count, chain);
}

SCAN_FOR_WIDE_VECTORS __attribute__((noinline)) std::size_t findWide(const std::uint8_t *data, std::size_t at,
                                                                      std::size_t count, const Chain &chain)
{
    return findHitBlock<WideLanes>(data, at, count, chain);
}

bool hasWideVectors()
{
#if SCAN_WIDE_VECTORS
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

} // namespace

void DifferenceScan::scan(std::span<const std::uint8_t> bytes, const std::vector<Difference> &filter,
                          std::size_t count, const std::function<bool(std::size_t)> &visit)
{
    if (filter.empty() || count == 0)
        return;
    const Chain chain(filter);
    const std::uint8_t *data = bytes.data();
    static const bool wide = hasWideVectors();
    const std::size_t block = kBlockVectors * (wide ? sizeof(WideLanes) : sizeof(NarrowLanes));
    for (std::size_t at = 0; at < count;) {
        at = wide ? findWide(data, at, count, chain) : findNarrow(data, at, count, chain);
        const std::size_t end = std::min(at + block, count);
        for (; at < end; ++at)
            if (chain.holdsAt(data + at) && !visit(at))
                return;
    }
}

} // namespace rom
