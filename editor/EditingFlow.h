#pragma once

#include "ShopChange.h"

#include <QString>

// What the parts of the editing flow (the history's steps, the table
// import) ask of the controller that runs it.
class EditingFlow {
public:
    virtual ~EditingFlow() = default;

    // Shows shop index as the scroll bar would, saving the shown shop first
    // if its picks changed; false if the editor stayed where it was.
    virtual bool moveTo(int index) = 0;
    // Whether the picks on screen differ from the file's, which
    // keepOrDropPicks() asks about.
    [[nodiscard]] virtual bool hasUnsavedPicks() const = 0;
    // Unsaved picks are saved or dropped as the user answers (doing:
    // "importing a table"); false if the user cancelled.
    virtual bool keepOrDropPicks(const QString &doing) = 0;
    // When writes reach the disk: within about a second, or before wrote()
    // returns.
    enum class Durability { Soon, Now };
    // After writes of the editor's own: the screen shows the shown shop as
    // it now is, the writes reach the disk, and what another program
    // changed before them shows too.
    virtual void wrote(Durability durability = Durability::Soon) = 0;
    // The writes of a step of the history, undone or redone; false if one
    // failed or was cancelled.
    virtual bool replay(const ShopChange &change, bool undo) = 0;
    // Picks of the history, undone or redone: shop shows them, unsaved;
    // false if the editor could not move there.
    virtual bool showPicks(int shop, const rom::ShopRecord &picks) = 0;
    // The document's shown shop changed: the view shows it as it is now.
    virtual void showShown() = 0;
    // The conflict question was answered with the file's version, which the
    // document holds: the view shows it, and what another program changed
    // while the question was up shows too.
    virtual void fileVersionTaken() = 0;
    // The open image's file as it is now at its path, the picks kept.
    virtual void reloadImage() = 0;
};
