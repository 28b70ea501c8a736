#pragma once

#include "ImageLayout.h"

#include <cstdint>
#include <string>

namespace rom {

// Places in a cartridge as the user reads and writes them: an SNES address
// of the HiROM map ("$C4:7B2C"), a cartridge or file offset ("0x47B2C").
class AddressText {
public:
    [[nodiscard]] static std::string snes(std::uint32_t snesAddress);      // "$C4:7B2C"
    [[nodiscard]] static std::string offset(std::uint64_t offset);         // "0x47B2C"
    // "$C4:7B2C, cartridge 0x47B2C, file 0x47D2C"; an offset past the HiROM
    // map has no SNES address: "cartridge 0x1234567, file 0x1234767".
    [[nodiscard]] static std::string place(std::uint64_t cartridgeOffset, ImageLayout layout);
};

} // namespace rom
