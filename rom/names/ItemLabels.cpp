#include "ItemLabels.h"

#include <array>
#include <cstdio>
#include <string>

namespace rom {

namespace {

// Names of item codes 0x00-0xFE, built in from data/item_names.txt.
constexpr std::array<std::string_view, ItemLabels::kEmptySlot> kNames = {
#include "ItemNames.inc"
};

std::array<std::string, ItemLabels::kCount> buildLabels()
{
    std::array<std::string, ItemLabels::kCount> labels;
    for (int code = 0; code < ItemLabels::kCount; ++code) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", code);
        const std::string_view name = code == ItemLabels::kEmptySlot ? "Empty" : kNames[code];
        labels[code] = std::string(hex) + ": " + std::string(name);
    }
    return labels;
}

} // namespace

std::string_view ItemLabels::label(int n)
{
    static const auto labels = buildLabels();
    return labels.at(std::size_t(n));
}

} // namespace rom
