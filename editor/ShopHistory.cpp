#include "ShopHistory.h"

#include "EditingFlow.h"
#include "PicksCommand.h"
#include "WriteCommand.h"

#include <QScopedValueRollback>
#include <QUndoStack>

ShopHistory::ShopHistory(EditingFlow &flow, QObject *parent)
    : QObject(parent), m_flow(flow), m_stack(new QUndoStack(this))
{
    connect(m_stack, &QUndoStack::indexChanged, this, &ShopHistory::putBackFailedStep);
}

void ShopHistory::recordWrite(const ShopChange &change) { m_stack->push(new WriteCommand(change, m_flow, *this)); }

void ShopHistory::recordPicks(int shop, const rom::ShopRecord &before, const rom::ShopRecord &after)
{
    m_stack->push(new PicksCommand(shop, before, after, m_flow, *this));
}

void ShopHistory::settlePicks()
{
    if (m_running || !picksBelowIndex())
        return;
    const QScopedValueRollback settling(m_settling, true);
    // The pick steps that could be redone went on from the picks settled:
    // they leave first, so that the last undo below tells the Edit menu.
    while (m_stack->index() < m_stack->count() && m_stack->command(m_stack->index())->id() == PicksCommand::kId)
        m_stack->redo();
    while (picksBelowIndex())
        m_stack->undo();
}

bool ShopHistory::picksBelowIndex() const
{
    return m_stack->index() > 0 && m_stack->command(m_stack->index() - 1)->id() == PicksCommand::kId;
}

void ShopHistory::clear() { m_stack->clear(); }

void ShopHistory::runStep(const std::function<bool()> &work, bool undoing)
{
    const QScopedValueRollback running(m_running, true);
    if (!work())
        m_putBack = undoing ? 1 : -1;
}

// The stack has moved past a step whose work was not done: it moves back,
// without doing the step's work again.
void ShopHistory::putBackFailedStep(int index)
{
    if (m_putBack == 0)
        return;
    const QScopedValueRollback puttingBack(m_puttingBack, true);
    m_stack->setIndex(index + std::exchange(m_putBack, 0));
}
