#include "CellMarkDelegate.h"
#include "FormLayout.h"
#include "ItemLabels.h"
#include "DemoNames.h"
#include "EditorController.h"
#include "MainWindow.h"
#include "ShopFilterModel.h"
#include "ShopTableModel.h"
#include "ShopTypeLabels.h"
#include "MessageBox.h"
#include "PickList.h"
#include "Version.h"
#include "TestSupport.h"
#include "WindowPrompts.h"
#include "WindowTestSupport.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QScopeGuard>
#include <QScreen>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QStyleOptionComboBox>
#include <QDialogButtonBox>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <QWindow>

#include <map>
#include <memory>

using rom::ImageLayout;

Q_DECLARE_METATYPE(rom::ImageLayout)

namespace {

// The name a focus stop goes by: the tab strip takes focus through its bar.
QString stopName(QWidget *widget)
{
    if (qobject_cast<QTabBar *>(widget))
        widget = widget->parentWidget();
    return widget ? widget->objectName() : QString();
}

// The first text of a window that its control cuts: a caption or a button
// narrower than its text, a wrapped note shorter than its lines, a list
// lower than its text; empty when all fit.
QString cutText(const QWidget &window)
{
    for (const QLabel *label : window.findChildren<QLabel *>())
        if (label->wordWrap() ? label->heightForWidth(label->width()) > label->height()
                              : label->sizeHint().width() > label->width())
            return label->objectName();
    for (const QPushButton *button : window.findChildren<QPushButton *>())
        if (button->width() < button->sizeHint().width())
            return button->objectName();
    for (const QComboBox *list : window.findChildren<QComboBox *>()) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        if (list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list).height() <
            list->fontMetrics().height())
            return list->objectName();
    }
    return {};
}

// The tooltip a pointer resting on the widget shows.
QString shownToolTip(QWidget *widget)
{
    const QPoint middle = widget->rect().center();
    QHelpEvent rest(QEvent::ToolTip, middle, widget->mapToGlobal(middle));
    QApplication::sendEvent(widget, &rest);
    return QToolTip::text();
}

// A dark desktop's colours: light texts on black, a blue selection.
QPalette darkPalette()
{
    QPalette dark(QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    return dark;
}

// Whether two colours can be told apart: their channels differ by enough in all.
bool apart(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) >= 60;
}

// The colour a table shows at a point of a cell, from its top left.
QColor cellPixel(const QImage &shot, const QTableView &table, const QModelIndex &index, QPoint at)
{
    return shot.pixelColor(table.visualRect(index).topLeft() + at);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    // Settings in the test's own place, never the user's.
    void initTestCase() { isolateSettings(); }
    void init();
    void cleanup();
    void startsAsTheUserMeetsIt();
    void controlsAreBuiltFromTheForm_data();
    void controlsAreBuiltFromTheForm();
    void everyControlIsInTheForm();
    void menusAreBuiltFromTheForm();
    void keyboardReachesEveryFieldInOrder();
    void shortcutsReachTheirHandlers();
    void firstOpenThroughTheDialog_data();
    void firstOpenThroughTheDialog();
    void dialogFiltersMatchAnyCase();
    void patchNameTakesTheFiltersEnding_data();
    void patchNameTakesTheFiltersEnding();
    void everyKeyPointingRightGoesToLaterShops_data();
    void everyKeyPointingRightGoesToLaterShops();
    void wheelMovesOneShopAndPicksOnlyWithFocus();
    void scrollBarShowsFocusAndHasAThumbToGrab();
    void etchedRuleTakesThePalettesColours();
    void unknownTypeCodesShowWhole();
    void typingInAListPicksByNameOrCode_data();
    void typingInAListPicksByNameOrCode();
    void listsKeepTheirKeysAndLeaveTheWindows_data();
    void listsKeepTheirKeysAndLeaveTheWindows();
    void longLabelsAreCutWithTheWholeLabelAsTooltip();
    void longFileNamesWrapInMessages();
    void goToShopAndSearchAllShops();
    void itemNamesFromTheImageByKeys();
    void typedShopNumbersMoveOrAreRefused_data();
    void typedShopNumbersMoveOrAreRefused();
    void keysThatWorkAnywhere_data();
    void keysThatWorkAnywhere();
    void keyboardEditingChangesOnlyThatByte();
    void thumbDragSavesAndMovesOnRelease();
    void closingTheWindowEndsLikeQuit();
    void refusedFileIsReportedInAMessageBox();
    void droppedFileOpensAsIfChosen();
    void aboutShowsTheSameTextsEachTime();
    void formFollowsTheFontAndTheWindow_data();
    void formFollowsTheFontAndTheWindow();
    void allShopsFitsItsFont_data();
    void allShopsFitsItsFont();
    void allShopsMarksMatchesInADarkPalette();
    void cellMarksShowInAnyPalette_data();
    void cellMarksShowInAnyPalette();

private:
    template <typename Widget>
    Widget *control(const QString &name) const
    {
        auto *widget = m_window->findChild<Widget *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QAction *menuEntry(const QString &name) const { return control<QAction>(name); }
    void openThroughDialog(const QString &path);
    // The shown shop's code in a list, as the controller has it.
    int pickedCode(const QString &list);
    // Types text as a user would: each key to the window.
    void typeInWindow(const QString &text);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FaultyFileAccess> m_files;
    std::unique_ptr<MainWindow> m_window;
    QString m_path;
};

void TestMainWindow::init()
{
    QSettings().clear(); // no names remembered from another test
    m_dir = std::make_unique<QTemporaryDir>();
    m_files = std::make_unique<FaultyFileAccess>();
    m_window = std::make_unique<MainWindow>(*m_files);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_path = writeImage(*m_dir, QStringLiteral("game.smc"), smallImage(ImageLayout::Headered));
}

void TestMainWindow::cleanup() { m_window.reset(); }

void TestMainWindow::openThroughDialog(const QString &path)
{
    whenModal([path](QWidget *modal) { choose(modal, path); });
    QTest::keyClick(m_window.get(), Qt::Key_O, Qt::ControlModifier);
    reactivate(m_window.get());
}

int TestMainWindow::pickedCode(const QString &list)
{
    const rom::ShopRecord &picks = m_window->controller().document().picks();
    return list == QStringLiteral("shopTypeList") ? picks.type : picks.items[list.mid(4, 1).toUInt() - 1];
}

void TestMainWindow::typeInWindow(const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(m_window->windowHandle(), c.toLatin1());
}

void TestMainWindow::startsAsTheUserMeetsIt()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Zeltharia III (US) Shop Editor"));
    QCOMPARE(m_window->centralWidget()->size(), QSize(440, 352));
    // At its least size; the user can enlarge it.
    QCOMPARE(m_window->minimumSize(), m_window->size());
    QVERIFY(m_window->maximumSize().width() > m_window->width());
    QVERIFY(m_window->maximumSize().height() > m_window->height());
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m_window->windowFlags() & Qt::WindowMinimizeButtonHint);

    for (const char *name : {"shopIndexEdit", "shopScrollBar", "saveButton", "shopTypeList", "slot1List", "slot8List"})
        QVERIFY2(!control<QWidget>(QLatin1String(name))->isEnabled(), name);
    QVERIFY(control<QPushButton>(QStringLiteral("quitButton"))->isEnabled());
    QVERIFY(menuEntry(QStringLiteral("saveAction"))->isEnabled());
    QVERIFY(!menuEntry(QStringLiteral("disabledFeatureAction"))->isEnabled());

    auto *scroll = control<QScrollBar>(QStringLiteral("shopScrollBar"));
    QCOMPARE(scroll->value(), 1); // so that the first open moves it to 0
    QCOMPARE(std::minmax(scroll->singleStep(), scroll->pageStep()), std::minmax(1, 5));
    QVERIFY(!control<QLineEdit>(QStringLiteral("shopIndexEdit"))->isReadOnly()); // takes a shop number
    QCOMPARE(control<QComboBox>(QStringLiteral("shopTypeList"))->currentText(), QStringLiteral("[Blank]"));
    for (int slot = 1; slot <= 8; ++slot) {
        auto *list = control<QComboBox>(QStringLiteral("slot%1List").arg(slot));
        QCOMPARE(list->currentText(), QLatin1String(rom::ItemLabels::label(0).data()));
        QCOMPARE(list->accessibleName(), QStringLiteral("Item Slot %1").arg(slot));
        QVERIFY(!list->isEditable());
    }

    // No text is cut off by a font wider than the one the layout was made for.
    QCOMPARE(cutText(*m_window), QString());
}

