#pragma once

#include "PatchError.h"

#include <cstdint>
#include <span>
#include <vector>

namespace rom {

// BPS patches: "BPS1", the source, target and metadata sizes, actions that
// build the target in order, then the CRC32 of the source, of the target and
// of the patch before it, little-endian. Numbers are written 7 bits a byte,
// low bits first, the last byte marked by its high bit; after each byte but
// the last, one is taken off what remains, so every number has one spelling.
class BpsPatch {
public:
    // The patch that turns source into target, which must be the same size:
    // unchanged stretches are read from the source, changed ones given in
    // the patch. No metadata. Untouched on error.
    [[nodiscard]] static PatchError make(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
                                         std::vector<std::uint8_t> &patch);
};

} // namespace rom
