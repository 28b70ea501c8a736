#include "IpsPatch.h"

#include "DifferingRuns.h"

#include <algorithm>
#include <string_view>

namespace rom {

namespace {

constexpr std::string_view kMagic = "PATCH";
constexpr std::string_view kEnd = "EOF";
// The offset whose three bytes spell kEnd: a record there would end the patch
// for any applier, so it starts one byte earlier instead.
constexpr std::size_t kOffsetSpellingEnd = 0x454F46;
// The first offset that three bytes cannot hold.
constexpr std::size_t kReach = 0x1000000;
constexpr std::size_t kMaxRecordSize = 0xFFFF;
// Offset and size in front of each record's bytes: repeating fewer unchanged
// bytes than this is cheaper than starting a new record.
constexpr std::size_t kRecordOverhead = 5;

void appendRecord(std::vector<std::uint8_t> &patch, std::span<const std::uint8_t> modified, std::size_t offset,
                  std::size_t size)
{
    const std::uint8_t head[kRecordOverhead] = {std::uint8_t(offset >> 16), std::uint8_t(offset >> 8),
                                                std::uint8_t(offset), std::uint8_t(size >> 8), std::uint8_t(size)};
    patch.insert(patch.end(), std::begin(head), std::end(head));
    const auto from = modified.begin() + std::ptrdiff_t(offset);
    patch.insert(patch.end(), from, from + std::ptrdiff_t(size));
}

// One run of changed bytes, in as many records as its size needs.
void appendRun(std::vector<std::uint8_t> &patch, std::span<const std::uint8_t> modified, DifferingRuns::Run run)
{
    std::size_t offset = run.begin;
    while (offset < run.end) {
        if (offset == kOffsetSpellingEnd)
            --offset;
        const std::size_t size = std::min(run.end - offset, kMaxRecordSize);
        appendRecord(patch, modified, offset, size);
        offset += size;
    }
}

} // namespace

PatchError IpsPatch::make(std::span<const std::uint8_t> clean, std::span<const std::uint8_t> modified,
                          std::vector<std::uint8_t> &patch)
{
    if (clean.size() != modified.size())
        return PatchError::SizeMismatch;
    std::vector<std::uint8_t> made(kMagic.begin(), kMagic.end());
    DifferingRuns runs(clean, modified, kRecordOverhead);
    DifferingRuns::Run run;
    while (runs.next(run)) {
        if (run.end > kReach)
            return PatchError::BeyondIpsReach;
        appendRun(made, modified, run);
    }
    made.insert(made.end(), kEnd.begin(), kEnd.end());
    patch = std::move(made);
    return PatchError::None;
}

} // namespace rom
