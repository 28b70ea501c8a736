#include "ShopListText.h"

namespace rom {

std::string ShopListText::of(std::span<const int> shops)
{
    const std::size_t listed = std::min(shops.size(), kMaxListed);
    std::string text;
    for (std::size_t index = 0; index < listed; ++index) {
        if (index > 0)
            text += index + 1 == listed && listed == shops.size() ? " and " : ", ";
        text += std::to_string(shops[index]);
    }
    if (listed < shops.size())
        text += " and " + std::to_string(shops.size() - listed) + " more";
    return text;
}

} // namespace rom
