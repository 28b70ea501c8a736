#include "DecodedNames.h"

#include "HexDigits.h"

#include <utility>

namespace rom {

DecodedNames::DecodedNames(int firstCode, std::vector<DecodedName> names)
    : m_firstCode(firstCode)
    , m_names(std::move(names))
{
}

int DecodedNames::bytes() const
{
    int total = 0;
    for (const DecodedName &name : m_names)
        total += name.bytes;
    return total;
}

int DecodedNames::unmappedBytes() const
{
    int total = 0;
    for (const DecodedName &name : m_names)
        total += name.unmappedBytes;
    return total;
}

int DecodedNames::mostlyUnmappedNames() const
{
    int count = 0;
    for (const DecodedName &name : m_names)
        count += 2 * name.unmappedBytes > name.bytes ? 1 : 0;
    return count;
}

std::string DecodedNames::namesFileText() const
{
    std::string text;
    for (int code = firstCode(); code <= lastCode(); ++code)
        text.append(hexByte(code)).append(": ").append(name(code).text).push_back('\n');
    return text;
}

std::variant<ItemNames, NamesFileError> DecodedNames::itemNames() const
{
    return ItemNames::parse(namesFileText());
}

} // namespace rom
