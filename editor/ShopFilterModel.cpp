#include "ShopFilterModel.h"

#include "ShopTableModel.h"

#include <QFont>

ShopFilterModel::ShopFilterModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    setSortRole(ShopTableModel::SortRole);
    setFilterRole(ShopTableModel::SearchRole);
    setFilterKeyColumn(-1);
    setFilterCaseSensitivity(Qt::CaseInsensitive);
}

void ShopFilterModel::search(const QString &text)
{
    setFilterFixedString(text);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {MatchRole, Qt::FontRole});
}

int ShopFilterModel::shopAt(int row) const { return mapToSource(index(row, ShopTableModel::ShopColumn)).row(); }

bool ShopFilterModel::matches(const QModelIndex &index) const
{
    const QString text = index.data(ShopTableModel::SearchRole).toString();
    return !filterRegularExpression().pattern().isEmpty() && !text.isEmpty() &&
           filterRegularExpression().match(text).hasMatch();
}

QVariant ShopFilterModel::data(const QModelIndex &index, int role) const
{
    if (role == MatchRole)
        return index.isValid() ? QVariant(matches(index)) : QVariant();
    if (role == Qt::FontRole && matches(index)) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return QSortFilterProxyModel::data(index, role);
}
