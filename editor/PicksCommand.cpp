#include "PicksCommand.h"

#include "EditingFlow.h"
#include "ShopHistory.h"

#include <utility>

PicksCommand::PicksCommand(int shop, const rom::ShopRecord &before, const rom::ShopRecord &after,
                           EditingFlow &flow, ShopHistory &history)
    : m_shop(shop), m_before(before), m_after(after), m_flow(flow), m_history(history)
{
    setText(tr("Shop %1").arg(shop));
}

void PicksCommand::undo()
{
    if (m_history.moving())
        setObsolete(true); // settled: saved or dropped
    else
        m_flow.showPicks(m_shop, m_before);
}

void PicksCommand::redo()
{
    if (!std::exchange(m_shown, false))
        m_flow.showPicks(m_shop, m_after);
}
