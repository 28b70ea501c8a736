#pragma once

#include <QComboBox>

// A drop-down list to pick from (no typing), as wide as the form gives it;
// when it opens, its list is made wide enough for whole labels, including
// entries added since. The wheel changes the pick only once the list has the
// keyboard focus, so that scrolling over the window never changes a pick by
// accident.
class PickList : public QComboBox {
public:
    explicit PickList(QWidget *parent);

    void showPopup() override;

protected:
    void wheelEvent(QWheelEvent *event) override;
};
