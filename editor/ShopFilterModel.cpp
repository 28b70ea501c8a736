#include "ShopFilterModel.h"

#include "ShopTableModel.h"

ShopFilterModel::ShopFilterModel(ShopTableModel &shops, QObject *parent) : QSortFilterProxyModel(parent), m_shops(shops)
{
    setSourceModel(&shops);
    setSortRole(ShopTableModel::SortRole);
}

void ShopFilterModel::search(const QString &text)
{
    m_shops.setSearch(text);
    invalidateRowsFilter();
}

int ShopFilterModel::shopAt(int row) const { return mapToSource(index(row, ShopTableModel::ShopColumn)).row(); }

bool ShopFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    return m_shops.search().isEmpty() || m_shops.matches(sourceRow, m_shops.search());
}
