#pragma once

#include "ShopRecord.h"

#include <QCoreApplication>
#include <QUndoCommand>

class EditingFlow;
class ShopHistory;

// One pick on the shown shop, not yet saved: a step of the history ("Shop
// 12") whose undo and redo change the picks on screen, without a write.
// Once the picks are saved (one written step for all of them) or dropped,
// the shop's pick steps leave the stack.
class PicksCommand : public QUndoCommand {
    Q_DECLARE_TR_FUNCTIONS(PicksCommand)

public:
    static constexpr int kId = 1;

    // The pick is on screen already: the stack's first redo() does nothing.
    PicksCommand(int shop, const rom::ShopRecord &before, const rom::ShopRecord &after, EditingFlow &flow,
                 ShopHistory &history);

    void undo() override;
    void redo() override;
    [[nodiscard]] int id() const override { return kId; }

private:
    int m_shop;
    rom::ShopRecord m_before;
    rom::ShopRecord m_after;
    EditingFlow &m_flow;
    ShopHistory &m_history;
    bool m_shown = true;
};
