#include "EditorController.h"
#include "MemoryView.h"
#include "TestSupport.h"

#include <QDir>
#include <QTest>

#include <cerrno>
#include <memory>

using rom::ImageLayout;

Q_DECLARE_METATYPE(rom::ImageLayout)

// Moves, saves, re-opens and cancels are checked byte by byte by the
// randomised session; these cases pin down what it does not see.
class TestEditorController : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_controller.reset(); } // before the file access it uses
    void openWritesBackOnlyWhenTheScrollBarMoves_data();
    void openWritesBackOnlyWhenTheScrollBarMoves();
    void failedOpenKeepsTheOpenImage_data();
    void failedOpenKeepsTheOpenImage();
    void savingBeforeAnyOpenDoesNothing();
    void unlabelledTypeCodeIsNamed();
    void failedMoveStaysOnTheShop_data();
    void failedMoveStaysOnTheShop();

private:
    bool open(const QString &path);
    Bytes shown() const;
    Bytes shopInFile(const QString &path, int index, ImageLayout layout = ImageLayout::Headered) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FaultyFileAccess> m_files;
    std::unique_ptr<MemoryView> m_view;
    std::unique_ptr<MemoryOpenDialog> m_dialog;
    std::unique_ptr<EditorController> m_controller;
    QString m_path; // a headered image, written fresh for every test
};

void TestEditorController::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_files = std::make_unique<FaultyFileAccess>();
    m_view = std::make_unique<MemoryView>();
    m_dialog = std::make_unique<MemoryOpenDialog>();
    m_controller = std::make_unique<EditorController>(*m_view, *m_dialog, *m_files);
    m_view->attach(*m_controller);
    m_controller->Form_Load();
    m_path = writeImage(*m_dir, QStringLiteral("game.smc"), smallImage(ImageLayout::Headered));
}

bool TestEditorController::open(const QString &path)
{
    const qsizetype errors = m_view->errors().size();
    m_dialog->queue(path);
    m_controller->mnuOpen_Click();
    return m_view->errors().size() == errors;
}

Bytes TestEditorController::shown() const
{
    Bytes bytes{std::uint8_t(m_view->typeSelection())};
    for (int slot = 1; slot <= 8; ++slot)
        bytes.push_back(std::uint8_t(m_view->slotSelection(slot)));
    return bytes;
}

Bytes TestEditorController::shopInFile(const QString &path, int index, ImageLayout layout) const
{
    const Bytes file = readFile(path);
    const auto at = file.begin() + qsizetype(shopOffset(layout, index));
    return Bytes(at, at + 9);
}

void TestEditorController::openWritesBackOnlyWhenTheScrollBarMoves_data()
{
    QTest::addColumn<ImageLayout>("layout");
    QTest::newRow("headered") << ImageLayout::Headered;
    QTest::newRow("headerless") << ImageLayout::Headerless;
}

void TestEditorController::openWritesBackOnlyWhenTheScrollBarMoves()
{
    QFETCH(ImageLayout, layout);
    QCOMPARE(m_view->typeEntries().size(), 54);
    QCOMPARE(shown(), Bytes(9, 0));
    QVERIFY(!m_view->editingEnabled());

    auto options = smallImage(layout);
    options.name = "TIDES OF THE NORTH";
    const QString path = writeImage(*m_dir, QStringLiteral("other.sfc"), options);
    const Bytes original = readFile(path);
    QVERIFY(open(path));
    QCOMPARE(m_files->writes, 1); // the scroll bar's start value 1 moves to 0: shop 0 written back as read
    QCOMPARE(readFile(path), original);
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("0"));
    QCOMPARE(m_view->scrollValue(), 0);
    QCOMPARE(shown(), shopInFile(path, 0, layout));
    QCOMPARE(m_view->title(), QStringLiteral("Zeltharia III (US) Shop Editor - TIDES OF THE NORTH   "));
    QVERIFY(m_view->editingEnabled());
    QCOMPARE(m_dialog->filters().size(), 4);
    QCOMPARE(m_dialog->filters()[1].pattern, QStringLiteral("*.smc"));
    QCOMPARE(m_dialog->preselected(), 2);

    QVERIFY(open(m_path)); // already on shop 0: nothing to write back
    QCOMPARE(m_files->writes, 1);
    m_view->setScrollValue(17);
    QVERIFY(open(path)); // shop 17 of the new image is written back, then shop 0 shown
    QCOMPARE(m_files->writes, 3);
    QCOMPARE(shown(), shopInFile(path, 0, layout));
}

