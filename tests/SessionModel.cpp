#include "SessionModel.h"

#include <QFile>

SessionImage &SessionModel::add(const QString &path, rom::ImageLayout layout)
{
    return images[path] = {path, layout, readFile(path)};
}

Bytes SessionModel::shop(const SessionImage &image, int shopIndex) const
{
    const auto at = image.bytes.begin() + qsizetype(shopOffset(image.layout, shopIndex));
    return Bytes(at, at + 9);
}

void SessionModel::load(int shopIndex) { showWritten(shop(*open, shopIndex)); }

void SessionModel::showWritten(const Bytes &bytes)
{
    shown = loaded = bytes;
    loadedType = shown[0];
}

void SessionModel::write(int shopIndex, const Bytes &bytes)
{
    std::copy(bytes.begin(), bytes.end(), open->bytes.begin() + qsizetype(shopOffset(open->layout, shopIndex)));
    ++writes;
}

void SessionModel::pick(int list, std::uint8_t code)
{
    if (shown[std::size_t(list)] == code)
        return;
    Bytes after = shown;
    after[std::size_t(list)] = code;
    history.resize(done);
    history.push_back({true, index, shown, after});
    ++done;
    shown = after;
}

void SessionModel::settlePicks()
{
    std::size_t first = done;
    std::size_t last = done;
    while (first > 0 && history[first - 1].pick)
        --first;
    if (first == done)
        return;
    while (last < history.size() && history[last].pick)
        ++last;
    history.erase(history.begin() + qsizetype(first), history.begin() + qsizetype(last));
    done = first;
}

void SessionModel::discard()
{
    shown = loaded;
    settlePicks();
}

void SessionModel::save()
{
    settlePicks();
    if (!unsaved())
        return;
    history.resize(done);
    history.push_back({false, index, shop(*open, index), shown});
    ++done;
    write(index, shown);
    loaded = shown;
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
    history.clear();
    done = 0;
    index = scroll = 0;
    load(0);
}

void SessionModel::undo()
{
    if (!canUndo())
        return;
    const SessionStep step = history[done - 1];
    moveTo(step.index);
    --done;
    if (step.pick) {
        shown = step.before;
        return;
    }
    write(step.index, step.before);
    showWritten(step.before);
}

void SessionModel::redo()
{
    if (!canRedo())
        return;
    const SessionStep step = history[done];
    moveTo(step.index);
    ++done;
    if (step.pick) {
        shown = step.after;
        return;
    }
    write(step.index, step.after);
    showWritten(step.after);
}

void SessionModel::stepUnread(bool undoing)
{
    if (undoing ? !canUndo() : !canRedo())
        return;
    const SessionStep &step = history[undoing ? done - 1 : done];
    if (step.pick && step.index == index)
        undoing ? undo() : redo();
    else
        ++errors;
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
