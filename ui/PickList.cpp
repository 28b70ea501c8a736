#include "PickList.h"

#include "PickSearch.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QWheelEvent>

namespace {

constexpr Qt::KeyboardModifiers kCommandModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// Keys of the window (Ctrl+Page Up and Down between shops, Alt with a
// character to a slot or a menu) that QComboBox would take as moves or a
// search for a label.
bool belongsToWindow(const QKeyEvent &event)
{
    if (!(event.modifiers() & kCommandModifiers))
        return false;
    const bool pageKey = event.key() == Qt::Key_PageUp || event.key() == Qt::Key_PageDown;
    return (pageKey && event.modifiers() & Qt::ControlModifier) || !event.text().isEmpty();
}

// A space still opens the list, as on any drop-down list.
bool startsSearch(const QKeyEvent &event)
{
    const QString text = event.text();
    return !(event.modifiers() & kCommandModifiers) && !text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace();
}

} // namespace

PickList::PickList(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus);
}

void PickList::showPopup()
{
    QAbstractItemView *popup = view();
    popup->installEventFilter(this);
    popup->setMinimumWidth(popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width() + 8);
    QComboBox::showPopup();
}

QString PickList::shownText() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return elided(option);
}

// Typing in the open list searches as typing in the closed one does.
bool PickList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != view() || event->type() != QEvent::KeyPress || !startsSearch(*static_cast<QKeyEvent *>(event)))
        return QComboBox::eventFilter(watched, event);
    hidePopup();
    search(static_cast<QKeyEvent *>(event)->text());
    return true;
}

void PickList::keyPressEvent(QKeyEvent *event)
{
    if (belongsToWindow(*event))
        event->ignore();
    else if (startsSearch(*event))
        search(event->text());
    else
        QComboBox::keyPressEvent(event);
}

// As QComboBox paints itself, with the label cut to the field.
void PickList::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = elided(option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    if (!m_mark.isEmpty()) {
        painter.setPen(QPen(palette().color(QPalette::LinkVisited), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void PickList::setMark(const QString &note)
{
    if (note == m_mark)
        return;
    m_mark = note;
    update();
}

// The tooltip is written when it is asked for, not at every change of the
// pick: a step between shops changes nine lists.
bool PickList::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        setToolTip(m_mark.isEmpty() ? currentText() : currentText() + u'\n' + m_mark);
    return QComboBox::event(event);
}

void PickList::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

void PickList::search(const QString &typed)
{
    if (!m_search) {
        m_search = new PickSearch(this);
        connect(m_search, &PickSearch::picked, this, &PickList::pick);
    }
    m_search->open(typed);
}

// As a pick from the list's own popup: the entry becomes current, then the
// list reports it.
void PickList::pick(int entry)
{
    setCurrentIndex(entry);
    emit activated(entry);
    emit textActivated(itemText(entry));
}

QString PickList::elided(const QStyleOptionComboBox &option) const
{
    // The style draws the label one pixel in from each side of the field.
    constexpr int kLabelInset = 2;
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    return option.fontMetrics.elidedText(option.currentText, Qt::ElideRight, field.width() - kLabelInset);
}
