#include "EditorController.h"

#include "ItemLabels.h"
#include "ShopTypeLabels.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <filesystem>

using rom::RomError;
using rom::ShopRecord;

namespace {

QString reason(RomError error)
{
    const std::string_view text = rom::describe(error);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString quoted(const QString &fileName)
{
    return QStringLiteral("\u201C%1\u201D").arg(QDir::toNativeSeparators(fileName));
}

// A name whose bytes are not valid UTF-8 reaches the file dialog with U+FFFD
// in their place, and that text no longer names the file: it could name
// another one. True when the folder holds such a name that reads as fileName.
bool standsForAnotherName(const QString &fileName)
{
    if (!fileName.contains(QChar::ReplacementCharacter))
        return false;
    const QFileInfo chosen(fileName);
    DIR *folder = ::opendir(QFile::encodeName(chosen.path()).constData());
    if (!folder)
        return false;
    bool found = false;
    while (const dirent *entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        const QString shown = QFile::decodeName(name);
        if (QFile::encodeName(shown) != name && shown == chosen.fileName())
            found = true;
    }
    ::closedir(folder);
    return found;
}

} // namespace

QList<FileFilter> EditorController::openFilters()
{
    // "All Files" lists every file, with or without a dot in its name.
    return {
        {QStringLiteral("All Files (*.*)"), QStringLiteral("*")},
        {QStringLiteral("Super MagiCom ROM File (*.smc)"), QStringLiteral("*.smc")},
        {QStringLiteral("Super Wild Card ROM File (*.swc)"), QStringLiteral("*.swc")},
        {QStringLiteral("Pro Fighter X ROM File (*.fig)"), QStringLiteral("*.fig")},
    };
}

QString EditorController::unlabelledTypeText(std::uint8_t code)
{
    // The code comes first, so that a narrow closed list still shows it whole.
    return QStringLiteral("0x%1: Unknown").arg(QString::number(code, 16).toUpper().rightJustified(2, u'0'));
}

EditorController::EditorController(EditorView &view, OpenDialog &dialog, rom::FileAccess &files)
    : m_view(view), m_dialog(dialog), m_files(files), m_rom(files)
{
}

// --- procedures

bool EditorController::LoadROM()
{
    m_dialog.setFilters(openFilters(), kPreselectedFilter);
    if (!m_dialog.show())
        return false;
    const QString fileName = m_dialog.fileName();
    if (standsForAnotherName(fileName)) {
        reportOpenFailure(fileName, QStringLiteral("Its name holds bytes that are not valid UTF-8 text, so the file "
                                                   "dialog cannot name it exactly, and another file's name could be "
                                                   "taken for it. Rename the file, or give its path on the command "
                                                   "line."));
        return false;
    }
    return openImage(QFile::encodeName(fileName).toStdString());
}

bool EditorController::openFile(const std::string &path)
{
    // Made absolute only by putting the working directory in front: ".."
    // after a symbolic link is the system's to resolve, not the editor's.
    std::string absolute = path;
    if (!path.empty() && path.front() != '/') {
        std::error_code error;
        absolute = (std::filesystem::current_path(error) / path).native();
    }
    m_dialog.setFileName(QFile::decodeName(QByteArray::fromStdString(absolute)));
    return openImage(absolute);
}

bool EditorController::openImage(const std::string &path)
{
    // Open and read the new image completely before letting go of the one
    // that is open, so that a failure leaves that one open and on screen.
    const QString fileName = QFile::decodeName(QByteArray::fromStdString(path));
    rom::RomFile candidate(m_files);
    std::string internalName;
    ShopRecord record;
    RomError error = candidate.open(path, rom::Access::ReadWrite, &m_rom);
    if (error == RomError::None)
        error = candidate.readName(internalName);
    if (error == RomError::None)
        error = candidate.readShop(shownIndex().value_or(0), record);
    if (error != RomError::None) {
        reportOpenFailure(fileName, reason(error));
        return false;
    }

    closeImage();
    m_rom = std::move(candidate);
    m_fileName = fileName;
    m_view.enableEditing();
    LoadIName(internalName);
    showRecord(record);
    // From any other value this raises the change notification, which writes
    // the record just read back to the same shop and then shows shop 0.
    m_view.setScrollValue(0);
    // If that write-back failed, the scroll bar went back to the shop still
    // shown, and the index must stay with it.
    if (m_view.scrollValue() == 0)
        m_view.setShopIndexText(QStringLiteral("0"));
    return true;
}

RomError EditorController::LoadShop()
{
    const std::optional<int> index = shownIndex();
    if (!index)
        return RomError::BadShopIndex;
    ShopRecord record;
    if (const RomError error = m_rom.readShop(*index, record); error != RomError::None)
        return error;
    showRecord(record);
    return RomError::None;
}

RomError EditorController::SaveShop()
{
    const std::optional<int> index = shownIndex();
    if (!index)
        return RomError::BadShopIndex;
    return m_rom.writeShop(*index, shownRecord());
}

void EditorController::LoadIName(const std::string &internalName)
{
    // The name is 21 single-byte characters, kept whole with its trailing blanks.
    m_view.setTitle(kTitle + QStringLiteral(" - ") +
                    QString::fromLatin1(internalName.data(), qsizetype(internalName.size())));
}

// --- notifications

void EditorController::Form_Load()
{
    for (int code = 0; code < rom::ShopTypeLabels::count(); ++code) {
        const std::string_view label = rom::ShopTypeLabels::label(code);
        m_view.addTypeEntry(QString::fromUtf8(label.data(), qsizetype(label.size())));
    }
    for (int slot = 1; slot <= ShopRecord::kSlotCount; ++slot)
        m_view.setSlotSelection(slot, 0);
    m_view.setTypeSelection(0);
}

void EditorController::Form_Unload() { closeImage(); }

void EditorController::mnuOpen_Click() { LoadROM(); }

// A failed move reports once and puts the scroll bar back on the shop still
// shown, without a notification; that also ends the mouse press or drag
// that made the move, so nothing repeats it.
void EditorController::HScroll_Change()
{
    const std::optional<int> left = shownIndex();
    if (!m_rom.isOpen() || !left)
        return;
    if (const RomError error = SaveShop(); error != RomError::None) {
        m_view.placeScroll(*left);
        reportShopFailure(QStringLiteral("save shop %1 to"), *left, error,
                          QStringLiteral("The editor stays on shop %1, with your picks on screen.").arg(*left));
        return;
    }
    const int target = m_view.scrollValue();
    m_view.setShopIndexText(QString::number(target));
    if (const RomError error = LoadShop(); error != RomError::None) {
        m_view.setShopIndexText(QString::number(*left));
        m_view.placeScroll(*left);
        reportShopFailure(QStringLiteral("read shop %1 from"), target, error,
                          QStringLiteral("The editor stays on shop %1.").arg(*left));
    }
}

void EditorController::HScroll_Scroll()
{
    const std::optional<int> shown = shownIndex();
    if (!m_rom.isOpen() || !shown)
        return;
    if (const RomError error = SaveShop(); error != RomError::None) {
        m_view.placeScroll(*shown);
        reportShopFailure(QStringLiteral("save shop %1 to"), *shown, error,
                          QStringLiteral("The editor stays on shop %1, with your picks on screen.").arg(*shown));
    }
}

void EditorController::SaveCMD_Click() { saveShown(); }

void EditorController::mnuSave_Click() { saveShown(); }

void EditorController::cmdOK_Click() { endProgram(); }

void EditorController::mnuQuit_Click() { endProgram(); }

void EditorController::mnuAbout_Click() { m_view.showAbout(); }

// --- helpers

std::optional<int> EditorController::shownIndex() const
{
    bool ok = false;
    const int index = m_view.shopIndexText().toInt(&ok, 10);
    return ok ? std::optional<int>(index) : std::nullopt;
}

ShopRecord EditorController::shownRecord() const
{
    ShopRecord record;
    const int type = m_view.typeSelection();
    record.type = type < rom::ShopTypeLabels::count() ? std::uint8_t(type) : m_unlabelledType.value_or(0);
    for (int slot = 1; slot <= ShopRecord::kSlotCount; ++slot)
        record.items[slot - 1] = std::uint8_t(m_view.slotSelection(slot));
    return record;
}

void EditorController::showRecord(const ShopRecord &record)
{
    constexpr int kExtraEntry = rom::ShopTypeLabels::count();
    if (m_unlabelledType) {
        m_view.removeTypeEntry(kExtraEntry);
        m_unlabelledType.reset();
    }
    if (record.type < kExtraEntry) {
        m_view.setTypeSelection(record.type);
    } else {
        m_unlabelledType = record.type;
        m_view.addTypeEntry(unlabelledTypeText(record.type));
        m_view.setTypeSelection(kExtraEntry);
    }
    for (int slot = 1; slot <= ShopRecord::kSlotCount; ++slot)
        m_view.setSlotSelection(slot, record.items[slot - 1]);
}

void EditorController::saveShown()
{
    // Nothing is open before the first successful open: nothing to save.
    if (!m_rom.isOpen())
        return;
    if (const RomError error = SaveShop(); error != RomError::None)
        reportShopFailure(QStringLiteral("save shop %1 to"), shownIndex().value_or(0), error,
                          QStringLiteral("Your picks are still on screen."));
}

void EditorController::closeImage()
{
    if (m_rom.close() != RomError::None)
        m_view.showError(QStringLiteral("Could not finish writing %1.\n\n%2\n\nSome of your changes may not be on disk.")
                             .arg(quoted(m_fileName), reason(RomError::FlushFailed)));
}

void EditorController::endProgram()
{
    closeImage();
    m_view.endProgram();
}

void EditorController::reportShopFailure(const QString &what, int index, RomError error, const QString &outcome)
{
    // A file that is no longer the one opened cannot be written again; an
    // I/O error may pass.
    const QString advice =
        error == RomError::FileChanged
            ? QStringLiteral("Note the picks you want to keep, then open the file again with File > Open ROM.")
            : QStringLiteral("Try File > Save again. If it keeps failing, check the disk, note your picks and "
                             "open the file again with File > Open ROM.");
    m_view.showError(QStringLiteral("Could not %1 %2.\n\n%3\n\n%4 %5")
                         .arg(what.arg(index), quoted(m_fileName), reason(error), outcome, advice));
}

void EditorController::reportOpenFailure(const QString &fileName, const QString &why)
{
    m_view.showError(QStringLiteral("Could not open %1.\n\n%2\n\n%3")
                         .arg(quoted(fileName), why,
                              m_rom.isOpen() ? QStringLiteral("The image that was open stays open, with your picks on "
                                                              "screen. Choose another file with File > Open ROM.")
                                             : QStringLiteral("Choose another file with File > Open ROM.")));
}