void TestMainWindow::controlsAreBuiltFromTheForm_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < int(std::size(form::kControls)); ++row)
        QTest::newRow(form::kControls[row].name) << row;
}

// Each row of the form is a control of the Qt class the benchmarks' bare
// window gives its kind, in its parent, at its place.
void TestMainWindow::controlsAreBuiltFromTheForm()
{
    QFETCH(int, row);
    const form::Control &described = form::kControls[row];
    static const std::map<form::Kind, const char *> classes{
        {form::Kind::TabStrip, "QTabWidget"}, {form::Kind::Frame, "QWidget"},        {form::Kind::Picture, "QLabel"},
        {form::Kind::Label, "QLabel"},        {form::Kind::Caption, "QLabel"},       {form::Kind::TextBox, "QLineEdit"},
        {form::Kind::ScrollBar, "QScrollBar"}, {form::Kind::TypeList, "QComboBox"}, {form::Kind::ItemList, "QComboBox"},
        {form::Kind::Button, "QPushButton"},  {form::Kind::RuleShadow, "QWidget"}, {form::Kind::RuleLight, "QWidget"}};
    auto *widget = control<QWidget>(QLatin1String(described.name));
    QVERIFY(widget->inherits(classes.at(described.kind)));
    QCOMPARE(widget->parentWidget(),
             described.parent ? control<QWidget>(QLatin1String(described.parent)) : m_window->centralWidget());
    QCOMPARE(widget->isEnabled(), described.enabled);
    const QRect place = form::pixelGeometry(described);
    if (described.kind == form::Kind::Caption) { // grows to the left for a wider font
        QCOMPARE(widget->geometry().right(), place.right());
        QCOMPARE(widget->y(), place.y());
    } else if (described.kind != form::Kind::Label) { // the note may wrap beside the buttons
        QCOMPARE(widget->geometry(), place);
    }
}

// A control made outside the form's table would be missing from the
// benchmarks' bare window.
void TestMainWindow::everyControlIsInTheForm()
{
    QStringList described;
    for (const form::Control &row : form::kControls)
        described << QLatin1String(row.name);
    QWidget *client = m_window->centralWidget();
    for (QWidget *widget : client->findChildren<QWidget *>()) {
        bool ownPart = widget->isWindow(); // drop-down lists, tab pages and bars
        for (QWidget *above = widget->parentWidget(); above != client; above = above->parentWidget())
            ownPart = ownPart || above->inherits("QTabWidget") || above->inherits("QComboBox");
        QVERIFY2(ownPart || described.contains(widget->objectName()), widget->metaObject()->className());
    }
}

void TestMainWindow::menusAreBuiltFromTheForm()
{
    const auto entryText = [](const QString &name, const QString &text, const QList<QKeySequence> &keys, bool enabled) {
        QStringList shortcuts;
        for (const QKeySequence &key : keys)
            shortcuts << key.toString();
        return QStringLiteral("  %1 \"%2\" %3%4").arg(name, text, shortcuts.join(u','), enabled ? "" : " disabled");
    };
    QStringList built;
    for (const QAction *menu : m_window->menuBar()->actions()) {
        built << menu->menu()->objectName() + u' ' + menu->text();
        for (const QAction *entry : menu->menu()->actions())
            built << entryText(entry->objectName(), entry->text(), entry->shortcuts(), entry->isEnabled());
    }
    QStringList described;
    for (const form::Menu &menu : form::kMenus) {
        described << QLatin1String(menu.name) + u' ' + QString::fromUtf8(menu.text);
        for (const form::MenuEntry &entry : menu.entries)
            described << entryText(QLatin1String(entry.name), QString::fromUtf8(entry.text), form::shortcuts(entry),
                                   entry.enabledAtStart());
    }
    QCOMPARE(built, described);
}

void TestMainWindow::keyboardReachesEveryFieldInOrder()
{
    const auto tabStops = [this](QWidget *from, int count) {
        from->setFocus();
        QStringList stops{stopName(m_window->focusWidget())};
        for (int i = 1; i < count; ++i) {
            QTest::keyClick(m_window->focusWidget(), Qt::Key_Tab);
            stops << stopName(m_window->focusWidget());
        }
        return stops;
    };
    auto *quit = control<QWidget>(QStringLiteral("quitButton"));
    // Before an image is open, only Quit and the tab strip take focus.
    QCOMPARE(tabStops(quit, 3), QStringList({"quitButton", "tabs", "quitButton"}));

    openThroughDialog(m_path);
    QCOMPARE(tabStops(control<QWidget>(QStringLiteral("shopIndexEdit")), 15),
             QStringList({"shopIndexEdit", "shopTypeList", "slot1List", "slot2List", "slot3List", "slot4List", "slot5List",
                          "slot6List", "slot7List", "slot8List", "saveButton", "quitButton", "tabs", "shopScrollBar",
                          "shopIndexEdit"}));
}

