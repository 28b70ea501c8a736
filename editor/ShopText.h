#pragma once

#include "ImageLayout.h"
#include "ShopRecord.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

// A shop's nine bytes as text, to copy between shops or paste into a chat
// or an issue: "shop 12: 01 2A FF FF FF FF FF FF FF", the type code then the
// eight item codes in hexadecimal, as shop-table diff writes them.
class ShopText {
    Q_DECLARE_TR_FUNCTIONS(ShopText)

public:
    [[nodiscard]] static QString write(int index, const rom::ShopRecord &record);
    // Where the shop lies: "Shop 12  $C4:7B2C  file 0x47D2C", the SNES
    // address in the HiROM map and the offset in the file.
    [[nodiscard]] static QString place(int index, rom::ImageLayout layout);
    // The record in such a text, with or without the "shop N:" in front;
    // nothing unless it holds exactly nine two-digit codes.
    [[nodiscard]] static std::optional<rom::ShopRecord> read(const QString &text);
};
