#include "ShopNumber.h"

#include "ImageLayout.h"

std::variant<int, QString> ShopNumber::read(const QString &text)
{
    const QString typed = text.trimmed();
    const bool hex = typed.startsWith(u'$') || typed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const QString digits = typed.mid(typed.startsWith(u'$') ? 1 : hex ? 2 : 0);
    bool ok = !digits.isEmpty() && !digits.startsWith(u'+') && !digits.startsWith(u'-');
    const qlonglong number = ok ? digits.toLongLong(&ok, hex ? 16 : 10) : 0;
    if (!ok)
        return tr("\u201C%1\u201D is not a shop number: type one from 0 to 127, or $00 to $7F.").arg(typed);
    if (number < 0 || number >= rom::kShopCount)
        return tr("There is no shop %1: the shops are 0 to 127 ($00 to $7F).").arg(typed);
    return int(number);
}
