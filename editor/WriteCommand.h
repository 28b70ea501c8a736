#pragma once

#include "ShopChange.h"

#include <QCoreApplication>
#include <QUndoCommand>

class EditingFlow;
class ShopHistory;

// A step of the history that wrote shops: one saved ("Shop 12"), or those
// an import changed ("Import of 5 Shops"). Undo writes their old bytes back
// and redo the new ones, through the editing flow's checked writes.
class WriteCommand : public QUndoCommand {
    Q_DECLARE_TR_FUNCTIONS(WriteCommand)

public:
    // A step already written: the stack's first redo() writes nothing.
    WriteCommand(ShopChange change, EditingFlow &flow, ShopHistory &history);

    void undo() override;
    void redo() override;

private:
    void apply(bool undoing);

    ShopChange m_change;
    EditingFlow &m_flow;
    ShopHistory &m_history;
    bool m_written = true;
};
