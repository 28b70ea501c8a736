#include "ShopTableModel.h"

#include "ShopTypeLabels.h"

ShopTableModel::ShopTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void ShopTableModel::setTable(const rom::ShopTable &table)
{
    beginResetModel();
    m_table = table;
    if (!m_loaded)
        makeLabels();
    m_loaded = true;
    endResetModel();
}

void ShopTableModel::makeLabels()
{
    for (int code = 0; code < int(m_itemLabels.size()); ++code) {
        m_typeLabels[std::size_t(code)] = QString::fromStdString(rom::ShopTypeLabels::text(std::uint8_t(code)));
        const std::string_view item = m_names.label(code);
        m_itemLabels[std::size_t(code)] = QString::fromUtf8(item.data(), qsizetype(item.size()));
    }
}

void ShopTableModel::clear()
{
    beginResetModel();
    m_loaded = false;
    endResetModel();
}

void ShopTableModel::setShop(int index, const rom::ShopRecord &record)
{
    if (!m_loaded || index < 0 || index >= rom::kShopCount || m_table[std::size_t(index)] == record)
        return;
    m_table[std::size_t(index)] = record;
    emit dataChanged(this->index(index, TypeColumn), this->index(index, ColumnCount - 1));
}

void ShopTableModel::setComparedTable(const rom::ShopTable &table)
{
    m_compared = table;
    if (m_loaded)
        emit dataChanged(index(0, TypeColumn), index(rowCount() - 1, ColumnCount - 1), {DiffersRole});
}

void ShopTableModel::setItemNames(const rom::ItemNames &names)
{
    m_names = names;
    if (!m_loaded)
        return;
    makeLabels();
    emit dataChanged(index(0, FirstSlotColumn), index(rowCount() - 1, ColumnCount - 1));
}

int ShopTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_loaded ? 0 : rom::kShopCount;
}

int ShopTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ShopTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: return label(row, column);
    case SortRole: return code(row, column);
    case SearchRole: return column == ShopColumn ? QVariant() : QVariant(label(row, column));
    case DiffersRole:
        return m_compared && column != ShopColumn &&
               (*m_compared)[std::size_t(row)].toBytes()[std::size_t(column - TypeColumn)] != code(row, column);
    case Qt::AccessibleTextRole:
        return tr("Shop %1, %2: %3")
            .arg(row)
            .arg(headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(), label(row, column));
    default: return {};
    }
}

QVariant ShopTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ShopColumn: return tr("Shop");
    case TypeColumn: return tr("Type");
    default: return tr("Slot %1").arg(section - FirstSlotColumn + 1);
    }
}

QString ShopTableModel::label(int row, int column) const
{
    if (column == ShopColumn)
        return QString::number(row);
    const auto value = std::size_t(code(row, column));
    return column == TypeColumn ? m_typeLabels[value] : m_itemLabels[value];
}

int ShopTableModel::code(int row, int column) const
{
    const rom::ShopRecord &record = m_table[std::size_t(row)];
    if (column == ShopColumn)
        return row;
    return column == TypeColumn ? record.type : record.items[std::size_t(column - FirstSlotColumn)];
}
