#pragma once

#include "Placement.h"

#include <QFont>
#include <QLayout>
#include <QList>
#include <QPoint>


// Puts each widget at the place a table gives it, in pixels at the font the
// table was made for. With a larger font every place is scaled by how much
// larger it is (never smaller), so the form keeps its proportions and its
// texts fit; the room a still larger window gives goes to the widgets that
// stretch, and moves those that keep to the far edges. Its size hint and
// minimum size are the described size, scaled.
class FontScaledLayout : public QLayout {
    Q_OBJECT

public:
    // Lays out `parent`, whose described size at `describedFont` is `describedSize`.
    FontScaledLayout(QWidget *parent, QSize describedSize, const QFont &describedFont);
    ~FontScaledLayout() override;

    void addPlaced(QWidget *widget, const Placement &placement);
    // How much larger the parent's font is than the described one; at least 1.
    [[nodiscard]] qreal scale() const;

    // QLayout; an item added without a placement stays where it is.
    void addItem(QLayoutItem *item) override;
    [[nodiscard]] int count() const override;
    [[nodiscard]] QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSize() const override;
    [[nodiscard]] Qt::Orientations expandingDirections() const override;
    void setGeometry(const QRect &rect) override;
    void invalidate() override;

private:
    // What a label's text measures unwrapped, kept until its text or font
    // changes, and its height wrapped at the width it was last given.
    struct TextMeasure {
        QString text;
        QFont font;
        QSize textSize;
        int wrapWidth = -1;
        int wrapHeight = 0;
    };
    struct Entry {
        QLayoutItem *item;
        Placement placement;
        mutable TextMeasure measured = {};
    };

    [[nodiscard]] QRect placeFor(const Placement &placement, QSize extra) const;
    [[nodiscard]] static QRect fitted(const Entry &entry, QRect place);
    [[nodiscard]] static QSize unwrappedSize(const Entry &entry);

    QList<Entry> m_entries;
    QSize m_describedSize;
    QFont m_describedFont;
    // The described font's height and the width of a sample text, at the
    // resolution the places are given for; measured when first needed.
    mutable qreal m_describedHeight = 0;
    mutable qreal m_describedWidth = 0;
    // Measured again when the parent's font or resolution has changed.
    mutable qreal m_scale = 0;
    mutable QFont m_measuredFont;
    mutable QPoint m_measuredDpi;
    // Where the controls were last placed: the same rect again places
    // nothing (a status bar's text changing asks the window to lay out).
    QRect m_placed;
};
