#include "EditorController.h"
#include "MainWindow.h"
#include "MemoryView.h"
#include "PickList.h"
#include "ShopTypeLabels.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <memory>

// One test of the view interface, run against every view: the one in
// memory that the flow's tests use, and the real window. What the
// controller tells a view must show the same way in both, and what the
// user does in both must reach the controller the same way, so that the
// two cannot drift apart.
class TestEditorView : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(); }
    void showsWhatItIsTold_data();
    void showsWhatItIsTold();
    void reportsWhatTheUserDoes_data();
    void reportsWhatTheUserDoes();
};

namespace {

// A view under test, read back and handled the same way whatever it is.
class ViewUnderTest {
public:
    virtual ~ViewUnderTest() = default;
    virtual EditorView &view() = 0;
    virtual EditorController &controller() = 0;

    virtual QString indexText() = 0;
    virtual int scrollValue() = 0;
    virtual QStringList typeEntries() = 0;
    virtual int typeSelection() = 0;
    virtual int slotSelection(int slot) = 0;
    virtual QString slotText(int slot) = 0;
    virtual QString title() = 0;
    virtual QStringList location() = 0;
    // What marks a field (0 the type, 1-8 a slot) as differing from the image compared with.
    virtual QString mark(int field) = 0;
    virtual bool modified() = 0;
    virtual bool editingEnabled() = 0;
    // The user's hand: an entry picked in a list (0 the type list, 1-8 the
    // slots); the scroll bar moved one shop on.
    virtual void pick(int list, int entry) = 0;
    virtual void stepRight() = 0;
};

class InMemory : public ViewUnderTest {
public:
    InMemory() { m_view.attach(m_controller); }
    EditorView &view() override { return m_view; }
    EditorController &controller() override { return m_controller; }
    QString indexText() override { return m_view.shopIndexText(); }
    int scrollValue() override { return m_view.scrollValue(); }
    QStringList typeEntries() override { return m_view.typeEntries(); }
    int typeSelection() override { return m_view.typeSelection(); }
    int slotSelection(int slot) override { return m_view.slotSelection(slot); }
    QString slotText(int slot) override { return m_view.itemLabels().value(m_view.slotSelection(slot)); }
    QString title() override { return m_view.title(); }
    QStringList location() override { return m_view.location(); }
    QString mark(int field) override { return m_view.differing().value(field); }
    bool modified() override { return m_view.modified(); }
    bool editingEnabled() override { return m_view.editingEnabled(); }
    void pick(int list, int entry) override { m_view.pick(list, entry); }
    void stepRight() override { m_view.setScrollValue(m_view.scrollValue() + 1); }

private:
    MemoryView m_view;
    MemoryOpenDialog m_dialog;
    EditorController m_controller{m_view, m_view, m_dialog};
};

class InWindow : public ViewUnderTest {
public:
    InWindow() { m_window.show(); }
    EditorView &view() override { return m_window; }
    EditorController &controller() override { return m_window.controller(); }
    QString indexText() override { return control<QLineEdit>("shopIndexEdit")->text(); }
    int scrollValue() override { return control<QScrollBar>("shopScrollBar")->value(); }
    QStringList typeEntries() override
    {
        QStringList entries;
        for (int entry = 0; entry < type()->count(); ++entry)
            entries << type()->itemText(entry);
        return entries;
    }
    int typeSelection() override { return type()->currentIndex(); }
    int slotSelection(int slot) override { return list(slot)->currentIndex(); }
    QString slotText(int slot) override { return list(slot)->currentText(); }
    QString title() override { return m_window.windowTitle().remove(QStringLiteral("[*]")); }
    QString mark(int field) override { return static_cast<PickList *>(field == 0 ? type() : list(field))->mark(); }
    QStringList location() override
    {
        const auto *file = control<QLabel>("fileNameLabel");
        return {file->text(), file->toolTip(), control<QLabel>("shopPlaceLabel")->text()};
    }
    bool modified() override { return m_window.isWindowModified(); }
    bool editingEnabled() override { return type()->isEnabled() && list(8)->isEnabled(); }
    void pick(int list, int entry) override { pickEntry(list == 0 ? type() : this->list(list), entry); }
    void stepRight() override { QTest::keyClick(control<QScrollBar>("shopScrollBar"), Qt::Key_Right); }

private:
    template <typename Widget>
    Widget *control(const char *name)
    {
        return m_window.findChild<Widget *>(QLatin1String(name));
    }
    QComboBox *type() { return control<QComboBox>("shopTypeList"); }
    QComboBox *list(int slot) { return m_window.findChild<QComboBox *>(QStringLiteral("slot%1List").arg(slot)); }

    MainWindow m_window;
};

std::unique_ptr<ViewUnderTest> makeView(const QString &kind)
{
    if (kind == QLatin1String("window"))
        return std::make_unique<InWindow>();
    return std::make_unique<InMemory>();
}

rom::ShopRecord record(std::uint8_t type, std::uint8_t first)
{
    rom::ShopRecord shop;
    shop.type = type;
    for (std::size_t slot = 0; slot < shop.items.size(); ++slot)
        shop.items[slot] = std::uint8_t(first + slot);
    return shop;
}

void addViews()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("in memory") << "memory";
    QTest::newRow("the window") << "window";
}

} // namespace