void TestEditorController::failedOpenKeepsTheOpenImage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("openError");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing.smc" << 0 << "does not exist";
    QTest::newRow("folder") << "folder" << 0 << "folder";
    QTest::newRow("fifo") << "fifo.smc" << 0 << "not an ordinary file";
    QTest::newRow("odd size") << "odd.smc" << 0 << "size";
    QTest::newRow("table cut off") << "short-headered.smc" << 0 << "too small";
    QTest::newRow("not HiROM") << "lorom.smc" << 0 << "not a HiROM";
    QTest::newRow("read-only") << "exhirom.smc" << EROFS << "read-only";
}

void TestEditorController::failedOpenKeepsTheOpenImage()
{
    QFETCH(QString, name);
    QFETCH(int, openError);
    QFETCH(QString, reason);
    writeUnusualFiles(*m_dir);
    QVERIFY(open(m_path));
    m_view->setScrollValue(3);
    m_view->setSlotSelection(2, m_view->slotSelection(2) ^ 1);
    const Bytes picks = shown();
    const QString title = m_view->title();
    const QStringList before = listing(*m_dir);

    m_files->openError = openError;
    const QString path = m_dir->filePath(name);
    QVERIFY(!open(path));
    QCOMPARE(m_view->errors().size(), 1);
    QVERIFY2(m_view->errors()[0].contains(QDir::toNativeSeparators(path)), qPrintable(m_view->errors()[0]));
    QVERIFY2(m_view->errors()[0].contains(reason), qPrintable(m_view->errors()[0]));
    QCOMPARE(listing(*m_dir), before);
    QCOMPARE(m_view->title(), title);
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("3"));
    QCOMPARE(shown(), picks);

    m_controller->SaveCMD_Click(); // the image that was open still is
    QCOMPARE(shopInFile(m_path, 3), picks);
}

void TestEditorController::savingBeforeAnyOpenDoesNothing()
{
    const QStringList before = listing(*m_dir);
    m_controller->mnuSave_Click();
    m_controller->SaveCMD_Click();
    m_controller->HScroll_Scroll();
    QCOMPARE(listing(*m_dir), before);
    QCOMPARE(m_files->writes, 0);
    QVERIFY(m_view->errors().isEmpty());
}

void TestEditorController::unlabelledTypeCodeIsNamed()
{
    const std::uint8_t code = shopInFile(m_path, 5)[0]; // every 16th shop from 5 has no label
    QVERIFY(code > 0x35);
    QVERIFY(open(m_path));
    m_view->setScrollValue(5);
    QCOMPARE(m_view->typeEntries().last(), "Unknown type 0x" + QString::number(code, 16).toUpper());
    QCOMPARE(m_view->typeSelection(), 54);
}

void TestEditorController::failedMoveStaysOnTheShop_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("file deleted") << "deleted";
    QTest::newRow("file replaced") << "replaced";
    QTest::newRow("write error") << "write";
    QTest::newRow("read error") << "read";
}

void TestEditorController::failedMoveStaysOnTheShop()
{
    QFETCH(QString, fault);
    const QString other = writeImage(*m_dir, QStringLiteral("other.smc"), smallImage(ImageLayout::Headered, 5));
    QVERIFY(open(m_path));
    m_view->setScrollValue(3);
    m_view->setSlotSelection(6, m_view->slotSelection(6) ^ 1);
    const Bytes picks = shown();

    if (fault == "deleted")
        QVERIFY(QFile::remove(m_path));
    else if (fault == "replaced")
        QCOMPARE(::rename(qPrintable(other), qPrintable(m_path)), 0);
    else
        (fault == "write" ? m_files->writeError : m_files->readError) = EIO;
    const Bytes onDisk = readFile(m_path);

    m_view->setScrollValue(4);
    QCOMPARE(m_view->errors().size(), 1);
    QVERIFY2(m_view->errors()[0].contains(QDir::toNativeSeparators(m_path)), qPrintable(m_view->errors()[0]));
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("3"));
    QCOMPARE(m_view->scrollValue(), 3);
    QCOMPARE(shown(), picks);

    m_view->dragTo(8, 4); // reported once for the whole drag
    QCOMPARE(m_view->errors().size(), 2);
    QCOMPARE(m_view->scrollValue(), 3);
    QCOMPARE(shown(), picks);
    if (fault == "read") // the save before the failed read went through
        QCOMPARE(shopInFile(m_path, 3), picks);
    else
        QCOMPARE(readFile(m_path), onDisk);
}

QTEST_GUILESS_MAIN(TestEditorController)
#include "tst_editorcontroller.moc"
