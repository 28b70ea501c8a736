#include "WindowTestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

void whenModal(std::function<void(QWidget *)> action, QObject *owner)
{
    auto *timer = new QTimer(owner);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action = std::move(action)] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

void choose(QWidget *modal, const QString &path)
{
    auto *dialog = qobject_cast<QFileDialog *>(modal);
    QVERIFY(dialog);
    typeFileName(dialog, path);
    static_cast<QDialog *>(dialog)->accept();
    QVERIFY(!dialog->isVisible());
}

void typeFileName(QFileDialog *dialog, const QString &path)
{
    // The dialog takes a file selected in its list before a typed name, and
    // lets the typing clear the selection only while the field has the focus,
    // which a window without activation cannot give. The list fills in the
    // background, so what it has selected depends on timing.
    dialog->findChild<QAbstractItemView *>(QStringLiteral("listView"))->selectionModel()->clearSelection();
    dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
}

void pickEntry(QComboBox *list, int entry)
{
    const bool fromAbove = entry > 0;
    list->setCurrentIndex(fromAbove ? entry - 1 : entry + 1);
    QTest::keyClick(list, fromAbove ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(list->currentIndex(), entry);
}

void reactivate(QWidget *window)
{
    // A popup that has closed (a list's or a menu) may still be the active
    // window, and a dialog shown for the first time may take the activation
    // after it has closed; then the window's shortcuts do not work.
    QVERIFY(QTest::qWaitFor([window] {
        if (QApplication::activeWindow() != window)
            window->activateWindow();
        return QApplication::activeWindow() == window;
    }));
}

QRect scrollBarPart(const QScrollBar &bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar.orientation();
    if (bar.orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
}
