#pragma once

#include <QPalette>
#include <QPoint>
#include <QString>

class QWidget;

// A horizontal line in one colour of the palette, from `from` to x = right.
// A Dark one and a Light one beside it make an etched rule, in any palette.
QWidget *addLine(QWidget *parent, const QString &name, QPoint from, int right, int width, QPalette::ColorRole colour);
