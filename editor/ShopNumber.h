#pragma once

#include <QCoreApplication>
#include <QString>

#include <variant>

// A shop number as a user types it: decimal ("64"), or hexadecimal after
// "$" or "0x" ("$40", "0x40"), with blanks around it.
class ShopNumber {
    Q_DECLARE_TR_FUNCTIONS(ShopNumber)

public:
    // The shop, or what is wrong with the text: it is not a number, or no
    // shop has it. Never a part of the text ("200" is not shop 20).
    [[nodiscard]] static std::variant<int, QString> read(const QString &text);
};
