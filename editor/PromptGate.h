#pragma once

#include "EditorPrompts.h"

// The editing flow's messages and questions, passed on to the user, or held
// back while nobody may be asked (the desktop session ends without letting
// the program ask): a question held back has its cautious answer (Cancel,
// No, nothing chosen), and a message is only counted.
class PromptGate : public EditorPrompts {
public:
    explicit PromptGate(EditorPrompts &user);

    void holdBack();
    // Lets prompts through again: how many were held back meanwhile.
    int release();

    void showError(const QString &message) override;
    void showInformation(const QString &message) override;
    [[nodiscard]] bool confirm(const QString &question) override;
    [[nodiscard]] Conflict askAboutConflict(const QString &message) override;
    [[nodiscard]] Unsaved askAboutUnsaved(const QString &message) override;
    [[nodiscard]] bool askToReload(const QString &message) override;
    [[nodiscard]] std::optional<int> askShopNumber(int current) override;
    [[nodiscard]] bool chooseNameTable(NameTableChoice &choice, const std::string &image) override;
    [[nodiscard]] std::string chooseFile(FileChoice choice) override;

private:
    // True if the prompt may reach the user; else it is counted.
    bool passes();

    EditorPrompts &m_user;
    bool m_holding = false;
    int m_held = 0;
};
