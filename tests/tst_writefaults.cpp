#include "EditorController.h"
#include "MainWindow.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <map>

using rom::ImageLayout;

// Faults on the way to the disk, met through the real window: a failed
// write, and the open file deleted, replaced or truncated by another
// program. Each is reported once, no byte of any file changes, the picks
// stay on screen, and a save once the fault is gone writes them.
class TestWriteFaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(); }
    void faultKeepsFilesAndPicks_data();
    void faultKeepsFilesAndPicks();
    void failedFlushAtQuitIsReported();
    void mouseOnTheScrollBarFailsOnce_data();
    void mouseOnTheScrollBarFailsOnce();
    void modalWindowEndsThePressOnTheScrollBar_data();
    void modalWindowEndsThePressOnTheScrollBar();
};

namespace {

using Files = std::map<QString, Bytes>;

Files contents(const QTemporaryDir &dir)
{
    Files files;
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
        files[name] = readFile(dir.filePath(name));
    return files;
}

struct Picks {
    QString index;
    std::array<int, 9> entries{}; // type, then slots 1-8
    bool operator==(const Picks &) const = default;
};

Picks picksOn(const QWidget &window)
{
    Picks picks{window.findChild<QLineEdit *>(QStringLiteral("shopIndexEdit"))->text(), {}};
    picks.entries[0] = window.findChild<QComboBox *>(QStringLiteral("shopTypeList"))->currentIndex();
    for (int slot = 1; slot <= 8; ++slot)
        picks.entries[std::size_t(slot)] =
            window.findChild<QComboBox *>(QStringLiteral("slot%1List").arg(slot))->currentIndex();
    return picks;
}

// Presses a key in a control, answers each message box it brings up, and
// returns their texts. The boxes are modal, so all have come and gone when
// the press returns.
QStringList pressIn(QWidget *control, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QStringList messages;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&messages] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        messages << box->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    watch.start(5);
    control->setFocus();
    QTest::keyClick(control, key, modifiers);
    if (!messages.isEmpty() && control->window()->isVisible())
        reactivate(control->window());
    return messages;
}

} // namespace

void TestWriteFaults::faultKeepsFilesAndPicks_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("trigger");
    for (const char *fault : {"I/O error", "disk full", "deleted", "replaced", "truncated"})
        for (const char *trigger : {"Save button", "Ctrl+S", "next shop"})
            QTest::addRow("%s, %s", fault, trigger) << QString::fromLatin1(fault) << QString::fromLatin1(trigger);
}

