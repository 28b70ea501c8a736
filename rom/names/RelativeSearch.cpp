#include "RelativeSearch.h"

#include "DifferenceScan.h"
#include "LetterMapping.h"
#include "NameTable.h"
#include "SearchPattern.h"

#include <algorithm>
#include <array>

namespace rom {

namespace {

// Beyond this many fits, the names given fit almost anywhere: the rest are
// counted, not read.
constexpr std::size_t kMaxFitsPlaced = 256;
// The bytes before a name that a skip counts: at most the longest entry.
constexpr int kMaxSkip = NameTableLayout::kMaxEntryLength;

// Where the known names fit with one entry length and one encoding.
struct Fit {
    std::size_t at = 0; // where the primary name starts
    int entryLength = 0;
    LetterMapping mapping;
};

// A fit and the cartridge it was found in.
struct FitView {
    std::span<const std::uint8_t> cartridge;
    const SearchPattern &pattern;
    const Fit &fit;

    [[nodiscard]] std::int64_t nameStart(int code) const
    {
        return std::int64_t(fit.at) + std::int64_t(code - pattern.primary().code) * fit.entryLength;
    }
    [[nodiscard]] std::optional<std::uint8_t> byteAt(std::int64_t offset) const
    {
        if (offset < 0 || std::uint64_t(offset) >= cartridge.size())
            return std::nullopt;
        return cartridge[std::size_t(offset)];
    }
};

// Whether every name lies inside the cartridge where the fit puts it, and
// agrees with what the mapping knows (learn is set) or learns it.
bool namesFit(const FitView &view, LetterMapping &mapping, bool learn)
{
    for (const NamePattern &name : view.pattern.names()) {
        const std::int64_t start = view.nameStart(name.code);
        if (start < 0 || std::uint64_t(start) + name.symbols.size() > view.cartridge.size())
            return false;
        const std::uint8_t *bytes = view.cartridge.data() + start;
        if (learn ? !mapping.learn(name, bytes) : !mapping.agrees(name, bytes))
            return false;
    }
    return !learn || mapping.consistent();
}

void addFits(std::span<const std::uint8_t> cartridge, const SearchPattern &pattern, std::size_t at,
             std::vector<Fit> &fits)
{
    LetterMapping primary;
    if (!primary.learn(pattern.primary(), cartridge.data() + at) || !primary.consistent())
        return;
    for (int length = pattern.longest(); length <= NameTableLayout::kMaxEntryLength; ++length) {
        Fit fit{at, length, {}};
        const FitView view{cartridge, pattern, fit};
        if (!namesFit(view, primary, false))
            continue;
        fit.mapping = primary;
        if (namesFit(view, fit.mapping, true))
            fits.push_back(std::move(fit));
    }
}

// The byte `extra` bytes after the end of every known name, inside its
// entry, if it is the same for all of them.
std::optional<std::uint8_t> commonByteAfter(const FitView &view, int extra)
{
    std::optional<std::uint8_t> common;
    for (const NamePattern &name : view.pattern.names()) {
        const int offset = int(name.symbols.size()) + extra;
        const std::optional<std::uint8_t> byte = view.byteAt(view.nameStart(name.code) + offset);
        if (offset >= view.fit.entryLength || !byte || (common && *common != *byte))
            return std::nullopt;
        common = byte;
    }
    return common;
}

// How many bytes before its name each entry has (an icon, say): the number
// most entries that look like names show between the name and the end
// byte, padding or letters of the entry before.
int skipBytes(const FitView &view, const std::array<bool, TableFile::kByteValues> &mapped,
              std::optional<std::uint8_t> end, std::optional<std::uint8_t> padding)
{
    const int limit = view.fit.entryLength - view.pattern.longest() - (end ? 1 : 0);
    std::array<int, kMaxSkip + 1> votes{};
    for (int code = 0; code <= NameTableLayout::kLastCode; ++code) {
        const std::int64_t start = view.nameStart(code);
        const auto first = view.byteAt(start);
        const auto second = view.byteAt(start + 1);
        if (!first || !second || !mapped[*first] || !mapped[*second])
            continue;
        int count = 0;
        for (auto byte = view.byteAt(start - 1); count < limit && byte; byte = view.byteAt(start - 1 - count)) {
            if (*byte == end || *byte == padding || mapped[*byte])
                break;
            ++count;
        }
        ++votes[std::size_t(count)];
    }
    return int(std::max_element(votes.begin(), votes.end()) - votes.begin());
}

// The codes whose whole entries lie in the cartridge, and where the first starts.
std::optional<NameTableLayout> layoutOf(const FitView &view, int skip)
{
    NameTableLayout layout{.entryLength = view.fit.entryLength, .skip = skip};
    const std::int64_t length = view.fit.entryLength;
    const std::int64_t codeZero = view.nameStart(0) - skip;
    layout.firstCode = codeZero >= 0 ? 0 : int((-codeZero + length - 1) / length);
    const std::int64_t lastFitting = (std::int64_t(view.cartridge.size()) - length - codeZero) / length;
    layout.lastCode = int(std::min<std::int64_t>(NameTableLayout::kLastCode, lastFitting));
    if (layout.lastCode < layout.firstCode || std::int64_t(view.cartridge.size()) < length + codeZero)
        return std::nullopt;
    layout.start = std::uint64_t(codeZero + layout.firstCode * length);
    return layout;
}

std::optional<NameTablePlacement> place(const FitView &view)
{
    const auto mapped = view.fit.mapping.mappedBytes();
    std::optional<std::uint8_t> end = commonByteAfter(view, 0);
    if (end && mapped[*end])
        end.reset();
    std::optional<std::uint8_t> padding = commonByteAfter(view, end ? 1 : 0);
    const int skip = skipBytes(view, mapped, end, padding);
    const std::optional<NameTableLayout> layout = layoutOf(view, skip);
    if (!layout)
        return std::nullopt;
    NameTablePlacement placement{*layout, end, view.fit.mapping.table(view.pattern, end), {}};
    placement.preview = NameTable(placement.layout, placement.table).decode(view.cartridge, RelativeSearch::kPreviewNames);
    return placement;
}

// The likeliest placement first: the one whose table reads most of the bytes of its names.
void rank(std::span<const std::uint8_t> cartridge, std::vector<NameTablePlacement> &placements)
{
    if (placements.size() < 2)
        return;
    std::vector<std::pair<int, std::size_t>> unread;
    for (std::size_t index = 0; index < placements.size(); ++index) {
        const NameTablePlacement &placement = placements[index];
        unread.emplace_back(NameTable(placement.layout, placement.table).decode(cartridge).unmappedBytes(), index);
    }
    std::stable_sort(unread.begin(), unread.end());
    std::vector<NameTablePlacement> ranked;
    for (const auto &[bytes, index] : unread)
        ranked.push_back(std::move(placements[index]));
    placements = std::move(ranked);
}

} // namespace

std::variant<SearchResult, SearchError> RelativeSearch::find(std::span<const std::uint8_t> cartridge,
                                                             const std::vector<KnownName> &known)
{
    auto made = SearchPattern::make(known);
    if (const auto *error = std::get_if<SearchError>(&made))
        return *error;
    const SearchPattern &pattern = std::get<SearchPattern>(made);
    std::vector<Fit> fits;
    const std::size_t length = pattern.primary().symbols.size();
    if (cartridge.size() >= length)
        DifferenceScan::scan(cartridge, pattern.filter(), cartridge.size() - length + 1, [&](std::size_t at) {
            addFits(cartridge, pattern, at, fits);
            return fits.size() < std::size_t(kMaxFits);
        });
    SearchResult result;
    result.found = int(fits.size());
    result.more = fits.size() >= std::size_t(kMaxFits);
    fits.resize(std::min(fits.size(), kMaxFitsPlaced));
    for (const Fit &fit : fits) {
        if (auto placement = place(FitView{cartridge, pattern, fit}))
            result.placements.push_back(std::move(*placement));
        else
            --result.found;
    }
    if (result.placements.empty())
        return SearchError{.problem = SearchProblem::NothingFound};
    rank(cartridge, result.placements);
    result.placements.resize(std::min<std::size_t>(result.placements.size(), kMaxPlacements));
    return result;
}

} // namespace rom
