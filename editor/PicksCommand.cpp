#include "PicksCommand.h"

#include "EditingFlow.h"
#include "ShopHistory.h"

PicksCommand::PicksCommand(int shop, const rom::ShopRecord &before, const rom::ShopRecord &after,
                           EditingFlow &flow, ShopHistory &history)
    : m_shop(shop), m_before(before), m_after(after), m_flow(flow), m_history(history)
{
    setText(tr("Shop %1").arg(shop));
}

void PicksCommand::undo()
{
    if (!m_history.moving())
        m_flow.showPicks(m_shop, m_before);
    setObsolete(true);
}

bool PicksCommand::mergeWith(const QUndoCommand *other)
{
    const auto *later = static_cast<const PicksCommand *>(other);
    if (later->m_shop != m_shop)
        return false;
    m_after = later->m_after;
    return true;
}
