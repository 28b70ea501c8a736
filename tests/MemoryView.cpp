#include "MemoryView.h"

#include "EditorController.h"
#include "ItemLabels.h"
#include "ShopTypeLabels.h"

#include <QUndoStack>

#include <algorithm>
#include <utility>

void MemoryView::setTypeLabels(const QStringList &labels)
{
    m_typeEntries = labels;
    m_typeLabels = int(labels.size());
    m_typeSelection = 0;
}

// As the real lists: a type code without a label gets an extra last entry.
void MemoryView::showShop(int index, const rom::ShopRecord &picks, std::optional<std::uint8_t> unlabelledType)
{
    if (index < 0 || index > kScrollMaximum)
        m_misuses.append(QStringLiteral("showed shop %1").arg(index));
    m_indexText = QString::number(index);
    m_scroll = std::clamp(index, 0, kScrollMaximum);
    m_typeEntries = m_typeEntries.mid(0, m_typeLabels);
    if (unlabelledType) {
        m_typeEntries.append(QString::fromStdString(rom::ShopTypeLabels::text(*unlabelledType)));
        m_unlabelledType = *unlabelledType;
    }
    if (picks.type >= m_typeLabels && picks.type != unlabelledType)
        m_misuses.append(QStringLiteral("showed type %1 without its entry").arg(picks.type));
    m_typeSelection = std::min<int>(picks.type, m_typeLabels);
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot)
        m_slots[slot] = picks.items[slot];
}

void MemoryView::closeWindow()
{
    if (!m_controller->askToSaveChanges())
        return;
    m_controller->closeImage();
    m_ended = true;
}

// A modal window takes the mouse from the scroll bar: a drag ends.
void MemoryView::asked(const QString &message)
{
    m_dragging = false;
    m_questions.append(message);
    if (whileAsking)
        whileAsking();
}

void MemoryView::showError(const QString &message)
{
    m_dragging = false;
    m_errors.append(message);
}

EditorPrompts::Conflict MemoryView::askAboutConflict(const QString &message)
{
    asked(message);
    if (conflictAnswers.empty())
        return Conflict::Cancel;
    const Conflict answer = conflictAnswers.front();
    conflictAnswers.pop_front();
    return answer;
}

EditorPrompts::Unsaved MemoryView::askAboutUnsaved(const QString &message)
{
    asked(message);
    if (unsavedAnswers.empty())
        return Unsaved::Cancel;
    const Unsaved answer = unsavedAnswers.front();
    unsavedAnswers.pop_front();
    return answer;
}

bool MemoryView::askToReload(const QString &message)
{
    asked(message);
    if (reloadAnswers.empty())
        return false;
    const bool answer = reloadAnswers.front();
    reloadAnswers.pop_front();
    return answer;
}

std::optional<int> MemoryView::askShopNumber(int current)
{
    m_questions.append(QStringLiteral("Go to shop (now %1)").arg(current));
    return std::exchange(shopNumberAnswer, std::nullopt);
}

bool MemoryView::confirm(const QString &question)
{
    asked(question);
    if (confirmAnswers.empty())
        return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

UndoState MemoryView::undoState() const
{
    const QUndoStack *history = m_controller->undoStack();
    return {history->canUndo(), history->undoText(), history->canRedo(), history->redoText()};
}

// The bar stays on the shown shop until the controller shows another, as
// the real one does.
void MemoryView::setScrollValue(int value)
{
    value = std::clamp(value, 0, kScrollMaximum);
    if (value != m_scroll && m_editingEnabled)
        m_controller->moveToShop(value);
}

void MemoryView::dragTo(int value, int steps)
{
    m_dragging = true;
    for (int step = 0; step < steps && m_dragging; ++step)
        m_controller->saveBeforeMoving();
    if (std::exchange(m_dragging, false))
        setScrollValue(value);
}

void MemoryView::pick(int list, int entry)
{
    if (list == 0) {
        if (entry < 0 || entry >= m_typeEntries.size()) {
            m_misuses.append(QStringLiteral("picked missing type entry %1").arg(entry));
            return;
        }
        m_typeSelection = entry;
        m_controller->pickType(entry < m_typeLabels ? entry : m_unlabelledType);
        return;
    }
    if (list < 1 || list > int(m_slots.size()) || entry < 0 || entry >= rom::ItemLabels::count()) {
        m_misuses.append(QStringLiteral("picked missing entry %1 of slot %2").arg(entry).arg(list));
        return;
    }
    m_slots[std::size_t(list - 1)] = entry;
    m_controller->pickItem(list, entry);
}

void MemoryOpenDialog::setFilters(const QList<FileFilter> &filters, int preselected)
{
    m_filters = filters;
    m_preselected = preselected;
}

bool MemoryOpenDialog::show()
{
    std::optional<QString> answer;
    if (!m_answers.empty()) {
        answer = std::move(m_answers.front());
        m_answers.pop_front();
    }
    if (!answer)
        return false;
    m_fileName = *answer;
    return true;
}
