#pragma once

#include <QColor>
#include <QPoint>
#include <QString>

class QWidget;

// A horizontal line of one colour and width, from `from` to x = right. A grey
// one and a white one beside it make an etched rule.
QWidget *addLine(QWidget *parent, const QString &name, QPoint from, int right, int width, QColor colour);
