#include "EditorController.h"
#include "MemoryView.h"
#include "TestSupport.h"

#include <QDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
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
    void pathIsTheBytesGiven_data();
    void pathIsTheBytesGiven();

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
    QCOMPARE(m_view->typeEntries().last(), "0x" + QString::number(code, 16).toUpper() + ": Unknown");
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

// Every move that fails is reported once, whatever came before it: a drag
// that failed, or one that ended where it began.
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

    const auto staysOnShop3 = [&] {
        QCOMPARE(m_view->shopIndexText(), QStringLiteral("3"));
        QCOMPARE(m_view->scrollValue(), 3);
        QCOMPARE(shown(), picks);
    };
    m_view->setScrollValue(4);
    QCOMPARE(m_view->errors().size(), 1);
    QVERIFY2(m_view->errors()[0].contains(QDir::toNativeSeparators(m_path)), qPrintable(m_view->errors()[0]));
    staysOnShop3();
    m_view->dragTo(8, 4); // the first step fails and ends the drag
    QCOMPARE(m_view->errors().size(), 2);
    staysOnShop3();
    m_view->dragTo(3, 2); // back where it began
    QCOMPARE(m_view->errors().size(), 3);
    m_view->setScrollValue(4);
    QCOMPARE(m_view->errors().size(), 4);
    staysOnShop3();
    QCOMPARE(readFile(m_path), onDisk);
}

void TestEditorController::pathIsTheBytesGiven_data()
{
    QTest::addColumn<QByteArray>("given"); // relative to the test's folder
    QTest::addColumn<bool>("throughDialog");
    QTest::addColumn<QByteArray>("edited"); // empty: refused
    QTest::newRow("a name that is not UTF-8") << QByteArray("col\xFE.smc") << false << QByteArray("col\xFE.smc");
    QTest::newRow("dot-dot after a symbolic link") << QByteArray("lnk/../x.smc") << false << QByteArray("real/x.smc");
    QTest::newRow("the dialog's text for a name that is not UTF-8")
        << QByteArray("col\xFE.smc") << true << QByteArray();
}

// The system resolves the path from the bytes given; nothing decodes it to
// text and back, or cleans it, on the way, which could name another file.
void TestEditorController::pathIsTheBytesGiven()
{
    QFETCH(QByteArray, given);
    QFETCH(bool, throughDialog);
    QFETCH(QByteArray, edited);
    const QByteArray dir = QFile::encodeName(m_dir->path()) + '/';
    const Bytes image = demo::makeDemoImage(smallImage(ImageLayout::Headered, 9));
    // By the names' bytes: QFile would take them as text.
    const auto write = [&](const QByteArray &name) {
        const int fd = ::open((dir + name).constData(), O_CREAT | O_WRONLY, 0644);
        QCOMPARE(::pwrite(fd, image.data(), image.size(), 0), ssize_t(image.size()));
        ::close(fd);
    };
    const auto read = [&](const QByteArray &name) {
        Bytes bytes(image.size());
        const int fd = ::open((dir + name).constData(), O_RDONLY);
        bytes.resize(std::size_t(std::max<ssize_t>(0, ::pread(fd, bytes.data(), bytes.size(), 0))));
        ::close(fd);
        return bytes;
    };
    write("col\xFE.smc");
    write("col\xEF\xBF\xBD.smc"); // what the first name reads as, decoded to text
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("real/sub")));
    QVERIFY(QFile::link(QStringLiteral("real/sub"), m_dir->filePath(QStringLiteral("lnk"))));
    write("real/x.smc");
    write("x.smc"); // what cleaning the path as text would name

    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    bool opened = false;
    if (throughDialog) {
        m_dialog->queue(QFile::decodeName(dir + given));
        opened = m_controller->LoadROM();
    } else {
        opened = m_controller->openFile(given.toStdString());
    }
    QDir::setCurrent(previous);
    QCOMPARE(opened, !edited.isEmpty());
    QCOMPARE(m_view->errors().size(), edited.isEmpty() ? 1 : 0);
    if (!opened)
        return;

    m_view->setSlotSelection(1, m_view->slotSelection(1) ^ 1);
    m_controller->SaveCMD_Click();
    for (const QByteArray name : {"col\xFE.smc", "col\xEF\xBF\xBD.smc", "real/x.smc", "x.smc"})
        QVERIFY2((read(name) != image) == (name == edited), name.constData());
}

QTEST_GUILESS_MAIN(TestEditorController)
#include "tst_editorcontroller.moc"
