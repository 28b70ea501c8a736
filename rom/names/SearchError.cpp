#include "SearchError.h"

#include "HexDigits.h"
#include "ItemNames.h"
#include "RelativeSearch.h"

namespace rom {

namespace {

std::string codeText(int code) { return "code " + hexByte(code); }

} // namespace

std::string SearchError::message() const
{
    switch (problem) {
    case SearchProblem::NotAKnownName:
        return "\"" + text + "\" is not an item code and its name, such as 01=Dagger";
    case SearchProblem::TooFewNames:
        return "give at least " + std::to_string(RelativeSearch::kMinNames) + " names with their codes";
    case SearchProblem::TooManyNames:
        return "give at most " + std::to_string(RelativeSearch::kMaxNames) + " names with their codes";
    case SearchProblem::EmptySlotCode:
        return "code FF is the empty slot and has no name; give codes from 00 to FE";
    case SearchProblem::RepeatedCode:
        return codeText(code) + " is given twice";
    case SearchProblem::EmptyName:
        return codeText(code) + " has no name";
    case SearchProblem::NameTooLong:
        return "the name for " + codeText(code) + " has more than " + std::to_string(ItemNames::kMaxNameLength) +
               " characters";
    case SearchProblem::ControlCharacter:
        return "the name for " + codeText(code) + " holds a control character, such as a tab";
    case SearchProblem::NotUtf8:
        return "the name for " + codeText(code) + " is not UTF-8 text";
    case SearchProblem::NothingToCompare:
        return "the search compares letters of one case (or digits) within a name, and no name has two that "
               "differ; give a longer name, such as Dagger";
    case SearchProblem::NothingFound:
        return "no name table fits these names. Try another name you are sure of, spelt with the case and "
               "blanks the game shows; names whose codes lie further apart; or, if the game writes some letters "
               "as two in one byte, a table file and the table's address";
    }
    return "the search cannot be made";
}

} // namespace rom
