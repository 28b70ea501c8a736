#pragma once

#include "RelativeSearch.h"

#include <QDialog>

#include <optional>
#include <vector>

class NameTableChoice;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// Find, in Item Names from Image: two to four item names with their codes
// as the user knows them from playing, searched for in the image without a
// table file. The places that fit are listed with a few names each as the
// table learnt there reads them; none, and the dialog says what to try.
class FindNamesDialog : public QDialog {
    Q_OBJECT

public:
    FindNamesDialog(const NameTableChoice &choice, QWidget *parent);

    // The place chosen, once accepted.
    [[nodiscard]] const std::optional<rom::NameTablePlacement> &placement() const { return m_chosen; }

private:
    void search();
    void choose();

    const NameTableChoice &m_choice;
    QPlainTextEdit *m_known = nullptr;
    QLabel *m_outcome = nullptr;
    QListWidget *m_places = nullptr;
    QPushButton *m_use = nullptr;
    std::vector<rom::NameTablePlacement> m_found;
    std::optional<rom::NameTablePlacement> m_chosen;
};
