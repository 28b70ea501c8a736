#include "PromptGate.h"

#include <utility>

PromptGate::PromptGate(EditorPrompts &user) : m_user(user) {}

void PromptGate::holdBack() { m_holding = true; }

int PromptGate::release()
{
    m_holding = false;
    return std::exchange(m_held, 0);
}

bool PromptGate::passes()
{
    m_held += m_holding ? 1 : 0;
    return !m_holding;
}

void PromptGate::showError(const QString &message)
{
    if (passes())
        m_user.showError(message);
}

void PromptGate::showInformation(const QString &message)
{
    if (passes())
        m_user.showInformation(message);
}

bool PromptGate::confirm(const QString &question) { return passes() && m_user.confirm(question); }

EditorPrompts::Conflict PromptGate::askAboutConflict(const QString &message)
{
    return passes() ? m_user.askAboutConflict(message) : Conflict::Cancel;
}

EditorPrompts::Unsaved PromptGate::askAboutUnsaved(const QString &message)
{
    return passes() ? m_user.askAboutUnsaved(message) : Unsaved::Cancel;
}

bool PromptGate::askToReload(const QString &message) { return passes() && m_user.askToReload(message); }

std::optional<int> PromptGate::askShopNumber(int current)
{
    return passes() ? m_user.askShopNumber(current) : std::nullopt;
}

bool PromptGate::chooseNameTable(NameTableChoice &choice, const std::string &image)
{
    return passes() && m_user.chooseNameTable(choice, image);
}

std::string PromptGate::chooseFile(FileChoice choice) { return passes() ? m_user.chooseFile(choice) : std::string(); }
