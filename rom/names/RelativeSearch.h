#pragma once

#include "DecodedNames.h"
#include "KnownName.h"
#include "NameTableLayout.h"
#include "SearchError.h"
#include "TableFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

namespace rom {

// A place in the cartridge where a name table fits the known names, with
// what the relative search learnt of the game's encoding.
struct NameTablePlacement {
    NameTableLayout layout;
    std::optional<std::uint8_t> endByte; // the byte that followed every known name inside its entry
    TableFile table;                      // the letters, digits and characters learnt, and the end byte
    DecodedNames preview;                 // the first RelativeSearch::kPreviewNames covered codes, read with table
};

struct SearchResult {
    // The likeliest first: the fewest bytes of the names (all of them) that
    // table cannot read.
    std::vector<NameTablePlacement> placements;
    int found = 0;     // placements that fit, also those past kMaxPlacements
    bool more = false; // the search stopped at kMaxFits: more may fit
};

// Finds a name table without a table file, from a few names the user knows:
// the letters of one case are consecutive in a game's encoding, so the
// differences between the bytes of a name are those between its letters in
// ASCII, wherever the alphabet starts. A placement is a place where every
// known name appears so, learning one encoding from all of them, at entry
// addresses start + code * length for one length of 1 to 64 bytes. The
// cartridge is read once, many places at a time (DifferenceScan), for the
// name with the most differences; the others are then looked for at their
// distances.
class RelativeSearch {
public:
    static constexpr int kMinNames = 2;
    static constexpr int kMaxNames = 4;
    static constexpr int kMaxPlacements = 16;
    static constexpr int kPreviewNames = 6;
    // Names so short or plain that they fit this often fit anywhere: the
    // search stops there rather than run out of memory.
    static constexpr int kMaxFits = 4096;

    // The placements that fit, or why the search could not be made, or
    // NothingFound (whose message says what to try).
    [[nodiscard]] static std::variant<SearchResult, SearchError> find(std::span<const std::uint8_t> cartridge,
                                                                      const std::vector<KnownName> &known);
};

} // namespace rom
