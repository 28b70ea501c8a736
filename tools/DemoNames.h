#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The item name table of the demonstration images: the names of an invented
// game, in an invented encoding, with the table file that reads them. Tests
// vary the encoding and the place to make their own.
namespace demo {

// Letters at bytes of their own (never their ASCII values), a few words as
// two-byte sequences (a lead byte, then the word's number counted from
// firstWord), an end byte and a padding byte.
struct NameEncoding {
    std::uint8_t upperA = 0x8A; // 'A'; 'B' to 'Z' follow
    std::uint8_t lowerA = 0xA4; // 'a'; 'b' to 'z' follow
    std::uint8_t digit0 = 0x70; // '0'; '1' to '9' follow
    std::uint8_t blank = 0x60;
    std::uint8_t end = 0x00;
    bool ended = true; // whether each name is followed by the end byte
    std::uint8_t padding = 0xFF;
    std::uint8_t wordLead = 0xF0;
    std::uint8_t firstWord = 0x10;
    std::vector<std::string> words = {"Sword", "Shield", "Charm", "Tonic"};
    // Each entry starts with one icon byte per byte skipped, from this one up.
    std::uint8_t iconFirst = 0xC0;
    // A byte that no line of the table file stands for.
    std::uint8_t controlCode = 0xEF;
};

// Where the table lies: an entry per code from 00 to FE.
struct NameTablePlace {
    std::uint64_t offset = 0x3A400; // cartridge offset, $C3:A400
    int entryLength = 16;
    int skip = 1; // the icon
};

// The name of a code in the invented game: 1 to 13 letters and blanks.
[[nodiscard]] std::string demoItemName(int code);
// The bytes of name: the first of the words, in the encoding's order, that
// starts there, else a character's byte; a character the encoding has not
// becomes a blank.
[[nodiscard]] std::vector<std::uint8_t> encodeName(const NameEncoding &encoding, std::string_view name);
// The table file that reads the encoding, with comments and a few lines of
// other kinds that a name table does not need.
[[nodiscard]] std::string tableFileText(const NameEncoding &encoding, const NameTablePlace &place);
// Writes the entries of names (code 00 first) at place: icons, the name,
// the end byte, padding. Cut where a name does not fit, as no game would.
void writeNameTable(std::span<std::uint8_t> cartridge, const NameTablePlace &place, const NameEncoding &encoding,
                    const std::vector<std::string> &names);

} // namespace demo
