#include "ShopHistory.h"

#include <QUndoCommand>

namespace {

// A step of the stack: the change and its text. Undoing or redoing it on the
// stack only moves the stack's place; the controller has written the bytes.
class ShopChangeCommand : public QUndoCommand {
public:
    explicit ShopChangeCommand(const ShopChange &change)
        : QUndoCommand(change.size() == 1 ? QStringLiteral("Shop %1").arg(change.front().index)
                                          : QStringLiteral("Import of %1 Shops").arg(change.size())),
          m_change(change)
    {
    }
    void undo() override {}
    void redo() override {}
    [[nodiscard]] const ShopChange &change() const { return m_change; }

private:
    ShopChange m_change;
};

std::optional<ShopChange> changeAt(const QUndoStack &stack, int index)
{
    if (index < 0 || index >= stack.count())
        return std::nullopt;
    return static_cast<const ShopChangeCommand *>(stack.command(index))->change();
}

} // namespace

void ShopHistory::record(const ShopChange &change) { m_stack.push(new ShopChangeCommand(change)); }

std::optional<ShopChange> ShopHistory::nextUndo() const { return changeAt(m_stack, m_stack.index() - 1); }

std::optional<ShopChange> ShopHistory::nextRedo() const { return changeAt(m_stack, m_stack.index()); }

void ShopHistory::undone() { m_stack.undo(); }

void ShopHistory::redone() { m_stack.redo(); }

void ShopHistory::clear() { m_stack.clear(); }
