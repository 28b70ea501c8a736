#pragma once

#include <QScrollBar>

// HScroll: a horizontal scroll bar over the shop indexes 0 to last. Steps of
// 1 (arrows, Left/Right, Up/Down) and 5 (track clicks, Page Up/Page Down).
// Tracking is off: dragging the thumb raises sliderMoved at every step and
// valueChanged once, on release.
class ShopScrollBar : public QScrollBar {
public:
    ShopScrollBar(int last, QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
