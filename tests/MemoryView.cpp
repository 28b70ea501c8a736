#include "MemoryView.h"

#include "EditorController.h"
#include "ItemLabels.h"

#include <algorithm>
#include <utility>

void MemoryView::setScrollValue(int value)
{
    value = std::clamp(value, 0, kScrollMaximum);
    if (value == m_scroll)
        return;
    m_scroll = value;
    if (m_controller)
        m_controller->HScroll_Change();
}

void MemoryView::placeScroll(int value) { m_scroll = std::clamp(value, 0, kScrollMaximum); }

// A modal window takes the mouse from the scroll bar: a drag ends.
void MemoryView::showError(const QString &message)
{
    m_dragging = false;
    m_errors.append(message);
}

EditorView::Conflict MemoryView::askAboutConflict(const QString &message)
{
    m_dragging = false;
    m_questions.append(message);
    if (whileAsking)
        whileAsking();
    if (conflictAnswers.empty())
        return Conflict::Cancel;
    const Conflict answer = conflictAnswers.front();
    conflictAnswers.pop_front();
    return answer;
}

EditorView::Unsaved MemoryView::askAboutUnsaved(const QString &message)
{
    m_dragging = false;
    m_questions.append(message);
    if (whileAsking)
        whileAsking();
    if (unsavedAnswers.empty())
        return Unsaved::Cancel;
    const Unsaved answer = unsavedAnswers.front();
    unsavedAnswers.pop_front();
    return answer;
}

std::optional<int> MemoryView::askShopNumber(int current)
{
    m_questions.append(QStringLiteral("Go to shop (now %1)").arg(current));
    return std::exchange(shopNumberAnswer, std::nullopt);
}

bool MemoryView::confirm(const QString &question)
{
    m_questions.append(question);
    if (whileAsking)
        whileAsking();
    if (confirmAnswers.empty())
        return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

void MemoryView::endProgram()
{
    if (!m_controller->Form_QueryUnload())
        return;
    m_controller->Form_Unload();
    m_ended = true;
}

void MemoryView::pick(int list, int entry)
{
    if (list == 0) {
        setTypeSelection(entry);
        m_controller->SpBitCBO_Click();
    } else {
        setSlotSelection(list, entry);
        m_controller->SlotCBO_Click(list);
    }
}

void MemoryView::removeTypeEntry(int entry)
{
    if (entry < 0 || entry >= m_typeEntries.size()) {
        m_misuses.append(QStringLiteral("removed missing type entry %1").arg(entry));
        return;
    }
    m_typeEntries.removeAt(entry);
    if (m_typeSelection >= m_typeEntries.size())
        m_typeSelection = -1;
}

void MemoryView::setTypeSelection(int entry)
{
    if (entry < 0 || entry >= m_typeEntries.size()) {
        m_misuses.append(QStringLiteral("selected missing type entry %1").arg(entry));
        return;
    }
    m_typeSelection = entry;
}

void MemoryView::setSlotSelection(int slot, int entry)
{
    if (slot < 1 || slot > int(m_slots.size()) || entry < 0 || entry >= rom::ItemLabels::count()) {
        m_misuses.append(QStringLiteral("selected missing entry %1 of slot %2").arg(entry).arg(slot));
        return;
    }
    m_slots[std::size_t(slot - 1)] = entry;
}

void MemoryView::dragTo(int value, int steps)
{
    m_dragging = true;
    for (int step = 0; step < steps && m_dragging; ++step)
        m_controller->HScroll_Scroll();
    if (std::exchange(m_dragging, false))
        setScrollValue(value);
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
