#include "ShopTypeLabels.h"

#include <array>
#include <cstdio>
#include <string>

namespace rom {

namespace {

constexpr std::array<std::string_view, 6> kKinds = {"[Blank]", "Weapon", "Armor", "Item", "Relic", "Vendor"};
// Kinds 6-15 mean nothing to the game's shop code; they carry no price suffix.
constexpr std::string_view kUnknownKind = "Glitch?";
// Price rule in the high nibble: normal, doubled, one and a half, halved.
constexpr std::array<std::string_view, 4> kPriceRules = {"", " 200% cost", " 150% cost", " \u00BD cost"};

std::array<std::string, ShopTypeLabels::kCount> buildLabels()
{
    std::array<std::string, ShopTypeLabels::kCount> labels;
    for (int code = 0; code < ShopTypeLabels::kCount; ++code) {
        const int kind = code & 0x0F;
        const int rule = code >> 4;
        labels[code] = kind < int(kKinds.size()) ? std::string(kKinds[kind]) + std::string(kPriceRules[rule])
                                                 : std::string(kUnknownKind);
    }
    return labels;
}

} // namespace

std::string_view ShopTypeLabels::label(int n)
{
    static const auto labels = buildLabels();
    return labels.at(std::size_t(n));
}

std::string ShopTypeLabels::text(std::uint8_t code)
{
    if (code < kCount)
        return std::string(label(code));
    char unknown[16];
    std::snprintf(unknown, sizeof unknown, "0x%02X: Unknown", code);
    return unknown;
}

} // namespace rom
