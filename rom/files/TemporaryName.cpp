#include "TemporaryName.h"

#include <cstdint>
#include <random>
#include <string_view>

namespace rom {

namespace {

// The prefix, and kRandomLetters letters from kLetters after it.
constexpr std::string_view kTemporaryPrefix = ".shop-";
constexpr int kRandomLetters = 8;
constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";

} // namespace

std::string temporaryName()
{
    static std::random_device device;
    std::uint64_t bits = std::uint64_t(device()) << 32 | device();
    std::string name(kTemporaryPrefix);
    for (int letter = 0; letter < kRandomLetters; ++letter, bits /= kLetters.size())
        name += kLetters[bits % kLetters.size()];
    return name;
}

} // namespace rom
