#pragma once

#include <QSortFilterProxyModel>

class ShopTableModel;

// The shops whose type or any slot holds the text searched for, sortable by
// any column (by number and codes, not by the labels' text).
class ShopFilterModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit ShopFilterModel(ShopTableModel &shops, QObject *parent = nullptr);

    // Filters to the shops that hold text, and marks the cells that do.
    void search(const QString &text);
    // The shop shown on a row of this model.
    [[nodiscard]] int shopAt(int row) const;

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    ShopTableModel &m_shops;
};
