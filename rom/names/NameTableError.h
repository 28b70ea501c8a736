#pragma once

#include <cstdint>
#include <string>

namespace rom {

// The fields that describe a name table in an image.
enum class NameTableField {
    Address,
    EntryLength,
    Skip,
    Codes,
};

// What is wrong with a field of a name table's description.
enum class NameTableProblem {
    AddressNotUnderstood, // neither an SNES address ($D2B300, D2:B300) nor an offset (0x12B300)
    AddressNotInMap,      // an SNES address where the HiROM map shows no cartridge byte
    AddressPastEnd,       // the first entry starts at or past the end of the cartridge
    EntriesPastEnd,       // the last entry ends past the end of the cartridge
    NotANumber,           // the entry length or the bytes to skip are not a whole number
    LengthOutOfRange,     // an entry length of 0 or above the largest
    SkipNotBelowLength,   // as many bytes to skip as the entry has, or more
    CodesNotUnderstood,   // the codes are not "HH-HH"
    CodesOutOfRange,      // the first code after the last, or the last past FE
};

// Why a name table's description was refused: the field at fault, what is
// wrong with it, and the figures the message gives.
struct NameTableError {
    NameTableField field = NameTableField::Address;
    NameTableProblem problem = NameTableProblem::AddressNotUnderstood;
    std::string text{};      // the field as the user wrote it, where it was read from text
    std::uint64_t value = 0; // the address (a cartridge offset), length or skip at fault
    std::uint64_t limit = 0; // the cartridge size, entry length, or end of the last entry

    // For the user, e.g. "address: 0x500000 lies past the end of the cartridge (0x400000 bytes)".
    [[nodiscard]] std::string message() const;
};

} // namespace rom
