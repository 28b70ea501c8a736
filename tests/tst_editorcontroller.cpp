#include "EditorController.h"
#include "MemoryView.h"
#include "TestSupport.h"

#include <QDir>
#include <QTest>

#include <cerrno>
#include <memory>
#include <sys/stat.h>

using rom::ImageLayout;

Q_DECLARE_METATYPE(rom::ImageLayout)

class TestEditorController : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstOpenLeavesTheFileAsItWas_data();
    void firstOpenLeavesTheFileAsItWas();
    void movingAndSavingWriteOnlyTheShownShop();
    void reopeningDiscardsPicksAndStartsAtShopZero();
    void cancellingTheDialogChangesNothing();
    void failedOpenKeepsTheOpenImage_data();
    void failedOpenKeepsTheOpenImage();
    void savingBeforeAnyOpenDoesNothing();
    void unlabelledTypeCodesSurvive();
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

void TestEditorController::cleanup()
{
    m_controller.reset(); // before the file access it uses
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

void TestEditorController::firstOpenLeavesTheFileAsItWas_data()
{
    QTest::addColumn<ImageLayout>("layout");
    QTest::newRow("headered") << ImageLayout::Headered;
    QTest::newRow("headerless") << ImageLayout::Headerless;
}

void TestEditorController::firstOpenLeavesTheFileAsItWas()
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

    QCOMPARE(readFile(path), original);
    QCOMPARE(m_files->writes, 1); // the scroll bar's move from 1 to 0 writes shop 0 back as read
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("0"));
    QCOMPARE(m_view->scrollValue(), 0);
    QCOMPARE(shown(), shopInFile(path, 0, layout));
    QCOMPARE(m_view->title(), QStringLiteral("Zeltharia III (US) Shop Editor - TIDES OF THE NORTH   "));
    QVERIFY(m_view->editingEnabled());
    QCOMPARE(m_dialog->filters().size(), 4);
    QCOMPARE(m_dialog->filters()[1].pattern, QStringLiteral("*.smc"));
    QCOMPARE(m_dialog->preselected(), 2);
}

void TestEditorController::movingAndSavingWriteOnlyTheShownShop()
{
    QVERIFY(open(m_path));
    const Bytes original = readFile(m_path);
    const qint64 shop7 = qint64(shopOffset(ImageLayout::Headered, 7));

    m_view->setScrollValue(7);
    m_view->setSlotSelection(3, m_view->slotSelection(3) ^ 1);
    m_view->setScrollValue(8);
    QCOMPARE(changedOffsets(original, readFile(m_path)), QList<qint64>{shop7 + 3});
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("8"));
    QCOMPARE(shown(), shopInFile(m_path, 8));

    m_view->setScrollValue(7);
    m_view->setTypeSelection(m_view->typeSelection() ^ 1);
    m_controller->SaveCMD_Click();
    m_view->setSlotSelection(8, m_view->slotSelection(8) ^ 1);
    m_controller->mnuSave_Click();
    QCOMPARE(changedOffsets(original, readFile(m_path)), (QList<qint64>{shop7, shop7 + 3, shop7 + 8}));

    m_view->dragTo(11, 3);
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("11"));
    m_controller->mnuAbout_Click();
    QCOMPARE(m_view->aboutShown(), 1);

    // A pick still on screen at Quit is not saved.
    const Bytes saved = readFile(m_path);
    m_view->setSlotSelection(1, m_view->slotSelection(1) ^ 1);
    m_controller->mnuQuit_Click();
    QVERIFY(m_view->ended());
    QVERIFY(!m_controller->hasImage());
    QCOMPARE(readFile(m_path), saved);
    QVERIFY(m_view->errors().isEmpty());
}

void TestEditorController::reopeningDiscardsPicksAndStartsAtShopZero()
{
    const QString other = writeImage(*m_dir, QStringLiteral("other.smc"), smallImage(ImageLayout::Headerless, 7));
    const Bytes first = readFile(m_path);
    const Bytes second = readFile(other);
    QVERIFY(open(m_path));
    m_view->setScrollValue(17);
    m_view->setSlotSelection(2, m_view->slotSelection(2) ^ 1);

    m_files->writes = 0;
    QVERIFY(open(other));
    QCOMPARE(m_files->writes, 1); // shop 17 of the new image, written back as read
    QCOMPARE(readFile(m_path), first);
    QCOMPARE(readFile(other), second);
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("0"));
    QCOMPARE(m_view->scrollValue(), 0);
    QCOMPARE(shown(), shopInFile(other, 0, ImageLayout::Headerless));

    m_files->writes = 0;
    QVERIFY(open(other)); // already on shop 0: read, nothing written
    QCOMPARE(m_files->writes, 0);
}

