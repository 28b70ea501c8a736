#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rom {

// The code points of UTF-8 text, or nothing when the text is not valid
// UTF-8: a stray or missing continuation byte, an overlong form, an encoded
// surrogate, or a value above U+10FFFF.
[[nodiscard]] std::optional<std::u32string> decodeUtf8(std::string_view text);

// The UTF-8 bytes of one code point (at most U+10FFFF).
[[nodiscard]] std::string encodeUtf8(char32_t c);

// A control character in Unicode's sense: U+0000-U+001F, U+007F-U+009F.
[[nodiscard]] constexpr bool isControlCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace rom
