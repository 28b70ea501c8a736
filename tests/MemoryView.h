#pragma once

#include "EditorPrompts.h"
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

// What Edit > Undo and Edit > Redo would do now: the texts name it ("Shop 12").
struct UndoState {
    bool canUndo = false;
    QString undoText;
    bool canRedo = false;
    QString redoText;

    friend bool operator==(const UndoState &, const UndoState &) = default;
};

// The main window's controls and its questions held in memory, so that the
// editing flow runs without a display. What the controller shows is kept as
// the real controls would keep it; the user's hand (a pick, the scroll bar)
// reports to the controller as the window does. The questions are answered
// from queues; an empty queue answers Cancel.
class MemoryView : public EditorView, public EditorPrompts {
public:
    static constexpr int kScrollMaximum = 127;

    void attach(EditorController &controller) { m_controller = &controller; }

    // EditorView
    void setTypeLabels(const QStringList &labels) override;
    void setItemLabels(const QStringList &labels) override { m_itemLabels = labels; }
    void showShop(int index, const rom::ShopRecord &picks, std::optional<std::uint8_t> unlabelledType) override;
    void setTitle(const QString &title) override { m_title = title; }
    void showLocation(const QString &fileName, const QString &path, const QString &shop) override
    {
        m_location = {fileName, path, shop};
    }
    void setModified(bool modified) override { m_modified = modified; }
    void enableEditing() override { m_editingEnabled = true; }
    void showDifferences(bool comparing, const QMap<int, QString> &differing) override
    {
        m_comparing = comparing;
        m_differing = differing;
    }
    void copyText(const QString &text) override { clipboard = text; }
    QString pastedText() const override { return clipboard; }
    void showAllShops() override { m_allShopsShown = true; }
    bool allShopsShown() const override { return m_allShopsShown; }
    void closeWindow() override;

    // EditorPrompts
    void showError(const QString &message) override;
    void showInformation(const QString &message) override { m_informations.append(message); }
    bool confirm(const QString &question) override;
    Conflict askAboutConflict(const QString &message) override;
    Unsaved askAboutUnsaved(const QString &message) override;
    bool askToReload(const QString &message) override;
    std::optional<int> askShopNumber(int current) override;
    std::string chooseFile(FileChoice choice) override { return std::exchange(fileAnswers[choice], {}); }
    bool chooseNameTable(NameTableChoice &choice, const std::string &) override
    {
        return nameTableAnswer && nameTableAnswer(choice);
    }

    // The user's hand: the scroll bar moved to value (keys, arrows, track);
    // a thumb drag, saving at each step and moving on release unless a
    // modal window ended the drag; a pick of an entry in a list (0 the type
    // list, 1-8 the slots).
    void setScrollValue(int value);
    void dragTo(int value, int steps);
    void pick(int list, int entry);

    std::function<void()> whileAsking; // runs while a question is up, as another program might
    std::deque<Conflict> conflictAnswers;
    std::deque<Unsaved> unsavedAnswers;
    std::optional<int> shopNumberAnswer; // Go to Shop; nothing: cancelled
    std::map<FileChoice, std::string> fileAnswers; // the file dialogs' answers, once each
    std::deque<bool> confirmAnswers;
    std::deque<bool> reloadAnswers; // an empty queue answers Not Now
    QString clipboard;
    std::function<bool(NameTableChoice &)> nameTableAnswer; // Item Names from Image: OK or Cancel
    void closeAllShops() { m_allShopsShown = false; }

    [[nodiscard]] QString shopIndexText() const { return m_indexText; }
    [[nodiscard]] int scrollValue() const { return m_scroll; }
    [[nodiscard]] int typeSelection() const { return m_typeSelection; }
    [[nodiscard]] int slotSelection(int slot) const { return m_slots.at(std::size_t(slot - 1)); }
    [[nodiscard]] const QStringList &typeEntries() const { return m_typeEntries; }
    [[nodiscard]] const QStringList &itemLabels() const { return m_itemLabels; }
    [[nodiscard]] bool editingEnabled() const { return m_editingEnabled; }
    [[nodiscard]] const QString &title() const { return m_title; }
    // The file's name, its path and the shown shop's place.
    [[nodiscard]] const QStringList &location() const { return m_location; }
    [[nodiscard]] const QStringList &errors() const { return m_errors; }
    [[nodiscard]] const QStringList &questions() const { return m_questions; }
    [[nodiscard]] const QStringList &informations() const { return m_informations; }
    [[nodiscard]] bool modified() const { return m_modified; }
    [[nodiscard]] bool comparing() const { return m_comparing; }
    [[nodiscard]] const QMap<int, QString> &differing() const { return m_differing; }
    // Edit > Undo and Redo, as the history's actions show them.
    [[nodiscard]] UndoState undoState() const;
    [[nodiscard]] bool ended() const { return m_ended; }
    // Entries the controller had shown that a real list could not show.
    [[nodiscard]] const QStringList &misuses() const { return m_misuses; }

private:
    void asked(const QString &message);

    EditorController *m_controller = nullptr;
    QString m_indexText = QStringLiteral("0");
    int m_scroll = 1;
    bool m_dragging = false;
    QStringList m_typeEntries;
    int m_typeLabels = 0;
    int m_unlabelledType = 0; // the code of the type list's extra entry
    QStringList m_itemLabels;
    bool m_allShopsShown = false;
    int m_typeSelection = -1;
    std::array<int, 8> m_slots{};
    bool m_editingEnabled = false;
    QString m_title;
    QStringList m_location;
    bool m_modified = false;
    bool m_comparing = false;
    QMap<int, QString> m_differing;
    QStringList m_errors;
    QStringList m_questions;
    QStringList m_informations;
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