void TestMainWindow::shortcutsReachTheirHandlers()
{
    const QStringList before = listing(*m_dir);
    QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier); // nothing is open: nothing to save
    QCOMPARE(m_files->writes, 0);
    QCOMPARE(listing(*m_dir), before);

    const QList<std::pair<QString, QKeySequence>> shortcuts{
        {"openAction", Qt::CTRL | Qt::Key_O}, {"saveAction", Qt::CTRL | Qt::Key_S}, {"quitAction", Qt::CTRL | Qt::Key_Q},
        {"undoAction", Qt::CTRL | Qt::Key_Z}, {"redoAction", Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
        {"disabledFeatureAction", Qt::Key_F3},       {"aboutAction", Qt::Key_F1}};
    for (const auto &[name, key] : shortcuts)
        QCOMPARE(menuEntry(name)->shortcut(), key);
    QCOMPARE(menuEntry(QStringLiteral("redoAction"))->shortcuts().value(1), QKeySequence(Qt::CTRL | Qt::Key_Y));

    openThroughDialog(m_path);
    const Bytes opened = readFile(m_path);
    auto *slot2 = control<QComboBox>(QStringLiteral("slot2List"));
    slot2->setFocus();
    QTest::keyClick(slot2, Qt::Key_Home);
    QCOMPARE(m_window->windowHandle()->title().endsWith(u'*'), true); // the marker of unsaved picks
    QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(changedOffsets(opened, readFile(m_path)), QList<qint64>{qint64(shopOffset(ImageLayout::Headered, 0) + 2)});
    QVERIFY(!m_window->isWindowModified());
    QCOMPARE(menuEntry(QStringLiteral("undoAction"))->text(), QStringLiteral("&Undo Shop 0"));

    // Quit with unsaved picks asks: Esc cancels, Discard quits without saving.
    QTest::keyClick(slot2, Qt::Key_End);
    const Bytes saved = readFile(m_path);
    for (const int answer : {int(QMessageBox::Cancel), int(QMessageBox::Discard)}) {
        whenModal([answer](QWidget *box) {
            auto *question = qobject_cast<QMessageBox *>(box);
            QVERIFY(question && question->text().contains(QStringLiteral("shop 0")));
            if (answer == QMessageBox::Cancel)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                QTest::mouseClick(question->button(QMessageBox::Discard), Qt::LeftButton);
        });
        QTest::keyClick(m_window.get(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(m_window->isVisible(), answer == QMessageBox::Cancel);
        if (m_window->isVisible())
            reactivate(m_window.get());
    }
    QCOMPARE(readFile(m_path), saved);
}

void TestMainWindow::firstOpenThroughTheDialog_data()
{
    QTest::addColumn<ImageLayout>("layout");
    QTest::newRow("headered") << ImageLayout::Headered;
    QTest::newRow("headerless") << ImageLayout::Headerless;
}

void TestMainWindow::firstOpenThroughTheDialog()
{
    QFETCH(ImageLayout, layout);
    auto options = smallImage(layout, 7);
    options.name = "EMBER COAST";
    const QString path = writeImage(*m_dir, QStringLiteral("first.sfc"), options);
    const Bytes original = readFile(path);
    auto *scroll = control<QScrollBar>(QStringLiteral("shopScrollBar"));
    QSignalSpy changes(scroll, &QScrollBar::valueChanged);

    whenModal([path](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), QStringLiteral("openDialog"));
        QCOMPARE(dialog->nameFilters(),
                 QStringList({"All Files (*.*)", "Super MagiCom ROM File (*.smc)", "Super Wild Card ROM File (*.swc)",
                              "Pro Fighter X ROM File (*.fig)"}));
        QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("Super MagiCom ROM File (*.smc)"));
        choose(dialog, path);
    });
    menuEntry(QStringLiteral("openAction"))->trigger();

    QCOMPARE(changes.count(), 0); // the bar is put on 0 without a move
    QCOMPARE(scroll->value(), 0);
    QCOMPARE(m_files->writes, 0); // nothing was changed, nothing written
    QCOMPARE(readFile(path), original);
    QCOMPARE(m_window->windowHandle()->title(), QStringLiteral("Zeltharia III (US) Shop Editor - EMBER COAST          "));
    QVERIFY(control<QComboBox>(QStringLiteral("slot8List"))->isEnabled());
    const std::size_t at = shopOffset(layout, 0);
    QCOMPARE(control<QComboBox>(QStringLiteral("shopTypeList"))->currentIndex(), int(original[at]));
    QCOMPARE(control<QComboBox>(QStringLiteral("slot1List"))->currentIndex(), int(original[at + 1]));

    // Cancel keeps everything; the dialog still has the name chosen last.
    whenModal([path](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QCOMPARE(dialog->selectedFiles().value(0), path);
        dialog->reject();
    });
    menuEntry(QStringLiteral("openAction"))->trigger();
    QCOMPARE(m_files->writes, 0);
    QVERIFY(m_window->windowHandle()->title().endsWith(QStringLiteral("EMBER COAST          ")));
}

void TestMainWindow::dialogFiltersMatchAnyCase()
{
    writeImage(*m_dir, QStringLiteral("GAME.SMC"), smallImage(ImageLayout::Headered));
    writeFile(*m_dir, QStringLiteral("notes.txt"), Bytes(10, 'x'));
    QStringList listed;
    whenModal([this, &listed](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        dialog->setDirectory(m_dir->path());
        auto *files = dialog->findChild<QListView *>(QStringLiteral("listView"));
        const auto names = [files] {
            QStringList found;
            for (int row = 0; row < files->model()->rowCount(files->rootIndex()); ++row)
                found << files->model()->index(row, 0, files->rootIndex()).data().toString();
            found.sort();
            return found;
        };
        QTRY_COMPARE(names().size(), 2);
        listed = names();
        // "All Files (*.*)" lists names without a dot too.
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Home);
        QCOMPARE(types->currentText(), QStringLiteral("All Files (*.*)"));
        QTRY_COMPARE(names().size(), 4);
        listed << names();
        dialog->reject();
    });
    writeFile(*m_dir, QStringLiteral("README"), Bytes(10, 'x'));
    menuEntry(QStringLiteral("openAction"))->trigger();
    QCOMPARE(listed, QStringList({"GAME.SMC", "game.smc", "GAME.SMC", "README", "game.smc", "notes.txt"}));
}

void TestMainWindow::patchNameTakesTheFiltersEnding_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ips");         // the IPS filter chosen
    QTest::addColumn<QString>("expected"); // the name chosen; empty when the dialog was cancelled
    QTest::addColumn<bool>("asked");       // whether the dialog asked about replacing a file
    QTest::newRow("no ending, BPS") << "new" << false << "new.bps" << false;
    QTest::newRow("no ending, IPS") << "new" << true << "new.ips" << false;
    QTest::newRow("no ending, an IPS ending typed") << "new.IPS" << false << "new.IPS" << false;
    QTest::newRow("another ending") << "new.v2" << true << "new.v2.ips" << false;
    QTest::newRow("no ending, that patch exists: asked, No") << "hack" << false << QString() << true;
}

// Create Patch: a name typed without an ending gets the chosen filter's
// before the dialog checks it, so that its question covers an existing patch.
void TestMainWindow::patchNameTakesTheFiltersEnding()
{
    QFETCH(QString, typed);
    QFETCH(bool, ips);
    QFETCH(QString, expected);
    QFETCH(bool, asked);
    writeFile(*m_dir, QStringLiteral("hack.bps"), Bytes(3, 'p'));
    bool questioned = false;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        types->setFocus();
        QTest::keyClick(types, ips ? Qt::Key_End : Qt::Key_Home);
        whenModal([&questioned](QWidget *box) {
            questioned = qobject_cast<QMessageBox *>(box)->text().contains(QStringLiteral("hack.bps already exists"));
            QTest::keyClick(box, Qt::Key_Escape);
        }, dialog);
        typeFileName(dialog, m_dir->filePath(typed));
        static_cast<QDialog *>(dialog)->accept();
        if (dialog->isVisible())
            dialog->reject();
    });
    WindowPrompts prompts(m_window.get());
    const std::string chosen = prompts.chooseFile(EditorPrompts::FileChoice::PatchToWrite);
    QCOMPARE(QFile::decodeName(QByteArray::fromStdString(chosen)), expected.isEmpty() ? QString() : m_dir->filePath(expected));
    QCOMPARE(questioned, asked);
}

void TestMainWindow::everyKeyPointingRightGoesToLaterShops_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("shop"); // from shop 10
    const struct {
        const char *name;
        Qt::Key key;
        int shop;
    } keys[] = {{"Right", Qt::Key_Right, 11},      {"Down", Qt::Key_Down, 11},        {"Page Down", Qt::Key_PageDown, 15},
                {"End", Qt::Key_End, 127},         {"Left", Qt::Key_Left, 9},         {"Up", Qt::Key_Up, 9},
                {"Page Up", Qt::Key_PageUp, 5},    {"Home", Qt::Key_Home, 0}};
    const struct {
        const char *name;
        Qt::KeyboardModifiers modifiers;
    } held[] = {{"", Qt::NoModifier},          {"Shift+", Qt::ShiftModifier},   {"Ctrl+", Qt::ControlModifier},
                {"keypad ", Qt::KeypadModifier}, {"Alt+", Qt::AltModifier}};
    // Ctrl+Page Down and Ctrl+Page Up are the window's next and previous shop.
    for (const auto &modifier : held)
        for (const auto &key : keys)
            QTest::addRow("%s%s", modifier.name, key.name)
                << int(key.key) << modifier.modifiers
                << (modifier.modifiers == Qt::ControlModifier && key.key == Qt::Key_PageDown ? 11
                    : modifier.modifiers == Qt::ControlModifier && key.key == Qt::Key_PageUp ? 9
                                                                                             : key.shop);
}

void TestMainWindow::everyKeyPointingRightGoesToLaterShops()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, shop);
    m_window->openImage(QFile::encodeName(m_path));
    auto *scroll = control<QScrollBar>(QStringLiteral("shopScrollBar"));
    scroll->setValue(10);
    scroll->setFocus();
    QTest::keyClick(m_window->windowHandle(), Qt::Key(key), modifiers);
    QCOMPARE(scroll->value(), shop);
    QCOMPARE(control<QLineEdit>(QStringLiteral("shopIndexEdit"))->text(), QString::number(shop));
}

