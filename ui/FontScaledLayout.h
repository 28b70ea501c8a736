#pragma once

#include "Placement.h"

#include <QLayout>
#include <QList>

class QFont;

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
    struct Entry {
        QLayoutItem *item;
        Placement placement;
    };

    [[nodiscard]] QRect placeFor(const Placement &placement, QSize extra) const;
    [[nodiscard]] static QRect fitted(const QWidget &widget, Placement::Fit fit, QRect place);

    QList<Entry> m_entries;
    QSize m_describedSize;
    // The described font's height and the width of a sample text, at the
    // resolution the places are given for.
    qreal m_describedHeight = 0;
    qreal m_describedWidth = 0;
    mutable qreal m_scale = 0; // measured again after every change of font
};
