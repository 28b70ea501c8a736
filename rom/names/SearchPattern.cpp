#include "SearchPattern.h"

#include "ItemNames.h"
#include "RelativeSearch.h"
#include "Utf8.h"

#include <algorithm>
#include <array>
#include <optional>

namespace rom {

namespace {

constexpr int kLastNamedCode = 0xFE; // FF is the empty slot

Symbol classify(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return {LetterClass::Upper, int(c - U'A')};
    if (c >= U'a' && c <= U'z')
        return {LetterClass::Lower, int(c - U'a')};
    if (c >= U'0' && c <= U'9')
        return {LetterClass::Digit, int(c - U'0')};
    return {LetterClass::Other, 0};
}

std::optional<SearchError> checkCodes(const std::vector<KnownName> &known)
{
    if (known.size() < std::size_t(RelativeSearch::kMinNames))
        return SearchError{.problem = SearchProblem::TooFewNames};
    if (known.size() > std::size_t(RelativeSearch::kMaxNames))
        return SearchError{.problem = SearchProblem::TooManyNames};
    for (std::size_t index = 0; index < known.size(); ++index) {
        const int code = known[index].code;
        if (code < 0 || code > kLastNamedCode)
            return SearchError{.problem = SearchProblem::EmptySlotCode, .code = code};
        for (std::size_t other = 0; other < index; ++other)
            if (known[other].code == code)
                return SearchError{.problem = SearchProblem::RepeatedCode, .code = code};
    }
    return std::nullopt;
}

} // namespace

std::variant<SearchPattern, SearchError> SearchPattern::make(const std::vector<KnownName> &known)
{
    if (auto error = checkCodes(known))
        return *error;
    SearchPattern pattern;
    for (const KnownName &name : known)
        if (auto error = pattern.addName(name))
            return *error;
    std::size_t best = 0;
    for (std::size_t index = 0; index < pattern.m_names.size(); ++index) {
        const std::size_t count = differences(pattern.m_names[index]).size();
        if (count > best || (count == best && count > 0 && pattern.m_names[index].symbols.size() >
                                                                 pattern.primary().symbols.size())) {
            best = count;
            pattern.m_primary = int(index);
        }
    }
    if (best == 0)
        return SearchError{.problem = SearchProblem::NothingToCompare};
    pattern.m_filter = differences(pattern.primary());
    pattern.m_filter.resize(std::min<std::size_t>(pattern.m_filter.size(), 2));
    return pattern;
}

std::optional<SearchError> SearchPattern::addName(const KnownName &known)
{
    const std::optional<std::u32string> characters = decodeUtf8(known.name);
    SearchError error{.code = known.code};
    if (!characters)
        error.problem = SearchProblem::NotUtf8;
    else if (characters->empty())
        error.problem = SearchProblem::EmptyName;
    else if (characters->size() > std::size_t(ItemNames::kMaxNameLength))
        error.problem = SearchProblem::NameTooLong;
    else if (std::any_of(characters->begin(), characters->end(), isControlCharacter))
        error.problem = SearchProblem::ControlCharacter;
    else
        error.problem = SearchProblem::NothingFound;
    if (error.problem != SearchProblem::NothingFound)
        return error;
    NamePattern name{.code = known.code};
    for (const char32_t c : *characters) {
        Symbol symbol = classify(c);
        if (symbol.kind == LetterClass::Other) {
            const std::string text = encodeUtf8(c);
            const auto found = std::find(m_others.begin(), m_others.end(), text);
            symbol.value = int(found - m_others.begin());
            if (found == m_others.end())
                m_others.push_back(text);
        }
        name.symbols.push_back(symbol);
    }
    m_names.push_back(std::move(name));
    return std::nullopt;
}

// Between each letter (or digit) and the one before it of the same class,
// where the two differ.
std::vector<Difference> SearchPattern::differences(const NamePattern &name)
{
    std::vector<Difference> found;
    std::array<int, kLetterClasses> previous{-1, -1, -1};
    for (int at = 0; at < int(name.symbols.size()); ++at) {
        const Symbol &symbol = name.symbols[std::size_t(at)];
        if (symbol.kind == LetterClass::Other)
            continue;
        int &before = previous[std::size_t(symbol.kind)];
        if (before >= 0 && name.symbols[std::size_t(before)].value != symbol.value)
            found.push_back({at, before, std::uint8_t(symbol.value - name.symbols[std::size_t(before)].value)});
        before = at;
    }
    return found;
}

int SearchPattern::longest() const
{
    std::size_t length = 0;
    for (const NamePattern &name : m_names)
        length = std::max(length, name.symbols.size());
    return int(length);
}

} // namespace rom