void TestMainWindow::wheelMovesOneShopAndPicksOnlyWithFocus()
{
    m_window->openImage(QFile::encodeName(m_path));
    auto *scroll = control<QScrollBar>(QStringLiteral("shopScrollBar"));
    auto *slot3 = control<QComboBox>(QStringLiteral("slot3List"));
    const auto turn = [](QWidget *widget, int eighths) {
        const QPointF at = widget->rect().center();
        QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &wheel);
    };
    control<QWidget>(QStringLiteral("quitButton"))->setFocus();
    const int picked = slot3->currentIndex();
    turn(slot3, -120);
    QCOMPARE(slot3->currentIndex(), picked); // not focused: no pick
    turn(scroll, -120);
    QCOMPARE(scroll->value(), 1); // one notch, one shop
    turn(scroll, -60);
    QCOMPARE(scroll->value(), 1);
    turn(scroll, -60);
    QCOMPARE(scroll->value(), 2); // half notches add up
    turn(scroll, 240);
    QCOMPARE(scroll->value(), 0);
    slot3 = control<QComboBox>(QStringLiteral("slot3List"));
    slot3->setFocus();
    turn(slot3, -120);
    QVERIFY(slot3->currentIndex() != picked); // focused: the wheel picks
}

void TestMainWindow::scrollBarShowsFocusAndHasAThumbToGrab()
{
    m_window->openImage(QFile::encodeName(m_path));
    auto *scroll = control<QScrollBar>(QStringLiteral("shopScrollBar"));
    QCOMPARE(scroll->geometry(), QRect(76, 36, 47, 12));
    QVERIFY(scrollBarPart(*scroll, QStyle::SC_ScrollBarSlider).width() >= 10);
    control<QWidget>(QStringLiteral("quitButton"))->setFocus();
    const QImage unfocused = scroll->grab().toImage();
    scroll->setFocus();
    QCOMPARE(scroll->grab().toImage() == unfocused, false);
}

void TestMainWindow::etchedRuleTakesThePalettesColours()
{
    QPalette dark = m_window->palette();
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    dark.setColor(QPalette::Dark, QColor(0x10, 0x10, 0x10));
    m_window->setPalette(dark);
    QCOMPARE(control<QWidget>(QStringLiteral("ruleShadow"))->grab().toImage().pixelColor(0, 0), QColor(0x10, 0x10, 0x10));
    QCOMPARE(control<QWidget>(QStringLiteral("ruleLight"))->grab().toImage().pixelColor(0, 0), QColor(0x50, 0x50, 0x50));
}

void TestMainWindow::unknownTypeCodesShowWhole()
{
    m_window->openImage(QFile::encodeName(m_path));
    auto *type = control<QComboBox>(QStringLiteral("shopTypeList"));
    control<QScrollBar>(QStringLiteral("shopScrollBar"))->setValue(5); // a code without a label
    QVERIFY(type->currentText().endsWith(QStringLiteral(": Unknown")));
    QStyleOptionComboBox option;
    option.initFrom(type);
    option.currentText = type->currentText();
    const QRect field = type->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, type);
    for (int code = 0x36; code <= 0xFF; ++code) {
        const QString text = QString::fromStdString(rom::ShopTypeLabels::text(std::uint8_t(code)));
        QVERIFY2(type->fontMetrics().horizontalAdvance(text) <= field.width(), qPrintable(text));
    }
}

void TestMainWindow::typingInAListPicksByNameOrCode_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("keys"); // then, in the search; "Click": on the second match
    QTest::addColumn<QString>("picked"); // the label picked; none: the pick stays
    QTest::newRow("part of a name picks it") << "slot1List" << "urge h" << "Return" << "E0: Purge Herb";
    QTest::newRow("a hex code picks it") << "slot2List" << "2a" << "Return" << "2A: Glaive";
    QTest::newRow("a code before names holding it") << "slot3List" << "BE" << "Return" << "BE: Mind Gem";
    QTest::newRow("word starts before inner matches") << "slot4List" << "staff" << "Down Down Return" << "46: Sage Staff";
    QTest::newRow("Enter on the first match") << "slot5List" << "herb" << "Return" << "D8: Healing Herb";
    QTest::newRow("a click on a match") << "slot6List" << "ring" << "Click" << "A8: Iron Ring";
    QTest::newRow("Backspace edits the text") << "slot7List" << "herbx" << "Backspace Return" << "D8: Healing Herb";
    QTest::newRow("type list by name") << "shopTypeList" << "relic 15" << "Return" << "Relic 150% cost";
    QTest::newRow("type list by code") << "shopTypeList" << "12" << "Return" << "Armor 200% cost";
    QTest::newRow("Esc picks nothing") << "slot8List" << "herb" << "Down Esc" << "";
    QTest::newRow("no match keeps the pick") << "slot1List" << "ether" << "Return Esc" << "";
    QTest::newRow("deleting the text closes") << "slot2List" << "h" << "Backspace" << "";
    QTest::newRow("typing in the open list") << "slot3List" << "F4 herb" << "Return" << "D8: Healing Herb";
}

// Keys go where the user's would: to the window, which gives them to the
// focused list, or to the search once it is open.
void TestMainWindow::typingInAListPicksByNameOrCode()
{
    QFETCH(QString, list);
    QFETCH(QString, typed);
    QFETCH(QString, keys);
    QFETCH(QString, picked);
    m_window->openImage(QFile::encodeName(m_path));
    const Bytes opened = readFile(m_path);
    auto *box = control<QComboBox>(list);
    const QString before = box->currentText();
    QVERIFY(before != picked);
    QSignalSpy picks(box, &QComboBox::activated);
    box->setFocus();
    if (typed.startsWith(QStringLiteral("F4 "))) { // the list's own popup first
        QTest::keyClick(m_window->windowHandle(), Qt::Key_F4);
        QVERIFY(box->view()->isVisible());
        typed.remove(0, 3);
    }
    typeInWindow(typed);
    auto *search = box->findChild<QWidget *>(QStringLiteral("pickSearch"));
    QVERIFY(search && search->isVisible() && !box->view()->isVisible());
    QCOMPARE(search->findChild<QLineEdit *>(QStringLiteral("pickSearchText"))->text(), typed);
    auto *matches = search->findChild<QAbstractItemView *>(QStringLiteral("pickSearchMatches"));
    for (const QString &key : keys.split(u' ')) {
        if (key == QStringLiteral("Click"))
            QTest::mouseClick(matches->viewport(), Qt::LeftButton, {}, matches->visualRect(matches->model()->index(1, 0)).center());
        else
            QTest::keyClick(m_window->windowHandle(), QKeySequence(key)[0].key());
    }

    QVERIFY(!search->isVisible());
    QCOMPARE(picks.count(), picked.isEmpty() ? 0 : 1);
    QCOMPARE(box->currentText(), picked.isEmpty() ? before : picked);
    QCOMPARE(pickedCode(list), box->currentIndex()); // the controller took the pick
    QCOMPARE(m_window->isWindowModified(), !picked.isEmpty());
    QCOMPARE(readFile(m_path), opened); // a pick alone writes nothing
    QCOMPARE(m_files->writes, 0);
    QCOMPARE(QApplication::focusWidget(), box);
}

