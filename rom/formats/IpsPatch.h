#pragma once

#include "PatchError.h"

#include <cstdint>
#include <span>
#include <vector>

namespace rom {

// IPS patches: "PATCH", then records of a 3-byte big-endian offset, a 2-byte
// big-endian size and that many bytes to put there, then "EOF". Offsets are
// cartridge offsets (no copier header), so only the first 16 MiB can be reached.
class IpsPatch {
public:
    // The patch that turns clean into modified, which must be the same size.
    // Untouched on error.
    [[nodiscard]] static PatchError make(std::span<const std::uint8_t> clean, std::span<const std::uint8_t> modified,
                                         std::vector<std::uint8_t> &patch);
};

} // namespace rom
