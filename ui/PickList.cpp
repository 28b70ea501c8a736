#include "PickList.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QWheelEvent>

PickList::PickList(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus);
}

void PickList::showPopup()
{
    QAbstractItemView *popup = view();
    popup->setMinimumWidth(popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width() + 8);
    QComboBox::showPopup();
}

void PickList::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}
