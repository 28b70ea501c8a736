#include "WriteCommand.h"

#include "EditingFlow.h"
#include "ShopHistory.h"

#include <utility>

WriteCommand::WriteCommand(ShopChange change, EditingFlow &flow, ShopHistory &history)
    : m_change(std::move(change)), m_flow(flow), m_history(history)
{
    setText(m_change.size() == 1 ? tr("Shop %1").arg(m_change.front().index)
                                 : tr("Import of %1 Shops").arg(m_change.size()));
}

void WriteCommand::undo() { apply(true); }

void WriteCommand::redo()
{
    if (!std::exchange(m_written, false))
        apply(false);
}

void WriteCommand::apply(bool undoing)
{
    if (!m_history.moving())
        m_history.runStep([this, undoing] { return m_flow.replay(m_change, undoing); }, undoing);
}
