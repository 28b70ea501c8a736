#include "BpsPatch.h"

#include "DifferingRuns.h"

#include <zlib.h>
#include <string_view>

namespace rom {

namespace {

constexpr std::string_view kMagic = "BPS1";
// An action is one number: (length - 1) shifted left by kActionBits, plus its kind.
constexpr int kActionBits = 2;
constexpr std::uint64_t kSourceRead = 0; // copy length bytes of the source at the same position
constexpr std::uint64_t kTargetRead = 1; // copy length bytes that follow in the patch
// A source read between two target reads costs at least two bytes of actions;
// repeating one unchanged byte costs one.
constexpr std::size_t kJoinGap = 2;
constexpr std::uint64_t kNumberBits = 7;
constexpr std::uint8_t kNumberLow = 0x7F;
constexpr std::uint8_t kNumberLast = 0x80;

void appendNumber(std::vector<std::uint8_t> &patch, std::uint64_t value)
{
    for (;;) {
        const auto low = std::uint8_t(value & kNumberLow);
        value >>= kNumberBits;
        if (value == 0) {
            patch.push_back(low | kNumberLast);
            return;
        }
        patch.push_back(low);
        --value;
    }
}

void appendAction(std::vector<std::uint8_t> &patch, std::uint64_t kind, std::size_t length)
{
    appendNumber(patch, (std::uint64_t(length) - 1) << kActionBits | kind);
}

std::uint32_t crcOf(std::span<const std::uint8_t> bytes)
{
    return std::uint32_t(crc32_z(crc32_z(0, nullptr, 0), bytes.data(), bytes.size()));
}

void appendLittleEndian(std::vector<std::uint8_t> &patch, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        patch.push_back(std::uint8_t(value >> shift));
}

} // namespace

PatchError BpsPatch::make(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
                          std::vector<std::uint8_t> &patch)
{
    if (source.size() != target.size())
        return PatchError::SizeMismatch;
    std::vector<std::uint8_t> made(kMagic.begin(), kMagic.end());
    appendNumber(made, source.size());
    appendNumber(made, target.size());
    appendNumber(made, 0);

    DifferingRuns runs(source, target, kJoinGap);
    DifferingRuns::Run run;
    std::size_t written = 0;
    while (runs.next(run)) {
        if (run.begin > written)
            appendAction(made, kSourceRead, run.begin - written);
        appendAction(made, kTargetRead, run.end - run.begin);
        made.insert(made.end(), target.begin() + std::ptrdiff_t(run.begin), target.begin() + std::ptrdiff_t(run.end));
        written = run.end;
    }
    if (written < target.size())
        appendAction(made, kSourceRead, target.size() - written);

    appendLittleEndian(made, crcOf(source));
    appendLittleEndian(made, crcOf(target));
    appendLittleEndian(made, crcOf(made));
    patch = std::move(made);
    return PatchError::None;
}

} // namespace rom
