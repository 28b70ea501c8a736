#include "SearchPattern.h"

#include "NameTableLayout.h"
#include "Utf8.h"

#include <algorithm>
#include <array>
#include <optional>

namespace rom {

namespace {

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

// The search's word for what ItemNames::nameProblem finds.
SearchProblem searchProblemOf(NamesFileProblem problem)
{
    if (problem == NamesFileProblem::EmptyName)
        return SearchProblem::EmptyName;
    return problem == NamesFileProblem::NameTooLong ? SearchProblem::NameTooLong : SearchProblem::ControlCharacter;
}

std::optional<SearchError> checkCodes(const std::vector<KnownName> &known)
{
    if (known.size() < std::size_t(RelativeSearch::kMinNames))
        return SearchError{.problem = SearchProblem::TooFewNames};
    if (known.size() > std::size_t(RelativeSearch::kMaxNames))
        return SearchError{.problem = SearchProblem::TooManyNames};
    for (std::size_t index = 0; index < known.size(); ++index) {
        const int code = known[index].code;
        if (code < 0 || code > NameTableLayout::kLastCode)
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
    // The name whose filter holds the most differences, the longest of those.
    for (std::size_t index = 0; index < pattern.m_names.size(); ++index) {
        const std::vector<Difference> filter = filterOf(pattern.m_names[index]);
        const bool better = filter.size() > pattern.m_filter.size() ||
                            (filter.size() == pattern.m_filter.size() &&
                             pattern.m_names[index].symbols.size() > pattern.primary().symbols.size());
        if (better && !filter.empty()) {
            pattern.m_filter = filter;
            pattern.m_primary = int(index);
        }
    }
    if (pattern.m_filter.empty())
        return SearchError{.problem = SearchProblem::NothingToCompare};
    return pattern;
}

std::optional<SearchError> SearchPattern::addName(const KnownName &known)
{
    const std::optional<std::u32string> characters = decodeUtf8(known.name);
    if (!characters)
        return SearchError{.problem = SearchProblem::NotUtf8, .code = known.code};
    if (const auto problem = ItemNames::nameProblem(*characters))
        return SearchError{.problem = searchProblemOf(*problem), .code = known.code};
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

// Through the first three letters of one class with different values,
// else between the first two.
std::vector<Difference> SearchPattern::filterOf(const NamePattern &name)
{
    std::array<std::vector<int>, kLetterClasses> firsts; // where each value of a class first appears
    for (int at = 0; at < int(name.symbols.size()); ++at) {
        const Symbol &symbol = name.symbols[std::size_t(at)];
        if (symbol.kind == LetterClass::Other)
            continue;
        std::vector<int> &places = firsts[std::size_t(symbol.kind)];
        if (std::none_of(places.begin(), places.end(),
                         [&](int place) { return name.symbols[std::size_t(place)].value == symbol.value; }))
            places.push_back(at);
    }
    const auto difference = [&](int later, int earlier) {
        const int value = name.symbols[std::size_t(later)].value - name.symbols[std::size_t(earlier)].value;
        return Difference{later, earlier, std::uint8_t(value)};
    };
    std::vector<Difference> filter;
    for (const std::vector<int> &places : firsts) {
        if (places.size() >= 3)
            return {difference(places[1], places[0]), difference(places[2], places[1])};
        if (places.size() == 2 && filter.empty())
            filter.push_back(difference(places[1], places[0]));
    }
    return filter;
}

int SearchPattern::longest() const
{
    std::size_t length = 0;
    for (const NamePattern &name : m_names)
        length = std::max(length, name.symbols.size());
    return int(length);
}

} // namespace rom

