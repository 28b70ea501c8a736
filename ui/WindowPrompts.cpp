#include "WindowPrompts.h"

#include "EditorController.h"
#include "ImageNamesDialog.h"
#include "ImagePath.h"
#include "MessageBox.h"
#include "ShopNumber.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <map>
#include <variant>

namespace {

// The ending a save dialog's filter names: "BPS patches (*.bps)" gives "bps".
QString endingOf(const QString &filter)
{
    const qsizetype star = filter.indexOf(QLatin1String("*."));
    return star < 0 ? QString() : filter.mid(star + 2).section(u')', 0, 0).section(u' ', 0, 0);
}

// A save dialog. With endings, the filter chosen gives its ending to a name
// typed without one, so that the dialog's own question about replacing a
// file covers the name written; a name with another ending gets it too, and
// if a file of that name exists the dialog is shown again with it, to ask.
// Without endings, a name typed without one gets the given ending, if any.
QString askSaveName(QWidget *parent, const QString &title, const QString &suggested, const QString &nameFilters,
                    bool needsEnding, const QString &ending)
{
    QFileDialog dialog(parent, title, suggested, nameFilters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(ending);
    const auto useEnding = [&dialog](const QString &filter) { dialog.setDefaultSuffix(endingOf(filter)); };
    if (needsEnding) {
        useEnding(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useEnding);
    }
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        const QString path = dialog.selectedFiles().constFirst();
        const QStringList filters = dialog.nameFilters();
        const bool ended = !needsEnding || std::any_of(filters.cbegin(), filters.cend(), [&path](const QString &filter) {
            return path.endsWith(u'.' + endingOf(filter), Qt::CaseInsensitive);
        });
        const QString named = ended ? path : path + u'.' + dialog.defaultSuffix();
        if (named == path || !QFileInfo::exists(named))
            return named;
        dialog.selectFile(named);
    }
}

} // namespace

void WindowPrompts::showError(const QString &message)
{
    QMessageBox box(QMessageBox::Warning, EditorController::title(), QString(), QMessageBox::Ok, m_window);
    (void)message_box::ask(box, message);
}

void WindowPrompts::showInformation(const QString &message)
{
    QMessageBox box(QMessageBox::Information, EditorController::title(), QString(), QMessageBox::Ok, m_window);
    (void)message_box::ask(box, message);
}

bool WindowPrompts::confirm(const QString &question)
{
    QMessageBox box(QMessageBox::Question, EditorController::title(), QString(), QMessageBox::Yes | QMessageBox::No,
                    m_window);
    box.setDefaultButton(QMessageBox::No);
    return message_box::ask(box, question) == QMessageBox::Yes;
}

