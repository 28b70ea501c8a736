#include "ShopScrollBar.h"

#include <QKeyEvent>
#include <QProxyStyle>

namespace {

// The bar is only as wide as the index box above it. The style's smallest
// thumb would fill its whole track and could not be dragged; a short one
// leaves room to move.
class ShortThumbStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        return metric == PM_ScrollBarSliderMin ? 6 : QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

ShopScrollBar::ShopScrollBar(int last, QWidget *parent) : QScrollBar(Qt::Horizontal, parent)
{
    setRange(0, last);
    setSingleStep(1);
    setPageStep(5);
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    auto *style = new ShortThumbStyle;
    style->setParent(this);
    setStyle(style);
}

// QScrollBar inverts its keys so that Page Up goes towards the top of a
// vertical bar; that also turns Left and Right around on a horizontal one.
// Here Right, Down and Page Down all go to the next shops.
void ShopScrollBar::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_Right)
        triggerAction(SliderSingleStepAdd);
    else if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_Left)
        triggerAction(SliderSingleStepSub);
    else
        QScrollBar::keyPressEvent(event);
}
