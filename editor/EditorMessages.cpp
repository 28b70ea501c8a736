#include "EditorMessages.h"

#include <QDir>
#include <QStringList>

QString EditorMessages::reason(rom::RomError error)
{
    // The file layer's sentences have no Qt; they are translated by their text.
    const std::string_view text = rom::describe(error);
    return QCoreApplication::translate("rom", std::string(text).c_str());
}

QString EditorMessages::sentence(const std::string &text)
{
    QString result = QString::fromStdString(text);
    if (!result.isEmpty())
        result[0] = result[0].toUpper();
    return result;
}

QString EditorMessages::quoted(const QString &fileName)
{
    return tr("\u201C%1\u201D").arg(QDir::toNativeSeparators(fileName));
}

QString EditorMessages::openFailure(const QString &fileName, const QString &why, bool imageStaysOpen)
{
    return tr("Could not open %1.\n\n%2\n\n%3")
        .arg(quoted(fileName), why,
             imageStaysOpen ? tr("The image that was open stays open, with your picks on screen. "
                                 "Choose another file with File > Open ROM.")
                            : tr("Choose another file with File > Open ROM."));
}

QString EditorMessages::shopFailure(const QString &what, int index, const QString &fileName, rom::RomError error,
                                    const QString &outcome)
{
    // A file that is no longer the one opened cannot be written again; an
    // I/O error may pass.
    const QString advice =
        error == rom::RomError::FileChanged
            ? tr("Note the picks you want to keep, then open the file again with File > Open ROM.")
            : tr("Try File > Save again. If it keeps failing, check the disk, note your picks and "
                 "open the file again with File > Open ROM.");
    return tr("Could not %1 %2.\n\n%3\n\n%4 %5").arg(what.arg(index), quoted(fileName), reason(error), outcome, advice);
}

QString EditorMessages::flushFailure(const QString &fileName)
{
    return tr("Could not finish writing %1.\n\n%2\n\nSome of your changes may not be on disk.")
        .arg(quoted(fileName), reason(rom::RomError::FlushFailed));
}

QString EditorMessages::importFailure(const QString &fileName, const QString &why, const QString &outcome)
{
    return tr("Could not import the table: %1.\n\n%2\n\n%3").arg(quoted(fileName), why, outcome);
}

QString EditorMessages::conflictQuestion(int index, const QString &fileName, const rom::ShopRecord &inFile,
                                         const rom::ShopRecord &wanted, const Labeller &typeLabel,
                                         const Labeller &itemLabel)
{
    QStringList differences;
    const auto compare = [&differences](const QString &field, const QString &file, const QString &mine) {
        if (file != mine)
            differences << tr("%1: %2 in the file, %3 here").arg(field, file, mine);
    };
    compare(tr("Shop Type"), typeLabel(inFile.type), typeLabel(wanted.type));
    for (int slot = 0; slot < rom::ShopRecord::kSlotCount; ++slot)
        compare(tr("Item Slot %1").arg(slot + 1), itemLabel(inFile.items[std::size_t(slot)]),
                itemLabel(wanted.items[std::size_t(slot)]));
    return tr("Shop %1 in %2 was changed by another program since the editor read it.\n\n%3\n\n"
              "Overwrite it with what the editor shows, take the file's version (and drop what the "
              "editor shows), or cancel and decide later?")
        .arg(QString::number(index), quoted(fileName), differences.join(u'\n'));
}

QString EditorMessages::conflictsQuestion(const QList<int> &indexes, const QString &fileName)
{
    QStringList shops;
    for (const int index : indexes)
        shops << QString::number(index);
    return tr("Shops %1 in %2 were changed by another program since the import wrote them.\n\n"
              "Overwrite them too, take the file's versions of those shops (and do the rest), or "
              "cancel and decide later?")
        .arg(shops.join(QStringLiteral(", ")), quoted(fileName));
}

QString EditorMessages::strangeTable(const rom::TableDoubt &doubt, const QString &fileName)
{
    return QString::fromStdString(doubt.message()) +
           tr("\n\nThe editor shows and writes its shops all the same: make sure %1 is the image you meant.")
               .arg(quoted(fileName));
}

QString EditorMessages::nothingToPaste()
{
    return tr("The clipboard holds no shop to paste. Edit > Copy Shop copies one as text, such as "
              "\u201Cshop 12: 01 2A FF FF FF FF FF FF FF\u201D: the type code, then the eight item codes.");
}

QString EditorMessages::reloadQuestion(const QString &fileName, int shown, bool unsavedPicks)
{
    return tr("%1 was replaced by another program, and the editor cannot write to the file it had open.\n\n"
              "Reload the image from the file that is there now? The editor stays on shop %2%3.")
        .arg(quoted(fileName), QString::number(shown),
             unsavedPicks ? tr(", and your unsaved picks stay on screen") : QString());
}

QString EditorMessages::unsavedQuestion(int index, const QString &fileName, const QString &doing)
{
    return tr("Your picks for shop %1 are not saved in %2.\n\nSave them before %3?")
        .arg(QString::number(index), quoted(fileName), doing);
}
