#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace rom {

// The runs of positions where two buffers of equal size differ, found in
// one pass from the start. Runs separated by fewer than joinGap equal bytes
// come out as one run, for patch formats where a new run costs more than a
// few repeated bytes.
class DifferingRuns {
public:
    struct Run {
        std::size_t begin = 0;
        std::size_t end = 0; // one past the last differing byte
    };

    // Both buffers must outlive this object; only their common length is compared.
    DifferingRuns(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after, std::size_t joinGap);

    // The next run; false when no byte after the last run differs.
    [[nodiscard]] bool next(Run &run);

private:
    [[nodiscard]] std::size_t firstDifference(std::size_t from) const;
    [[nodiscard]] std::size_t firstMatch(std::size_t from) const;

    std::span<const std::uint8_t> m_before;
    std::span<const std::uint8_t> m_after;
    std::size_t m_size;
    std::size_t m_joinGap;
    // Where the next run starts: already found while deciding whether to join.
    std::size_t m_nextBegin;
};

} // namespace rom
