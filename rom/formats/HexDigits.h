#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rom {

// The value of a hexadecimal digit in either case, or -1 for any other character.
[[nodiscard]] constexpr int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A code written as exactly two hexadecimal digits ("2a", "2A").
[[nodiscard]] constexpr std::optional<std::uint8_t> twoHexDigits(std::string_view text)
{
    if (text.size() != 2 || hexDigitValue(text[0]) < 0 || hexDigitValue(text[1]) < 0)
        return std::nullopt;
    return std::uint8_t(hexDigitValue(text[0]) * 16 + hexDigitValue(text[1]));
}

} // namespace rom
