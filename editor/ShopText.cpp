#include "ShopText.h"

#include "AddressText.h"

#include <QRegularExpression>
#include <QStringList>

QString ShopText::write(int index, const rom::ShopRecord &record)
{
    QStringList codes;
    for (const std::uint8_t byte : record.toBytes())
        codes << QStringLiteral("%1").arg(byte, 2, 16, QChar(u'0')).toUpper();
    return QStringLiteral("shop %1: %2").arg(index).arg(codes.join(u' '));
}

QString ShopText::place(int index, rom::ImageLayout layout)
{
    const std::uint64_t cartridge = rom::kShopTableOffset + std::uint64_t(index) * rom::kShopRecordSize;
    return tr("Shop %1  %2  file %3")
        .arg(QString::number(index), QString::fromStdString(rom::AddressText::snes(*rom::hiRomAddress(cartridge))),
             QString::fromStdString(rom::AddressText::offset(rom::fileOffset(layout, cartridge))));
}

std::optional<rom::ShopRecord> ShopText::read(const QString &text)
{
    static const QRegularExpression kShop(QStringLiteral(R"(^\s*(?:shop\s+\d+\s*:)?((?:\s*[0-9A-Fa-f]{2}){9})\s*$)"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = kShop.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QStringList codes = match.captured(1).split(u' ', Qt::SkipEmptyParts);
    rom::ShopRecord::Bytes bytes{};
    for (std::size_t field = 0; field < bytes.size(); ++field)
        bytes[field] = std::uint8_t(codes[qsizetype(field)].toUInt(nullptr, 16));
    return rom::ShopRecord::fromBytes(bytes);
}
