#include "EditorController.h"

#include "EditorMessages.h"
#include "ShopHistory.h"
#include "ShopText.h"
#include "ShopTableModel.h"
#include "ShopTypeLabels.h"

#include <QFileInfo>
#include <QUndoStack>

using rom::RomError;
using rom::ShopRecord;

QString EditorController::title() { return tr("Zeltharia III (US) Shop Editor"); }

EditorController::EditorController(EditorView &view, EditorPrompts &prompts, OpenDialog &dialog,
                                   rom::FileAccess &files, QObject *parent)
    : QObject(parent), m_view(view), m_prompts(prompts), m_document(files),
      m_opener(m_prompts, dialog, files, *this), m_table(new ShopTableModel(this)),
      m_history(new ShopHistory(*this, this)),
      m_flusher(new WriteFlusher(m_document, m_prompts, this)),
      m_names(view, m_prompts, *m_table, m_document), m_writer(m_document, m_prompts, *m_table, m_names),
      m_replay(m_document, m_writer, m_prompts, *m_table, *this),
      m_import(m_document, m_prompts, *m_table, m_names, *m_history, *this), m_fileCommands(m_prompts, m_document.image()),
      m_watch(m_document, view, m_prompts, *m_table, *this, files), m_comparison(m_prompts, *m_table, m_names)
{
    QStringList types;
    for (int code = 0; code < rom::ShopTypeLabels::count(); ++code)
        types << QString::fromUtf8(rom::ShopTypeLabels::label(code));
    m_view.setTypeLabels(types);
}

EditorController::~EditorController() = default;

void EditorController::start(const std::string &namesFile, const std::string &image)
{
    m_names.start(namesFile);
    if (!image.empty())
        openFile(image);
}

void EditorController::setSyncDelay(std::chrono::milliseconds delay) { m_flusher->setDelay(delay); }

QUndoStack *EditorController::undoStack() const { return m_history->stack(); }

// --- from the shown shop's controls

void EditorController::pickType(int code)
{
    ShopRecord picks = m_document.picks();
    picks.type = std::uint8_t(code);
    changePicks(picks);
}

void EditorController::pickItem(int slot, int code)
{
    ShopRecord picks = m_document.picks();
    picks.items.at(std::size_t(slot - 1)) = std::uint8_t(code);
    changePicks(picks);
}

bool EditorController::moveToShop(int index)
{
    if (!m_document.isOpen() || index == m_document.shownIndex() || index < 0 || index >= rom::kShopCount)
        return false;
    return moveTo(index);
}

void EditorController::moveBy(int delta)
{
    const int target = m_document.shownIndex() + delta;
    if (target >= 0 && target < rom::kShopCount)
        moveToShop(target);
}

void EditorController::saveBeforeMoving() { saveShown(Durability::Soon); }

void EditorController::save() { saveShown(Durability::Now); }

// --- from the menus

bool EditorController::open() { return adopt(m_opener.choose(m_document.image())); }

bool EditorController::openFile(const std::string &path) { return adopt(m_opener.openPath(path, m_document.image())); }

void EditorController::goToShop()
{
    if (!m_document.isOpen())
        return;
    if (const std::optional<int> target = m_prompts.askShopNumber(m_document.shownIndex()))
        moveToShop(*target);
}

void EditorController::copyShop()
{
    if (m_document.isOpen())
        m_view.copyText(ShopText::write(m_document.shownIndex(), m_document.picks()));
}

void EditorController::pasteShop()
{
    if (!m_document.isOpen())
        return;
    if (const std::optional<ShopRecord> shop = ShopText::read(m_view.pastedText()))
        changePicks(*shop);
    else
        m_prompts.showError(EditorMessages::nothingToPaste());
}

void EditorController::compareWithImage()
{
    if (m_document.isOpen() && m_comparison.choose())
        showDocument();
}

void EditorController::revertToClean()
{
    if (const std::optional<ShopRecord> clean = m_comparison.shop(m_document.shownIndex()); m_document.isOpen() && clean)
        changePicks(*clean);
}

void EditorController::showAllShops()
{
    if (!m_document.isOpen())
        return;
    m_watch.readTable();
    m_view.showAllShops();
}

