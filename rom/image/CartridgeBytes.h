#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace rom {

// Hands out memory without clearing it: a buffer that a read fills at once
// need not be written with zeros first, which for a 64 MiB cartridge costs
// a sixth of the read itself.
template <typename T>
class UnclearedAllocator : public std::allocator<T> {
public:
    template <typename U>
    struct rebind {
        using other = UnclearedAllocator<U>;
    };

    UnclearedAllocator() = default;
    template <typename U>
    explicit UnclearedAllocator(const UnclearedAllocator<U> &) noexcept
    {
    }

    // resize() makes new elements with no arguments: leave them as they are.
    template <typename U>
    void construct(U *place) noexcept
    {
        ::new (static_cast<void *>(place)) U;
    }
    template <typename U, typename... Args>
    void construct(U *place, Args &&...args)
    {
        ::new (static_cast<void *>(place)) U(std::forward<Args>(args)...);
    }
};

// The contents of a cartridge, read whole from an image.
using CartridgeBytes = std::vector<std::uint8_t, UnclearedAllocator<std::uint8_t>>;

} // namespace rom
