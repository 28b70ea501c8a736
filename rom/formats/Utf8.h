#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rom {

// The code points of UTF-8 text, or nothing when the text is not valid
// UTF-8: a stray or missing continuation byte, an overlong form, an encoded
// surrogate, or a value above U+10FFFF.
[[nodiscard]] std::optional<std::u32string> decodeUtf8(std::string_view text);

// Generalized UTF-8 is UTF-8 in which a lone UTF-16 surrogate half may be
// encoded as if it were a code point, so that every UTF-16 string (Windows
// takes any as a file name) has a form in bytes, and comes back from it.
// A byte that starts no valid sequence becomes U+FFFD.
[[nodiscard]] std::u16string utf16FromGeneralizedUtf8(std::string_view text);
[[nodiscard]] std::string generalizedUtf8FromUtf16(std::u16string_view units);

// The UTF-8 bytes of one code point (at most U+10FFFF).
[[nodiscard]] std::string encodeUtf8(char32_t c);

// A control character in Unicode's sense: U+0000-U+001F, U+007F-U+009F.
[[nodiscard]] constexpr bool isControlCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace rom
