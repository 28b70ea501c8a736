#pragma once

#include <string>

namespace rom {

// Why a relative search for a name table could not be made, or found nothing.
enum class SearchProblem {
    NotAKnownName,    // not a code and a name, such as "01=Dagger"
    TooFewNames,      // fewer than RelativeSearch::kMinNames
    TooManyNames,     // more than RelativeSearch::kMaxNames
    EmptySlotCode,    // code FF, the empty slot, which has no name
    RepeatedCode,     // two names given for one code
    EmptyName,        // a code without a name
    NameTooLong,      // more than ItemNames::kMaxNameLength characters
    ControlCharacter, // a name holding a control character
    NotUtf8,          // a name that is not UTF-8 text
    NothingToCompare, // no name has two different letters of one case, or two different digits
    NothingFound,     // no place in the cartridge fits every name
};

struct SearchError {
    SearchProblem problem = SearchProblem::NothingFound;
    std::string text{}; // NotAKnownName: the argument as given
    int code = -1;    // the code of the name at fault

    // For the user; NothingFound also says what to try.
    [[nodiscard]] std::string message() const;
};

} // namespace rom
