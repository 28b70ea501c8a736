#include "Utf8.h"

namespace rom {

namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;
// UTF-16 surrogate halves, which never stand for characters on their own.
constexpr char32_t kSurrogateFirst = 0xD800;
constexpr char32_t kSurrogateLast = 0xDFFF;

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

} // namespace

std::optional<std::u32string> decodeUtf8(std::string_view text)
{
    std::u32string decoded;
    decoded.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const LeadByte lead = readLead(static_cast<unsigned char>(text[at++]));
        if (lead.continuations < 0 || text.size() - at < std::size_t(lead.continuations))
            return std::nullopt;
        char32_t value = lead.bits;
        for (int i = 0; i < lead.continuations; ++i) {
            const auto byte = static_cast<unsigned char>(text[at++]);
            if (!isContinuation(byte))
                return std::nullopt;
            value = (value << 6) | (byte & 0x3F);
        }
        if (value < lead.minimum || value > kMaxCodePoint || (value >= kSurrogateFirst && value <= kSurrogateLast))
            return std::nullopt;
        decoded.push_back(value);
    }
    return decoded;
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
