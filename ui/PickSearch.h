#pragma once

#include <QFrame>
#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QStringListModel;

// The search a closed drop-down list opens when the user types in it: a
// small popup under the list with the text typed so far and the entries
// whose label holds it, best first (see label_search). Up and Down choose
// among them; Enter or a click picks the one chosen; Esc, a click elsewhere
// or deleting the whole text closes it without a pick.
class PickSearch : public QFrame {
    Q_OBJECT

public:
    explicit PickSearch(QComboBox *list);

    // Shows the entries that hold typed, under the list.
    void open(const QString &typed);

signals:
    void picked(int entry);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showMatches(const QString &text);
    void place();
    void pickChosen();
    [[nodiscard]] bool moveChoice(int key);

    QComboBox *m_list;
    QLineEdit *m_text;
    QListView *m_matches;
    QLabel *m_none;
    QStringListModel *m_shown;
    QStringList m_labels; // the list's, when the search opened
    QList<int> m_entries; // the list's entry on each row shown
};
