#pragma once

#include "ItemNames.h"
#include "NamesFileError.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rom {

// The name of one code as read from a name table.
struct DecodedName {
    std::string text;       // as it is used: trimmed, at most ItemNames::kMaxNameLength characters, never empty
    int bytes = 0;          // bytes of the entry behind the text
    int unmappedBytes = 0;  // of those, bytes the table file has no entry for, shown as "[HH]"
    bool shortened = false; // longer than ItemNames::kMaxNameLength: cut, ending in "…"
    bool empty = false;     // nothing but blanks or padding: the text is DecodedNames::kNoName
};

// The names a name table gives the codes it covers, as an item names file
// would give them: names of 1 to ItemNames::kMaxNameLength characters
// without control characters, so that they become ItemNames unchanged.
class DecodedNames {
public:
    // The name of an entry that holds nothing but blanks or padding.
    static constexpr std::string_view kNoName = "(no name)";

    DecodedNames() = default;
    // names[0] is the name of firstCode, and so on.
    DecodedNames(int firstCode, std::vector<DecodedName> names);

    [[nodiscard]] int firstCode() const { return m_firstCode; }
    [[nodiscard]] int lastCode() const { return m_firstCode + int(m_names.size()) - 1; }
    [[nodiscard]] bool covers(int code) const { return code >= firstCode() && code <= lastCode(); }
    // code must be covered.
    [[nodiscard]] const DecodedName &name(int code) const { return m_names.at(std::size_t(code - m_firstCode)); }
    [[nodiscard]] const std::vector<DecodedName> &names() const { return m_names; }

    // Over all names: the bytes behind them, and those shown as "[HH]".
    [[nodiscard]] int bytes() const;
    [[nodiscard]] int unmappedBytes() const;
    // More than half of the bytes behind the names have no entry in the
    // table file: a wrong address, length or table, most likely.
    [[nodiscard]] bool mostlyUnmapped() const { return 2 * unmappedBytes() > bytes(); }
    // Names more than half of whose bytes are shown as "[HH]".
    [[nodiscard]] int mostlyUnmappedNames() const;

    // An item names file of the covered codes, "HH: Name" a line.
    [[nodiscard]] std::string namesFileText() const;
    // The item names in use with these: the built-in names for the codes
    // not covered, exactly as if namesFileText() were read as a names file
    // (which accepts every name decoded here).
    [[nodiscard]] std::variant<ItemNames, NamesFileError> itemNames() const;

private:
    int m_firstCode = 0;
    std::vector<DecodedName> m_names;
};

} // namespace rom
