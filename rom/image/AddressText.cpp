#include "AddressText.h"

#include <cinttypes>
#include <cstdio>

namespace rom {

std::string AddressText::snes(std::uint32_t snesAddress)
{
    char text[12];
    std::snprintf(text, sizeof text, "$%02X:%04X", unsigned(snesAddress >> 16 & 0xFF), unsigned(snesAddress & 0xFFFF));
    return text;
}

std::string AddressText::offset(std::uint64_t offset)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%" PRIX64, offset);
    return text;
}

std::string AddressText::place(std::uint64_t cartridgeOffset, ImageLayout layout)
{
    std::string text;
    if (const auto address = hiRomAddress(cartridgeOffset))
        text = snes(*address) + ", ";
    return text + "cartridge " + offset(cartridgeOffset) + ", file " + offset(fileOffset(layout, cartridgeOffset));
}

} // namespace rom
