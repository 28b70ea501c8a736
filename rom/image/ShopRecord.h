#pragma once

#include "ImageLayout.h"

#include <array>
#include <cstdint>

namespace rom {

// One shop as stored in the image: byte 0 is the type code (low nibble the
// shop kind, high nibble the price rule), bytes 1-8 the item codes of slots
// 1-8, 0xFF meaning an empty slot.
struct ShopRecord {
    static constexpr int kSlotCount = 8;

    std::uint8_t type = 0;
    std::array<std::uint8_t, kSlotCount> items{};

    using Bytes = std::array<std::uint8_t, kShopRecordSize>;

    [[nodiscard]] static ShopRecord fromBytes(const Bytes &bytes)
    {
        ShopRecord record;
        record.type = bytes[0];
        for (int slot = 0; slot < kSlotCount; ++slot)
            record.items[slot] = bytes[1 + slot];
        return record;
    }

    [[nodiscard]] Bytes toBytes() const
    {
        Bytes bytes{};
        bytes[0] = type;
        for (int slot = 0; slot < kSlotCount; ++slot)
            bytes[1 + slot] = items[slot];
        return bytes;
    }

    friend bool operator==(const ShopRecord &, const ShopRecord &) = default;
};

// The whole shop table, shop i at index i.
using ShopTable = std::array<ShopRecord, kShopCount>;

} // namespace rom
