#include "Utf8.h"

namespace rom {

namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;
// UTF-16 surrogate halves, which never stand for characters on their own.
constexpr char32_t kSurrogateFirst = 0xD800;
constexpr char32_t kSurrogateLast = 0xDFFF;
// The second half of a pair; before it, the first halves.
constexpr char32_t kLowSurrogateFirst = 0xDC00;
// The first code point that UTF-16 writes as a pair of surrogates.
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr char32_t kReplacementCharacter = 0xFFFD;

struct LeadByte {
    int continuations; // bytes that follow, 0-3; -1 if no sequence starts with this byte
    char32_t bits;     // the payload bits the lead byte carries
    char32_t minimum;  // the smallest value that needs this many bytes; less is an overlong form
};

LeadByte readLead(unsigned char byte)
{
    if (byte < 0x80)
        return {0, byte, 0};
    if ((byte & 0xE0) == 0xC0)
        return {1, char32_t(byte & 0x1F), 0x80};
    if ((byte & 0xF0) == 0xE0)
        return {2, char32_t(byte & 0x0F), 0x800};
    if ((byte & 0xF8) == 0xF0)
        return {3, char32_t(byte & 0x07), 0x10000};
    return {-1, 0, 0};
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The code point of the sequence at text[at], moving at past it; nothing
// (at moved past the lead byte only) when no valid sequence starts there.
std::optional<char32_t> decodeSequence(std::string_view text, std::size_t &at, bool surrogates)
{
    const LeadByte lead = readLead(static_cast<unsigned char>(text[at++]));
    if (lead.continuations < 0 || text.size() - at < std::size_t(lead.continuations))
        return std::nullopt;
    char32_t value = lead.bits;
    for (int i = 0; i < lead.continuations; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + std::size_t(i)]);
        if (!isContinuation(byte))
            return std::nullopt;
        value = (value << 6) | (byte & 0x3F);
    }
    if (value < lead.minimum || value > kMaxCodePoint ||
        (!surrogates && value >= kSurrogateFirst && value <= kSurrogateLast))
        return std::nullopt;
    at += std::size_t(lead.continuations);
    return value;
}

} // namespace

std::optional<std::u32string> decodeUtf8(std::string_view text)
{
    std::u32string decoded;
    decoded.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<char32_t> value = decodeSequence(text, at, false);
        if (!value)
            return std::nullopt;
        decoded.push_back(*value);
    }
    return decoded;
}

std::u16string utf16FromGeneralizedUtf8(std::string_view text)
{
    std::u16string units;
    units.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char32_t value = decodeSequence(text, at, true).value_or(kReplacementCharacter);
        if (value < kFirstSupplementary) {
            units.push_back(char16_t(value));
        } else {
            units.push_back(char16_t(kSurrogateFirst + ((value - kFirstSupplementary) >> 10)));
            units.push_back(char16_t(kLowSurrogateFirst + ((value - kFirstSupplementary) & 0x3FF)));
        }
    }
    return units;
}

std::string generalizedUtf8FromUtf16(std::u16string_view units)
{
    std::string text;
    text.reserve(units.size());
    for (std::size_t at = 0; at < units.size(); ++at) {
        char32_t value = units[at];
        const bool paired = value >= kSurrogateFirst && value < kLowSurrogateFirst && at + 1 < units.size() &&
                            units[at + 1] >= kLowSurrogateFirst && units[at + 1] <= kSurrogateLast;
        if (paired)
            value = kFirstSupplementary + ((value - kSurrogateFirst) << 10) + (units[++at] - kLowSurrogateFirst);
        text += encodeUtf8(value);
    }
    return text;
}

std::string encodeUtf8(char32_t c)
{
    if (c < 0x80)
        return std::string(1, char(c));
    if (c < 0x800)
        return {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    if (c < 0x10000)
        return {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
    return {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)), char(0x80 | (c >> 6 & 0x3F)),
            char(0x80 | (c & 0x3F))};
}

} // namespace rom
