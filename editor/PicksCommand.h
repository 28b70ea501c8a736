#pragma once

#include "ShopRecord.h"

#include <QCoreApplication>
#include <QUndoCommand>

class EditingFlow;
class ShopHistory;

// The picks on the shown shop not yet saved, the top step of the history
// ("Shop 12"). Later picks on the same shop join it; its undo drops them
// all, without a write, and it leaves the stack.
class PicksCommand : public QUndoCommand {
    Q_DECLARE_TR_FUNCTIONS(PicksCommand)

public:
    static constexpr int kId = 1;

    // The picks are on screen already: the stack's first redo() does nothing.
    PicksCommand(int shop, const rom::ShopRecord &before, const rom::ShopRecord &after, EditingFlow &flow,
                 ShopHistory &history);

    void undo() override;
    void redo() override {}
    [[nodiscard]] int id() const override { return kId; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    int m_shop;
    rom::ShopRecord m_before;
    rom::ShopRecord m_after;
    EditingFlow &m_flow;
    ShopHistory &m_history;
};