void TestMainWindow::listsKeepTheirKeysAndLeaveTheWindows_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("entry"); // from entry 0x40; -1: the list's popup opens; -2: the key is the window's
    QTest::newRow("Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers() << "" << 0x41;
    QTest::newRow("End") << int(Qt::Key_End) << Qt::KeyboardModifiers() << "" << 0xFF;
    QTest::newRow("Alt+Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::AltModifier) << "" << -1;
    QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << " " << -1;
    QTest::newRow("Ctrl+Page Down") << int(Qt::Key_PageDown) << Qt::KeyboardModifiers(Qt::ControlModifier) << "" << -2;
    QTest::newRow("Ctrl+Page Up") << int(Qt::Key_PageUp) << Qt::KeyboardModifiers(Qt::ControlModifier) << "" << -2;
    QTest::newRow("Alt+1") << int(Qt::Key_1) << Qt::KeyboardModifiers(Qt::AltModifier) << "1" << -2;
}

// Sent to the list itself: the list takes its own keys, and a key of the
// window's changes nothing in it.
void TestMainWindow::listsKeepTheirKeysAndLeaveTheWindows()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, text);
    QFETCH(int, entry);
    m_window->openImage(QFile::encodeName(m_path));
    auto *slot = control<QComboBox>(QStringLiteral("slot1List"));
    slot->setCurrentIndex(0x40);
    slot->setFocus();
    QSignalSpy picks(slot, &QComboBox::activated);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(slot, &press);
    if (entry != -2)
        QVERIFY(press.isAccepted()); // the window's keys go to its shortcuts (keysThatWorkAnywhere)
    QCOMPARE(slot->view()->isVisible(), entry == -1);
    slot->hidePopup();
    QCOMPARE(slot->findChild<QWidget *>(QStringLiteral("pickSearch")), nullptr);
    if (entry != -2) // else the window moved to another shop
        QCOMPARE(slot->currentIndex(), entry >= 0 ? entry : 0x40);
    QCOMPARE(picks.count(), entry >= 0 ? 1 : 0);
}

// A user's name longer than the list; the tooltip follows the names and the picks.
void TestMainWindow::longLabelsAreCutWithTheWholeLabelAsTooltip()
{
    m_window->openImage(QFile::encodeName(m_path));
    QStringList names;
    for (int code = 0; code < rom::ItemLabels::count(); ++code)
        names << QLatin1String(rom::ItemLabels::label(code).data());
    const QString longLabel = QStringLiteral("E4: Bread of the Ancient Kings of the Coast");
    auto *slot = control<PickList>(QStringLiteral("slot2List"));
    pickEntry(slot, 0xE4);
    QCOMPARE(slot->shownText(), names[0xE4]);
    QCOMPARE(shownToolTip(slot), names[0xE4]);

    names[0xE4] = longLabel;
    m_window->setItemLabels(names);
    const QString shown = slot->shownText();
    QVERIFY2(shown.size() > 10 && shown.endsWith(QChar(0x2026)) && longLabel.startsWith(shown.chopped(1)), qPrintable(shown));
    QCOMPARE(shownToolTip(slot), longLabel);
    slot->setFocus();
    typeInWindow(QStringLiteral("ancient")); // the search shows it whole
    auto *matches = slot->findChild<QAbstractItemView *>(QStringLiteral("pickSearchMatches"));
    QCOMPARE(matches->model()->index(0, 0).data().toString(), longLabel);
    QVERIFY(matches->viewport()->width() > matches->fontMetrics().horizontalAdvance(longLabel));
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Escape);
    pickEntry(slot, 0xE5);
    QCOMPARE(shownToolTip(slot), names[0xE5]);
    QCOMPARE(slot->shownText(), names[0xE5]);

    auto *type = control<PickList>(QStringLiteral("shopTypeList"));
    QCOMPARE(shownToolTip(type), type->currentText());
    control<QScrollBar>(QStringLiteral("shopScrollBar"))->setValue(5); // a code without a label, an extra entry
    QVERIFY(shownToolTip(type).endsWith(QStringLiteral(": Unknown")));
}

void TestMainWindow::longFileNamesWrapInMessages()
{
    const QString path = m_dir->filePath(QString(240, u'n') + QStringLiteral(".smc"));
    QString text;
    bool fits = false;
    whenModal([&text, &fits](QWidget *box) {
        auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        text = label->text();
        const QRect laidOut = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, text);
        fits = laidOut.width() <= label->width() && box->width() <= 800;
        QTest::keyClick(box, Qt::Key_Return);
    });
    m_window->openImage(QFile::encodeName(path));
    QVERIFY(fits);
    QVERIFY(text.remove(QChar(0x200B)).contains(path));

    // Break points go between whole characters: no lone surrogate, and no
    // mark parted from its letter.
    const QString daggers = QString::fromUcs4(std::u32string(200, U'\U0001F5E1').data(), 200);
    const QString accented = QStringLiteral("e\u0301").repeated(300);
    for (const QString &name : {daggers, accented}) {
        const QString wrapped = message_box::wrappable(name, m_window->fontMetrics());
        QVERIFY(wrapped.contains(QChar(0x200B)));
        QCOMPARE(QString(wrapped).remove(QChar(0x200B)), name);
        for (qsizetype at = wrapped.indexOf(QChar(0x200B)); at >= 0; at = wrapped.indexOf(QChar(0x200B), at + 1))
            QVERIFY(!wrapped[at - 1].isHighSurrogate() && wrapped.at(at + 1) != QChar(0x0301));
    }
}

