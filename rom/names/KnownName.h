#pragma once

#include "SearchError.h"

#include <string>
#include <string_view>
#include <variant>

namespace rom {

// An item's code and its name as the user knows them from playing, for
// the relative search.
struct KnownName {
    int code = 0;
    std::string name; // UTF-8

    // "01=Dagger", "01: Dagger" or "01 Dagger": two hex digits, then '=',
    // ':' or a blank, then the name; blanks around the name are dropped.
    // Only the form is checked here; SearchPattern checks the rest.
    [[nodiscard]] static std::variant<KnownName, SearchError> parse(std::string_view text);
};

} // namespace rom