EditorPrompts::Conflict WindowPrompts::askAboutConflict(const QString &message)
{
    QMessageBox box(QMessageBox::Question, EditorController::title(), QString(), QMessageBox::NoButton, m_window);
    QAbstractButton *overwrite = box.addButton(tr("&Overwrite"), QMessageBox::AcceptRole);
    QAbstractButton *takeFile = box.addButton(tr("&Take the File's Version"), QMessageBox::DestructiveRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    (void)message_box::ask(box, message);
    return box.clickedButton() == overwrite ? Conflict::Overwrite
           : box.clickedButton() == takeFile ? Conflict::TakeFile
                                             : Conflict::Cancel;
}

EditorPrompts::Unsaved WindowPrompts::askAboutUnsaved(const QString &message)
{
    QMessageBox box(QMessageBox::Warning, EditorController::title(), QString(),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_window);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (message_box::ask(box, message)) {
    case QMessageBox::Save: return Unsaved::Save;
    case QMessageBox::Discard: return Unsaved::Discard;
    default: return Unsaved::Cancel;
    }
}

bool WindowPrompts::askToReload(const QString &message)
{
    QMessageBox box(QMessageBox::Question, EditorController::title(), QString(), QMessageBox::NoButton, m_window);
    QAbstractButton *reload = box.addButton(tr("&Reload"), QMessageBox::AcceptRole);
    box.setDefaultButton(static_cast<QPushButton *>(reload));
    box.setEscapeButton(box.addButton(tr("&Not Now"), QMessageBox::RejectRole));
    (void)message_box::ask(box, message);
    return box.clickedButton() == reload;
}

bool WindowPrompts::chooseNameTable(NameTableChoice &choice, const std::string &image)
{
    ImageNamesDialog dialog(choice, image, m_window);
    return dialog.exec() == QDialog::Accepted;
}

// Decimal or hexadecimal; a number that is no shop is refused in the
// dialog, which says why and keeps OK off until the number is one.
std::optional<int> WindowPrompts::askShopNumber(int current)
{
    const QString label = tr("Shop number (0-127, or $00-$7F):");
    QInputDialog dialog(m_window);
    dialog.setWindowTitle(tr("Go to Shop"));
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString::number(current));
    const auto check = [&dialog, &label](const QString &text) {
        const std::variant<int, QString> typed = ShopNumber::read(text);
        const QString *problem = std::get_if<QString>(&typed);
        dialog.setLabelText(problem ? label + u'\n' + *problem : label);
        // The dialog makes its buttons when it is first shown.
        if (auto *buttons = dialog.findChild<QDialogButtonBox *>())
            buttons->button(QDialogButtonBox::Ok)->setEnabled(!problem);
    };
    QObject::connect(&dialog, &QInputDialog::textValueChanged, &dialog, check);
    check(dialog.textValue());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const std::variant<int, QString> typed = ShopNumber::read(dialog.textValue());
    return std::holds_alternative<int>(typed) ? std::optional<int>(std::get<int>(typed)) : std::nullopt;
}

std::string WindowPrompts::chooseFile(FileChoice choice) { return askForFile(m_window, choice); }

std::string WindowPrompts::askForFile(QWidget *parent, FileChoice choice)
{
    struct Dialog {
        QString title;
        QString filters;
        QString suggested; // a name to save under; empty to open a file
        QString ending = {}; // given to a name saved without one
    };
    const std::map<FileChoice, Dialog> dialogs = {
        {FileChoice::ItemNamesToRead, {tr("Item Names"), tr("Item names (*.txt);;All files (*)"), {}}},
        {FileChoice::ItemNamesToWrite,
         {tr("Export Item Names"), tr("Item names (*.txt);;All files (*)"), QStringLiteral("item-names.txt")}},
        {FileChoice::TableToRead, {tr("Import Table"), tr("CSV tables (*.csv);;All files (*)"), {}}},
        {FileChoice::TableToWrite,
         {tr("Export Table"), tr("CSV tables (*.csv);;All files (*)"), QStringLiteral("shops.csv")}},
        {FileChoice::CleanImage,
         {tr("Create Patch: the Clean Image"), tr("Images (*.smc *.swc *.fig *.sfc);;All files (*)"), {}}},
        {FileChoice::ImageToCompare,
         {tr("Compare with Image"), tr("Images (*.smc *.swc *.fig *.sfc);;All files (*)"), {}}},
        {FileChoice::PatchToWrite,
         {tr("Create Patch"), tr("BPS patches (*.bps);;IPS patches (*.ips)"), QStringLiteral("shops.bps")}},
        {FileChoice::NameTableToRead, {tr("Table File"), tr("Table files (*.tbl);;All files (*)"), {}}},
        {FileChoice::NameTableToWrite,
         {tr("Save Table File"), tr("Table files (*.tbl);;All files (*)"), QStringLiteral("names.tbl"),
          QStringLiteral("tbl")}},
    };
    const Dialog &dialog = dialogs.at(choice);
    // A patch's kind is its name's ending, which the filter chosen gives if the name has none.
    const QString path = !dialog.suggested.isEmpty()
                             ? askSaveName(parent, dialog.title, dialog.suggested, dialog.filters,
                                           choice == FileChoice::PatchToWrite, dialog.ending)
                             : QFileDialog::getOpenFileName(parent, dialog.title, QString(), dialog.filters, nullptr,
                                                            QFileDialog::DontUseNativeDialog);
    return image_path::fileText(path);
}
