#include "DifferenceScan.h"

#include <cstring>

namespace rom {

namespace {

// Sixteen bytes side by side, which the compilers turn into vector
// instructions on any processor that has them.
using Lanes = std::uint8_t __attribute__((vector_size(16)));
constexpr std::size_t kLanes = sizeof(Lanes);

Lanes load(const std::uint8_t *at)
{
    Lanes lanes;
    std::memcpy(&lanes, at, kLanes);
    return lanes;
}

template <typename Vector>
bool anySet(const Vector &lanes)
{
    std::uint64_t halves[2];
    std::memcpy(halves, &lanes, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

bool holds(const std::uint8_t *at, const Difference &difference)
{
    return std::uint8_t(at[difference.later] - at[difference.earlier]) == difference.value;
}

} // namespace

void DifferenceScan::scan(std::span<const std::uint8_t> bytes, const std::vector<Difference> &filter,
                          std::size_t count, const std::function<void(std::size_t)> &visit)
{
    if (filter.empty() || count == 0)
        return;
    const Difference first = filter.front();
    const Difference second = filter.back();
    const std::uint8_t *data = bytes.data();
    const auto matchesAt = [&](std::size_t at) { return holds(data + at, first) && holds(data + at, second); };
    const Lanes firstValue = Lanes{} + first.value;
    const Lanes secondValue = Lanes{} + second.value;
    std::size_t at = 0;
    for (; at + kLanes <= count; at += kLanes) {
        const std::uint8_t *block = data + at;
        const auto hits = ((load(block + first.later) - load(block + first.earlier)) == firstValue) &
                          ((load(block + second.later) - load(block + second.earlier)) == secondValue);
        if (!anySet(hits))
            continue;
        for (std::size_t lane = 0; lane < kLanes; ++lane)
            if (matchesAt(at + lane))
                visit(at + lane);
    }
    for (; at < count; ++at)
        if (matchesAt(at))
            visit(at);
}

} // namespace rom
