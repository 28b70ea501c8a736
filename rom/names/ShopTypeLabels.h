#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rom {

// Labels of the type codes 0x00-0x35, entry n for code n: the shop kind (low
// nibble) and its price rule (high nibble), e.g. 0x12 "Armor 200% cost".
// Codes 0x36 and above have no label. Labels are UTF-8.
class ShopTypeLabels {
public:
    static constexpr int kCount = 54;

    [[nodiscard]] static constexpr int count() { return kCount; }
    // n must be in 0 .. count() - 1.
    [[nodiscard]] static std::string_view label(int n);
    // Any code: its label, or "0x69: Unknown" for a code without one (the
    // code first, so that a narrow list still shows it whole).
    [[nodiscard]] static std::string text(std::uint8_t code);
};

} // namespace rom