void EditorController::exportTable()
{
    if (m_document.isOpen())
        m_fileCommands.exportTable(m_names.names(), unsavedShop());
}

void EditorController::importTable()
{
    if (m_document.isOpen())
        m_import.run();
}

void EditorController::createPatch()
{
    if (m_document.isOpen())
        m_fileCommands.createPatch(unsavedShop());
}

void EditorController::fixChecksum()
{
    if (m_document.isOpen())
        m_fileCommands.fixChecksum(unsavedShop());
}

void EditorController::chooseItemNames() { m_names.choose(); }

void EditorController::useBuiltInItemNames() { m_names.useBuiltIn(); }

void EditorController::chooseItemNamesFromImage()
{
    if (m_document.isOpen())
        m_names.chooseFromImage();
}

void EditorController::exportItemNames() { m_names.exportNames(); }

void EditorController::reload()
{
    if (m_document.isOpen())
        adopt(m_opener.reload(m_document.image()));
}

void EditorController::quit() { m_view.closeWindow(); }

// --- from the window

// Another program's version is shown, or, where that would drop unsaved
// picks, the user decides. A file replaced or resized is offered to be
// reloaded.
void EditorController::windowActivated()
{
    bool changed = false;
    if (!m_document.isOpen())
        return;
    if (const RomError error = m_watch.follow(&changed); error == RomError::FileChanged)
        m_watch.offerReload();
    if (!changed || !hasUnsavedPicks())
        return;
    ShopRecord inFile;
    if (m_document.image().readShop(m_document.shownIndex(), inFile) == RomError::None &&
        inFile != m_document.inFile())
        saveShown(Durability::Now);
}

bool EditorController::askToSaveChanges() { return keepOrDropPicks(tr("quitting")); }

// Asked as at Quit when the session manager lets the program ask, saved
// without asking when it does not: then a change of another program's is
// not overwritten, and a failure, not shown, keeps the session from ending.
bool EditorController::commitData(bool mayAsk)
{
    if (mayAsk)
        return keepOrDropPicks(tr("the session ends"));
    m_prompts.holdBack();
    const bool saved = saveShown(Durability::Now);
    return m_prompts.release() == 0 && saved;
}

void EditorController::closeImage()
{
    m_flusher->stop();
    const QString fileName = m_document.fileName(); // closing forgets it
    if (!m_document.close())
        m_prompts.showError(EditorMessages::flushFailure(fileName));
}

// --- the flow

// The image opened in place of the one open until now, shown at shop 0,
// with a history of its own. A reloaded image stays on the shop shown, and
// picks that differ from what the file now holds for it stay, as a step.
bool EditorController::adopt(std::optional<OpenedImage> image)
{
    if (!image)
        return false;
    const int shown = image->reloaded ? m_document.shownIndex() : 0;
    const bool keepPicks = image->reloaded && hasUnsavedPicks();
    const ShopRecord picks = m_document.picks();
    const ShopRecord inFile = image->table[std::size_t(shown)];
    closeImage();
    m_document.adopt(std::move(image->file), image->internalName);
    m_names.imageOpened();
    m_history->clear();
    m_view.enableEditing();
    m_document.show(shown, inFile);
    if (keepPicks && picks != inFile) {
        m_history->recordPicks(shown, inFile, picks);
        m_document.setPicks(picks);
    }
    showDocument();
    m_watch.opened(image->internalName, image->table);
    if (image->doubt)
        m_prompts.showInformation(EditorMessages::strangeTable(*image->doubt, m_document.fileName()));
    return true;
}

bool EditorController::moveTo(int index)
{
    if (!saveShown(Durability::Soon))
        return false;
    ShopRecord record;
    if (const RomError error = m_document.image().readShop(index, record); error != RomError::None) {
        m_writer.reportFailure(tr("read shop %1 from"), index, error);
        return false;
    }
    m_document.show(index, record);
    showDocument();
    return true;
}

