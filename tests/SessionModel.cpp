#include "SessionModel.h"

#include <QFile>

SessionImage &SessionModel::add(const QString &path, rom::ImageLayout layout)
{
    return images[path] = {path, layout, readFile(path)};
}

void SessionModel::load(int shopIndex)
{
    shown = shop(*open, shopIndex);
    loadedType = shown[0];
}

Bytes SessionModel::shop(const SessionImage &image, int shopIndex) const
{
    const auto at = image.bytes.begin() + qsizetype(shopOffset(image.layout, shopIndex));
    return Bytes(at, at + 9);
}

void SessionModel::save()
{
    std::copy(shown.begin(), shown.end(), open->bytes.begin() + qsizetype(shopOffset(open->layout, index)));
}

void SessionModel::moveTo(int value)
{
    if (value == scroll)
        return;
    save();
    index = scroll = value;
    load(index);
}

void SessionModel::openImage(SessionImage &image)
{
    open = &image;
    load(index);
    moveTo(0);
    index = 0;
}

Bytes tableInModel(const SessionImage &image)
{
    const auto table = image.bytes.begin() + qsizetype(shopOffset(image.layout, 0));
    return Bytes(table, table + 128 * 9);
}

Bytes tableOnDisk(const SessionImage &image)
{
    QFile file(image.path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(qint64(shopOffset(image.layout, 0))))
        return {};
    const QByteArray table = file.read(128 * 9);
    return Bytes(table.begin(), table.end());
}
