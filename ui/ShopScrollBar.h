#pragma once

#include <QScrollBar>

// The shop index scroll bar: horizontal, over the shop indexes 0 to last.
// Steps of 1 (arrows, the arrow keys, one wheel notch) and 5 (track clicks,
// Page Up and Page Down). Tracking is off: dragging the thumb raises
// sliderMoved at every step and valueChanged once, on release.
class ShopScrollBar : public QScrollBar {
public:
    ShopScrollBar(int last, QWidget *parent);

    // Puts the bar on value without a signal.
    void place(int value);
    // Stops an arrow or track press from repeating and lets go of a dragged
    // thumb where the bar's value stands, without a signal: the release the
    // bar would wait for goes to a modal window shown in the meantime.
    void endMouseAction();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_wheelTurn = 0; // wheel turn not yet worth a whole step, in eighths of a degree
};
