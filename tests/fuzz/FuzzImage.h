#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// One fuzz input: an image built from a few choices and patches, then a run
// of user actions on it. The layout, byte by byte (missing bytes read as 0):
//   0     flags: bit 0 headerless, bit 1 unlabelled type codes, bit 2 resize
//   1     cartridge size, an index into a short list of sizes
//   2     map-mode byte
//   3-4   size change in bytes, signed little-endian, applied when bit 2 is set
//   5     seed of the image's pseudo-random contents
//   6     number of patches (at most 15), each:
//           target (0 cartridge header, 1 shop table, other: anywhere),
//           offset (2 bytes, or 3 bytes for anywhere), length (at most 63), bytes
//   then  actions, one byte each plus the bytes some of them take.
namespace fuzz {

using Bytes = std::vector<std::uint8_t>;

// Runs one input; stops the process if the editor wrote outside the shop
// table, changed the file's size, or contradicted itself.
void runInput(std::span<const std::uint8_t> input);

// Inputs worth starting from: each layout and common size, unlabelled type
// codes, the odd sizes and map modes that must be refused, and actions that
// reach every handler.
[[nodiscard]] std::vector<Bytes> seedInputs();

} // namespace fuzz
