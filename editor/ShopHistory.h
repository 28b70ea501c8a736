#pragma once

#include "ShopChange.h"

#include <QObject>

#include <functional>

class EditingFlow;
class QUndoStack;

// The undo history of the open image: one step per write (a shop saved, or
// the shops an import changed), and on top the picks not yet saved, one
// step each. The
// steps do their own work: undo() and redo() write through the editing
// flow, which checks the file and may ask. A step whose write fails or is
// cancelled stays where it was, so the stack never disagrees with the file.
// The Edit menu's entries come from stack().
class ShopHistory : public QObject {
    Q_OBJECT

public:
    ShopHistory(EditingFlow &flow, QObject *parent = nullptr);

    [[nodiscard]] QUndoStack *stack() const { return m_stack; }

    // A step the editor has written: it joins the stack without being
    // written again.
    void recordWrite(const ShopChange &change);
    // A pick on the shown shop changed the picks from before to after.
    void recordPicks(int shop, const rom::ShopRecord &before, const rom::ShopRecord &after);
    // The picks of the steps on top of the stack were saved, dropped or
    // replaced by the file's version: those steps leave the stack, with the
    // pick steps that could be redone after them, and the screen stays as
    // it is. Not while a step's work runs.
    void settlePicks();
    void clear();

    // For the steps: whether the stack is moving without their work being
    // done, and why: picks settled (their steps leave the stack), or a failed
    // step put back.
    [[nodiscard]] bool settling() const { return m_settling; }
    [[nodiscard]] bool moving() const { return m_settling || m_puttingBack; }
    // For the steps: runs a step's work, which returns false if it failed or
    // was cancelled; the stack then goes back to where it was.
    void runStep(const std::function<bool()> &work, bool undoing);

private:
    [[nodiscard]] bool picksBelowIndex() const;
    void putBackFailedStep(int index);

    EditingFlow &m_flow;
    QUndoStack *m_stack;
    bool m_settling = false;
    bool m_puttingBack = false;
    // A step's work runs: the stack is inside the step, so picks are not
    // settled until it returns.
    bool m_running = false;
    // A step that failed, to be put back once the stack has moved past it:
    // +1 after an undo, -1 after a redo, 0 for none.
    int m_putBack = 0;
};
