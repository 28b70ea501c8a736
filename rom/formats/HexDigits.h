#pragma once

#include <cstdint>
#include <optional>
#include <string>
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

inline constexpr std::string_view kUpperHexDigits = "0123456789ABCDEF";

// Appends a byte as two upper-case hex digits.
inline void appendHexByte(std::string &text, std::uint8_t byte)
{
    text.push_back(kUpperHexDigits[byte >> 4]);
    text.push_back(kUpperHexDigits[byte & 0xF]);
}

// The low byte of value as two upper-case hex digits ("2A").
[[nodiscard]] inline std::string hexByte(int value)
{
    std::string text;
    appendHexByte(text, std::uint8_t(value & 0xFF));
    return text;
}

} // namespace rom
