#include "EditorController.h"

#include "ItemLabels.h"
#include "ShopTypeLabels.h"

#include <QDir>
#include <QFile>

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

} // namespace

QList<FileFilter> EditorController::openFilters()
{
    return {
        {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")},
        {QStringLiteral("Super MagiCom ROM File (*.smc)"), QStringLiteral("*.smc")},
        {QStringLiteral("Super Wild Card ROM File (*.swc)"), QStringLiteral("*.swc")},
        {QStringLiteral("Pro Fighter X ROM File (*.fig)"), QStringLiteral("*.fig")},
    };
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
    return openImage(m_dialog.fileName());
}

bool EditorController::openFile(const QString &fileName)
{
    m_dialog.setFileName(fileName);
    return openImage(fileName);
}

bool EditorController::openImage(const QString &fileName)
{
    // Open and read the new image completely before letting go of the one
    // that is open, so that a failure leaves that one open and on screen.
    rom::RomFile candidate(m_files);
    std::string internalName;
    ShopRecord record;
    const int index = shownIndex().value_or(0);
    RomError error = candidate.open(QFile::encodeName(fileName).toStdString());
    if (error == RomError::None)
        error = candidate.readName(internalName);
    if (error == RomError::None)
        error = candidate.readShop(index, record);
    if (error != RomError::None) {
        m_view.showError(QStringLiteral("Could not open %1.\n\n%2\n\n%3")
                             .arg(quoted(fileName), reason(error),
                                  m_rom.isOpen() ? QStringLiteral("The image that was open stays open, with your picks "
                                                                  "on screen. Choose another file with File > Open ROM.")
                                                 : QStringLiteral("Choose another file with File > Open ROM.")));
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

void EditorController::HScroll_Change()
{
    const std::optional<int> left = shownIndex();
    if (m_returningScroll || !m_rom.isOpen() || !left)
        return;
    const bool reported = std::exchange(m_dragFailureReported, false);
    if (const RomError error = SaveShop(); error != RomError::None) {
        if (!reported)
            reportShopFailure(QStringLiteral("save shop %1 to"), *left, error,
                              QStringLiteral("The editor stays on shop %1, with your picks on screen.").arg(*left));
        returnScrollTo(*left);
        return;
    }
    const int target = m_view.scrollValue();
    m_view.setShopIndexText(QString::number(target));
    if (const RomError error = LoadShop(); error != RomError::None) {
        m_view.setShopIndexText(QString::number(*left));
        reportShopFailure(QStringLiteral("read shop %1 from"), target, error,
                          QStringLiteral("The editor stays on shop %1.").arg(*left));
        returnScrollTo(*left);
    }
}

void EditorController::HScroll_Scroll()
{
    if (!m_rom.isOpen())
        return;
    const RomError error = SaveShop();
    if (error == RomError::None) {
        m_dragFailureReported = false;
    } else if (!std::exchange(m_dragFailureReported, true)) {
        reportShopFailure(QStringLiteral("save shop %1 to"), shownIndex().value_or(0), error,
                          QStringLiteral("Your picks are still on screen."));
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
        m_view.addTypeEntry(
            QStringLiteral("Unknown type 0x%1").arg(QString::number(record.type, 16).toUpper().rightJustified(2, u'0')));
        m_view.setTypeSelection(kExtraEntry);
    }
    for (int slot = 1; slot <= ShopRecord::kSlotCount; ++slot)
        m_view.setSlotSelection(slot, record.items[slot - 1]);
}

void EditorController::saveShown()
{
    m_dragFailureReported = false;
    // Nothing is open before the first successful open: nothing to save.
    if (!m_rom.isOpen())
        return;
    if (const RomError error = SaveShop(); error != RomError::None)
        reportShopFailure(QStringLiteral("save shop %1 to"), shownIndex().value_or(0), error,
                          QStringLiteral("Your picks are still on screen."));
}

void EditorController::returnScrollTo(int index)
{
    m_returningScroll = true;
    m_view.setScrollValue(index);
    m_returningScroll = false;
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
