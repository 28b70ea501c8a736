#include "ShopScrollBar.h"

#include <QKeyEvent>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QPainter>

namespace {

// The bar is only as wide as the index box above it. The style's smallest
// thumb would fill its whole track and could not be dragged, and a tiny one
// can hardly be grabbed: a thumb of 10 pixels, arrows as wide as the bar is
// high, leave room for both.
class ShopScrollBarStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_ScrollBarSliderMin)
            return 10;
        if (metric == PM_ScrollBarExtent && widget)
            return widget->height();
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// One notch of a mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

} // namespace

ShopScrollBar::ShopScrollBar(int last, QWidget *parent) : QScrollBar(Qt::Horizontal, parent)
{
    setRange(0, last);
    setSingleStep(1);
    setPageStep(5);
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    auto *style = new ShopScrollBarStyle;
    style->setParent(this);
    setStyle(style);
}

void ShopScrollBar::place(int value)
{
    const QSignalBlocker blocker(this);
    setValue(value);
}

void ShopScrollBar::endMouseAction()
{
    const QSignalBlocker blocker(this);
    if (isSliderDown())
        setSliderPosition(value());
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(), QPointF(), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QScrollBar::mouseReleaseEvent(&release);
    setSliderDown(false); // a drag that no mouse press began
    m_wheelTurn = 0;
}

// Every key that points right or down goes to later shops, whatever the
// modifiers (Shift, Ctrl, the keypad's own): QScrollBar would turn Left and
// Right around on a horizontal bar and leave modified keys to its default.
void ShopScrollBar::keyPressEvent(QKeyEvent *event)
{
    SliderAction action = SliderNoAction;
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down: action = SliderSingleStepAdd; break;
    case Qt::Key_Left:
    case Qt::Key_Up: action = SliderSingleStepSub; break;
    case Qt::Key_PageDown: action = SliderPageStepAdd; break;
    case Qt::Key_PageUp: action = SliderPageStepSub; break;
    case Qt::Key_End: action = SliderToMaximum; break;
    case Qt::Key_Home: action = SliderToMinimum; break;
    default: QScrollBar::keyPressEvent(event); return;
    }
    triggerAction(action);
    event->accept();
}

// One notch moves one shop, however many lines the desktop scrolls per
// notch: each step saves a shop. A step that cannot be taken (at either end,
// or a move that failed) ends the turn.
void ShopScrollBar::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    int turn = std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y();
    if (event->inverted())
        turn = -turn;
    m_wheelTurn += turn;
    while (std::abs(m_wheelTurn) >= kWheelNotch) {
        const bool later = m_wheelTurn < 0;
        m_wheelTurn += later ? kWheelNotch : -kWheelNotch;
        const int before = value();
        triggerAction(later ? SliderSingleStepAdd : SliderSingleStepSub);
        if (value() == before) {
            m_wheelTurn = 0;
            break;
        }
    }
    event->accept();
}

// Styles draw no focus for a scroll bar, yet the keys act on it: a frame in
// the highlight colour shows where they go.
void ShopScrollBar::paintEvent(QPaintEvent *event)
{
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
