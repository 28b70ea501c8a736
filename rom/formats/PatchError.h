#pragma once

#include <string_view>

namespace rom {

// Why a patch was not made. Each value has one sentence for the user in describe().
enum class PatchError {
    None,
    SizeMismatch,   // the clean and modified cartridges differ in size
    BeyondIpsReach, // a difference lies past the first 16 MiB, where IPS offsets cannot point
};

[[nodiscard]] std::string_view describe(PatchError error);

} // namespace rom
