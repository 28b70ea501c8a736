#pragma once

#include <QSortFilterProxyModel>

// The shops whose type or any slot holds the text searched for, in any
// case, sortable by any column by number and codes, not by the labels'
// text. Over a ShopTableModel, whose SearchRole it filters on; the cells
// that hold the text say so (MatchRole), for a view to mark them, and are
// bold.
class ShopFilterModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    // True for a cell that holds the text searched for; clear of the source's roles.
    static constexpr int MatchRole = Qt::UserRole + 16;

    explicit ShopFilterModel(QObject *parent = nullptr);

    // Keeps the shops that hold text, and marks their cells anew: a search
    // that keeps the same shops may still mark other cells.
    void search(const QString &text);
    // The shop shown on a row of this model.
    [[nodiscard]] int shopAt(int row) const;
    // Whether the cell holds the text searched for.
    [[nodiscard]] bool matches(const QModelIndex &index) const;

    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
};
