#include "NameTable.h"

#include "ItemNames.h"
#include "TextLines.h"

#include <algorithm>
#include <array>
#include <utility>

namespace rom {

namespace {

// U+2026, the ellipsis that ends a name cut to the longest allowed.
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
// U+0080-U+009F, the C1 control characters, are C2 80 to C2 9F in UTF-8.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kC1Last = 0x9F;
// A byte that ends a single entry tells nothing of padding.
constexpr int kLeastPadded = 2;

// Appends text with each control character made a blank, as a name holds none.
void appendWithoutControls(std::string &name, std::string_view text)
{
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        const bool c1 = c == kC1Lead && at + 1 < text.size() &&
                        static_cast<unsigned char>(text[at + 1]) <= kC1Last &&
                        static_cast<unsigned char>(text[at + 1]) >= 0x80;
        if (c < 0x20 || c == 0x7F || c1)
            name.push_back(' ');
        else
            name.push_back(char(c));
        at += c1 ? 1 : 0;
    }
}

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Cuts name to ItemNames::kMaxNameLength characters, the last an ellipsis; false if it fits.
bool shorten(std::string &name)
{
    if (name.size() <= std::size_t(ItemNames::kMaxNameLength))
        return false;
    int characters = 0;
    std::size_t cut = 0;
    for (std::size_t at = 0; at < name.size(); ++at) {
        if (isContinuationByte(name[at]))
            continue;
        if (++characters == ItemNames::kMaxNameLength)
            cut = at;
        if (characters > ItemNames::kMaxNameLength) {
            name.resize(cut);
            name.append(kEllipsis);
            return true;
        }
    }
    return false;
}

} // namespace

NameTable::NameTable(NameTableLayout layout, TableFile table)
    : m_layout(layout)
    , m_table(std::move(table))
{
}

DecodedNames NameTable::decode(std::span<const std::uint8_t> cartridge, int count) const
{
    if (!m_layout.problems(cartridge.size()).empty())
        return DecodedNames(m_layout.firstCode, {});
    const int padding = paddingByte(cartridge);
    const auto nameLength = std::size_t(m_layout.entryLength - m_layout.skip);
    std::vector<DecodedName> names;
    const int lastCode = std::min(m_layout.lastCode, m_layout.firstCode + std::max(count, 0) - 1);
    names.reserve(std::size_t(std::max(lastCode - m_layout.firstCode + 1, 0)));
    for (int code = m_layout.firstCode; code <= lastCode; ++code) {
        const std::size_t start = m_layout.entryOffset(code) + std::size_t(m_layout.skip);
        names.push_back(decodeEntry(cartridge.subspan(start, nameLength), padding));
    }
    return DecodedNames(m_layout.firstCode, std::move(names));
}

DecodedName NameTable::decodeCode(std::span<const std::uint8_t> cartridge, int code, int padding) const
{
    const std::size_t start = m_layout.entryOffset(code) + std::size_t(m_layout.skip);
    return decodeEntry(cartridge.subspan(start, std::size_t(m_layout.entryLength - m_layout.skip)), padding);
}

int NameTable::paddingByte(std::span<const std::uint8_t> cartridge) const
{
    std::array<int, TableFile::kByteValues> lastBytes{};
    for (int code = m_layout.firstCode; code <= m_layout.lastCode; ++code)
        ++lastBytes[cartridge[m_layout.entryOffset(code) + std::size_t(m_layout.entryLength) - 1]];
    for (int byte = 0; byte < TableFile::kByteValues; ++byte) {
        const std::uint8_t value = std::uint8_t(byte);
        const int count = lastBytes[std::size_t(byte)];
        if (count >= kLeastPadded && 2 * count > m_layout.count() && !m_table.match(std::span(&value, 1)))
            return byte;
    }
    return -1;
}

void NameTable::readPieces(std::span<const std::uint8_t> bytes, int padding, Pieces &pieces) const
{
    while (!bytes.empty() && pieces.count < pieces.list.size()) {
        const std::optional<TableFile::Match> found = m_table.match(bytes);
        if (found && found->kind == TableFile::Kind::End)
            return;
        // Nothing but padding to the end of the entry: dropped as trailing
        // padding would be, without reading it byte by byte.
        if (!found && bytes.front() == padding &&
            std::all_of(bytes.begin(), bytes.end(), [padding](std::uint8_t byte) { return byte == padding; }))
            return;
        const std::size_t start = pieces.text.size();
        if (found)
            appendWithoutControls(pieces.text, found->kind == TableFile::Kind::LineBreak ? " " : found->text);
        else
            TableFile::appendUnmapped(pieces.text, bytes.front());
        const bool blank = found && std::all_of(pieces.text.begin() + std::ptrdiff_t(start), pieces.text.end(),
                                                [](char c) { return c == ' ' || c == '\t'; });
        pieces.list[pieces.count++] = Piece{pieces.text.size(), found ? found->length : 1, blank, !found,
                                            !found && bytes.front() == padding};
        bytes = bytes.subspan(std::size_t(pieces.list[pieces.count - 1].bytes));
    }
}

DecodedName NameTable::decodeEntry(std::span<const std::uint8_t> bytes, int padding) const
{
    // Room for every byte shown as "[HH]": no growing while the pieces are read.
    constexpr std::size_t kLongestText = 4 * NameTableLayout::kMaxEntryLength;
    Pieces pieces;
    pieces.text.reserve(kLongestText);
    readPieces(bytes, padding, pieces);
    std::size_t last = pieces.count;
    while (last > 0 && (pieces.list[last - 1].blank || pieces.list[last - 1].padding))
        --last;
    DecodedName name;
    for (std::size_t index = 0; index < last; ++index) {
        name.bytes += pieces.list[index].bytes;
        name.unmappedBytes += pieces.list[index].unmapped ? 1 : 0;
    }
    name.text = trimmedBlanks(std::string_view(pieces.text).substr(0, last > 0 ? pieces.list[last - 1].end : 0));
    name.empty = name.text.empty();
    if (name.empty)
        name.text = DecodedNames::kNoName;
    name.shortened = shorten(name.text);
    return name;
}

} // namespace rom
