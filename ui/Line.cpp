#include "Line.h"

#include <QWidget>

QWidget *addLine(QWidget *parent, const QString &name, QPoint from, int right, int width, QColor colour)
{
    auto *line = new QWidget(parent);
    line->setObjectName(name);
    line->setGeometry(from.x(), from.y(), right - from.x(), width);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}