void TestWriteFaults::faultKeepsFilesAndPicks()
{
    QFETCH(QString, fault);
    QFETCH(QString, trigger);
    QTemporaryDir dir;
    const QString path = writeImage(dir, QStringLiteral("game.smc"), smallImage(ImageLayout::Headered, 3));
    writeImage(dir, QStringLiteral("other.sfc"), smallImage(ImageLayout::Headerless, 4));
    FaultyFileAccess files;
    MainWindow window(files);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.openImage(QFile::encodeName(path));

    // Shop 3, its type and two slots picked by keyboard.
    auto *scroll = window.findChild<QScrollBar *>(QStringLiteral("shopScrollBar"));
    for (int step = 0; step < 3; ++step)
        QVERIFY(pressIn(scroll, Qt::Key_Right).isEmpty());
    QVERIFY(pressIn(window.findChild<QComboBox *>(QStringLiteral("shopTypeList")), Qt::Key_Down).isEmpty());
    QVERIFY(pressIn(window.findChild<QComboBox *>(QStringLiteral("slot2List")), Qt::Key_Home).isEmpty());
    QVERIFY(pressIn(window.findChild<QComboBox *>(QStringLiteral("slot7List")), Qt::Key_End).isEmpty());
    const Picks picks = picksOn(window);
    QCOMPARE(picks.index, QStringLiteral("3"));

    if (fault == "I/O error") {
        files.writeError = EIO;
    } else if (fault == "disk full") {
        files.writeError = ENOSPC;
    } else if (fault == "deleted") {
        QVERIFY(QFile::remove(path));
    } else if (fault == "replaced") {
        QVERIFY(QFile::remove(path));
        writeImage(dir, QStringLiteral("game.smc"), smallImage(ImageLayout::Headered, 5));
    } else {
        QVERIFY(QFile::resize(path, QFileInfo(path).size() - 0x10000));
    }
    const Files before = contents(dir);
    const int writesBefore = files.writes;

    QStringList messages;
    if (trigger == "Save button")
        messages = pressIn(window.findChild<QPushButton *>(QStringLiteral("saveButton")), Qt::Key_Space);
    else if (trigger == "Ctrl+S")
        messages = pressIn(&window, Qt::Key_S, Qt::ControlModifier);
    else
        messages = pressIn(scroll, Qt::Key_Right);

    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(QStringLiteral("game.smc")), qPrintable(messages[0]));
    QCOMPARE(contents(dir), before);
    QCOMPARE(picksOn(window), picks);
    QCOMPARE(scroll->value(), 3);

    if (files.writeError) {
        QVERIFY(files.writes > writesBefore); // the write was tried and failed
        files.writeError = 0;
        QVERIFY(pressIn(&window, Qt::Key_S, Qt::ControlModifier).isEmpty());
        Bytes expected = before.at(QStringLiteral("game.smc"));
        const auto shop3 = expected.begin() + qsizetype(shopOffset(ImageLayout::Headered, 3));
        shop3[0] = std::uint8_t(picks.entries[0]);
        for (std::size_t slot = 1; slot <= 8; ++slot)
            shop3[qsizetype(slot)] = std::uint8_t(picks.entries[slot]);
        QCOMPARE(readFile(path), expected);
    } else {
        // A file that is no longer the one opened is never written, however often the user saves.
        QCOMPARE(files.writes, writesBefore);
        QCOMPARE(pressIn(&window, Qt::Key_S, Qt::ControlModifier).size(), 1);
        QCOMPARE(contents(dir), before);
        QCOMPARE(picksOn(window), picks);
    }
}

void TestWriteFaults::failedFlushAtQuitIsReported()
{
    QTemporaryDir dir;
    const QString path = writeImage(dir, QStringLiteral("game.smc"), smallImage(ImageLayout::Headerless, 6));
    FaultyFileAccess files;
    MainWindow window(files);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.openImage(QFile::encodeName(path));
    const Files before = contents(dir);
    files.fsyncError = EIO;
    const QStringList messages = pressIn(&window, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(QStringLiteral("game.smc")), qPrintable(messages[0]));
    QCOMPARE(contents(dir), before);
}

void TestWriteFaults::mouseOnTheScrollBarFailsOnce_data()
{
    QTest::addColumn<int>("part");
    QTest::newRow("right arrow") << int(QStyle::SC_ScrollBarAddLine);
    QTest::newRow("track right of the thumb") << int(QStyle::SC_ScrollBarAddPage);
    QTest::newRow("thumb dragged") << int(QStyle::SC_ScrollBarSlider);
}

