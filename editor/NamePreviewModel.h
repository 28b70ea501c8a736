#pragma once

#include <QAbstractListModel>

class NameTableChoice;

// The names a choice of name table gives, "HH: Name" a row, each read from
// the cartridge when a view asks for it: a change of a field costs only
// the rows shown, not all 255.
class NamePreviewModel : public QAbstractListModel {
    Q_OBJECT

public:
    NamePreviewModel(const NameTableChoice &choice, QObject *parent = nullptr);

    // The choice changed: every row may read differently.
    void refresh();

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;

private:
    const NameTableChoice &m_choice;
};
