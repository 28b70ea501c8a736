#pragma once

#include <string_view>

namespace rom {

// Labels of the item codes 0x00-0xFF, entry n for code n: the code in two
// upper-case hex digits, ": ", then the item's name ("1F: Rune Sword").
// 0xFF is the empty slot, "FF: Empty". Labels are ASCII.
class ItemLabels {
public:
    static constexpr int kCount = 256;
    static constexpr int kEmptySlot = 0xFF;

    [[nodiscard]] static constexpr int count() { return kCount; }
    // n must be in 0 .. count() - 1.
    [[nodiscard]] static std::string_view label(int n);
};

} // namespace rom
