#include "DemoNames.h"

#include "HexDigits.h"

#include <algorithm>
#include <cstdio>

namespace demo {

namespace {

constexpr int kLetters = 26;
constexpr int kDigits = 10;

// The invented game's names: a material and a kind of item, by the ranges
// of codes the shops sell from.
struct NameGroup {
    int firstCode;
    std::vector<std::string_view> materials;
    std::vector<std::string_view> kinds;
};

const std::vector<NameGroup> &nameGroups()
{
    static const std::vector<NameGroup> groups = {
        {0x00, {"Copper", "Bronze", "Iron", "Steel", "Silver", "Ember", "Frost", "Star"},
         {"Knife", "Dagger", "Sword", "Saber", "Axe", "Spear", "Lance", "Mace", "Hammer", "Bow", "Staff", "Whip"}},
        {0x60, {"Copper", "Bronze", "Iron", "Steel", "Silver", "Ember", "Frost", "Star"},
         {"Shield", "Helm", "Cap", "Mail", "Robe", "Cloak", "Gloves", "Boots", "Vest"}},
        {0xA8, {"Ruby", "Jade", "Opal", "Onyx", "Amber", "Pearl"},
         {"Ring", "Charm", "Amulet", "Brooch", "Band", "Stone", "Orb", "Crown"}},
        {0xD8, {"Weak", "Good", "Fine"},
         {"Tonic", "Elixir", "Salve", "Herb", "Tea", "Balm", "Draught", "Ration", "Flask", "Powder", "Scroll", "Bomb",
          "Incense"}},
    };
    return groups;
}

using rom::hexByte;

std::uint8_t characterByte(const NameEncoding &encoding, char c)
{
    if (c >= 'A' && c <= 'Z')
        return std::uint8_t(encoding.upperA + (c - 'A'));
    if (c >= 'a' && c <= 'z')
        return std::uint8_t(encoding.lowerA + (c - 'a'));
    if (c >= '0' && c <= '9')
        return std::uint8_t(encoding.digit0 + (c - '0'));
    return encoding.blank;
}

// The entry of one code: icons, name, end byte, padding.
std::vector<std::uint8_t> entryBytes(const NameTablePlace &place, const NameEncoding &encoding, int code,
                                     std::string_view name)
{
    const std::uint8_t icon = std::uint8_t(encoding.iconFirst + (code < 0x60 ? 0 : code < 0xA8 ? 1 : code < 0xD8 ? 2 : 3));
    std::vector<std::uint8_t> entry(std::size_t(place.skip), icon);
    const std::vector<std::uint8_t> bytes = encodeName(encoding, name);
    entry.insert(entry.end(), bytes.begin(), bytes.end());
    if (encoding.ended)
        entry.push_back(encoding.end);
    entry.resize(std::size_t(place.entryLength), encoding.padding);
    return entry;
}

} // namespace

std::string demoItemName(int code)
{
    const auto &groups = nameGroups();
    const auto group = std::find_if(groups.rbegin(), groups.rend(), [code](const NameGroup &g) { return code >= g.firstCode; });
    const int index = code - group->firstCode;
    const int kinds = int(group->kinds.size());
    const auto material = group->materials[std::size_t(index / kinds % int(group->materials.size()))];
    return std::string(material) + " " + std::string(group->kinds[std::size_t(index % kinds)]);
}

std::vector<std::uint8_t> encodeName(const NameEncoding &encoding, std::string_view name)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t at = 0; at < name.size();) {
        const auto word = std::find_if(encoding.words.begin(), encoding.words.end(),
                                       [&](const std::string &w) { return name.substr(at).starts_with(w); });
        if (word != encoding.words.end()) {
            bytes.push_back(encoding.wordLead);
            bytes.push_back(std::uint8_t(encoding.firstWord + (word - encoding.words.begin())));
            at += word->size();
        } else {
            bytes.push_back(characterByte(encoding, name[at++]));
        }
    }
    return bytes;
}

std::string tableFileText(const NameEncoding &encoding, const NameTablePlace &place)
{
    char where[160];
    std::snprintf(where, sizeof where,
                  "# Item names: entries of %d bytes from cartridge offset 0x%llX,\n"
                  "# %d icon byte(s), then the name, the end byte, padding.\n(%llXh)Item names\n",
                  place.entryLength, static_cast<unsigned long long>(place.offset), place.skip,
                  static_cast<unsigned long long>(place.offset));
    std::string text = where;
    for (int letter = 0; letter < kLetters; ++letter)
        text += hexByte(encoding.upperA + letter) + "=" + char('A' + letter) + "\n";
    for (int letter = 0; letter < kLetters; ++letter)
        text += hexByte(encoding.lowerA + letter) + "=" + char('a' + letter) + "\n";
    for (int digit = 0; digit < kDigits; ++digit)
        text += hexByte(encoding.digit0 + digit) + "=" + char('0' + digit) + "\n";
    text += hexByte(encoding.blank) + "= \n";
    text += "; words in two bytes\n";
    for (std::size_t word = 0; word < encoding.words.size(); ++word)
        text += hexByte(encoding.wordLead) + hexByte(encoding.firstWord + int(word)) + "=" + encoding.words[word] + "\n";
    if (encoding.ended)
        text.append("/").append(hexByte(encoding.end)).append("\n");
    text.append("$").append(hexByte(encoding.controlCode)).append("=<wait>,1\n");
    return text;
}

void writeNameTable(std::span<std::uint8_t> cartridge, const NameTablePlace &place, const NameEncoding &encoding,
                    const std::vector<std::string> &names)
{
    for (std::size_t code = 0; code < names.size(); ++code) {
        const std::vector<std::uint8_t> entry = entryBytes(place, encoding, int(code), names[code]);
        const std::uint64_t at = place.offset + code * std::uint64_t(place.entryLength);
        if (at + entry.size() <= cartridge.size())
            std::copy(entry.begin(), entry.end(), cartridge.begin() + std::ptrdiff_t(at));
    }
}

} // namespace demo
