#pragma once

#include <QList>
#include <QPalette>
#include <QStyledItemDelegate>

// Draws a table's cells as the style does, and marks those whose data for a
// role is true, in a colour of the palette, so that a mark shows in light
// and dark palettes alike. Each role has its own mark; marks of different
// shapes show together on one cell. Cells are measured in bold, the font a
// model gives its marked cells, so that a cell that becomes marked keeps
// its whole text.
class CellMarkDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    enum class Shape {
        // The cell's background in the colour, made faint; on a selected
        // row, which hides it, a frame in the selection's text colour.
        Tint,
        // A bar along the cell's bottom edge in the colour; on a selected
        // row, in the selection's text colour.
        Underline,
    };
    Q_ENUM(Shape)

    explicit CellMarkDelegate(QObject *parent);

    // Cells whose data for `role` is true get `shape` in the palette's `colour`.
    void addMark(int role, Shape shape, QPalette::ColorRole colour = QPalette::Highlight);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    struct Mark {
        int role;
        Shape shape;
        QPalette::ColorRole colour;
    };

    QList<Mark> m_marks;
};
