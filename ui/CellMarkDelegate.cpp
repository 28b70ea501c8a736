#include "CellMarkDelegate.h"

#include <QPainter>

namespace {

// Faint enough that the text keeps its contrast, strong enough to tell
// apart on a dark base as on a light one.
constexpr qreal kTintOpacity = 0.35;
// The underline's thickness, in pixels.
constexpr int kUnderline = 2;

bool marked(const QModelIndex &index, int role) { return index.data(role).toBool(); }

} // namespace

CellMarkDelegate::CellMarkDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void CellMarkDelegate::addMark(int role, Shape shape, QPalette::ColorRole colour)
{
    m_marks.append({role, shape, colour});
}

// The style paints the tint under the text.
void CellMarkDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    for (const Mark &mark : m_marks) {
        if (mark.shape != Shape::Tint || !marked(index, mark.role))
            continue;
        QColor tint = option->palette.color(mark.colour);
        tint.setAlphaF(kTintOpacity);
        option->backgroundBrush = tint;
    }
}

// The lines go over what the style painted, the selection included.
void CellMarkDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const bool selected = option.state & QStyle::State_Selected;
    for (const Mark &mark : m_marks) {
        if ((mark.shape == Shape::Tint && !selected) || !marked(index, mark.role))
            continue;
        const QColor colour = option.palette.color(selected ? QPalette::HighlightedText : mark.colour);
        const QRect &cell = option.rect;
        painter->save();
        if (mark.shape == Shape::Tint) {
            painter->setPen(colour);
            painter->drawRect(cell.adjusted(0, 0, -1, -1));
        } else {
            painter->fillRect(QRect(cell.left(), cell.bottom() + 1 - kUnderline, cell.width(), kUnderline), colour);
        }
        painter->restore();
    }
}

QSize CellMarkDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem bold = option;
    bold.font.setBold(true);
    bold.fontMetrics = QFontMetrics(bold.font);
    return QStyledItemDelegate::sizeHint(bold, index);
}
