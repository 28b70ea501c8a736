#pragma once

#include "EditorView.h"
#include "OpenDialog.h"

#include "RomFile.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

// The editing flow: open an image, show one shop at a time in the view's
// lists, write the shown shop back, move between shops (saving the one being
// left), quit. The view's controls are the only copy of the shown shop.
// Handlers carry the names of the control and notification they serve.
class EditorController {
public:
    static inline const QString kTitle = QStringLiteral("Zeltharia III (US) Shop Editor");
    static constexpr int kPreselectedFilter = 2;
    [[nodiscard]] static QList<FileFilter> openFilters();
    // The extra type entry for a code without a label: "0x69: Unknown".
    [[nodiscard]] static QString unlabelledTypeText(std::uint8_t code);

    EditorController(EditorView &view, OpenDialog &dialog, rom::FileAccess &files = rom::FileAccess::system());

    // Procedures.
    bool LoadROM();
    // Opens the file at path (the name's bytes, as the system takes them) as
    // if the user had chosen it in File > Open ROM.
    bool openFile(const std::string &path);
    rom::RomError LoadShop();
    rom::RomError SaveShop();
    void LoadIName(const std::string &internalName);

    // Notifications from the window.
    void Form_Load();
    void Form_Unload();
    void mnuOpen_Click();
    void HScroll_Change();
    void HScroll_Scroll();
    void SaveCMD_Click();
    void mnuSave_Click();
    void cmdOK_Click();
    void mnuQuit_Click();
    void mnuAbout_Click();

private:
    bool openImage(const std::string &path);
    [[nodiscard]] std::optional<int> shownIndex() const;
    [[nodiscard]] rom::ShopRecord shownRecord() const;
    void showRecord(const rom::ShopRecord &record);
    void saveShown();
    void closeImage();
    void endProgram();
    void reportShopFailure(const QString &what, int index, rom::RomError error, const QString &outcome);
    void reportOpenFailure(const QString &fileName, const QString &why);

    EditorView &m_view;
    OpenDialog &m_dialog;
    rom::FileAccess &m_files;
    rom::RomFile m_rom;
    QString m_fileName; // the open image's path, for messages
    // A type code with no label, shown as an extra last entry of the type list.
    std::optional<std::uint8_t> m_unlabelledType;
};
