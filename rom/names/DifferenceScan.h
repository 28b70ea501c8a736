#pragma once

#include "SearchPattern.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace rom {

// The one pass of a relative search over the whole cartridge: the places
// where the bytes show one or two differences of a name. The places are
// compared in blocks of four vectors, 64 places (or 128, on an x86-64
// processor with 32-byte vectors) before looking whether any matched, so
// that the pass costs about what copying the bytes into memory does.
class DifferenceScan {
public:
    // Calls visit(at) for each at in 0 .. count - 1 where every difference
    // of filter holds for the bytes from at on: one difference, or two
    // chained (the second's earlier is the first's later). Every position
    // a difference names, at + later and at + earlier, must lie in bytes
    // for each such at. Stops when visit returns false.
    static void scan(std::span<const std::uint8_t> bytes, const std::vector<Difference> &filter, std::size_t count,
                     const std::function<bool(std::size_t)> &visit);
};

} // namespace rom
