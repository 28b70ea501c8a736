#include "NameTableError.h"

#include "AddressText.h"

namespace rom {

namespace {

constexpr std::string_view kFieldNames[] = {"address", "entry length", "bytes to skip", "codes"};

std::string quoted(const std::string &text) { return "\"" + text + "\""; }

std::string describe(const NameTableError &error)
{
    const std::string value = AddressText::offset(error.value);
    const std::string limit = AddressText::offset(error.limit);
    switch (error.problem) {
    case NameTableProblem::AddressNotUnderstood:
        return quoted(error.text) + " is not an address; write an SNES address such as $D2B300 or D2:B300, "
                                    "or an offset into the cartridge such as 0x12B300";
    case NameTableProblem::AddressNotInMap:
        return quoted(error.text) + " shows no cartridge byte in the HiROM map, which shows it in banks C0-FF "
                                    "and 40-7D, and from 8000 up in banks 00-3F and 80-BF";
    case NameTableProblem::AddressPastEnd:
        return value + " lies past the end of the cartridge (" + limit + " bytes)";
    case NameTableProblem::EntriesPastEnd:
        return "the entries from " + value + " run past the end of the cartridge (" + limit + " bytes)";
    case NameTableProblem::NotANumber:
        return quoted(error.text) + " is not a whole number";
    case NameTableProblem::LengthOutOfRange:
        return "an entry has 1 to " + std::to_string(error.limit) + " bytes, not " + std::to_string(error.value);
    case NameTableProblem::SkipNotBelowLength:
        return "skipping " + std::to_string(error.value) + " bytes leaves nothing of an entry of " +
               std::to_string(error.limit);
    case NameTableProblem::CodesNotUnderstood:
        return quoted(error.text) + " is not a range of codes such as 00-FE";
    case NameTableProblem::CodesOutOfRange:
        return "the codes go from the first to the last, at most FE (FF is the empty slot)";
    }
    return "the field cannot be read";
}

} // namespace

std::string NameTableError::message() const
{
    return std::string(kFieldNames[int(field)]) + ": " + describe(*this);
}

} // namespace rom
