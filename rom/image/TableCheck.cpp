#include "TableCheck.h"

#include "ItemLabels.h"
#include "ShopTypeLabels.h"

namespace rom {

namespace {

constexpr int kSlotTotal = kShopCount * ShopRecord::kSlotCount;

} // namespace

std::string TableDoubt::message() const
{
    const std::string found =
        kind == Kind::UnknownTypes
            ? std::to_string(count) + " of its " + std::to_string(kShopCount) +
                  " shops have a type code above 0x35, which the game's shops never have"
            : (count == 0 ? "none" : "only " + std::to_string(count)) + " of its " + std::to_string(kSlotTotal) +
                  " slots " + (count == 1 ? "is" : "are") + " empty (FF), where the game's shops end in empty slots";
    return "The shop table does not look like one: " + found +
           ". This may be another game's image, or a hack that moved the table.";
}

std::optional<TableDoubt> TableCheck::whatLooksWrong(const ShopTable &table)
{
    int unknownTypes = 0;
    int emptySlots = 0;
    for (const ShopRecord &shop : table) {
        if (shop.type >= ShopTypeLabels::kCount)
            ++unknownTypes;
        for (const std::uint8_t item : shop.items)
            emptySlots += item == ItemLabels::kEmptySlot ? 1 : 0;
    }
    if (unknownTypes > kMaxUnknownTypes)
        return TableDoubt{TableDoubt::Kind::UnknownTypes, unknownTypes};
    if (emptySlots < kMinEmptySlots)
        return TableDoubt{TableDoubt::Kind::FewEmptySlots, emptySlots};
    return std::nullopt;
}

} // namespace rom
