#pragma once

#include "ItemLabels.h"
#include "NamesFileError.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace rom {

// The names of the 256 item codes in use: the built-in catalogue
// (ItemLabels), with the names an item names file gives in their place.
//
// An item names file is UTF-8 text; a byte-order mark at its start and CRLF
// line ends are accepted. Blank lines, and lines whose first non-blank
// character is '#', are ignored. Every other line is "HH: Name": blanks, two
// hex digits in either case, blanks, a colon, then the name with the blanks
// around it trimmed (blanks are spaces and tabs). A name is 1 to
// kMaxNameLength characters (code points) without control characters. Each
// code appears at most once; a code the file does not give keeps its
// built-in name.
//
// Copies share the names, so passing an ItemNames around is cheap.
class ItemNames {
public:
    static constexpr int kCount = ItemLabels::kCount;
    static constexpr int kMaxNameLength = 40;

    // The built-in catalogue; builds nothing until a label is asked for.
    ItemNames() = default;

    // Reads the bytes of an item names file; refuses the whole file at its
    // first wrong line.
    [[nodiscard]] static std::variant<ItemNames, NamesFileError> parse(std::string_view bytes);
    // What is wrong with a name as a names file (or a search for names) takes
    // it: EmptyName, NameTooLong or ControlCharacter; nothing for a good one.
    [[nodiscard]] static std::optional<NamesFileProblem> nameProblem(std::u32string_view name);

    // code must be in 0 .. kCount - 1. Both are UTF-8 and stay valid while
    // this object or a copy of it lives.
    [[nodiscard]] std::string_view label(int code) const; // "2A: Moonstone Blade"
    [[nodiscard]] std::string_view name(int code) const;  // "Moonstone Blade"

    // Every name in use as an item names file: kCount lines "HH: Name" in code
    // order, upper-case hex, each ended by LF. parse() reads it back unchanged.
    [[nodiscard]] std::string toText() const;

    friend bool operator==(const ItemNames &a, const ItemNames &b);

private:
    using Labels = std::array<std::string, kCount>;

    explicit ItemNames(std::shared_ptr<const Labels> labels);

    // Null for the built-in catalogue.
    std::shared_ptr<const Labels> m_labels;
};

} // namespace rom
