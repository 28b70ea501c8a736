#pragma once

#include <QString>

// The main window's controls as the editing controller sees them. The view
// must deliver notifications the way a desktop toolkit does: setting the scroll
// bar to a different value runs EditorController::HScroll_Change at once,
// before setScrollValue() returns; setting the value it already has runs
// nothing; setting a selection or the index text runs nothing.
class EditorView {
public:
    virtual ~EditorView() = default;

    // ShopIndexTXT: the decimal index of the shop on display.
    [[nodiscard]] virtual QString shopIndexText() const = 0;
    virtual void setShopIndexText(const QString &text) = 0;

    // HScroll: 0-127, the index the user is moving to.
    [[nodiscard]] virtual int scrollValue() const = 0;
    virtual void setScrollValue(int value) = 0;
    // Puts the scroll bar on value without any notification, and ends what
    // the user's mouse is doing on it: an arrow or track press stops
    // repeating, a dragged thumb is let go where the bar now stands.
    virtual void placeScroll(int value) = 0;

    // SpBitCBO: one entry per type code, entry number = code.
    virtual void addTypeEntry(const QString &label) = 0;
    virtual void removeTypeEntry(int entry) = 0;
    [[nodiscard]] virtual int typeSelection() const = 0;
    virtual void setTypeSelection(int entry) = 0;

    // Slot1CBO-Slot8CBO (slot 1-8): the item labels, entry number = item code.
    [[nodiscard]] virtual int slotSelection(int slot) const = 0;
    virtual void setSlotSelection(int slot, int entry) = 0;

    // Enables HScroll, ShopIndexTXT, SaveCMD, SpBitCBO and Slot1CBO-Slot8CBO.
    virtual void enableEditing() = 0;
    virtual void setTitle(const QString &title) = 0;
    // Tells the user that something failed; returns when the user has read
    // it. Like every modal window, it first ends what the mouse is doing on
    // the scroll bar (see placeScroll), at the value the bar has.
    virtual void showError(const QString &message) = 0;
    // Shows the About window modally; returns when it is closed.
    virtual void showAbout() = 0;
    // Closes the window and ends the program.
    virtual void endProgram() = 0;
};
