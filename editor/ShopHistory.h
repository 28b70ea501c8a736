#pragma once

#include "ShopRecord.h"

#include <QUndoStack>

#include <optional>
#include <vector>

// One shop written: Edit > Undo writes `before` back, Edit > Redo `after`
// again.
struct ShopWrite {
    int index = 0;
    rom::ShopRecord before;
    rom::ShopRecord after;
};

// One step of the history: a shop saved, or every shop an import changed.
using ShopChange = std::vector<ShopWrite>;

// The writes made to the open image, newest last, for undo and redo. The
// stack keeps the steps and their texts ("Shop 12", "Import of 5 Shops");
// the writes themselves are the controller's, which can fail or be
// cancelled, so a step moves only once its writes are done.
class ShopHistory {
public:
    void record(const ShopChange &change);
    [[nodiscard]] std::optional<ShopChange> nextUndo() const;
    [[nodiscard]] std::optional<ShopChange> nextRedo() const;
    // The step returned by nextUndo() / nextRedo() was written.
    void undone();
    void redone();
    void clear();

    [[nodiscard]] QString undoText() const { return m_stack.undoText(); }
    [[nodiscard]] QString redoText() const { return m_stack.redoText(); }

private:
    QUndoStack m_stack;
};
