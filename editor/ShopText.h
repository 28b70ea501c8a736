#pragma once

#include "ShopRecord.h"

#include <QString>

#include <optional>

// A shop's nine bytes as text, to copy between shops or paste into a chat
// or an issue: "shop 12: 01 2A FF FF FF FF FF FF FF", the type code then the
// eight item codes in hexadecimal, as shop-table diff writes them.
class ShopText {
public:
    [[nodiscard]] static QString write(int index, const rom::ShopRecord &record);
    // The record in such a text, with or without the "shop N:" in front;
    // nothing unless it holds exactly nine two-digit codes.
    [[nodiscard]] static std::optional<rom::ShopRecord> read(const QString &text);
};
