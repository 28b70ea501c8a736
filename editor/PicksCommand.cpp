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
    if (m_history.settling())
        setObsolete(true); // saved or dropped
    else if (!m_history.moving())
        m_history.runStep([this] { return m_flow.showPicks(m_shop, m_before); }, true);
}

void PicksCommand::redo()
{
    if (m_history.settling())
        setObsolete(true); // went on from picks saved or dropped
    else if (!std::exchange(m_shown, false) && !m_history.moving())
        m_history.runStep([this] { return m_flow.showPicks(m_shop, m_after); }, false);
}
