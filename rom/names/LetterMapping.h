#pragma once

#include "SearchPattern.h"
#include "TableFile.h"

#include <array>
#include <cstdint>
#include <optional>

namespace rom {

// What a relative search has learnt of a game's encoding: the byte of 'A',
// 'a' and '0' (each class's letters following in ASCII order), and the byte
// of each Other character of the names.
class LetterMapping {
public:
    static constexpr std::array<int, kLetterClasses> kClassSizes = {26, 26, 10};

    // Whether bytes, as many as the name has symbols, spell the name in
    // this mapping, learning the bytes it did not know. On false the
    // mapping may have learnt part of the name: learn into a copy.
    [[nodiscard]] bool learn(const NamePattern &name, const std::uint8_t *bytes);
    // Whether bytes may spell the name: no byte contradicts what is known.
    // Learns nothing, so that a search can rule places out without a copy.
    [[nodiscard]] bool agrees(const NamePattern &name, const std::uint8_t *bytes) const;
    // Whether the classes' ranges and the Other bytes lie apart, as in any
    // real encoding; the two cases may share their bytes (a font of capitals only).
    [[nodiscard]] bool consistent() const;
    // Which bytes stand for a letter, digit or character learnt so far.
    [[nodiscard]] std::array<bool, TableFile::kByteValues> mappedBytes() const;

    // A table file of what was learnt: A-Z, a-z and 0-9 for the classes
    // seen, each Other character seen, and the end byte if there is one.
    [[nodiscard]] TableFile table(const SearchPattern &pattern, std::optional<std::uint8_t> endByte) const;

private:
    [[nodiscard]] bool sharedCases() const;

    // The byte of the class's first letter; -1 until learnt.
    std::array<int, kLetterClasses> m_first{-1, -1, -1};
    // The byte of each Other character; -1 until learnt.
    std::array<std::int16_t, SearchPattern::kMaxOthers> m_other = [] {
        std::array<std::int16_t, SearchPattern::kMaxOthers> unknown{};
        unknown.fill(-1);
        return unknown;
    }();
};

} // namespace rom
