#pragma once

#include "ShopRecord.h"

#include <optional>
#include <string>

namespace rom {

// What makes the bytes where the shop table should be look like something
// else: another game's image, or a hack that moved the table.
struct TableDoubt {
    enum class Kind {
        UnknownTypes,  // more than a few shops have a type code above 0x35, which the game's shops never have
        FewEmptySlots, // hardly any slot is empty (FF), where the game's shops end in empty slots
    };

    Kind kind = Kind::UnknownTypes;
    int count = 0; // the shops with such a type code, or the empty slots

    // One sentence for the user, and what the image may be instead.
    [[nodiscard]] std::string message() const;
};

// A look at a shop table read from an image, for a warning before it is
// written to: the game's table has type codes 0x00-0x35 (a shop kind 0-5 and
// a price rule 0-3) and pads each shop's slots with FF after its last item,
// while random bytes, machine code, text or graphics have neither.
class TableCheck {
public:
    // A hack may give a few shops a type of its own; random bytes give about 100.
    static constexpr int kMaxUnknownTypes = 16;
    // Of the 1024 slots, the game leaves hundreds empty; random bytes about 4.
    static constexpr int kMinEmptySlots = 16;

    // Nothing when the table looks like the game's; else the first thing that does not.
    [[nodiscard]] static std::optional<TableDoubt> whatLooksWrong(const ShopTable &table);
};

} // namespace rom
