#include "KnownName.h"

#include "HexDigits.h"
#include "TextLines.h"

namespace rom {

std::variant<KnownName, SearchError> KnownName::parse(std::string_view text)
{
    const std::string_view given = trimmedBlanks(text);
    const auto code = twoHexDigits(given.substr(0, 2));
    const std::string_view rest = given.size() > 2 ? given.substr(2) : std::string_view();
    const bool separated = !rest.empty() && (rest.front() == '=' || rest.front() == ':' || rest.front() == ' ' ||
                                             rest.front() == '\t');
    if (!code || !separated)
        return SearchError{.problem = SearchProblem::NotAKnownName, .text = std::string(given)};
    return KnownName{*code, std::string(trimmedBlanks(rest.substr(1)))};
}

} // namespace rom
