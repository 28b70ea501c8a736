#pragma once

#include <QMessageBox>

// The editor's message boxes: the title is the program's, and a file name
// too long for the box's width gets places to wrap (U+200B) instead of being
// cut at its edge.
namespace message_box {

// Shows the box with message as its text; returns its answer, as exec() does.
int ask(QMessageBox &box, const QString &message);

[[nodiscard]] QString wrappable(const QString &text, const QFontMetrics &metrics);

} // namespace message_box
