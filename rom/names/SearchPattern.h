#pragma once

#include "ItemNames.h"
#include "KnownName.h"
#include "RelativeSearch.h"
#include "SearchError.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace rom {

// The kinds of character a relative search tells apart. The letters of one
// case, and the digits, are taken to be consecutive bytes in the game's
// encoding, in their ASCII order, wherever they start; every other
// character (the blank, punctuation) is a byte of its own.
enum class LetterClass {
    Upper,
    Lower,
    Digit,
    Other,
};
inline constexpr int kLetterClasses = 3; // the classes of consecutive bytes: Upper, Lower, Digit

// One character of a known name: its class and its place in the class
// (0 for 'A', 'a' and '0'), or, for Other, which of SearchPattern::others().
struct Symbol {
    LetterClass kind = LetterClass::Other;
    int value = 0;
};

struct NamePattern {
    int code = 0;
    std::vector<Symbol> symbols{};
};

// A difference the bytes of a name must show: bytes[later] - bytes[earlier]
// (modulo 256) is value, positions counted from the name's first byte.
struct Difference {
    int later = 0;
    int earlier = 0;
    std::uint8_t value = 0;
};

// The known names of a relative search, checked and turned into what the
// search compares: each name's symbols, and the differences of one name
// that the scan of the whole cartridge looks for first.
class SearchPattern {
public:
    // The most Other characters the names can hold between them.
    static constexpr int kMaxOthers = RelativeSearch::kMaxNames * ItemNames::kMaxNameLength;

    [[nodiscard]] static std::variant<SearchPattern, SearchError> make(const std::vector<KnownName> &known);

    [[nodiscard]] const std::vector<NamePattern> &names() const { return m_names; }
    // The characters of the Other symbols, by their value.
    [[nodiscard]] const std::vector<std::string> &others() const { return m_others; }
    // The name the scan of the whole cartridge looks for.
    [[nodiscard]] const NamePattern &primary() const { return m_names[std::size_t(m_primary)]; }
    // One or two of the primary's differences, none of them 0; two are
    // chained, the second starting where the first ends.
    [[nodiscard]] const std::vector<Difference> &filter() const { return m_filter; }
    [[nodiscard]] int longest() const;

private:
    [[nodiscard]] std::optional<SearchError> addName(const KnownName &known);
    [[nodiscard]] static std::vector<Difference> filterOf(const NamePattern &name);

    std::vector<NamePattern> m_names;
    std::vector<std::string> m_others;
    int m_primary = 0;
    std::vector<Difference> m_filter;
};

} // namespace rom
