#pragma once

#include <algorithm>
#include <span>
#include <string>

namespace rom {

// Shop numbers as a report lists them: "3, 4 and 12", or the first ten and
// "and 5 more", so that a line stays readable whatever an import changed.
class ShopListText {
public:
    static constexpr std::size_t kMaxListed = 10;

    // Empty for no shops.
    [[nodiscard]] static std::string of(std::span<const int> shops);
};

} // namespace rom
