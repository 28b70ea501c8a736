#pragma once

#include "EditorPrompts.h"

#include <QCoreApplication>

class QWidget;

// The editing flow's messages and questions as the desktop shows them:
// message boxes with the program's title, file dialogs and the Go to Shop
// question, each modal to the main window.
class WindowPrompts : public EditorPrompts {
    Q_DECLARE_TR_FUNCTIONS(WindowPrompts)

public:
    explicit WindowPrompts(QWidget *window) : m_window(window) {}

    void showError(const QString &message) override;
    void showInformation(const QString &message) override;
    [[nodiscard]] bool confirm(const QString &question) override;
    [[nodiscard]] Conflict askAboutConflict(const QString &message) override;
    [[nodiscard]] Unsaved askAboutUnsaved(const QString &message) override;
    [[nodiscard]] bool askToReload(const QString &message) override;
    [[nodiscard]] std::optional<int> askShopNumber(int current) override;
    [[nodiscard]] bool chooseNameTable(NameTableChoice &choice, const std::string &image) override;
    [[nodiscard]] std::string chooseFile(FileChoice choice) override;
    // The same file dialogs for another window; empty when cancelled.
    [[nodiscard]] static std::string askForFile(QWidget *parent, FileChoice choice);

private:
    QWidget *m_window;
};
