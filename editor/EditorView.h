#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

// What Edit > Undo and Edit > Redo would do now: the texts name it ("Shop 12").
struct UndoState {
    bool canUndo = false;
    QString undoText;
    bool canRedo = false;
    QString redoText;

    friend bool operator==(const UndoState &, const UndoState &) = default;
};

// The main window's controls as the editing controller sees them. The view
// delivers the user's actions as notifications (EditorController's
// handlers); changes the controller makes through this interface raise none.
class EditorView {
public:
    // The user's answer when a shop about to be written was changed in the
    // file by another program since the editor read it.
    enum class Conflict {
        Overwrite, // write the picks on screen over the other program's change
        TakeFile,  // show the file's version, dropping the picks
        Cancel,    // write nothing, keep the picks, stay on the shop
    };
    // The user's answer when unsaved picks would be lost (Quit, Open ROM).
    enum class Unsaved { Save, Discard, Cancel };
    // The files the editor asks for, besides images to open.
    enum class FileChoice {
        ItemNamesToRead,  // Options > Item Names...
        ItemNamesToWrite, // Options > Export Item Names...
        TableToRead,      // File > Import Table... (CSV)
        TableToWrite,     // File > Export Table...
        CleanImage,       // File > Create Patch..., the image before the changes
        PatchToWrite,     // File > Create Patch..., .ips or .bps
    };

    virtual ~EditorView() = default;

    // ShopIndexTXT: the decimal index of the shop on display.
    [[nodiscard]] virtual QString shopIndexText() const = 0;
    virtual void setShopIndexText(const QString &text) = 0;

    // HScroll: 0-127, the index the user is moving to.
    [[nodiscard]] virtual int scrollValue() const = 0;
    virtual void placeScroll(int value) = 0;

    // SpBitCBO: one entry per type code, entry number = code.
    virtual void addTypeEntry(const QString &label) = 0;
    virtual void removeTypeEntry(int entry) = 0;
    [[nodiscard]] virtual int typeSelection() const = 0;
    virtual void setTypeSelection(int entry) = 0;

    // Slot1CBO-Slot8CBO (slot 1-8): the item labels, entry number = item code.
    [[nodiscard]] virtual int slotSelection(int slot) const = 0;
    virtual void setSlotSelection(int slot, int entry) = 0;
    // New labels for the 256 entries of every slot list; selections stay.
    virtual void setItemLabels(const QStringList &labels) = 0;

    // Enables HScroll, ShopIndexTXT, SaveCMD, SpBitCBO, Slot1CBO-Slot8CBO,
    // and the menu entries that need an open image.
    virtual void enableEditing() = 0;
    virtual void setTitle(const QString &title) = 0;
    // Whether the picks on screen differ from the file: a marker in the title.
    virtual void setModified(bool modified) = 0;
    virtual void setUndoState(const UndoState &state) = 0;

    // Modal windows. Each returns when the user has answered. While one is
    // up, the scroll bar does nothing the mouse began before it (a press
    // stops repeating, a dragged thumb goes back to the bar's value), since
    // the modal window takes the button's release.
    virtual void showError(const QString &message) = 0;
    virtual void showInformation(const QString &message) = 0;
    // A yes-or-no question; true for yes.
    [[nodiscard]] virtual bool confirm(const QString &question) = 0;
    [[nodiscard]] virtual Conflict askAboutConflict(const QString &message) = 0;
    [[nodiscard]] virtual Unsaved askAboutUnsaved(const QString &message) = 0;
    virtual void showAbout() = 0;
    // Asks for a shop number, 0-127, offering current; nothing if cancelled.
    [[nodiscard]] virtual std::optional<int> askShopNumber(int current) = 0;
    // A file dialog: the chosen path's bytes, or empty if cancelled.
    [[nodiscard]] virtual std::string chooseFile(FileChoice choice) = 0;

    // The All Shops window over EditorController::shopTable(), not modal:
    // shows or raises it; whether it is shown.
    virtual void showAllShops() = 0;
    [[nodiscard]] virtual bool allShopsShown() const = 0;

    // Closes the window, which asks EditorController::Form_QueryUnload
    // whether it may, and ends the program.
    virtual void endProgram() = 0;
};
