#include "EditorController.h"

#include "EditorMessages.h"
#include "ImagePath.h"
#include "ShopTypeLabels.h"
#include "TableTools.h"

#include <QFile>

using rom::RomError;
using rom::ShopRecord;

namespace {

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QString decoded(const std::string &path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

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
    return QString::fromStdString(rom::ShopTypeLabels::text(code));
}

EditorController::EditorController(EditorView &view, OpenDialog &dialog, rom::FileAccess &files)
    : m_view(view), m_dialog(dialog), m_files(files), m_rom(files)
{
    m_syncTimer.setSingleShot(true);
    m_syncTimer.setInterval(kSyncDelayMs);
    QObject::connect(&m_syncTimer, &QTimer::timeout, &m_syncTimer, [this] { syncNow(); });
}

void EditorController::start(const std::string &namesFile, const std::string &image)
{
    m_names.start(namesFile);
    if (!image.empty())
        openFile(image);
}

// --- procedures

bool EditorController::LoadROM()
{
    m_dialog.setFilters(openFilters(), kPreselectedFilter);
    if (!m_dialog.show())
        return false;
    const QString fileName = m_dialog.fileName();
    if (image_path::standsForAnotherName(fileName)) {
        m_view.showError(messages::openFailure(
            fileName,
            QStringLiteral("Its name holds bytes that are not valid UTF-8 text, so the file dialog cannot name it "
                           "exactly, and another file's name could be taken for it. Rename the file, or give its "
                           "path on the command line."),
            m_rom.isOpen()));
        return false;
    }
    return openImage(QFile::encodeName(fileName).toStdString());
}

bool EditorController::openFile(const std::string &path)
{
    const std::string absolute = image_path::absolute(path);
    m_dialog.setFileName(decoded(absolute));
    return openImage(absolute);
}

bool EditorController::openImage(const std::string &path)
{
    // Open and read the new image completely before letting go of the one
    // that is open, so that a failure leaves that one open and on screen;
    // and before asking about unsaved picks, which a refused file must not
    // cost. Read again after the question, whose Save may have written to
    // this very file.
    const QString fileName = decoded(path);
    rom::RomFile candidate(m_files);
    std::string internalName;
    ShopRecord record;
    const auto read = [&] {
        RomError error = candidate.readName(internalName);
        if (error == RomError::None)
            error = candidate.readShop(0, record);
        return error;
    };
    RomError error = candidate.open(path, rom::Access::ReadWrite, &m_rom);
    if (error == RomError::None)
        error = read();
    if (error == RomError::None && !keepOrDropPicks(QStringLiteral("opening another image")))
        return false;
    if (error == RomError::None)
        error = read();
    if (error != RomError::None) {
        m_view.showError(messages::openFailure(fileName, messages::reason(error), m_rom.isOpen()));
        return false;
    }

    closeImage();
    m_rom = std::move(candidate);
    m_fileName = fileName;
    m_history.clear();
    m_view.enableEditing();
    LoadIName(internalName);
    showRecord(record);
    m_loaded = record;
    m_view.setShopIndexText(QStringLiteral("0"));
    m_view.placeScroll(0);
    pickChanged();
    if (m_view.allShopsShown())
        readTable();
    else
        m_table.clear();
    return true;
}

RomError EditorController::LoadShop()
{
    const std::optional<int> index = shownIndex();
    ShopRecord record;
    if (const RomError error = index ? m_rom.readShop(*index, record) : RomError::BadShopIndex; error != RomError::None)
        return error;
    showRecord(record);
    m_loaded = record;
    pickChanged();
    return RomError::None;
}

bool EditorController::SaveShop() { return save(Durability::Soon); }

void EditorController::LoadIName(const std::string &internalName)
{
    // The name is 21 single-byte characters, kept whole with its trailing blanks.
    m_view.setTitle(kTitle + QStringLiteral(" - ") +
                    QString::fromLatin1(internalName.data(), qsizetype(internalName.size())));
}

// --- notifications

void EditorController::Form_Load()
{
    for (int code = 0; code < rom::ShopTypeLabels::count(); ++code)
        m_view.addTypeEntry(fromUtf8(rom::ShopTypeLabels::label(code)));
    for (int slot = 1; slot <= ShopRecord::kSlotCount; ++slot)
        m_view.setSlotSelection(slot, 0);
    m_view.setTypeSelection(0);
}

// Back from another program, which may have changed the file: its version is
// shown, or, where that would drop unsaved picks, the user decides.
void EditorController::Form_Activate()
{
    bool changed = false;
    if (!m_rom.isOpen() || refreshFromDisk(changed) != RomError::None || !changed || !hasUnsavedPicks())
        return;
    ShopRecord inFile;
    if (m_rom.readShop(*shownIndex(), inFile) == RomError::None && inFile != m_loaded)
        save(Durability::Now);
}

bool EditorController::Form_QueryUnload() { return keepOrDropPicks(QStringLiteral("quitting")); }

// The desktop session ends (logout, shutdown): asked as at Quit when the
// session manager lets the program ask; saved without asking when it does
// not. Discarded picks go from the screen, since the program may live on
// until the session closes its window.
bool EditorController::commitData(bool mayAsk)
{
    if (!mayAsk)
        return save(Durability::Now);
    if (!keepOrDropPicks(QStringLiteral("the session ends")))
        return false;
    if (hasUnsavedPicks()) {
        showRecord(m_loaded);
        pickChanged();
    }
    return true;
}

void EditorController::Form_Unload() { closeImage(); }

void EditorController::mnuOpen_Click() { LoadROM(); }

void EditorController::HScroll_Change()
{
    const std::optional<int> left = shownIndex();
    if (!m_rom.isOpen() || !left)
        return;
    const int target = m_view.scrollValue();
    // The bar shows the shop on screen until the move is done.
    m_view.placeScroll(*left);
    moveTo(target);
}

void EditorController::HScroll_Scroll() { SaveShop(); }

void EditorController::SpBitCBO_Click() { pickChanged(); }

void EditorController::SlotCBO_Click(int) { pickChanged(); }

void EditorController::SaveCMD_Click() { save(Durability::Now); }

void EditorController::mnuSave_Click() { save(Durability::Now); }

void EditorController::mnuExportTable_Click()
{
    if (m_rom.isOpen())
        m_fileCommands.exportTable(m_names.names(), unsavedShop());
}

// The shops whose bytes the table changes are written, each as one record,
// and make one step of the history. Unsaved picks are saved or dropped first.
void EditorController::mnuImportTable_Click()
{
    if (!m_rom.isOpen())
        return;
    const std::string path = m_view.chooseFile(EditorView::FileChoice::TableToRead);
    if (path.empty())
        return;
    std::vector<rom::ShopRow> rows;
    if (const rom::ToolError error = rom::TableTools::readCsv(path, rows); !error.ok()) {
        m_view.showError(messages::importFailure(decoded(error.path), messages::sentence(error.reasonText()),
                                                 QStringLiteral("The image is unchanged.")));
        return;
    }
    if (!keepOrDropPicks(QStringLiteral("importing a table")))
        return;
    if (hasUnsavedPicks()) // discarded
        showRecord(m_loaded);
    bool changed = false;
    rom::ShopTable table;
    RomError error = refreshFromDisk(changed);
    if (error == RomError::None)
        error = m_rom.readTable(table);
    ShopChange step;
    for (const rom::ShopRow &row : rom::TableCsv::changedRows(table, rows)) {
        if (error != RomError::None || (error = m_rom.writeShop(row.shop, row.record)) != RomError::None)
            break;
        step.push_back({row.shop, table[std::size_t(row.shop)], row.record});
        wroteShop(row.shop, row.record);
    }
    if (!step.empty())
        m_history.record(step);
    showWrittenShops();
    syncNow();
    followFile();
    if (error != RomError::None)
        m_view.showError(messages::importFailure(
            m_fileName, messages::reason(error),
            QStringLiteral("%1 shops were written before it stopped; Edit > Undo takes them back.").arg(step.size())));
    else
        m_view.showInformation(QStringLiteral("%1 %2 changed in %3.")
                                   .arg(step.size())
                                   .arg(step.size() == 1 ? QStringLiteral("shop") : QStringLiteral("shops"),
                                        messages::quoted(m_fileName)));
}

void EditorController::mnuCreatePatch_Click()
{
    if (m_rom.isOpen())
        m_fileCommands.createPatch(unsavedShop());
}

void EditorController::mnuFixChecksum_Click()
{
    if (m_rom.isOpen())
        m_fileCommands.fixChecksum(unsavedShop());
}

void EditorController::mnuUndo_Click()
{
    if (!m_rom.isOpen())
        return;
    if (hasUnsavedPicks()) {
        showRecord(m_loaded);
        pickChanged();
    } else if (const std::optional<ShopChange> step = m_history.nextUndo()) {
        applyStep(*step, true);
    }
}

void EditorController::mnuRedo_Click()
{
    if (!m_rom.isOpen() || hasUnsavedPicks())
        return;
    if (const std::optional<ShopChange> step = m_history.nextRedo())
        applyStep(*step, false);
}

void EditorController::mnuGoToShop_Click()
{
    if (const std::optional<int> index = shownIndex(); m_rom.isOpen() && index)
        if (const std::optional<int> target = m_view.askShopNumber(*index))
            goToShop(*target);
}

void EditorController::mnuAllShops_Click()
{
    if (!m_rom.isOpen())
        return;
    readTable();
    m_view.showAllShops();
}

void EditorController::AllShops_Activate(int index) { goToShop(index); }

void EditorController::mnuItemNames_Click() { m_names.choose(); }

void EditorController::mnuBuiltInNames_Click() { m_names.useBuiltIn(); }

void EditorController::mnuExportNames_Click() { m_names.exportNames(); }

void EditorController::cmdOK_Click() { m_view.endProgram(); }

void EditorController::mnuQuit_Click() { m_view.endProgram(); }

void EditorController::mnuAbout_Click() { m_view.showAbout(); }

bool EditorController::hasUnsavedPicks() const { return m_rom.isOpen() && shownRecord() != m_loaded; }

int EditorController::unsavedShop() const { return hasUnsavedPicks() ? *shownIndex() : -1; }

// --- the flow

bool EditorController::keepOrDropPicks(const QString &doing)
{
    if (!hasUnsavedPicks())
        return true;
    switch (m_view.askAboutUnsaved(messages::unsavedQuestion(*shownIndex(), m_fileName, doing))) {
    case EditorView::Unsaved::Save: return save(Durability::Now);
    case EditorView::Unsaved::Discard: return true;
    case EditorView::Unsaved::Cancel: break;
    }
    return false;
}

// The whole table in one read; the model keeps up with the editor's own
// writes without reading, and reads again when another program wrote.
void EditorController::readTable()
{
    rom::ShopTable table;
    if (m_rom.readTable(table) == RomError::None)
        m_table.setTable(table);
    else
        m_table.clear();
}

// Moves there as the scroll bar would.
void EditorController::goToShop(int index)
{
    const std::optional<int> shown = shownIndex();
    if (m_rom.isOpen() && shown && index != *shown && index >= 0 && index < rom::kShopCount)
        moveTo(index);
}

// Saves the shop being left (if its picks changed), then shows the target.
bool EditorController::moveTo(int target)
{
    const int left = *shownIndex();
    if (!SaveShop())
        return false;
    m_view.setShopIndexText(QString::number(target));
    if (const RomError error = LoadShop(); error != RomError::None) {
        m_view.setShopIndexText(QString::number(left));
        reportShopFailure(QStringLiteral("read shop %1 from"), target, error);
        return false;
    }
    m_view.placeScroll(target);
    return true;
}

// Writes the shown shop's picks if they changed. Explicit saves return once
// the data is on the disk; saves made by moving get there within a second.
bool EditorController::save(Durability durability)
{
    if (!m_rom.isOpen())
        return true;
    const int index = *shownIndex();
    bool changed = false;
    const RomError error = refreshFromDisk(changed);
    // With nothing to write, a move reports a file no longer the one opened
    // when it reads the next shop.
    if (error != RomError::None && (hasUnsavedPicks() || durability == Durability::Now)) {
        reportShopFailure(QStringLiteral("save shop %1 to"), index, error);
        return false;
    }
    if (hasUnsavedPicks()) {
        const ShopRecord picks = shownRecord();
        ShopRecord before;
        switch (writeShown(picks, m_loaded, before)) {
        case Written::Stopped: return false;
        case Written::FileVersionTaken: break;
        case Written::Yes: m_history.record({{index, before, picks}}); [[fallthrough]];
        case Written::AlreadyThere:
            m_table.setShop(index, picks);
            m_loaded = picks;
            pickChanged();
            syncSoon();
            followFile();
        }
    }
    if (durability == Durability::Now)
        syncNow();
    return true;
}

// Writes record over the shown shop, whose bytes in the file should be
// `expected`. If another program changed them, the user decides first.
EditorController::Written EditorController::writeShown(const ShopRecord &record, const ShopRecord &expected,
                                                       ShopRecord &before)
{
    const int index = *shownIndex();
    if (const RomError error = m_rom.readShop(index, before); error != RomError::None) {
        reportShopFailure(QStringLiteral("save shop %1 to"), index, error);
        return Written::Stopped;
    }
    // Already what is wanted (an undo tried again, say): nothing to ask or write.
    if (before == record)
        return Written::AlreadyThere;
    if (before != expected) {
        const QString question = messages::conflictQuestion(
            index, m_fileName, before, record, [this](std::uint8_t code) { return typeLabel(code); },
            [this](std::uint8_t code) { return itemLabel(code); });
        switch (m_view.askAboutConflict(question)) {
        case EditorView::Conflict::Overwrite: break;
        case EditorView::Conflict::TakeFile:
            m_table.setShop(index, before);
            showRecord(before);
            m_loaded = before;
            pickChanged();
            return Written::FileVersionTaken;
        case EditorView::Conflict::Cancel: return Written::Stopped;
        }
    }
    if (const RomError error = m_rom.writeShop(index, record); error != RomError::None) {
        reportShopFailure(QStringLiteral("save shop %1 to"), index, error);
        return Written::Stopped;
    }
    return Written::Yes;
}

// Undo writes a step's old bytes back, redo its new ones, on the step's
// shop, which is shown first as a move would show it.
bool EditorController::applyStep(const ShopChange &step, bool undo)
{
    if (step.size() != 1)
        return applyImport(step, undo);
    const ShopWrite &write = step.front();
    if (shownIndex() != write.index && !moveTo(write.index))
        return false;
    const ShopRecord &target = undo ? write.before : write.after;
    ShopRecord inFile;
    switch (writeShown(target, undo ? write.after : write.before, inFile)) {
    case Written::Stopped:
    case Written::FileVersionTaken: return false;
    case Written::Yes:
    case Written::AlreadyThere: break;
    }
    undo ? m_history.undone() : m_history.redone();
    m_table.setShop(write.index, target);
    showRecord(target);
    m_loaded = target;
    pickChanged();
    syncSoon();
    followFile();
    return true;
}

// An import's step, all its shops written back (or again) where they are,
// after one question if another program changed some of them since. A
// write that fails stops it; tried again, it skips the shops already done.
bool EditorController::applyImport(const ShopChange &step, bool undo)
{
    rom::ShopTable table;
    if (const RomError error = m_rom.readTable(table); error != RomError::None) {
        reportShopFailure(QStringLiteral("read shop %1 from"), step.front().index, error);
        return false;
    }
    QList<int> changedByOthers;
    for (const ShopWrite &write : step) {
        const ShopRecord &inFile = table[std::size_t(write.index)];
        if (inFile != (undo ? write.after : write.before) && inFile != (undo ? write.before : write.after))
            changedByOthers << write.index;
    }
    if (!changedByOthers.isEmpty()) {
        switch (m_view.askAboutConflict(messages::conflictsQuestion(changedByOthers, m_fileName))) {
        case EditorView::Conflict::Overwrite: changedByOthers.clear(); break;
        case EditorView::Conflict::TakeFile: break;
        case EditorView::Conflict::Cancel: return false;
        }
    }
    for (const ShopWrite &write : step) {
        const ShopRecord &target = undo ? write.before : write.after;
        if (changedByOthers.contains(write.index) || table[std::size_t(write.index)] == target)
            continue;
        if (const RomError error = m_rom.writeShop(write.index, target); error != RomError::None) {
            showWrittenShops();
            reportShopFailure(QStringLiteral("write shop %1 to"), write.index, error);
            return false;
        }
        wroteShop(write.index, target);
    }
    undo ? m_history.undone() : m_history.redone();
    showWrittenShops();
    syncSoon();
    followFile();
    return true;
}

// A shop of a step of several written: the table follows, and if it is the
// shown one, the file's bytes for it are now the written ones.
void EditorController::wroteShop(int index, const ShopRecord &record)
{
    m_table.setShop(index, record);
    if (shownIndex() == index)
        m_loaded = record;
}

// After the writes of a step of several shops, complete or not: the shown
// shop as the file has it, or, where it cannot be read, the picks on screen
// marked unsaved against what was written to it.
void EditorController::showWrittenShops()
{
    if (LoadShop() != RomError::None)
        pickChanged();
}

// After the editor's own writes: a change another program made before them
// shows now, as it would when the window becomes active.
void EditorController::followFile()
{
    bool changed = false;
    (void)refreshFromDisk(changed);
}

// Looks at the file: an error when it is no longer the one opened. When
// another program wrote to it, the title is read again, and the shown shop
// too unless that would drop unsaved picks.
RomError EditorController::refreshFromDisk(bool &changed)
{
    if (const RomError error = m_rom.checkForChanges(changed); error != RomError::None || !changed)
        return error;
    std::string name;
    if (m_rom.readName(name) == RomError::None)
        LoadIName(name);
    if (m_view.allShopsShown())
        readTable();
    ShopRecord inFile;
    if (!hasUnsavedPicks() && m_rom.readShop(*shownIndex(), inFile) == RomError::None && inFile != m_loaded) {
        showRecord(inFile);
        m_loaded = inFile;
        pickChanged();
    }
    return RomError::None;
}

// The title's marker and the Edit menu follow the picks and the history.
void EditorController::pickChanged()
{
    const bool unsaved = hasUnsavedPicks();
    m_view.setModified(unsaved);
    UndoState state;
    if (unsaved) {
        state.canUndo = true;
        state.undoText = QStringLiteral("Shop %1").arg(*shownIndex());
    } else if (m_history.nextUndo()) {
        state.canUndo = true;
        state.undoText = m_history.undoText();
    }
    if (!unsaved && m_history.nextRedo()) {
        state.canRedo = true;
        state.redoText = m_history.redoText();
    }
    m_view.setUndoState(state);
}

void EditorController::syncSoon()
{
    if (!m_syncTimer.isActive())
        m_syncTimer.start();
}

void EditorController::syncNow()
{
    m_syncTimer.stop();
    if (m_rom.isOpen() && m_rom.sync() != RomError::None)
        m_view.showError(messages::flushFailure(m_fileName));
}

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
        record.items[std::size_t(slot - 1)] = std::uint8_t(m_view.slotSelection(slot));
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
        m_view.setSlotSelection(slot, record.items[std::size_t(slot - 1)]);
}

void EditorController::closeImage()
{
    m_syncTimer.stop();
    if (m_rom.close() != RomError::None)
        m_view.showError(messages::flushFailure(m_fileName));
}

void EditorController::reportShopFailure(const QString &what, int index, RomError error)
{
    const int shown = shownIndex().value_or(index);
    m_view.showError(messages::shopFailure(
        what, index, m_fileName, error,
        QStringLiteral("The editor stays on shop %1, with your picks on screen.").arg(shown)));
}

QString EditorController::typeLabel(std::uint8_t code) const
{
    return QString::fromStdString(rom::ShopTypeLabels::text(code));
}

QString EditorController::itemLabel(std::uint8_t code) const { return fromUtf8(m_names.names().label(code)); }