void TestMainWindow::keyboardEditingChangesOnlyThatByte()
{
    openThroughDialog(m_path);
    const Bytes opened = readFile(m_path);
    const std::size_t shop0 = shopOffset(ImageLayout::Headered, 0);

    auto *slot3 = control<QComboBox>(QStringLiteral("slot3List"));
    const int picked = opened[shop0 + 3] == 0xFF ? 0xFE : opened[shop0 + 3] + 1;
    slot3->setFocus();
    QTest::keyClick(slot3, opened[shop0 + 3] == 0xFF ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(slot3->currentIndex(), picked);
    QCOMPARE(readFile(m_path), opened); // a pick alone writes nothing

    auto *scroll = control<QScrollBar>(QStringLiteral("shopScrollBar"));
    scroll->setFocus();
    QTest::keyClick(scroll, Qt::Key_Right); // to shop 1: shop 0 is saved first
    QCOMPARE(control<QLineEdit>(QStringLiteral("shopIndexEdit"))->text(), QStringLiteral("1"));
    QTest::keyClick(scroll, Qt::Key_PageDown);
    QCOMPARE(control<QLineEdit>(QStringLiteral("shopIndexEdit"))->text(), QStringLiteral("6"));
    QTest::keyClick(scroll, Qt::Key_Left);
    QCOMPARE(scroll->value(), 5);
    QTest::keyClick(scroll, Qt::Key_End);
    QCOMPARE(control<QLineEdit>(QStringLiteral("shopIndexEdit"))->text(), QStringLiteral("127"));

    const Bytes after = readFile(m_path);
    QCOMPARE(changedOffsets(opened, after), QList<qint64>{qint64(shop0 + 3)});
    QCOMPARE(int(after[shop0 + 3]), picked);
}

void TestMainWindow::thumbDragSavesAndMovesOnRelease()
{
    openThroughDialog(m_path);
    auto *scroll = control<QScrollBar>(QStringLiteral("shopScrollBar"));
    auto *index = control<QLineEdit>(QStringLiteral("shopIndexEdit"));
    QSignalSpy changes(scroll, &QScrollBar::valueChanged);
    QSignalSpy steps(scroll, &QScrollBar::sliderMoved);
    auto *slot1 = control<QComboBox>(QStringLiteral("slot1List"));
    pickEntry(slot1, slot1->currentIndex() ^ 1);
    const int writesBefore = m_files->writes;

    // What a thumb drag does: the slider is down while its position moves.
    scroll->setSliderDown(true);
    scroll->setSliderPosition(3);
    scroll->setSliderPosition(9);
    QCOMPARE(steps.count(), 2);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(index->text(), QStringLiteral("0"));           // still on shop 0 ...
    QCOMPARE(m_files->writes, writesBefore + 1);            // ... saved once, at the first step
    scroll->setSliderDown(false);                           // release
    QCOMPARE(changes.count(), 1);
    QCOMPARE(index->text(), QStringLiteral("9"));
    QCOMPARE(m_files->writes, writesBefore + 1);

    // Setting the value it already has raises nothing.
    scroll->setValue(9);
    QCOMPARE(changes.count(), 1);

    // A drag from a shop with picks over a file replaced behind the editor:
    // one message, which ends the drag with the thumb back on shop 9, where
    // the editor stays.
    pickEntry(slot1, slot1->currentIndex() ^ 1);
    QVERIFY(QFile::remove(m_path));
    writeImage(*m_dir, QStringLiteral("game.smc"), smallImage(ImageLayout::Headered, 2));
    QStringList messages;
    whenModal([&messages](QWidget *box) {
        messages << qobject_cast<QMessageBox *>(box)->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    scroll->setSliderDown(true);
    scroll->setSliderPosition(20);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(QStringLiteral("shop 9")), qPrintable(messages[0]));
    QVERIFY(!scroll->isSliderDown());
    QCOMPARE(scroll->sliderPosition(), 9);
    QCOMPARE(scroll->value(), 9);
    QCOMPARE(index->text(), QStringLiteral("9"));
}

void TestMainWindow::closingTheWindowEndsLikeQuit()
{
    openThroughDialog(m_path);
    const Bytes opened = readFile(m_path);
    pickEntry(control<QComboBox>(QStringLiteral("slot5List")), 0x10);
    QCOMPARE(m_files->syncs, 0);
    whenModal([](QWidget *box) { QTest::keyClick(box, Qt::Key_Return); }); // Save is the default
    QVERIFY(m_window->close());
    QCOMPARE(m_files->syncs, 1); // the image was closed, its writes made durable
    QCOMPARE(changedOffsets(opened, readFile(m_path)), QList<qint64>{qint64(shopOffset(ImageLayout::Headered, 0) + 5)});
}

void TestMainWindow::refusedFileIsReportedInAMessageBox()
{
    openThroughDialog(m_path);
    const QString odd = writeFile(*m_dir, QStringLiteral("odd.smc"), Bytes(1000, 0));
    const QStringList before = listing(*m_dir);
    QString message;
    whenModal([odd, &message](QWidget *modal) {
        // The message comes up once the dialog has closed.
        whenModal([&message](QWidget *box) {
            QVERIFY(qobject_cast<QMessageBox *>(box));
            message = qobject_cast<QMessageBox *>(box)->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        choose(modal, odd);
    });
    menuEntry(QStringLiteral("openAction"))->trigger();
    QVERIFY2(message.contains(odd) && message.contains(QStringLiteral("Open ROM")), qPrintable(message));
    QVERIFY(m_window->windowTitle().contains(QStringLiteral(" - MOONLIT"))); // the open image stays
    QCOMPARE(listing(*m_dir), before);
}

void TestMainWindow::droppedFileOpensAsIfChosen()
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(m_path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &drop);
    QTRY_VERIFY(m_window->windowTitle().contains(QStringLiteral(" - MOONLIT")));

    // The dialog now offers the dropped file.
    QString offered;
    whenModal([&offered](QWidget *modal) {
        offered = qobject_cast<QFileDialog *>(modal)->selectedFiles().value(0);
        qobject_cast<QDialog *>(modal)->reject();
    });
    menuEntry(QStringLiteral("openAction"))->trigger();
    QCOMPARE(offered, m_path);
}

void TestMainWindow::aboutShowsTheSameTextsEachTime()
{
    const auto readAbout = [this] {
        QStringList texts;
        whenModal([&texts, this](QWidget *about) {
            QCOMPARE(about->objectName(), QStringLiteral("aboutWindow"));
            QVERIFY(about->isModal());
            QCOMPARE(about->parentWidget(), m_window.get());
            for (const char *name : {"titleLabel", "versionLabel", "descriptionLabel", "disclaimerLabel"})
                texts << about->findChild<QLabel *>(QLatin1String(name))->text();
            QTest::mouseClick(about->findChild<QPushButton *>(QStringLiteral("okButton")), Qt::LeftButton);
        });
        QTest::keyClick(m_window.get(), Qt::Key_F1);
        reactivate(m_window.get());
        return texts;
    };
    const QStringList first = readAbout();
    QCOMPARE(first.size(), 4);
    QCOMPARE(first[0], QStringLiteral("Zeltharia III (US) Shop Editor"));
    QCOMPARE(first[1], QStringLiteral("Version: %1").arg(QLatin1String(version::kText))); // as --version says
    QCOMPARE(first[2], QStringLiteral("This program edits the Shops in Qorvik.  \r\n\r\n"
                                      "This editor also works on the Japanese Zeltharia IV ROM file.  \r\n\r\n"
                                      "Special thanks to Brannoc for helping me fix a nasty bug."));
    QVERIFY(!first[3].isEmpty());
    QCOMPARE(readAbout(), first);
    QVERIFY(!QApplication::activeModalWidget());
}

// Go to Shop takes two keys and the number; All Shops finds the shops that
// sell an item by part of its name or its code, and takes the user there.
void TestMainWindow::goToShopAndSearchAllShops()
{
    QVERIFY(!menuEntry(QStringLiteral("goToShopAction"))->isEnabled());
    QVERIFY(!menuEntry(QStringLiteral("allShopsAction"))->isEnabled());
    openThroughDialog(m_path);
    auto *index = control<QLineEdit>(QStringLiteral("shopIndexEdit"));
    auto *scroll = control<QScrollBar>(QStringLiteral("shopScrollBar"));
    scroll->setValue(9);

    QString offered;
    whenModal([&offered](QWidget *dialog) {
        offered = dialog->findChild<QLineEdit *>()->text();
        dialog->findChild<QLineEdit *>()->selectAll();
        QTest::keyClicks(dialog->focusWidget(), QStringLiteral("100"));
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    });
    QTest::keyClick(m_window->windowHandle(), Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(offered, QStringLiteral("9"));
    QCOMPARE(index->text(), QStringLiteral("100"));
    QCOMPARE(scroll->value(), 100);
    reactivate(m_window.get());

    QTest::keyClick(m_window->windowHandle(), Qt::Key_L, Qt::ControlModifier);
    auto *all = m_window->findChild<QDialog *>(QStringLiteral("allShopsWindow"));
    QVERIFY(all && all->isVisible() && !all->isModal());
    QVERIFY(QTest::qWaitForWindowActive(all));
    auto *table = all->findChild<QTableView *>(QStringLiteral("shopsTable"));
    QCOMPARE(table->model()->rowCount(), 128);
    QCOMPARE(all->windowTitle(), QStringLiteral("All Shops"));
    const Bytes file = readFile(m_path);
    const QString code = QString::number(file[shopOffset(ImageLayout::Headered, 57) + 2], 16);
    QTest::keyClicks(all->findChild<QLineEdit *>(QStringLiteral("searchEdit")), code);
    const int found = table->model()->rowCount();
    QVERIFY(found >= 1 && found < 128);
    QCOMPARE(all->windowTitle(), QStringLiteral("All Shops - %1 of 128 shops match").arg(found));
    const auto holdsCode = [table, &code](int row) {
        for (int column = 1; column < table->model()->columnCount(); ++column)
            if (table->model()->index(row, column).data().toString().contains(code, Qt::CaseInsensitive))
                return true;
        return false;
    };
    int shop57 = -1;
    for (int row = 0; row < found; ++row) {
        QVERIFY(holdsCode(row));
        if (table->model()->index(row, 0).data().toInt() == 57)
            shop57 = row;
    }
    QVERIFY(shop57 >= 0);
    table->setFocus();
    table->setCurrentIndex(table->model()->index(shop57, 0));
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(index->text(), QStringLiteral("57"));
    QTest::keyClick(all, Qt::Key_Escape);
    QVERIFY(!all->isVisible());
}

// Options > Item Names from Image..., by keys: a table file and the
// address typed, the preview following each change and refusing what is
// wrong beside its field; then Find with two names and no table file.
void TestMainWindow::itemNamesFromTheImageByKeys()
{
    const std::string table = demo::tableFileText({}, {});
    const QString tablePath = writeFile(*m_dir, QStringLiteral("game.tbl"), Bytes(table.begin(), table.end()));
    openThroughDialog(m_path);
    auto *slot2 = control<QComboBox>(QStringLiteral("slot2List"));
    const auto openDialog = [this] {
        QTest::keyClick(m_window.get(), Qt::Key_O, Qt::AltModifier);
        QTest::keyClick(control<QMenu>(QStringLiteral("optionsMenu")), Qt::Key_N);
    };
    QStringList seen;
    whenModal([&](QWidget *dialog) {
        auto *preview = dialog->findChild<QListView *>(QStringLiteral("namesPreview"));
        const auto type = [dialog](const char *field, const QString &text) {
            auto *edit = dialog->findChild<QLineEdit *>(QLatin1String(field));
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Tab);
        };
        type("tableFileEdit", tablePath);
        type("addressEdit", QStringLiteral("$C3:A4"));
        seen << dialog->findChild<QLabel *>(QStringLiteral("addressProblem"))->text();
        type("addressEdit", QStringLiteral("$C3:A400"));
        type("skipEdit", QStringLiteral("1"));
        seen << QString::number(preview->model()->rowCount()) << preview->model()->index(1, 0).data().toString();
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    });
    openDialog();
    QCOMPARE(seen.size(), 3);
    QVERIFY2(!seen[0].isEmpty(), "no refusal beside the address");
    QCOMPARE(seen[1], QStringLiteral("255"));
    const QString dagger = QStringLiteral("01: ") + QString::fromStdString(demo::demoItemName(1));
    QCOMPARE(seen[2], dagger);
    QCOMPARE(slot2->itemText(1), dagger);

    // Find: two names as the user knows them, no table file.
    m_window->controller().useBuiltInItemNames();
    QSettings().remove(QStringLiteral("imageNames")); // nothing remembered to start from
    const auto press = [](QWidget *window, const char *button) {
        auto *target = window->findChild<QPushButton *>(QLatin1String(button));
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Space);
    };
    whenModal([&](QWidget *dialog) {
        seen << dialog->findChild<QLineEdit *>(QStringLiteral("addressEdit"))->text();
        whenModal([&](QWidget *find) {
            auto *known = find->findChild<QPlainTextEdit *>(QStringLiteral("knownNamesEdit"));
            QTest::keyClicks(known, QStringLiteral("01 ") + QString::fromStdString(demo::demoItemName(1)));
            QTest::keyClick(known, Qt::Key_Return);
            QTest::keyClicks(known, QStringLiteral("1F ") + QString::fromStdString(demo::demoItemName(0x1F)));
            press(find, "searchButton");
            seen << find->findChild<QLabel *>(QStringLiteral("outcomeLabel"))->text();
            QTest::keyClick(find->focusWidget(), Qt::Key_Return); // the place found
        });
        press(dialog, "findButton");
        seen << dialog->findChild<QLineEdit *>(QStringLiteral("addressEdit"))->text();
        QTest::keyClick(dialog->findChild<QLineEdit *>(QStringLiteral("addressEdit")), Qt::Key_Return);
    });
    openDialog();
    QCOMPARE(seen.mid(3), (QStringList{QString(), QStringLiteral("One place fits the names."),
                                       QStringLiteral("$C3:A400")}));
    QCOMPARE(slot2->itemText(0x1F).mid(4), QString::fromStdString(demo::demoItemName(0x1F)));
}

void TestMainWindow::typedShopNumbersMoveOrAreRefused_data()
{
    QTest::addColumn<bool>("inTheBox"); // the index box; else Go to Shop
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("shop"); // -1: refused
    for (const bool box : {true, false}) {
        const char *where = box ? "box" : "dialog";
        QTest::addRow("%s: decimal", where) << box << "100" << 100;
        QTest::addRow("%s: $ hex", where) << box << "$40" << 64;
        QTest::addRow("%s: 0x hex", where) << box << "0x7F" << 127;
        QTest::addRow("%s: past the last shop, not cut to 20", where) << box << "200" << -1;
        QTest::addRow("%s: $80", where) << box << "$80" << -1;
        QTest::addRow("%s: not a number", where) << box << "12a" << -1;
    }
}

// The index box and Go to Shop both take decimal and hex; a number that is
// no shop is refused where it was typed, never read in part.
void TestMainWindow::typedShopNumbersMoveOrAreRefused()
{
    QFETCH(bool, inTheBox);
    QFETCH(QString, typed);
    QFETCH(int, shop);
    openThroughDialog(m_path);
    auto *index = control<QLineEdit>(QStringLiteral("shopIndexEdit"));
    auto *scroll = control<QScrollBar>(QStringLiteral("shopScrollBar"));
    QString refusal;
    if (inTheBox) {
        index->setFocus();
        index->selectAll();
        QTest::keyClicks(index, typed);
        QCOMPARE(index->text(), typed);
        QTest::keyClick(index, Qt::Key_Return);
        refusal = index->toolTip();
    } else {
        whenModal([&refusal, &typed](QWidget *dialog) {
            auto *edit = dialog->findChild<QLineEdit *>();
            edit->selectAll();
            QTest::keyClicks(edit, typed);
            auto *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            if (!ok->isEnabled())
                refusal = dialog->findChild<QLabel *>()->text();
            QTest::keyClick(edit, ok->isEnabled() ? Qt::Key_Return : Qt::Key_Escape);
        });
        QTest::keyClick(m_window->windowHandle(), Qt::Key_G, Qt::ControlModifier);
    }
    QCOMPARE(scroll->value(), shop < 0 ? 0 : shop);
    QCOMPARE(refusal.isEmpty(), shop >= 0);
    if (shop < 0) {
        QVERIFY2(refusal.contains(typed), qPrintable(refusal));
        QVERIFY2(refusal.contains(QStringLiteral("127")), qPrintable(refusal));
    } else {
        QCOMPARE(index->text(), QString::number(shop));
    }
}

void TestMainWindow::keysThatWorkAnywhere_data()
{
    QTest::addColumn<QString>("focus");
    QTest::newRow("in a slot list") << "slot3List";
    QTest::newRow("in the type list") << "shopTypeList";
    QTest::newRow("on the scroll bar") << "shopScrollBar";
    QTest::newRow("on the index box") << "shopIndexEdit";
}

// Ctrl+Page Down and Ctrl+Page Up move to the next and previous shop and
// Alt+1 to Alt+8 go to a slot's list, wherever the focus is; a list's own
// keys do not change its pick then.
void TestMainWindow::keysThatWorkAnywhere()
{
    QFETCH(QString, focus);
    openThroughDialog(m_path);
    auto *scroll = control<QScrollBar>(QStringLiteral("shopScrollBar"));
    control<QWidget>(focus)->setFocus();
    const Bytes file = readFile(m_path);
    QTest::keyClick(m_window->windowHandle(), Qt::Key_PageDown, Qt::ControlModifier);
    QTest::keyClick(m_window->windowHandle(), Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(scroll->value(), 2);
    QTest::keyClick(m_window->windowHandle(), Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(scroll->value(), 1);
    QCOMPARE(readFile(m_path), file); // no pick changed on the way
    QVERIFY(!m_window->isWindowModified());
    QTest::keyClick(m_window->windowHandle(), Qt::Key_5, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(QStringLiteral("slot5List")));
}

void TestMainWindow::formFollowsTheFontAndTheWindow_data()
{
    QTest::addColumn<qreal>("points"); // 0: the window's own font
    QTest::addColumn<QSize>("enlarged");
    QTest::newRow("own font, window enlarged") << 0.0 << QSize(200, 90);
    QTest::newRow("14 pt") << 14.0 << QSize();
    QTest::newRow("14 pt, window enlarged") << 14.0 << QSize(150, 60);
    QTest::newRow("20 pt") << 20.0 << QSize();
}

// A larger font scales the form and a larger window widens the lists; either
// way no control covers another unless the form lays them so (the page on
// the tab strip, an etched rule's two lines), none is cut, every text fits.
void TestMainWindow::formFollowsTheFontAndTheWindow()
{
    QFETCH(qreal, points);
    QFETCH(QSize, enlarged);
    m_window->openImage(QFile::encodeName(m_path));
    QWidget *client = m_window->centralWidget();
    if (points > 0) {
        QFont font = MainWindow::windowFont();
        font.setPointSizeF(points);
        m_window->setFont(font);
        QTRY_COMPARE(client->size(), client->minimumSizeHint()); // the form at its new least size
        const qreal larger = points / MainWindow::windowFont().pointSizeF();
        QVERIFY(client->width() >= 440 * larger * 0.9 && client->height() >= 352 * larger * 0.9);
    }
    std::map<QString, QRect> before;
    for (const form::Control &row : form::kControls)
        before[QLatin1String(row.name)] = control<QWidget>(QLatin1String(row.name))->geometry();
    const QSize fitted = client->size();
    if (!enlarged.isEmpty()) {
        m_window->resize(m_window->size() + enlarged);
        QTRY_COMPARE(client->size(), fitted + enlarged);
        for (const char *name : {"shopTypeList", "slot1List", "slot8List"}) {
            const QRect list = control<QWidget>(QLatin1String(name))->geometry();
            QCOMPARE(list, before[QLatin1String(name)].adjusted(0, 0, enlarged.width(), 0));
        }
        for (const char *name : {"saveButton", "quitButton"})
            QCOMPARE(control<QWidget>(QLatin1String(name))->geometry(),
                     before[QLatin1String(name)].translated(enlarged.width(), enlarged.height()));
        QCOMPARE(control<QWidget>(QStringLiteral("slot1Label"))->geometry(), before[QStringLiteral("slot1Label")]);
    }

    for (const form::Control &one : form::kControls) {
        const QWidget *widget = control<QWidget>(QLatin1String(one.name));
        QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()), one.name);
        for (const form::Control &other : form::kControls)
            if (&one < &other && qstrcmp(one.parent, other.parent) == 0 &&
                !form::pixelGeometry(one).intersects(form::pixelGeometry(other)))
                QVERIFY2(!widget->geometry().intersects(control<QWidget>(QLatin1String(other.name))->geometry()),
                         qPrintable(QStringLiteral("%1 and %2").arg(one.name, other.name)));
    }
    QVERIFY(m_window->statusBar()->geometry().top() > client->geometry().bottom());
    QCOMPARE(cutText(*m_window), QString());
}

void TestMainWindow::allShopsFitsItsFont_data()
{
    QTest::addColumn<qreal>("points"); // 0: the desktop's font
    QTest::newRow("desktop font") << 0.0;
    QTest::newRow("14 pt") << 14.0;
}

// Every header and every label shows whole, and the window opens as wide as
// the columns, or as the screen allows.
void TestMainWindow::allShopsFitsItsFont()
{
    QFETCH(qreal, points);
    const auto restoreFont = qScopeGuard([font = QApplication::font()] { QApplication::setFont(font); });
    if (points > 0) {
        QFont font = QApplication::font();
        font.setPointSizeF(points);
        QApplication::setFont(font);
    }
    m_window->openImage(QFile::encodeName(m_path));
    QTest::keyClick(m_window->windowHandle(), Qt::Key_L, Qt::ControlModifier);
    auto *all = m_window->findChild<QDialog *>(QStringLiteral("allShopsWindow"));
    auto *table = all->findChild<QTableView *>(QStringLiteral("shopsTable"));
    const QHeaderView *header = table->horizontalHeader();
    QFont bold = table->font(); // a marked cell's font
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int margins = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
    for (int column = 0; column < header->count(); ++column) {
        QVERIFY2(header->sectionSize(column) >= header->sectionSizeHint(column), qPrintable(QString::number(column)));
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            const QString text = table->model()->index(row, column).data().toString();
            QVERIFY2(metrics.horizontalAdvance(text) + margins <= header->sectionSize(column), qPrintable(text));
        }
    }
    QVERIFY(table->rowHeight(0) > metrics.height());
    QVERIFY(table->viewport()->width() >= header->length() ||
            all->width() >= all->screen()->availableGeometry().width() * 8 / 10);
}

// In a dark palette, a cell that holds the text searched for stands out
// from one that does not, by more than its bold text.
void TestMainWindow::allShopsMarksMatchesInADarkPalette()
{
    m_window->openImage(QFile::encodeName(m_path));
    QTest::keyClick(m_window->windowHandle(), Qt::Key_L, Qt::ControlModifier);
    auto *all = m_window->findChild<QDialog *>(QStringLiteral("allShopsWindow"));
    auto *table = all->findChild<QTableView *>(QStringLiteral("shopsTable"));
    all->setPalette(darkPalette());
    all->resize(table->horizontalHeader()->length() + 100, all->height()); // every column in view
    QTest::keyClicks(all->findChild<QLineEdit *>(QStringLiteral("searchEdit")), QStringLiteral("ff"));
    QModelIndex matched;
    for (int column = ShopTableModel::TypeColumn; column < ShopTableModel::ColumnCount && !matched.isValid(); ++column)
        if (table->model()->index(0, column).data(ShopFilterModel::MatchRole).toBool())
            matched = table->model()->index(0, column);
    QVERIFY(matched.isValid());
    table->setCurrentIndex({});
    const QImage shot = table->viewport()->grab().toImage();
    const auto besideText = [&](const QModelIndex &cell) {
        return cellPixel(shot, *table, cell, {table->visualRect(cell).width() - 3, 2});
    };
    QVERIFY(apart(besideText(matched), besideText(table->model()->index(0, ShopTableModel::ShopColumn))));
}

void TestMainWindow::cellMarksShowInAnyPalette_data()
{
    QTest::addColumn<CellMarkDelegate::Shape>("shape");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("selected");
    for (const auto shape : {CellMarkDelegate::Shape::Tint, CellMarkDelegate::Shape::Underline})
        for (const bool dark : {false, true})
            for (const bool selected : {false, true})
                QTest::addRow("%s, %s palette%s", shape == CellMarkDelegate::Shape::Tint ? "tint" : "underline",
                              dark ? "dark" : "light", selected ? ", selected" : "")
                    << shape << dark << selected;
}

// Two cells of the same text, one marked: the mark changes a line of the
// cell at least, clearly, in either palette, on a selected row too.
void TestMainWindow::cellMarksShowInAnyPalette()
{
    QFETCH(CellMarkDelegate::Shape, shape);
    QFETCH(bool, dark);
    QFETCH(bool, selected);
    constexpr int kMarkRole = Qt::UserRole + 40;
    QStandardItemModel cells(1, 2);
    for (int column = 0; column < 2; ++column)
        cells.setItem(0, column, new QStandardItem(QStringLiteral("21: Rune Sword")));
    cells.item(0, 1)->setData(true, kMarkRole);
    QTableView table;
    table.setModel(&cells);
    auto *marks = new CellMarkDelegate(&table);
    marks->addMark(kMarkRole, shape);
    table.setItemDelegate(marks);
    if (dark)
        table.setPalette(darkPalette());
    table.setCurrentIndex({});
    if (selected)
        table.selectRow(0);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QCOMPARE(table.selectionModel()->isRowSelected(0), selected);
    const QImage shot = table.viewport()->grab().toImage();
    const QRect cell = table.visualRect(cells.index(0, 0));
    int changed = 0;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            changed += apart(cellPixel(shot, table, cells.index(0, 0), {x, y}),
                             cellPixel(shot, table, cells.index(0, 1), {x, y}));
    QVERIFY2(changed >= cell.width(), qPrintable(QString::number(changed)));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
