#pragma once

#include "CleanComparison.h"
#include "EditingFlow.h"
#include "EditorPrompts.h"
#include "EditorView.h"
#include "FileCommands.h"
#include "ImageOpener.h"
#include "ImageWatch.h"
#include "ItemNamesInUse.h"
#include "OpenDialog.h"
#include "PromptGate.h"
#include "ShopDocument.h"
#include "ShopWriter.h"
#include "StepReplay.h"
#include "TableImport.h"
#include "WriteFlusher.h"

#include <QObject>

#include <chrono>
#include <optional>
#include <string>

class QUndoStack;
class ShopHistory;
class ShopTableModel;

// The editing flow: open an image, show one shop at a time, write the shown
// shop back when its picks changed, move between shops (saving the one
// being left), undo and redo, quit. It owns the editing state (the
// document) and tells the view what to show; the view reports what the
// user asked for through the slots. Nothing is written that the user did
// not change, and nothing another program changed in the file is
// overwritten or dropped without the user's answer.
class EditorController : public QObject, private EditingFlow {
    Q_OBJECT

public:
    [[nodiscard]] static QString title();

    EditorController(EditorView &view, EditorPrompts &prompts, OpenDialog &dialog,
                     rom::FileAccess &files = rom::FileAccess::system(), QObject *parent = nullptr);
    ~EditorController() override;

    // Once the window shows: the item names file given for this run (else
    // the one remembered from the last, if any), then the image, if given.
    void start(const std::string &namesFile, const std::string &image);
    // Opens the file at path (the name's bytes, as the system takes them) as
    // if the user had chosen it in File > Open ROM.
    bool openFile(const std::string &path);
    // Tests shorten the flush delay rather than wait a second.
    void setSyncDelay(std::chrono::milliseconds delay);

    [[nodiscard]] const ShopDocument &document() const { return m_document; }
    [[nodiscard]] bool hasUnsavedPicks() const override { return m_document.hasUnsavedPicks(); }
    // Every shop, as the All Shops window shows it.
    [[nodiscard]] ShopTableModel *shopTable() const { return m_table; }
    // The history, for the Edit menu's Undo and Redo.
    [[nodiscard]] QUndoStack *undoStack() const;

public slots:
    // From the shown shop's controls.
    void pickType(int code);
    void pickItem(int slot, int code);
    // Moves to the shop, saving the shown one first if its picks changed.
    bool moveToShop(int index);
    // The next or the previous shop (delta 1 or -1), if there is one.
    void moveBy(int delta);
    // The thumb is being dragged to another shop: the shown one is saved
    // now, as the move will save it.
    void saveBeforeMoving();
    // Writes the shown shop if its picks changed, and returns once it is on the disk.
    void save();

    // From the menus.
    bool open();
    void goToShop();
    // The shown shop's nine bytes to the clipboard as text, and back from it
    // as unsaved picks.
    void copyShop();
    void pasteShop();
    // View > Compare with Image..., and Edit > Revert Shop to Clean: the
    // compared image's shop as unsaved picks.
    void compareWithImage();
    void revertToClean();
    void showAllShops();
    void exportTable();
    void importTable();
    void createPatch();
    void fixChecksum();
    // The open image as the file at its path is now, on the shop shown, the
    // picks on screen kept: after a build script replaced it, say.
    void reload();
    void chooseItemNames();
    void useBuiltInItemNames();
    void chooseItemNamesFromImage();
    void exportItemNames();
    void quit();

    // From the window.
    // Back from another program, which may have changed the file.
    void windowActivated();
    // Quit or the window closing: true when the window may close.
    [[nodiscard]] bool askToSaveChanges();
    // The desktop session ends: true when it may end without losing picks.
    [[nodiscard]] bool commitData(bool mayAsk);
    // The window has closed.
    void closeImage();

private:
    // EditingFlow
    bool moveTo(int index) override;
    bool keepOrDropPicks(const QString &doing) override;
    void wrote(Durability durability) override;
    bool replay(const ShopChange &change, bool undo) override;
    bool showPicks(int shop, const rom::ShopRecord &picks) override;
    void showShown() override;
    void fileVersionTaken() override;
    void reloadImage() override;

    bool adopt(std::optional<OpenedImage> image);
    bool saveShown(Durability durability);
    void picksSaved(ShopWriter::Outcome outcome, const rom::ShopRecord &before);
    void changePicks(const rom::ShopRecord &picks);
    void showDocument();
    [[nodiscard]] int unsavedShop() const;

    EditorView &m_view;
    PromptGate m_prompts;
    ShopDocument m_document;
    ImageOpener m_opener;
    ShopTableModel *m_table;
    ShopHistory *m_history;
    WriteFlusher *m_flusher;
    ItemNamesInUse m_names;
    ShopWriter m_writer;
    StepReplay m_replay;
    TableImport m_import;
    FileCommands m_fileCommands;
    ImageWatch m_watch;
    CleanComparison m_comparison;
};
