#pragma once

#include "EditorView.h"
#include "FileCommands.h"
#include "ItemNamesInUse.h"
#include "OpenDialog.h"
#include "ShopHistory.h"
#include "ShopTableModel.h"

#include "RomFile.h"

#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

// The editing flow: open an image, show one shop at a time in the view's
// lists, write the shown shop back when its picks changed, move between
// shops (saving the one being left), undo and redo writes, quit. Nothing is
// written that the user did not change, and nothing another program changed
// in the file is overwritten or dropped without the user's answer.
// Handlers carry the names of the control and notification they serve.
class EditorController {
public:
    static inline const QString kTitle = QStringLiteral("Zeltharia III (US) Shop Editor");
    static constexpr int kPreselectedFilter = 2;
    // Writes made by moving reach the disk together, this long after the first.
    static constexpr int kSyncDelayMs = 1000;
    [[nodiscard]] static QList<FileFilter> openFilters();
    // The extra type entry for a code without a label: "0x69: Unknown".
    [[nodiscard]] static QString unlabelledTypeText(std::uint8_t code);

    EditorController(EditorView &view, OpenDialog &dialog, rom::FileAccess &files = rom::FileAccess::system());

    // Once the window shows: the item names file given for this run (else
    // the one remembered from the last, if any), then the image, if given.
    void start(const std::string &namesFile, const std::string &image);
    // How long writes made by moving wait to be flushed together; tests
    // shorten it rather than wait a second.
    void setSyncDelay(std::chrono::milliseconds delay) { m_syncTimer.setInterval(delay); }
    // Every shop, as the All Shops window shows it.
    [[nodiscard]] ShopTableModel &shopTable() { return m_table; }

    // Procedures.
    bool LoadROM();
    // Opens the file at path (the name's bytes, as the system takes them) as
    // if the user had chosen it in File > Open ROM.
    bool openFile(const std::string &path);
    // Shows the shop whose index is in ShopIndexTXT, as the file has it.
    rom::RomError LoadShop();
    // Writes the shown shop if its picks changed. True when nothing unsaved
    // is left on screen.
    bool SaveShop();
    void LoadIName(const std::string &internalName);

    // Notifications from the window.
    void Form_Load();
    void Form_Activate();
    [[nodiscard]] bool Form_QueryUnload();
    // True when the session may end without losing picks.
    [[nodiscard]] bool commitData(bool mayAsk);
    void Form_Unload();
    void mnuOpen_Click();
    void HScroll_Change();
    void HScroll_Scroll();
    void SpBitCBO_Click();
    void SlotCBO_Click(int slot);
    void SaveCMD_Click();
    void mnuSave_Click();
    void mnuExportTable_Click();
    void mnuImportTable_Click();
    void mnuCreatePatch_Click();
    void mnuFixChecksum_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuGoToShop_Click();
    void mnuAllShops_Click();
    // Enter or a double click on a row of All Shops.
    void AllShops_Activate(int index);
    void mnuItemNames_Click();
    void mnuBuiltInNames_Click();
    void mnuExportNames_Click();
    void cmdOK_Click();
    void mnuQuit_Click();
    void mnuAbout_Click();

    [[nodiscard]] bool hasUnsavedPicks() const;

private:
    enum class Durability { Soon, Now };
    enum class Written {
        Yes,              // the file holds the new bytes now
        AlreadyThere,     // it held them already
        FileVersionTaken, // another program's change is shown instead
        Stopped,          // failed (reported) or cancelled
    };

    bool openImage(const std::string &path);
    bool keepOrDropPicks(const QString &doing);
    void goToShop(int index);
    bool moveTo(int target);
    void readTable();
    [[nodiscard]] int unsavedShop() const;
    bool save(Durability durability);
    [[nodiscard]] Written writeShown(const rom::ShopRecord &record, const rom::ShopRecord &expected,
                                     rom::ShopRecord &before);
    bool applyStep(const ShopChange &step, bool undo);
    bool applyImport(const ShopChange &step, bool undo);
    rom::RomError refreshFromDisk(bool &changed);
    void wroteShop(int index, const rom::ShopRecord &record);
    void showWrittenShops();
    void followFile();
    void pickChanged();
    void syncSoon();
    void syncNow();
    [[nodiscard]] std::optional<int> shownIndex() const;
    [[nodiscard]] rom::ShopRecord shownRecord() const;
    void showRecord(const rom::ShopRecord &record);
    void closeImage();
    void reportShopFailure(const QString &what, int index, rom::RomError error);
    [[nodiscard]] QString typeLabel(std::uint8_t code) const;
    [[nodiscard]] QString itemLabel(std::uint8_t code) const;

    EditorView &m_view;
    OpenDialog &m_dialog;
    rom::FileAccess &m_files;
    rom::RomFile m_rom;
    QString m_fileName; // the open image's path, for messages
    // The nine bytes last read from or written to the file for the shown
    // shop: the picks on screen are unsaved while they differ.
    rom::ShopRecord m_loaded;
    // A type code with no label, shown as an extra last entry of the type list.
    std::optional<std::uint8_t> m_unlabelledType;
    ShopHistory m_history;
    QTimer m_syncTimer;
    ShopTableModel m_table;
    ItemNamesInUse m_names{m_view, m_table};
    FileCommands m_fileCommands{m_view, m_rom};
};
