#include "NamePreviewModel.h"

#include "NameTableChoice.h"

NamePreviewModel::NamePreviewModel(const NameTableChoice &choice, QObject *parent)
    : QAbstractListModel(parent), m_choice(choice)
{
}

void NamePreviewModel::refresh()
{
    beginResetModel();
    endResetModel();
}

int NamePreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_choice.previewCount();
}

QVariant NamePreviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_choice.previewCount() ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return m_choice.previewLine(index.row());
}