// Writes the shown shop's picks if they changed. Explicit saves return once
// the data is on the disk, false if it may not be; saves made by moving get
// there within a second.
bool EditorController::saveShown(Durability durability)
{
    if (!m_document.isOpen())
        return true;
    const int index = m_document.shownIndex();
    // With nothing to write, a move reports a file no longer the one opened
    // when it reads the next shop.
    if (const RomError error = m_watch.follow();
        error != RomError::None && (hasUnsavedPicks() || durability == Durability::Now)) {
        m_writer.reportFailure(tr("save shop %1 to"), index, error);
        return false;
    }
    if (!hasUnsavedPicks())
        m_history->settlePicks();
    if (hasUnsavedPicks()) {
        const ShopRecord picks = m_document.picks();
        ShopRecord before;
        const ShopWriter::Outcome outcome = m_writer.write(index, picks, m_document.inFile(), before);
        if (outcome == ShopWriter::Outcome::Stopped)
            return false;
        m_history->settlePicks();
        if (outcome == ShopWriter::Outcome::FileVersionTaken)
            fileVersionTaken();
        else
            picksSaved(outcome, before);
    }
    return durability == Durability::Soon || m_flusher->flushNow();
}

// The shown shop's picks are in the file now: written, or found there.
void EditorController::picksSaved(ShopWriter::Outcome outcome, const ShopRecord &before)
{
    const int index = m_document.shownIndex();
    const ShopRecord picks = m_document.picks();
    // The overwrite question was up for as long as the user took: what
    // another program wrote meanwhile shows after the write. Else the look
    // at the file just before the write stands.
    const bool asked = outcome == ShopWriter::Outcome::Written && before != m_document.inFile();
    if (outcome == ShopWriter::Outcome::Written)
        m_history->recordWrite({{index, before, picks}});
    m_table->setShop(index, picks);
    m_document.setInFile(picks);
    if (asked) {
        wrote(Durability::Soon);
    } else {
        showDocument();
        m_flusher->flushSoon();
    }
}

bool EditorController::keepOrDropPicks(const QString &doing)
{
    if (!hasUnsavedPicks())
        return true;
    const QString question =
        EditorMessages::unsavedQuestion(m_document.shownIndex(), m_document.fileName(), doing);
    switch (m_prompts.askAboutUnsaved(question)) {
    case EditorPrompts::Unsaved::Save: return saveShown(Durability::Now);
    case EditorPrompts::Unsaved::Discard:
        m_document.dropPicks();
        m_history->settlePicks();
        showDocument();
        return true;
    case EditorPrompts::Unsaved::Cancel: break;
    }
    return false;
}

void EditorController::wrote(Durability durability)
{
    showDocument();
    if (durability == Durability::Now)
        (void)m_flusher->flushNow(); // a failure is shown
    else
        m_flusher->flushSoon();
    (void)m_watch.follow();
}

bool EditorController::replay(const ShopChange &change, bool undo) { return m_replay.apply(change, undo); }

void EditorController::showShown() { showDocument(); }

void EditorController::fileVersionTaken()
{
    showDocument();
    (void)m_watch.follow(); // nothing written, nothing to flush
}

void EditorController::reloadImage() { reload(); }

bool EditorController::showPicks(int shop, const ShopRecord &picks)
{
    if (shop != m_document.shownIndex() && !moveTo(shop))
        return false;
    m_document.setPicks(picks);
    showDocument();
    return true;
}

// Each pick is a step of the history until the picks are saved, as one
// written step, or dropped.
void EditorController::changePicks(const ShopRecord &picks)
{
    if (!m_document.isOpen() || picks == m_document.picks())
        return;
    m_history->recordPicks(m_document.shownIndex(), m_document.picks(), picks);
    m_document.setPicks(picks);
    showDocument();
}

void EditorController::showDocument()
{
    const int shown = m_document.shownIndex();
    m_view.showShop(shown, m_document.picks(), m_document.unlabelledType());
    m_view.setModified(hasUnsavedPicks());
    m_view.showDifferences(m_comparison.active(), m_comparison.differences(shown, m_document.picks()));
    m_view.showLocation(QFileInfo(m_document.fileName()).fileName(), m_document.fileName(),
                        ShopText::place(shown, m_document.image().layout()));
}

int EditorController::unsavedShop() const { return hasUnsavedPicks() ? m_document.shownIndex() : -1; }
