#pragma once

#include "EditorView.h"
#include "OpenDialog.h"

#include <QStringList>

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

class EditorController;

// The main window's controls held in memory, raising the same notifications
// as the real window, so that the editing flow runs without a display. The
// questions are answered from queues; an empty queue answers Cancel.
class MemoryView : public EditorView {
public:
    static constexpr int kScrollMaximum = 127;

    void attach(EditorController &controller) { m_controller = &controller; }

    QString shopIndexText() const override { return m_indexText; }
    void setShopIndexText(const QString &text) override { m_indexText = text; }
    int scrollValue() const override { return m_scroll; }
    void placeScroll(int value) override;
    void addTypeEntry(const QString &label) override { m_typeEntries.append(label); }
    void removeTypeEntry(int entry) override;
    int typeSelection() const override { return m_typeSelection; }
    void setTypeSelection(int entry) override;
    int slotSelection(int slot) const override { return m_slots.at(std::size_t(slot - 1)); }
    void setSlotSelection(int slot, int entry) override;
    void setItemLabels(const QStringList &labels) override { m_itemLabels = labels; }
    void enableEditing() override { m_editingEnabled = true; }
    void setTitle(const QString &title) override { m_title = title; }
    void setModified(bool modified) override { m_modified = modified; }
    void setUndoState(const UndoState &state) override { m_undo = state; }
    void showError(const QString &message) override;
    Conflict askAboutConflict(const QString &message) override;
    Unsaved askAboutUnsaved(const QString &message) override;
    void showAbout() override { ++m_aboutShown; }
    std::optional<int> askShopNumber(int current) override;
    std::string chooseFile(FileChoice choice) override { return std::exchange(fileAnswers[choice], {}); }
    void showInformation(const QString &message) override { m_informations.append(message); }
    bool confirm(const QString &question) override;
    void showAllShops() override { m_allShopsShown = true; }
    bool allShopsShown() const override { return m_allShopsShown; }
    void endProgram() override;

    // The user's hand: the scroll bar moved to value (keys, arrows, track);
    // a thumb drag, with a scroll notification at each step and the change
    // on release unless a modal window ended the drag; a pick in a list
    // (0 the type list, 1-8 the slots).
    void setScrollValue(int value);
    void dragTo(int value, int steps);
    void pick(int list, int entry);

    std::function<void()> whileAsking; // runs while a question is up, as another program might
    std::deque<Conflict> conflictAnswers;
    std::deque<Unsaved> unsavedAnswers;
    std::optional<int> shopNumberAnswer; // Go to Shop; nothing: cancelled
    std::map<FileChoice, std::string> fileAnswers; // the file dialogs' answers, once each
    std::deque<bool> confirmAnswers;
    void closeAllShops() { m_allShopsShown = false; }

    [[nodiscard]] const QStringList &typeEntries() const { return m_typeEntries; }
    [[nodiscard]] const QStringList &itemLabels() const { return m_itemLabels; }
    [[nodiscard]] bool editingEnabled() const { return m_editingEnabled; }
    [[nodiscard]] const QString &title() const { return m_title; }
    [[nodiscard]] const QStringList &errors() const { return m_errors; }
    [[nodiscard]] const QStringList &questions() const { return m_questions; }
    [[nodiscard]] const QStringList &informations() const { return m_informations; }
    [[nodiscard]] bool modified() const { return m_modified; }
    [[nodiscard]] const UndoState &undoState() const { return m_undo; }
    [[nodiscard]] int aboutShown() const { return m_aboutShown; }
    [[nodiscard]] bool ended() const { return m_ended; }
    // Selections the controller asked for that a real list could not show.
    [[nodiscard]] const QStringList &misuses() const { return m_misuses; }

private:
    EditorController *m_controller = nullptr;
    QString m_indexText = QStringLiteral("0");
    int m_scroll = 1;
    bool m_dragging = false;
    QStringList m_typeEntries;
    QStringList m_itemLabels;
    bool m_allShopsShown = false;
    int m_typeSelection = -1;
    std::array<int, 8> m_slots{};
    bool m_editingEnabled = false;
    QString m_title;
    bool m_modified = false;
    UndoState m_undo;
    QStringList m_errors;
    QStringList m_questions;
    QStringList m_informations;
    int m_aboutShown = 0;
    bool m_ended = false;
    QStringList m_misuses;
};

// An open dialog that gives the answers queued for it: a file name, or
// std::nullopt for Cancel.
class MemoryOpenDialog : public OpenDialog {
public:
    void queue(std::optional<QString> answer) { m_answers.push_back(std::move(answer)); }

    void setFilters(const QList<FileFilter> &filters, int preselected) override;
    bool show() override;
    QString fileName() const override { return m_fileName; }
    void setFileName(const QString &fileName) override { m_fileName = fileName; }

    [[nodiscard]] const QList<FileFilter> &filters() const { return m_filters; }
    [[nodiscard]] int preselected() const { return m_preselected; }

private:
    std::deque<std::optional<QString>> m_answers;
    QList<FileFilter> m_filters;
    int m_preselected = 0;
    QString m_fileName;
};
