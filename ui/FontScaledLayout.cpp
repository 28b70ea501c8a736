#include "FontScaledLayout.h"

#include <QFontMetricsF>
#include <QImage>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace {

// Places are given in pixels at 96 dots per inch, whatever the screen's.
constexpr int kDotsPerMeterOfPlaces = 3780;
// Hinting alone makes one font's measures vary by this much: a font that
// close to the described one keeps the described places to the pixel.
constexpr qreal kSameSize = 1.02;
// Letters and digits in the proportions of the form's texts.
constexpr char kSample[] = "Shop Index: Item Slot 8: 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz";

// The font's height and the sample's width, at the paint device's resolution.
std::pair<qreal, qreal> measures(const QFont &font, const QPaintDevice *device)
{
    const QFontMetricsF metrics(font, device);
    return {metrics.height(), metrics.horizontalAdvance(QLatin1String(kSample))};
}

} // namespace

FontScaledLayout::FontScaledLayout(QWidget *parent, QSize describedSize, const QFont &describedFont)
    : QLayout(parent), m_describedSize(describedSize)
{
    setContentsMargins(0, 0, 0, 0);
    QImage atPlaces(1, 1, QImage::Format_ARGB32);
    atPlaces.setDotsPerMeterX(kDotsPerMeterOfPlaces);
    atPlaces.setDotsPerMeterY(kDotsPerMeterOfPlaces);
    std::tie(m_describedHeight, m_describedWidth) = measures(describedFont, &atPlaces);
}

FontScaledLayout::~FontScaledLayout()
{
    while (QLayoutItem *item = FontScaledLayout::takeAt(0))
        delete item;
}

void FontScaledLayout::addPlaced(QWidget *widget, const Placement &placement)
{
    addChildWidget(widget);
    m_entries.append({new QWidgetItemV2(widget), placement});
    invalidate();
}

qreal FontScaledLayout::scale() const
{
    if (m_scale == 0) {
        const QWidget *parent = parentWidget();
        const auto [height, width] = measures(parent->font(), parent);
        const qreal larger = std::max(height / m_describedHeight, width / m_describedWidth);
        m_scale = larger < kSameSize ? 1 : larger;
    }
    return m_scale;
}

void FontScaledLayout::addItem(QLayoutItem *item)
{
    m_entries.append({item, {item->widget() ? item->widget()->geometry() : item->geometry()}});
    invalidate();
}

int FontScaledLayout::count() const { return int(m_entries.size()); }

QLayoutItem *FontScaledLayout::itemAt(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index).item : nullptr;
}

QLayoutItem *FontScaledLayout::takeAt(int index)
{
    if (index < 0 || index >= m_entries.size())
        return nullptr;
    QLayoutItem *item = m_entries.takeAt(index).item;
    invalidate();
    return item;
}

QSize FontScaledLayout::sizeHint() const { return minimumSize(); }

QSize FontScaledLayout::minimumSize() const
{
    return QSize(qRound(m_describedSize.width() * scale()), qRound(m_describedSize.height() * scale()));
}

Qt::Orientations FontScaledLayout::expandingDirections() const { return Qt::Horizontal | Qt::Vertical; }

// Widgets are placed directly: through their layout items, their size
// policies would bound them to their size hints.
void FontScaledLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    const QSize least = minimumSize();
    const QSize extra(std::max(0, rect.width() - least.width()), std::max(0, rect.height() - least.height()));
    for (const Entry &entry : std::as_const(m_entries)) {
        const QRect place = placeFor(entry.placement, extra).translated(rect.topLeft());
        if (QWidget *widget = entry.item->widget())
            widget->setGeometry(fitted(*widget, entry.placement.fit, place));
        else
            entry.item->setGeometry(place);
    }
}

void FontScaledLayout::invalidate()
{
    m_scale = 0;
    QLayout::invalidate();
}

// Scaled by its far edges, so that neighbours that touch keep touching; a
// rule keeps its thickness, under its scaled bottom edge.
QRect FontScaledLayout::placeFor(const Placement &placement, QSize extra) const
{
    const qreal scale = this->scale();
    const auto at = [scale](int pixels) { return qRound(pixels * scale); };
    const QRect &described = placement.place;
    const int left = at(described.left());
    const int bottom = at(described.top() + described.height());
    const int top = placement.fit == Placement::Fit::Line ? bottom - described.height() : at(described.top());
    QRect place(left, top, at(described.left() + described.width()) - left, bottom - top);

    using Stretch = Placement::Stretch;
    const auto grows = [](Stretch stretch, int room) { return stretch == Stretch::Grows ? room : 0; };
    const auto moves = [](Stretch stretch, int room) { return stretch == Stretch::Follows ? room : 0; };
    const int right = extra.width();
    const int down = extra.height();
    place.translate(moves(placement.horizontal, right), moves(placement.vertical, down));
    place.adjust(0, 0, grows(placement.horizontal, right), grows(placement.vertical, down));
    return place;
}

QRect FontScaledLayout::fitted(const QWidget &widget, Placement::Fit fit, QRect place)
{
    if (fit == Placement::Fit::GrowsLeft) {
        place.setLeft(std::min(place.left(), place.right() + 1 - widget.sizeHint().width()));
    } else if (fit == Placement::Fit::Wraps && widget.hasHeightForWidth()) {
        const int more = widget.heightForWidth(place.width()) - place.height();
        if (more > 0)
            place.adjust(0, -more / 2, 0, more - more / 2);
    }
    return place;
}
