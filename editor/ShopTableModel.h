#pragma once

#include "ItemNames.h"
#include "ShopRecord.h"

#include <QAbstractTableModel>

#include <array>
#include <optional>

// Every shop of the open image at a glance: one row per shop, the shop's
// number, its type and its eight slots, as the lists label them. It holds a
// copy of the table that the editing flow keeps up with the file; it never
// writes.
class ShopTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ShopColumn, TypeColumn, FirstSlotColumn, ColumnCount = FirstSlotColumn + rom::ShopRecord::kSlotCount };
    // The shop's number, or the code of the type or item, for sorting.
    static constexpr int SortRole = Qt::UserRole;
    // The label a search looks in: the type's or item's; none for the shop's number.
    static constexpr int SearchRole = Qt::UserRole + 1;
    // Whether the cell's code differs from the compared image's.
    static constexpr int DiffersRole = Qt::UserRole + 2;

    explicit ShopTableModel(QObject *parent = nullptr);

    // The whole table, as read from the file; an empty model without one.
    void setTable(const rom::ShopTable &table);
    void clear();
    // One shop the editor wrote.
    void setShop(int index, const rom::ShopRecord &record);
    void setItemNames(const rom::ItemNames &names);
    // The table of the image compared with, whose differing cells are marked.
    void setComparedTable(const rom::ShopTable &table);
    [[nodiscard]] const std::optional<rom::ShopTable> &comparedTable() const { return m_compared; }

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void makeLabels();
    [[nodiscard]] QString label(int row, int column) const;
    [[nodiscard]] int code(int row, int column) const;

    rom::ShopTable m_table{};
    std::optional<rom::ShopTable> m_compared;
    bool m_loaded = false;
    rom::ItemNames m_names;
    // Every code's label, made when a table is shown, so that painting and
    // searching convert no text.
    std::array<QString, 256> m_typeLabels;
    std::array<QString, 256> m_itemLabels;
};
