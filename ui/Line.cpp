#include "Line.h"

#include <QWidget>

QWidget *addLine(QWidget *parent, const QString &name, QPoint from, int right, int width, QPalette::ColorRole colour)
{
    auto *line = new QWidget(parent);
    line->setObjectName(name);
    line->setGeometry(from.x(), from.y(), right - from.x(), width);
    line->setBackgroundRole(colour);
    line->setAutoFillBackground(true);
    return line;
}
