#pragma once

#include <QRect>
#include <QString>
#include <QStyle>

#include <functional>

class QComboBox;
class QFileDialog;
class QObject;
class QScrollBar;
class QWidget;

// Runs action on the next modal window (file dialog, message box, About) as
// soon as it shows; the test's call that opens it returns when action closes it.
// Given an owner, a wait that has not ended ends with the owner.
void whenModal(std::function<void(QWidget *)> action, QObject *owner = nullptr);
// Answers the file dialog as a user who types path and presses Open.
void choose(QWidget *modal, const QString &path);
// Types path into the file dialog's name field. What was selected in its list
// gives way to the name, as it does when the user types there.
void typeFileName(QFileDialog *dialog, const QString &path);
// Picks entry in a list as a user does with the keyboard: the list stands
// next to it, and one arrow key picks it.
void pickEntry(QComboBox *list, int entry);
// The offscreen platform has no window manager to give the focus back to
// the main window when a modal window or a popup closes.
void reactivate(QWidget *window);
// Where part of a scroll bar (an arrow, the track on one side, the thumb) is
// drawn, in the bar's coordinates.
QRect scrollBarPart(const QScrollBar &bar, QStyle::SubControl part);
