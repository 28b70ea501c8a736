#include "PatchError.h"

namespace rom {

std::string_view describe(PatchError error)
{
    switch (error) {
    case PatchError::None:
        return "No error.";
    case PatchError::SizeMismatch:
        return "The two images hold cartridges of different sizes; a patch can only be made between "
               "cartridges of the same size.";
    case PatchError::BeyondIpsReach:
        return "The images differ beyond the first 16 MiB of the cartridge, which an IPS patch cannot reach. "
               "Make a BPS patch instead.";
    }
    return "Unknown error.";
}

} // namespace rom
