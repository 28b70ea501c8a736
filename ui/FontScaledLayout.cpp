#include "FontScaledLayout.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
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
    : QLayout(parent), m_describedSize(describedSize), m_describedFont(describedFont)
{
    setContentsMargins(0, 0, 0, 0);
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
    const QWidget *parent = parentWidget();
    const QFont font = parent->font();
    const QPoint dpi(parent->logicalDpiX(), parent->logicalDpiY());
    if (m_scale != 0 && font == m_measuredFont && dpi == m_measuredDpi)
        return m_scale;
    m_measuredFont = font;
    m_measuredDpi = dpi;
    QImage atPlaces(1, 1, QImage::Format_ARGB32);
    atPlaces.setDotsPerMeterX(kDotsPerMeterOfPlaces);
    atPlaces.setDotsPerMeterY(kDotsPerMeterOfPlaces);
    const bool placesResolution = dpi == QPoint(atPlaces.logicalDpiX(), atPlaces.logicalDpiY());
    if (placesResolution && font == m_describedFont)
        return m_scale = 1;
    if (m_describedHeight == 0) {
        // At the screen's resolution when that is the places' (the font is
        // loaded for it already), else at the places' own.
        std::tie(m_describedHeight, m_describedWidth) =
            measures(m_describedFont, placesResolution ? static_cast<const QPaintDevice *>(parent) : &atPlaces);
    }
    const auto [height, width] = measures(font, parent);
    const qreal larger = std::max(height / m_describedHeight, width / m_describedWidth);
    return m_scale = larger < kSameSize ? 1 : larger;
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
    if (std::exchange(m_placed, rect) == rect)
        return;
    const QSize least = minimumSize();
    const QSize extra(std::max(0, rect.width() - least.width()), std::max(0, rect.height() - least.height()));
    for (const Entry &entry : std::as_const(m_entries)) {
        const QRect place = placeFor(entry.placement, extra).translated(rect.topLeft());
        if (QWidget *widget = entry.item->widget())
            widget->setGeometry(fitted(entry, place));
        else
            entry.item->setGeometry(place);
    }
}

void FontScaledLayout::invalidate()
{
    m_placed = QRect();
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

QRect FontScaledLayout::fitted(const Entry &entry, QRect place)
{
    const QWidget &widget = *entry.item->widget();
    if (entry.placement.fit == Placement::Fit::GrowsLeft) {
        place.setLeft(std::min(place.left(), place.right() + 1 - unwrappedSize(entry).width()));
    } else if (entry.placement.fit == Placement::Fit::Wraps && widget.hasHeightForWidth()) {
        if (const QSize whole = unwrappedSize(entry); whole.width() <= place.width() && whole.height() <= place.height())
            return place;
        TextMeasure &measured = entry.measured;
        if (measured.wrapWidth != place.width())
            measured.wrapHeight = widget.heightForWidth(measured.wrapWidth = place.width());
        const int more = measured.wrapHeight - place.height();
        if (more > 0)
            place.adjust(0, -more / 2, 0, more - more / 2);
    }
    return place;
}

// A label's text is measured as the label measures it, without laying it
// out (its size hint would), and once for each text and font: a form is
// placed several times as it is first shown. Other widgets give their size
// hints.
QSize FontScaledLayout::unwrappedSize(const Entry &entry)
{
    const QWidget &widget = *entry.item->widget();
    const auto *label = qobject_cast<const QLabel *>(&widget);
    if (!label)
        return widget.sizeHint();
    TextMeasure &measured = entry.measured;
    if (measured.text != label->text() || measured.font != label->font())
        measured = {label->text(), label->font(),
                    label->fontMetrics().boundingRect(QRect(), int(label->alignment()), label->text()).size()};
    const QMargins margins = label->contentsMargins();
    const int around = 2 * label->margin() + std::max(0, label->indent());
    return measured.textSize + QSize(margins.left() + margins.right() + around, margins.top() + margins.bottom() + around);
}