// A press on the scroll bar whose move fails brings one message. The mouse
// goes through the window system, as a user's does, so the message box
// blocks the main window and takes the button's release: the bar must not
// go on repeating or dragging behind it.
void TestWriteFaults::mouseOnTheScrollBarFailsOnce()
{
    QFETCH(int, part);
    QTemporaryDir dir;
    const QString path = writeImage(dir, QStringLiteral("game.smc"), smallImage(ImageLayout::Headered, 8));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.openImage(QFile::encodeName(path));
    auto *scroll = window.findChild<QScrollBar *>(QStringLiteral("shopScrollBar"));
    for (int step = 0; step < 3; ++step)
        QVERIFY(pressIn(scroll, Qt::Key_Right).isEmpty());
    QVERIFY(pressIn(window.findChild<QComboBox *>(QStringLiteral("slot4List")), Qt::Key_Home).isEmpty());
    const Picks picks = picksOn(window);
    QVERIFY(QFile::remove(path));

    // Each message box is answered by a click on its OK button.
    QStringList messages;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&messages] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || !box->windowHandle()->isExposed())
            return;
        messages << box->text();
        QAbstractButton *ok = box->button(QMessageBox::Ok);
        QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, ok->mapTo(box, ok->rect().center()));
    });
    watch.start(5);

    QWindow *handle = window.windowHandle();
    const QPoint at = scroll->mapTo(&window, scrollBarPart(*scroll, QStyle::SubControl(part)).center());
    QTest::mousePress(handle, Qt::LeftButton, {}, at);
    if (part == int(QStyle::SC_ScrollBarSlider))
        for (int x = 1; x <= 20; ++x)
            QTest::mouseMove(handle, at + QPoint(x, 0));
    QTest::qWait(700); // longer than the bar's delay before it repeats a press
    QTest::mouseRelease(handle, Qt::LeftButton, {}, at);
    QTest::qWait(100);

    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(QStringLiteral("game.smc")), qPrintable(messages[0]));
    QCOMPARE(picksOn(window), picks);
    QCOMPARE(scroll->value(), 3);
    QCOMPARE(scroll->sliderPosition(), 3);
    QVERIFY(!scroll->isSliderDown());

    // The window takes clicks and keys again: a click opens a list, Esc closes it.
    reactivate(&window);
    auto *slot1 = window.findChild<QComboBox *>(QStringLiteral("slot1List"));
    QTest::mouseClick(handle, Qt::LeftButton, {}, slot1->mapTo(&window, slot1->rect().center()));
    QTRY_VERIFY(slot1->view()->isVisible());
    QTest::keyClick(slot1->view()->window()->windowHandle(), Qt::Key_Escape);
    QTRY_VERIFY(!slot1->view()->isVisible());
    QCOMPARE(messages.size(), 1);
}

void TestWriteFaults::modalWindowEndsThePressOnTheScrollBar_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::newRow("About") << QKeyCombination(Qt::Key_F1);
    QTest::newRow("Open ROM") << (Qt::CTRL | Qt::Key_O);
    QTest::newRow("Go to Shop") << (Qt::CTRL | Qt::Key_G);
}

// The right arrow held, a key opens a modal window, which takes the
// button's release: when it closes, the shop does not run on.
void TestWriteFaults::modalWindowEndsThePressOnTheScrollBar()
{
    QFETCH(QKeyCombination, key);
    QTemporaryDir dir;
    const QString path = writeImage(dir, QStringLiteral("game.smc"), smallImage(ImageLayout::Headered, 8));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.openImage(QFile::encodeName(path));
    auto *scroll = window.findChild<QScrollBar *>(QStringLiteral("shopScrollBar"));
    QWindow *handle = window.windowHandle();
    const QPoint at = scroll->mapTo(&window, scrollBarPart(*scroll, QStyle::SC_ScrollBarAddLine).center());

    QTest::mousePress(handle, Qt::LeftButton, {}, at);
    const int pressed = scroll->value();
    whenModal([](QWidget *modal) {
        QTest::mouseRelease(modal->windowHandle(), Qt::LeftButton, {}, QPoint(1, 1));
        QTest::qWait(700); // past the bar's delay before it repeats a press
        qobject_cast<QDialog *>(modal)->reject();
    });
    QTest::keyClick(handle, key.key(), key.keyboardModifiers());
    QTest::qWait(700);
    QCOMPARE(scroll->value(), pressed);
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("shopIndexEdit"))->text(), QString::number(pressed));
}

QTEST_MAIN(TestWriteFaults)
#include "tst_writefaults.moc"