void TestEditorController::cancellingTheDialogChangesNothing()
{
    m_dialog->queue(std::nullopt);
    m_controller->mnuOpen_Click();
    QVERIFY(!m_controller->hasImage());
    QVERIFY(!m_view->editingEnabled());

    const Bytes original = readFile(m_path);
    QVERIFY(open(m_path));
    m_view->setScrollValue(4);
    m_view->setSlotSelection(4, m_view->slotSelection(4) ^ 1);
    const Bytes picks = shown();
    m_dialog->queue(std::nullopt);
    m_controller->mnuOpen_Click();
    QCOMPARE(shown(), picks);
    QCOMPARE(readFile(m_path), original);
    m_controller->SaveCMD_Click();
    QCOMPARE(shopInFile(m_path, 4), picks);
    QVERIFY(m_view->errors().isEmpty());
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
    QTest::newRow("not HiROM") << "lorom.smc" << 0 << "not a HiROM";
    QTest::newRow("read-only") << "other.smc" << EROFS << "read-only";
}

void TestEditorController::failedOpenKeepsTheOpenImage()
{
    QFETCH(QString, name);
    QFETCH(int, openError);
    QFETCH(QString, reason);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
    QCOMPARE(::mkfifo(qPrintable(m_dir->filePath(QStringLiteral("fifo.smc"))), 0644), 0);
    Bytes image = demo::makeDemoImage(smallImage(ImageLayout::Headered, 3));
    writeFile(*m_dir, QStringLiteral("other.smc"), image);
    writeFile(*m_dir, QStringLiteral("odd.smc"), Bytes(image.begin(), image.end() - 100));
    image[0x101D5] = 0x20;
    writeFile(*m_dir, QStringLiteral("lorom.smc"), image);

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

void TestEditorController::unlabelledTypeCodesSurvive()
{
    const Bytes original = readFile(m_path);
    const std::uint8_t code = shopInFile(m_path, 5)[0]; // every 16th shop from 5 has no label
    QVERIFY(code > 0x35);
    QVERIFY(open(m_path));
    m_view->setScrollValue(5);
    QCOMPARE(m_view->typeEntries().size(), 55);
    QCOMPARE(m_view->typeEntries().last(), "Unknown type 0x" + QString::number(code, 16).toUpper());
    QCOMPARE(m_view->typeSelection(), 54);

    m_view->setScrollValue(6);
    QCOMPARE(m_view->typeEntries().size(), 54);
    QCOMPARE(readFile(m_path), original);

    m_view->setScrollValue(5);
    m_view->setTypeSelection(3);
    m_view->setScrollValue(4);
    QCOMPARE(shopInFile(m_path, 5)[0], 3);
    QCOMPARE(m_view->typeEntries().size(), 54);
    QVERIFY(m_view->misuses().isEmpty());
}

void TestEditorController::failedMoveStaysOnTheShop_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("savedBeforeFailing");
    QTest::newRow("file deleted") << "deleted" << false;
    QTest::newRow("file replaced") << "replaced" << false;
    QTest::newRow("write error") << "write" << false;
    QTest::newRow("read error") << "read" << true;
}

void TestEditorController::failedMoveStaysOnTheShop()
{
    QFETCH(QString, fault);
    QFETCH(bool, savedBeforeFailing);
    const QString other = writeImage(*m_dir, QStringLiteral("other.smc"), smallImage(ImageLayout::Headered, 5));
    QVERIFY(open(m_path));
    m_view->setScrollValue(3);
    m_view->setSlotSelection(6, m_view->slotSelection(6) ^ 1);
    const Bytes picks = shown();

    if (fault == "deleted")
        QVERIFY(QFile::remove(m_path));
    else if (fault == "replaced")
        QVERIFY(QFile::rename(other, m_path) || (QFile::remove(m_path) && QFile::rename(other, m_path)));
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
    if (savedBeforeFailing)
        QCOMPARE(shopInFile(m_path, 3), picks);
    else
        QCOMPARE(readFile(m_path), onDisk);
}

QTEST_GUILESS_MAIN(TestEditorController)
#include "tst_editorcontroller.moc"