void TestEditorView::showsWhatItIsTold_data() { addViews(); }

void TestEditorView::showsWhatItIsTold()
{
    QFETCH(QString, kind);
    const std::unique_ptr<ViewUnderTest> under = makeView(kind);
    EditorView &view = under->view();
    const int labelled = rom::ShopTypeLabels::count();
    QCOMPARE(under->typeEntries().size(), labelled);
    QVERIFY(!under->editingEnabled());

    view.enableEditing();
    view.showShop(5, record(0x21, 0x40), std::nullopt);
    QVERIFY(under->editingEnabled());
    QCOMPARE(under->indexText(), QStringLiteral("5"));
    QCOMPARE(under->scrollValue(), 5);
    QCOMPARE(under->typeSelection(), 0x21);
    for (int slot = 1; slot <= 8; ++slot)
        QCOMPARE(under->slotSelection(slot), 0x40 + slot - 1);

    // A code without a label: an extra entry, picked, as long as it is offered.
    view.showShop(6, record(0x69, 0x10), std::uint8_t(0x69));
    QCOMPARE(under->typeEntries().size(), labelled + 1);
    QCOMPARE(under->typeEntries().last(), QStringLiteral("0x69: Unknown"));
    QCOMPARE(under->typeSelection(), labelled);
    view.showShop(6, record(0x02, 0x10), std::uint8_t(0x69));
    QCOMPARE(under->typeEntries().size(), labelled + 1);
    QCOMPARE(under->typeSelection(), 0x02);
    view.showShop(7, record(0x02, 0x10), std::nullopt);
    QCOMPARE(under->typeEntries().size(), labelled);

    // New names for the items; the picks stay.
    QStringList labels;
    for (int code = 0; code < 256; ++code)
        labels << QStringLiteral("%1: Thing %2").arg(code, 2, 16, QChar(u'0')).arg(code);
    view.setItemLabels(labels);
    QCOMPARE(under->slotSelection(3), 0x12);
    QCOMPARE(under->slotText(3), QStringLiteral("12: Thing 18"));

    view.showDifferences(true, {{0, QStringLiteral("In clean.smc: Item")}, {3, QStringLiteral("In clean.smc: 05: X")}});
    QCOMPARE(under->mark(0), QStringLiteral("In clean.smc: Item"));
    QCOMPARE(under->mark(3), QStringLiteral("In clean.smc: 05: X"));
    QCOMPARE(under->mark(4), QString());
    view.showDifferences(false, {});
    QCOMPARE(under->mark(3), QString());

    view.setTitle(QStringLiteral("Title - NAME"));
    view.setModified(true);
    QCOMPARE(under->title(), QStringLiteral("Title - NAME"));
    QVERIFY(under->modified());
    view.setModified(false);
    QVERIFY(!under->modified());
}

void TestEditorView::reportsWhatTheUserDoes_data() { addViews(); }

void TestEditorView::reportsWhatTheUserDoes()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = writeImage(dir, QStringLiteral("game.smc"), smallImage(rom::ImageLayout::Headered, 3));
    const std::unique_ptr<ViewUnderTest> under = makeView(kind);
    EditorController &controller = under->controller();
    QVERIFY(controller.openFile(QFile::encodeName(path).toStdString()));
    QCOMPARE(under->indexText(), QStringLiteral("0"));
    QCOMPARE(under->location(), (QStringList{QStringLiteral("game.smc"), QDir::toNativeSeparators(path),
                                             QStringLiteral("Shop 0  $C4:7AC0  file 0x47CC0")}));

    under->pick(3, 0x77);
    QCOMPARE(controller.document().picks().items[2], 0x77);
    QVERIFY(under->modified());
    under->pick(0, 0x12);
    QCOMPARE(controller.document().picks().type, 0x12);

    // A move saves the shop being left and shows the next.
    under->stepRight();
    QCOMPARE(controller.document().shownIndex(), 1);
    QCOMPARE(under->indexText(), QStringLiteral("1"));
    QCOMPARE(under->scrollValue(), 1);
    QVERIFY(!under->modified());
    QCOMPARE(under->location().last(), QStringLiteral("Shop 1  $C4:7AC9  file 0x47CC9"));

    // The extra entry of a code without a label picks that code again.
    for (int shop = 2; shop <= 5; ++shop)
        under->stepRight();
    const std::uint8_t unlabelled = controller.document().inFile().type;
    QVERIFY(unlabelled >= rom::ShopTypeLabels::count());
    under->pick(0, 0x01);
    under->pick(0, rom::ShopTypeLabels::count());
    QCOMPARE(controller.document().picks().type, unlabelled);
    QVERIFY(!under->modified());
}

QTEST_MAIN(TestEditorView)
#include "tst_editorview.moc"
