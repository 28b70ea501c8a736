#include "DemoNames.h"
#include "EditorController.h"
#include "ItemLabels.h"
#include "ShopFilterModel.h"
#include "ShopTableModel.h"
#include "MemoryView.h"
#include "NameTableChoice.h"
#include "TestSupport.h"

#include <QUndoStack>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <utility>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using rom::ImageLayout;

Q_DECLARE_METATYPE(rom::ImageLayout)
Q_DECLARE_METATYPE(EditorPrompts::Unsaved)
Q_DECLARE_METATYPE(EditorPrompts::Conflict)

// Moves, saves, re-opens and cancels are checked byte by byte by the
// randomised session; these cases pin down what it does not see.
class TestEditorController : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(); }
    void init();
    void cleanup();
    void browsingWritesNothing_data();
    void browsingWritesNothing();
    void unsavedPicksAreAskedAbout_data();
    void unsavedPicksAreAskedAbout();
    void anotherProgramsChangeIsNotOverwritten_data();
    void anotherProgramsChangeIsNotOverwritten();
    void twoEditorsCannotEditOneFile();
    void replacedFileIsOfferedForReload();
    void comparedWithACleanImage();
    void strangeTableIsSaidAtOpenAndImport();
    void undoAndRedoWalkTheWrites();
    void savesReachTheDisk();
    void allShopsFollowTheFile();
    void itemNamesFromAFile();
    void itemNamesFromTheImage();
    void tableFilesFromTheWindow();
    void failedOpenKeepsTheOpenImage_data();
    void failedOpenKeepsTheOpenImage();
    void savingBeforeAnyOpenDoesNothing();
    void unlabelledTypeCodeIsNamed();
    void failedMoveStaysOnTheShop_data();
    void failedMoveStaysOnTheShop();
    void stepThatCannotMoveStaysToBeRedone_data();
    void stepThatCannotMoveStaysToBeRedone();
    void pathIsTheBytesGiven_data();
    void pathIsTheBytesGiven();

private:
    bool open(const QString &path);
    void pickSomething(int slot);
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
    m_controller = std::make_unique<EditorController>(*m_view, *m_view, *m_dialog, *m_files);
    m_view->attach(*m_controller);
    m_path = writeImage(*m_dir, QStringLiteral("game.smc"), smallImage(ImageLayout::Headered));
    QSettings().clear();
}

bool TestEditorController::open(const QString &path)
{
    const qsizetype errors = m_view->errors().size();
    m_dialog->queue(path);
    m_controller->open();
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

void TestEditorController::pickSomething(int slot) { m_view->pick(slot, m_view->slotSelection(slot) ^ 1); }

namespace {

timespec modificationTime(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mtim;
}

bool operator==(const timespec &a, const timespec &b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

// Another program (a hex editor: no lock) writes bytes at offset and leaves
// a modification time of its own.
void changeBehind(const QString &path, std::uint64_t offset, const Bytes &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    QCOMPARE(::pwrite(fd, bytes.data(), bytes.size(), off_t(offset)), ssize_t(bytes.size()));
    const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
    QCOMPARE(::futimens(fd, times), 0);
    ::close(fd);
}

} // namespace

void TestEditorController::browsingWritesNothing_data()
{
    QTest::addColumn<ImageLayout>("layout");
    QTest::newRow("headered") << ImageLayout::Headered;
    QTest::newRow("headerless") << ImageLayout::Headerless;
}

// Opening, moving, dragging and opening again write nothing: the file and
// its modification time stay as they were.
void TestEditorController::browsingWritesNothing()
{
    QFETCH(ImageLayout, layout);
    QCOMPARE(m_view->typeEntries().size(), 54);
    QCOMPARE(shown(), Bytes(9, 0));
    QVERIFY(!m_view->editingEnabled());

    auto options = smallImage(layout);
    options.name = "TIDES OF THE NORTH";
    const QString path = writeImage(*m_dir, QStringLiteral("other.sfc"), options);
    const Bytes original = readFile(path);
    const timespec modified = modificationTime(path);
    QVERIFY(open(path));
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("0"));
    QCOMPARE(m_view->scrollValue(), 0);
    QCOMPARE(shown(), shopInFile(path, 0, layout));
    QCOMPARE(m_view->title(), QStringLiteral("Zeltharia III (US) Shop Editor - TIDES OF THE NORTH   "));
    QVERIFY(m_view->editingEnabled());
    QCOMPARE(m_dialog->filters().size(), 4);
    QCOMPARE(m_dialog->filters()[1].pattern, QStringLiteral("*.smc"));
    QCOMPARE(m_dialog->preselected(), 2);

    m_view->setScrollValue(17);
    m_view->dragTo(90, 4);
    m_controller->save();
    QVERIFY(open(m_path));
    QVERIFY(open(path));
    m_view->setScrollValue(127);
    QCOMPARE(m_files->writes, 0);
    QCOMPARE(readFile(path), original);
    QVERIFY(modificationTime(path) == modified);
    QVERIFY(!m_view->modified());
    QVERIFY(!m_view->undoState().canUndo);
    QVERIFY(m_view->questions().isEmpty());

    pickSomething(4); // a pick, then a move: one write
    QVERIFY(m_view->modified());
    m_view->setScrollValue(126);
    QCOMPARE(m_files->writes, 1);
    QVERIFY(!m_view->modified());
    QCOMPARE(m_view->undoState().undoText, QStringLiteral("Shop 127"));
}

void TestEditorController::unsavedPicksAreAskedAbout_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<EditorPrompts::Unsaved>("answer");
    for (const char *action : {"quit", "open another image", "open another from the command line", "logout"}) {
        QTest::addRow("%s, save", action) << action << EditorPrompts::Unsaved::Save;
        QTest::addRow("%s, discard", action) << action << EditorPrompts::Unsaved::Discard;
        QTest::addRow("%s, cancel", action) << action << EditorPrompts::Unsaved::Cancel;
    }
}

void TestEditorController::unsavedPicksAreAskedAbout()
{
    QFETCH(QString, action);
    QFETCH(EditorPrompts::Unsaved, answer);
    const QString other = writeImage(*m_dir, QStringLiteral("other.smc"), smallImage(ImageLayout::Headered, 4));
    QVERIFY(open(m_path));
    m_view->setScrollValue(3);
    const Bytes before = readFile(m_path);
    const Bytes shop3 = shopInFile(m_path, 3);
    pickSomething(2);
    const Bytes picks = shown();
    m_view->unsavedAnswers.push_back(answer);
    if (action == "quit")
        m_controller->quit();
    else if (action == "logout")
        QCOMPARE(m_controller->commitData(true), answer != EditorPrompts::Unsaved::Cancel);
    else if (action == "open another image")
        open(other);
    else
        m_controller->openFile(QFile::encodeName(other).toStdString());

    QCOMPARE(m_view->questions().size(), 1);
    QVERIFY2(m_view->questions()[0].contains(QStringLiteral("shop 3")), qPrintable(m_view->questions()[0]));
    const bool goesOn = answer != EditorPrompts::Unsaved::Cancel;
    QCOMPARE(shopInFile(m_path, 3), answer == EditorPrompts::Unsaved::Save ? picks : shop3);
    QCOMPARE(readFile(m_path) == before, answer != EditorPrompts::Unsaved::Save);
    if (action == "quit")
        QCOMPARE(m_view->ended(), goesOn);
    else if (action == "logout")
        QCOMPARE(m_view->modified(), !goesOn); // nothing left to ask about when the window closes
    else
        QCOMPARE(m_view->shopIndexText(), goesOn ? QStringLiteral("0") : QStringLiteral("3"));
    if (!goesOn)
        QCOMPARE(shown(), picks);

    m_dialog->queue(std::nullopt); // cancelling the file dialog asks nothing
    m_controller->open();
    QCOMPARE(m_view->questions().size(), 1);

    // A session manager that lets nobody ask: the picks are saved, and a
    // failure, not shown, keeps the session from ending.
    if (action == "logout" && !goesOn) {
        m_files->fsyncError = EIO;
        QVERIFY(!m_controller->commitData(false));
        QVERIFY(m_view->errors().isEmpty());
        m_files->fsyncError = 0;
        QVERIFY(m_controller->commitData(false));
        QCOMPARE(shopInFile(m_path, 3), picks);
    }
}

void TestEditorController::anotherProgramsChangeIsNotOverwritten_data()
{
    QTest::addColumn<bool>("picks");
    QTest::addColumn<QString>("action");
    QTest::addColumn<EditorPrompts::Conflict>("answer");
    QTest::addColumn<QString>("result"); // what the file and the window end with
    using C = EditorPrompts::Conflict;
    QTest::newRow("no picks, back to the window") << false << "activate" << C::Cancel << "theirs shown";
    QTest::newRow("no picks, save") << false << "save" << C::Cancel << "theirs shown";
    QTest::newRow("picks, back to the window, overwrite") << true << "activate" << C::Overwrite << "mine";
    QTest::newRow("picks, back to the window, cancel") << true << "activate" << C::Cancel << "both kept";
    QTest::newRow("picks, save, overwrite") << true << "save" << C::Overwrite << "mine";
    QTest::newRow("picks, save, take the file's") << true << "save" << C::TakeFile << "theirs shown";
    QTest::newRow("picks, save, cancel") << true << "save" << C::Cancel << "both kept";
    QTest::newRow("picks, move, take the file's") << true << "move" << C::TakeFile << "theirs, moved on";
    QTest::newRow("picks, move, cancel") << true << "move" << C::Cancel << "both kept";
    QTest::newRow("picks, the session ends, nobody may be asked")
        << true << "logout" << C::Overwrite << "both kept";
}

// A hex editor changes shop 3 while the editor shows it; nothing the other
// program wrote is overwritten, and no pick dropped, without the user's answer.
void TestEditorController::anotherProgramsChangeIsNotOverwritten()
{
    QFETCH(bool, picks);
    QFETCH(QString, action);
    QFETCH(EditorPrompts::Conflict, answer);
    QFETCH(QString, result);
    QVERIFY(open(m_path));
    m_view->setScrollValue(3);
    if (picks)
        pickSomething(5);
    const Bytes mine = shown();
    Bytes theirs = shopInFile(m_path, 3);
    theirs[8] ^= 0x42;
    changeBehind(m_path, shopOffset(ImageLayout::Headered, 3), theirs);
    m_view->conflictAnswers.push_back(answer);

    const bool asked = picks && action != "logout";
    if (action == "activate")
        m_controller->windowActivated();
    else if (action == "save")
        m_controller->save();
    else if (action == "logout")
        QVERIFY(!m_controller->commitData(false)); // the session may not end yet
    else
        m_view->setScrollValue(4);

    QCOMPARE(m_view->questions().size(), asked ? 1 : 0);
    QCOMPARE(m_view->errors().size(), 0);
    QCOMPARE(shopInFile(m_path, 3), result == "mine" ? mine : theirs);
    QCOMPARE(m_view->shopIndexText(), result == "theirs, moved on" ? QStringLiteral("4") : QStringLiteral("3"));
    if (result == "theirs shown")
        QCOMPARE(shown(), theirs);
    QCOMPARE(m_view->modified(), result == "both kept");
    if (result == "both kept") {
        QCOMPARE(shown(), mine);
        m_view->conflictAnswers.push_back(EditorPrompts::Conflict::Overwrite);
        m_controller->save(); // asked again, as long as the two differ
        QCOMPARE(m_view->questions().size(), asked ? 2 : 1);
        QCOMPARE(shopInFile(m_path, 3), mine);
    }
}

// The internal name, read again when the whole file was rewritten in place.
void TestEditorController::twoEditorsCannotEditOneFile()
{
    QVERIFY(open(m_path));
    MemoryView secondView;
    MemoryOpenDialog secondDialog;
    EditorController second(secondView, secondView, secondDialog);
    secondView.attach(second);
    QVERIFY(!second.openFile(QFile::encodeName(m_path).toStdString()));
    QCOMPARE(secondView.errors().size(), 1);
    QVERIFY2(secondView.errors()[0].contains(QStringLiteral("Another copy of the editor")), qPrintable(secondView.errors()[0]));
    QVERIFY(open(m_path)); // this copy opens its own image again
    pickSomething(1);
    m_controller->save();
    QCOMPARE(shopInFile(m_path, 0), shown());

    // A same-size rewrite through the same file (cp other.smc game.smc).
    auto renamed = smallImage(ImageLayout::Headered, 11);
    renamed.name = "REWRITTEN";
    const Bytes rewrite = demo::makeDemoImage(renamed);
    changeBehind(m_path, 0, rewrite);
    m_controller->windowActivated();
    QVERIFY2(m_view->title().endsWith(QStringLiteral("REWRITTEN            ")), qPrintable(m_view->title()));
    QCOMPARE(shown(), shopInFile(m_path, 0));

    m_controller->quit();
    QVERIFY(second.openFile(QFile::encodeName(m_path).toStdString())); // closed: the lock is gone
}

// A build script writes a new image and moves it into place: the editor
// offers to reload it, once for each version, on the shop shown and with
// the picks on screen kept; File > Reload does the same at any time, and so
// does opening the same path again.
void TestEditorController::replacedFileIsOfferedForReload()
{
    QVERIFY(open(m_path));
    m_view->setScrollValue(6);
    pickSomething(2);
    const Bytes picks = shown();
    const auto replace = [this](std::uint32_t seed, const char *name) {
        auto options = smallImage(ImageLayout::Headered, seed);
        options.name = name;
        const QString built = writeImage(*m_dir, QStringLiteral("build.tmp"), options);
        QCOMPARE(::rename(QFile::encodeName(built).constData(), QFile::encodeName(m_path).constData()), 0);
    };
    replace(21, "BUILT ONCE");
    m_controller->windowActivated(); // Not Now
    QCOMPARE(m_view->questions().size(), 1);
    QVERIFY2(m_view->questions()[0].contains(QStringLiteral("was replaced")), qPrintable(m_view->questions()[0]));
    m_controller->windowActivated(); // the same version: not asked again
    QCOMPARE(m_view->questions().size(), 1);
    QTest::qWait(20); // a time of its own for the next version
    replace(22, "BUILT TWICE");
    m_view->reloadAnswers.push_back(true);
    m_controller->windowActivated();
    QCOMPARE(m_view->questions().size(), 2);
    QVERIFY2(m_view->title().contains(QStringLiteral("BUILT TWICE")), qPrintable(m_view->title()));
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("6"));
    QCOMPARE(shown(), picks);
    QVERIFY(m_view->modified());
    m_controller->save(); // into the new file
    QCOMPARE(shopInFile(m_path, 6), picks);
    QVERIFY(m_view->errors().isEmpty());

    // Replaced again: Open ROM of the same path reloads, without asking
    // about the picks (whose Save could only fail).
    pickSomething(3);
    const Bytes morePicks = shown();
    replace(23, "BUILT THRICE");
    QVERIFY(open(m_path));
    QCOMPARE(m_view->questions().size(), 2);
    QCOMPARE(shown(), morePicks);
    m_controller->undoStack()->undo(); // the kept picks are a step: undone, the file's shop shows
    QCOMPARE(shown(), shopInFile(m_path, 6));
    QVERIFY(!m_view->modified());
    replace(24, "BUILT AGAIN");
    m_controller->reload();
    QVERIFY2(m_view->title().contains(QStringLiteral("BUILT AGAIN")), qPrintable(m_view->title()));
    QCOMPARE(shown(), shopInFile(m_path, 6));
}

// A clean image to compare with: the shown shop's fields and All Shops'
// cells that differ are marked, and a shop goes back to it, or to another
// shop's bytes through the clipboard, as unsaved picks that undo takes back.
void TestEditorController::comparedWithACleanImage()
{
    const QString clean = writeImage(*m_dir, QStringLiteral("clean.smc"), smallImage(ImageLayout::Headered));
    QVERIFY(open(m_path));
    m_view->setScrollValue(4);
    pickSomething(2);
    m_controller->save();
    QVERIFY(!m_view->comparing());
    m_view->fileAnswers[EditorPrompts::FileChoice::ImageToCompare] = QFile::encodeName(clean).toStdString();
    m_controller->compareWithImage();
    QVERIFY(m_view->comparing());
    QCOMPARE(m_view->differing().keys(), QList<int>{2});
    QVERIFY2(m_view->differing().value(2).startsWith(QStringLiteral("In clean.smc: ")), qPrintable(m_view->differing().value(2)));
    ShopTableModel &table = *m_controller->shopTable();
    m_controller->showAllShops();
    for (int column = ShopTableModel::ShopColumn; column < ShopTableModel::ColumnCount; ++column)
        QCOMPARE(table.index(4, column).data(ShopTableModel::DiffersRole).toBool(),
                 column == ShopTableModel::FirstSlotColumn + 1);
    QVERIFY(!table.index(5, ShopTableModel::FirstSlotColumn + 1).data(ShopTableModel::DiffersRole).toBool());

    const Bytes written = shown();
    m_controller->revertToClean();
    QCOMPARE(shown(), shopInFile(clean, 4));
    QVERIFY(m_view->modified() && m_view->differing().isEmpty());
    m_controller->undoStack()->undo();
    QCOMPARE(shown(), written);

    m_controller->copyShop();
    QCOMPARE(m_view->clipboard.left(8), QStringLiteral("shop 4: "));
    m_view->setScrollValue(9);
    m_controller->pasteShop();
    QCOMPARE(shown(), written);
    QVERIFY(m_view->modified());
    m_view->clipboard = QStringLiteral("01 2A FF");
    m_controller->pasteShop();
    QCOMPARE(m_view->errors().size(), 1);
    QCOMPARE(shown(), written);
}

// Another game's image opens, with one word that its table does not look
// like a shop table; an import into it asks first.
void TestEditorController::strangeTableIsSaidAtOpenAndImport()
{
    Bytes image = demo::makeDemoImage(smallImage(ImageLayout::Headered, 3));
    QRandomGenerator random(7);
    for (int at = 0; at < 128 * 9; ++at)
        image[shopOffset(ImageLayout::Headered, 0) + std::size_t(at)] = std::uint8_t(random.bounded(256));
    const QString other = writeFile(*m_dir, QStringLiteral("other.smc"), image);
    QVERIFY(open(other));
    QCOMPARE(m_view->informations().size(), 1);
    QVERIFY2(m_view->informations()[0].contains(QStringLiteral("does not look like")), qPrintable(m_view->informations()[0]));
    m_controller->reload();
    QCOMPARE(m_view->informations().size(), 1);

    const char csv[] = "shop,type,slot1,slot2,slot3,slot4,slot5,slot6,slot7,slot8\n3,01,2A,FF,FF,FF,FF,FF,FF,FF\n";
    m_view->fileAnswers[EditorPrompts::FileChoice::TableToRead] =
        QFile::encodeName(writeFile(*m_dir, QStringLiteral("in.csv"), Bytes(csv, csv + std::strlen(csv)))).toStdString();
    m_view->confirmAnswers = {false};
    m_controller->importTable();
    QCOMPARE(m_view->questions().size(), 1);
    QCOMPARE(readFile(other), image);
    QVERIFY(!open(m_path) || m_view->informations().size() == 1); // a shop table: nothing said
}

void TestEditorController::undoAndRedoWalkTheWrites()
{
    QVERIFY(open(m_path));
    const Bytes original = readFile(m_path);
    m_view->setScrollValue(3);
    pickSomething(1);
    const Bytes shop3 = shown();
    m_view->setScrollValue(5); // writes shop 3
    pickSomething(8);
    m_controller->save(); // writes shop 5
    const Bytes bothWritten = readFile(m_path);
    m_view->setScrollValue(7);
    QCOMPARE(m_view->undoState(), (UndoState{true, QStringLiteral("Shop 5"), false, QString()}));

    // Each unsaved pick is a step of its own, undone and redone without a write.
    const Bytes unpicked = shown();
    pickSomething(2);
    const Bytes firstPick = shown();
    pickSomething(4);
    const Bytes bothPicks = shown();
    const int writes = m_files->writes;
    m_controller->undoStack()->undo();
    QCOMPARE(shown(), firstPick);
    QVERIFY(m_view->modified());
    m_controller->undoStack()->undo();
    QCOMPARE(shown(), unpicked);
    QVERIFY(!m_view->modified());
    QCOMPARE(m_view->undoState(), (UndoState{true, QStringLiteral("Shop 5"), true, QStringLiteral("Shop 7")}));
    m_controller->undoStack()->redo();
    m_controller->undoStack()->redo();
    QCOMPARE(shown(), bothPicks);
    m_controller->undoStack()->undo();
    m_controller->undoStack()->undo();
    QCOMPARE(m_files->writes, writes);

    m_controller->undoStack()->undo(); // shop 5: shown, then written back
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("5"));
    m_controller->undoStack()->undo(); // shop 3
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("3"));
    QCOMPARE(readFile(m_path), original);
    QCOMPARE(m_view->undoState(), (UndoState{false, QString(), true, QStringLiteral("Shop 3")}));

    m_controller->undoStack()->redo();
    QCOMPARE(shown(), shop3);
    m_controller->undoStack()->redo();
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("5"));
    QCOMPARE(readFile(m_path), bothWritten);
    m_controller->undoStack()->redo(); // the first pick on shop 7, unsaved again
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("7"));
    QCOMPARE(shown(), firstPick);
    QVERIFY(m_view->modified());

    // Several picks of one shop are saved as one written step.
    m_controller->undoStack()->redo();
    m_controller->save();
    QCOMPARE(m_view->undoState(), (UndoState{true, QStringLiteral("Shop 7"), false, QString()}));
    m_controller->undoStack()->undo();
    QCOMPARE(shown(), unpicked);
    QCOMPARE(m_view->undoState().undoText, QStringLiteral("Shop 5"));

    pickSomething(3); // a new pick ends what could be redone
    QVERIFY(!m_view->undoState().canRedo);
    m_view->unsavedAnswers.push_back(EditorPrompts::Unsaved::Discard);
    QVERIFY(open(m_path)); // another image, or the same again: a history of its own
    QCOMPARE(m_view->undoState(), UndoState());
}

// An explicit save returns once its data is on the disk; saves made by
// moving get there together, within about a second.
void TestEditorController::savesReachTheDisk()
{
    constexpr std::chrono::milliseconds kDelay(50);
    m_controller->setSyncDelay(kDelay);
    QVERIFY(open(m_path));
    pickSomething(1);
    m_controller->save();
    QCOMPARE(m_files->dataSyncs, 1);
    for (int shop = 1; shop <= 3; ++shop) {
        pickSomething(1);
        m_view->setScrollValue(shop);
    }
    QCOMPARE(m_files->dataSyncs, 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_files->dataSyncs, 2, 3000);
    QTest::qWait(int(2 * kDelay.count()));
    QCOMPARE(m_files->dataSyncs, 2);
}

// The table reads the file in one go when it is shown, follows the editor's
// own writes without reading, and reads again after another program wrote.
void TestEditorController::allShopsFollowTheFile()
{
    QVERIFY(open(m_path));
    const int atOpen = m_files->tableReads; // the open's look at whether it is a shop table
    ShopTableModel &table = *m_controller->shopTable();
    QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto row = [&table](int shop) {
        Bytes bytes;
        for (int column = ShopTableModel::TypeColumn; column < ShopTableModel::ColumnCount; ++column)
            bytes.push_back(std::uint8_t(table.index(shop, column).data(ShopTableModel::SortRole).toInt()));
        return bytes;
    };
    QCOMPARE(table.rowCount(), 0);
    m_controller->showAllShops();
    QCOMPARE(m_files->tableReads, atOpen + 1);
    QCOMPARE(table.rowCount(), 128);
    for (const int shop : {0, 77, 127})
        QCOMPARE(row(shop), shopInFile(m_path, shop));

    m_view->setScrollValue(9);
    pickSomething(3);
    QCOMPARE(row(9), shopInFile(m_path, 9)); // picks are not the file
    m_controller->save();
    QCOMPARE(row(9), shown());
    m_controller->undoStack()->undo();
    QCOMPARE(row(9), shopInFile(m_path, 9));
    m_controller->undoStack()->redo();
    QCOMPARE(row(9), shopInFile(m_path, 9));
    QCOMPARE(m_files->tableReads, atOpen + 1);

    // What another program wrote before one of the editor's own writes
    // shows after it: while the conflict question was up, and before an
    // undo on the shop the editor stands on.
    const auto changeShop = [this](int shop, std::uint8_t type) {
        Bytes theirs = shopInFile(m_path, shop);
        theirs[0] = type;
        changeBehind(m_path, shopOffset(ImageLayout::Headered, shop), theirs);
        return theirs;
    };
    pickSomething(4);
    changeShop(9, 0x15);
    Bytes theirs;
    m_view->whileAsking = [&] {
        theirs = changeShop(60, 0x13);
        changeBehind(m_path, 0x200 + 0xFFC0, Bytes{'B', 'E', 'H', 'I', 'N', 'D'});
    };
    m_view->conflictAnswers.push_back(EditorPrompts::Conflict::Overwrite);
    m_controller->save();
    m_view->whileAsking = nullptr;
    QCOMPARE(row(60), theirs);
    QVERIFY2(m_view->title().contains(QStringLiteral(" - BEHIND")), qPrintable(m_view->title()));
    theirs = changeShop(61, 0x14);
    m_controller->undoStack()->undo();
    QCOMPARE(row(61), theirs);
    QCOMPARE(m_files->tableReads, atOpen + 4);

    theirs = shopInFile(m_path, 100);
    theirs[0] = 0x12;
    changeBehind(m_path, shopOffset(ImageLayout::Headered, 100), theirs);
    m_controller->windowActivated();
    QCOMPARE(m_files->tableReads, atOpen + 5);
    QCOMPARE(row(100), theirs);
    QCOMPARE(table.index(100, ShopTableModel::TypeColumn).data().toString(), QStringLiteral("Armor 200% cost"));

    // The same when the question is answered with the file's version, on a
    // save and on an undo.
    for (const bool undo : {false, true}) {
        pickSomething(5);
        if (undo)
            m_controller->save();
        changeShop(9, undo ? 0x16 : 0x17);
        m_view->whileAsking = [&] {
            theirs = changeShop(62, undo ? 0x11 : 0x10);
            changeBehind(m_path, 0x200 + 0xFFC0,
                         undo ? Bytes{'U', 'N', 'D', 'O', 'N', 'E'} : Bytes{'T', 'A', 'K', 'E', 'N', '!'});
        };
        m_view->conflictAnswers.push_back(EditorPrompts::Conflict::TakeFile);
        if (undo)
            m_controller->undoStack()->undo();
        else
            m_controller->save();
        m_view->whileAsking = nullptr;
        QVERIFY(m_view->conflictAnswers.empty()); // the question was asked
        QCOMPARE(row(62), theirs);
        QCOMPARE(row(9), shopInFile(m_path, 9));
        QVERIFY2(m_view->title().contains(undo ? " - UNDONE" : " - TAKEN!"), qPrintable(m_view->title()));
    }
    const int beforeSearch = m_files->tableReads;

    // The search keeps the shops with the text in their type or a slot, in any case.
    ShopFilterModel filter;
    filter.setSourceModel(&table);
    QAbstractItemModelTester filterTester(&filter, QAbstractItemModelTester::FailureReportingMode::QtTest);
    filter.search(QStringLiteral("armor 200"));
    QVERIFY(filter.rowCount() >= 1);
    for (int shown = 0; shown < filter.rowCount(); ++shown)
        QVERIFY(table.index(filter.shopAt(shown), ShopTableModel::TypeColumn).data().toString().startsWith(
            QStringLiteral("Armor 200")));
    const QString code = QStringLiteral("%1").arg(shopInFile(m_path, 77)[1], 2, 16, QChar(u'0'));
    filter.search(code.toLower()); // a hex code finds its item
    QVERIFY(filter.mapFromSource(table.index(77, 0)).isValid());
    const QModelIndex found = filter.mapFromSource(table.index(77, ShopTableModel::FirstSlotColumn));
    const QModelIndex number = filter.mapFromSource(table.index(77, ShopTableModel::ShopColumn));
    QVERIFY(found.data(Qt::FontRole).value<QFont>().bold());
    QCOMPARE(found.data(ShopFilterModel::MatchRole), QVariant(true)); // for the view to mark
    QVERIFY(!number.data(Qt::FontRole).isValid());
    QCOMPARE(number.data(ShopFilterModel::MatchRole), QVariant(false));
    // A longer text that keeps the same shops still marks the cells anew.
    QSignalSpy marked(&filter, &QAbstractItemModel::dataChanged);
    filter.search(QStringLiteral("armor 20"));
    filter.search(QStringLiteral("armor 200"));
    QCOMPARE(marked.size(), 2);
    filter.search({});
    QCOMPARE(filter.mapFromSource(table.index(77, ShopTableModel::FirstSlotColumn)).data(ShopFilterModel::MatchRole),
             QVariant(false)); // no search, no marks
    QCOMPARE(m_files->tableReads, beforeSearch); // searching does not read the file

    m_controller->moveToShop(77);
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("77"));
    QCOMPARE(m_view->scrollValue(), 77);

    // Another image opened while the table is shown: one read of its table
    // serves the look at it, the first shop and the table.
    const QString other = writeImage(*m_dir, QStringLiteral("other.smc"), smallImage(ImageLayout::Headered, 4));
    QVERIFY(open(other));
    QCOMPARE(m_files->tableReads, beforeSearch + 1);
    QCOMPARE(row(5), shopInFile(other, 5));
}

// A names file: every list and the table show its names, codes not in it
// keep theirs; a bad file changes nothing; the choice is remembered.
void TestEditorController::itemNamesFromAFile()
{
    const auto text = [](std::string_view chars) { return Bytes(chars.begin(), chars.end()); };
    const QString names = writeFile(*m_dir, QStringLiteral("names.txt"), text("# ours\n2a: Wyrm Fang\nFF: Nothing\n"));
    const QString bad = writeFile(*m_dir, QStringLiteral("bad.txt"), text("2A: X\n2A: Y\n"));
    QVERIFY(open(m_path));
    m_view->setScrollValue(4);
    m_controller->showAllShops();
    const Bytes picks = shown();

    m_view->fileAnswers[EditorPrompts::FileChoice::ItemNamesToRead] = QFile::encodeName(names).toStdString();
    m_controller->chooseItemNames();
    QCOMPARE(m_view->itemLabels().value(0x2A), QStringLiteral("2A: Wyrm Fang"));
    QCOMPARE(m_view->itemLabels().value(0xFF), QStringLiteral("FF: Nothing"));
    QCOMPARE(m_view->itemLabels().value(0x2B), QString::fromLatin1(rom::ItemLabels::label(0x2B).data()));
    QCOMPARE(shown(), picks); // the selections stay
    QVERIFY(!m_view->modified());

    m_view->fileAnswers[EditorPrompts::FileChoice::ItemNamesToRead] = QFile::encodeName(bad).toStdString();
    m_controller->chooseItemNames();
    QCOMPARE(m_view->errors().size(), 1);
    QVERIFY2(m_view->errors()[0].contains(QStringLiteral("Line 2")), qPrintable(m_view->errors()[0]));
    QCOMPARE(m_view->itemLabels().value(0x2A), QStringLiteral("2A: Wyrm Fang"));

    const QString exported = m_dir->filePath(QStringLiteral("exported.txt"));
    m_view->fileAnswers[EditorPrompts::FileChoice::ItemNamesToWrite] = QFile::encodeName(exported).toStdString();
    m_controller->exportItemNames();
    const Bytes written = readFile(exported);
    QCOMPARE(std::count(written.begin(), written.end(), '\n'), 256);

    // Remembered for the next run; one message when it can no longer be read.
    MemoryView nextView;
    MemoryOpenDialog nextDialog;
    EditorController next(nextView, nextView, nextDialog, *m_files);
    nextView.attach(next);
    next.start({}, {});
    QCOMPARE(nextView.itemLabels().value(0x2A), QStringLiteral("2A: Wyrm Fang"));
    QVERIFY(QFile::remove(names));
    MemoryView lastView;
    EditorController last(lastView, lastView, nextDialog, *m_files);
    lastView.attach(last);
    last.start({}, {});
    QCOMPARE(lastView.errors().size(), 1);
    QVERIFY(lastView.errors()[0].contains(QStringLiteral("built-in item names are used")));
    m_controller->useBuiltInItemNames();
    QCOMPARE(m_view->itemLabels().value(0x2A), QString::fromLatin1(rom::ItemLabels::label(0x2A).data()));
    QVERIFY(!QSettings().contains(QStringLiteral("itemNames/file")));
}

// File > Export Table..., Import Table... (one undoable step), Create
// Patch... and Fix Checksum... on the open image.
// The image's own names, read with a table file: every list shows them,
// codes not covered keep theirs, and images of the same internal name get
// them back when opened, until a names file is chosen.
void TestEditorController::itemNamesFromTheImage()
{
    const std::string table = demo::tableFileText({}, {});
    const QString tablePath = writeFile(*m_dir, QStringLiteral("game.tbl"), Bytes(table.begin(), table.end()));
    QVERIFY(open(m_path));
    QString problem;
    m_view->nameTableAnswer = [&](NameTableChoice &choice) {
        choice.setTableFile(QFile::encodeName(tablePath).toStdString());
        choice.setText(NameTableChoice::AddressField, QStringLiteral("$C3:A4"));
        problem = choice.problem(NameTableChoice::AddressField); // not understood: refused beside the field
        choice.setText(NameTableChoice::AddressField, QStringLiteral("$C3:A400"));
        choice.setText(NameTableChoice::SkipField, QStringLiteral("1"));
        choice.setText(NameTableChoice::CodesField, QStringLiteral("00-7F"));
        return choice.ready();
    };
    m_controller->chooseItemNamesFromImage();
    QVERIFY(!problem.isEmpty());
    QCOMPARE(m_view->itemLabels().value(0x01), QStringLiteral("01: ") + QString::fromStdString(demo::demoItemName(1)));
    QCOMPARE(m_view->itemLabels().value(0x90), QString::fromLatin1(rom::ItemLabels::label(0x90).data())); // not covered

    // Nonsense at another address: asked first, and No keeps the names.
    m_view->nameTableAnswer = [](NameTableChoice &choice) {
        choice.setText(NameTableChoice::AddressField, QStringLiteral("0x100"));
        return choice.ready();
    };
    m_view->confirmAnswers = {false};
    m_controller->chooseItemNamesFromImage();
    QVERIFY2(m_view->questions().last().contains(QStringLiteral("[HH]")), qPrintable(m_view->questions().last()));
    QCOMPARE(m_view->itemLabels().value(0x01), QStringLiteral("01: ") + QString::fromStdString(demo::demoItemName(1)));

    // Another image of the same name gets them back; a names file chosen since wins.
    m_controller->useBuiltInItemNames();
    m_view->nameTableAnswer = [](NameTableChoice &choice) { return choice.ready(); }; // as remembered
    m_controller->chooseItemNamesFromImage();
    const QString twin = writeImage(*m_dir, QStringLiteral("twin.smc"), smallImage(ImageLayout::Headered, 6));
    QVERIFY(open(twin));
    QCOMPARE(m_view->itemLabels().value(0x02), QStringLiteral("02: ") + QString::fromStdString(demo::demoItemName(2)));
    const QString names = writeFile(*m_dir, QStringLiteral("names.txt"), Bytes{'0', '2', ':', ' ', 'O', 'w', 'n', '\n'});
    m_view->fileAnswers[EditorPrompts::FileChoice::ItemNamesToRead] = QFile::encodeName(names).toStdString();
    m_controller->chooseItemNames();
    QVERIFY(open(m_path));
    QCOMPARE(m_view->itemLabels().value(0x02), QStringLiteral("02: Own"));
}

void TestEditorController::tableFilesFromTheWindow()
{
    using Choice = EditorPrompts::FileChoice;
    const QString clean = writeImage(*m_dir, QStringLiteral("clean.smc"), smallImage(ImageLayout::Headered));
    changeBehind(m_path, 0x200 + 0xFFDE, Bytes{0x12, 0x34}); // a checksum gone wrong
    QVERIFY(open(m_path));
    const Bytes original = readFile(m_path);
    const auto path = [this](const char *name) { return QFile::encodeName(m_dir->filePath(QLatin1String(name))).toStdString(); };

    m_view->fileAnswers[Choice::TableToWrite] = path("shops.csv");
    m_controller->exportTable();
    const Bytes csv = readFile(m_dir->filePath(QStringLiteral("shops.csv")));
    QVERIFY(QByteArray(reinterpret_cast<const char *>(csv.data()), qsizetype(csv.size())).startsWith("shop,type,slot1,"));

    const auto writeCsv = [this](const char *text) { writeFile(*m_dir, QStringLiteral("in.csv"), Bytes(text, text + std::strlen(text))); };
    writeCsv("shop,type,slot1,slot2,slot3,slot4,slot5,slot6,slot7,slot8\n3,01,2A,FF,FF,FF,FF,FF,FF,FF\n"
             "4,02,60,61,FF,FF,FF,FF,FF,FF\n0,00,00,00,00,00,00,00,00,00\n");
    m_view->setScrollValue(4);
    pickSomething(1); // dropped by the answer to the question
    m_view->unsavedAnswers.push_back(EditorPrompts::Unsaved::Discard);
    m_view->fileAnswers[Choice::TableToRead] = path("in.csv");
    m_controller->importTable();
    QCOMPARE(m_view->informations().value(0), QStringLiteral("3 shops changed in \u201C%1\u201D: 3, 4 and 0.").arg(m_path));
    QCOMPARE(shopInFile(m_path, 3), (Bytes{0x01, 0x2A, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    QCOMPARE(shown(), shopInFile(m_path, 4)); // the shop shown is the file's new one
    QCOMPARE(m_view->undoState().undoText, QStringLiteral("Import of 3 Shops"));
    const Bytes imported = readFile(m_path);
    m_controller->undoStack()->undo();
    QCOMPARE(readFile(m_path), original);
    m_controller->undoStack()->redo();
    QCOMPARE(readFile(m_path), imported);

    // An undo of it that fails halfway leaves the shown shop as the file has it.
    m_view->setScrollValue(3);
    m_files->writePlan = {9, -EIO};
    m_controller->undoStack()->undo();
    QCOMPARE(m_view->errors().size(), 1);
    QCOMPARE(shown(), shopInFile(m_path, 3));
    const auto shop3 = original.begin() + qsizetype(shopOffset(ImageLayout::Headered, 3));
    QCOMPARE(shown(), Bytes(shop3, shop3 + 9)); // written back before the failure
    QVERIFY(!m_view->modified());
    m_controller->undoStack()->undo(); // tried again, it does the rest
    QCOMPARE(readFile(m_path), original);
    QCOMPARE(m_view->questions().size(), 1); // only the one about the discarded pick
    m_controller->undoStack()->redo();
    QCOMPARE(readFile(m_path), imported);

    writeCsv("shop,type,slot1,slot2,slot3,slot4,slot5,slot6,slot7,slot8\n3,01,2A,FF,FF,FF,FF,FF,FF,FF\n3,01,2B,FF,FF,FF,FF,FF,FF,FF\n");
    m_view->fileAnswers[Choice::TableToRead] = path("in.csv");
    m_controller->importTable();
    QCOMPARE(m_view->errors().size(), 2);
    QVERIFY2(m_view->errors()[1].contains(QStringLiteral("Line 3")), qPrintable(m_view->errors()[1]));
    QCOMPARE(readFile(m_path), imported);

    // Labels edited instead of codes, by the names in use: the report names
    // line and column of the first ten, and counts the others.
    writeFile(*m_dir, QStringLiteral("names.txt"), Bytes{'2', 'B', ':', ' ', 'L', 'a', 'm', 'p', '\n'});
    m_view->fileAnswers[Choice::ItemNamesToRead] = path("names.txt");
    m_controller->chooseItemNames();
    writeCsv("shop,type,slot1,slot2,slot3,slot4,slot5,slot6,slot7,slot8,type_label,slot1_label,slot2_label,"
             "slot3_label,slot4_label,slot5_label,slot6_label,slot7_label,slot8_label\n"
             "3,01,2A,FF,FF,FF,FF,FF,FF,FF,Armor,Lamp,2B: x,2B: x,2B: x,2B: x,2B: x,2B: x,2B: x\n"
             "4,02,60,61,FF,FF,FF,FF,FF,FF,,2B: y,2B: y,2B: y,,,,,\n");
    m_view->fileAnswers[Choice::TableToRead] = path("in.csv");
    const int syncs = m_files->dataSyncs;
    m_controller->importTable();
    QCOMPARE(m_files->dataSyncs, syncs); // nothing written, nothing to flush
    const QString report = m_view->informations().last();
    QVERIFY2(report.startsWith(QStringLiteral("0 shops changed in \u201C%1\u201D.\n\nThese labels name another code").arg(m_path)),
             qPrintable(report));
    QVERIFY2(report.contains(QStringLiteral("\nLine 2, column type_label: \"Armor\" names code 02, but type holds 01 "
                                            "(\"Weapon\"), which is what is imported.\nLine 2, column slot1_label: "
                                            "\"Lamp\" names code 2B, but slot1 holds 2A")),
             qPrintable(report));
    QCOMPARE(report.count(QStringLiteral("\nLine ")), 10);
    QVERIFY2(report.endsWith(QStringLiteral("\nAnd 2 more.")), qPrintable(report));
    QCOMPARE(readFile(m_path), imported);

    m_view->fileAnswers[Choice::CleanImage] = QFile::encodeName(clean).toStdString();
    m_view->fileAnswers[Choice::PatchToWrite] = path("shops.ips");
    m_controller->createPatch();
    const Bytes patch = readFile(m_dir->filePath(QStringLiteral("shops.ips")));
    QCOMPARE(Bytes(patch.begin(), patch.begin() + 5), (Bytes{'P', 'A', 'T', 'C', 'H'}));
    // The checksum went wrong at the start: a patch made now carries it.
    const QString made = m_view->informations().last();
    QVERIFY2(made.contains(QStringLiteral("The checksum of \u201C%1\u201D does not match its contents").arg(m_path)) &&
                 made.contains(QStringLiteral("for images without a copier header: applied to an image with one, an "
                                              "IPS patch writes every change 512 bytes too early.")) &&
                 !made.contains(QStringLiteral("same contents")),
             qPrintable(made));

    m_view->confirmAnswers = {false, true, true};
    m_controller->fixChecksum();
    QCOMPARE(readFile(m_path), imported);
    // Changed by another program while the question was up: not written.
    Bytes other = shopInFile(m_path, 120);
    other[1] ^= 1;
    m_view->whileAsking = [&] { changeBehind(m_path, shopOffset(ImageLayout::Headered, 120), other); };
    m_controller->fixChecksum();
    m_view->whileAsking = nullptr;
    QVERIFY2(m_view->errors().last().contains(QStringLiteral("while the question was shown")),
             qPrintable(m_view->errors().last()));
    other[1] ^= 1;
    changeBehind(m_path, shopOffset(ImageLayout::Headered, 120), other);
    QCOMPARE(readFile(m_path), imported);
    m_controller->fixChecksum();
    QCOMPARE(changedOffsets(imported, readFile(m_path)).size() <= 4, true);
    QVERIFY(readFile(m_path) != imported);
    m_controller->fixChecksum(); // right now: nothing to ask
    QCOMPARE(m_view->questions().filter(QStringLiteral("does not match")).size(), 3);
    QVERIFY(m_view->informations().last().contains(QStringLiteral("is right")));

    // A patch from the image to itself: nothing to change, and a right checksum.
    m_view->fileAnswers[Choice::CleanImage] = QFile::encodeName(m_path).toStdString();
    m_view->fileAnswers[Choice::PatchToWrite] = path("same.bps");
    m_controller->createPatch();
    const QString same = m_view->informations().last();
    QVERIFY2(same.contains(QStringLiteral("The two images have the same contents: the patch changes nothing.")) &&
                 !same.contains(QStringLiteral("does not match")) &&
                 same.endsWith(QStringLiteral("so it is for images without a copier header.")),
             qPrintable(same));
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
    pickSomething(2);
    m_view->unsavedAnswers.push_back(EditorPrompts::Unsaved::Discard);
    const Bytes picks = shown();
    const QString title = m_view->title();
    const QStringList before = listing(*m_dir);

    m_files->openError = openError;
    const QString path = m_dir->filePath(name);
    QVERIFY(!open(path));
    QCOMPARE(m_view->questions().size(), 0); // a file refused costs no picks
    QCOMPARE(m_view->errors().size(), 1);
    QVERIFY2(m_view->errors()[0].contains(QDir::toNativeSeparators(path)), qPrintable(m_view->errors()[0]));
    QVERIFY2(m_view->errors()[0].contains(reason), qPrintable(m_view->errors()[0]));
    QCOMPARE(listing(*m_dir), before);
    QCOMPARE(m_view->title(), title);
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("3"));
    QCOMPARE(shown(), picks);

    m_controller->save(); // the image that was open still is
    QCOMPARE(shopInFile(m_path, 3), picks);
}

void TestEditorController::savingBeforeAnyOpenDoesNothing()
{
    const QStringList before = listing(*m_dir);
    m_controller->save();
    m_controller->save();
    m_controller->saveBeforeMoving();
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
    pickSomething(6);
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

void TestEditorController::stepThatCannotMoveStaysToBeRedone_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("file deleted") << "deleted";
    QTest::newRow("file replaced") << "replaced";
    QTest::newRow("read error") << "read";
}

// A pick undone on shop 7, then a move to shop 9: redoing the pick moves
// back to shop 7 first, and when that fails the step stays to be redone,
// and nothing else moves, an undo after it included.
void TestEditorController::stepThatCannotMoveStaysToBeRedone()
{
    QFETCH(QString, fault);
    QVERIFY(open(m_path));
    m_view->setScrollValue(7);
    const Bytes unpicked = shown();
    pickSomething(1);
    const Bytes picked = shown();
    m_controller->undoStack()->undo();
    m_view->setScrollValue(9);
    const UndoState history = m_view->undoState();
    QCOMPARE(history, (UndoState{false, QString(), true, QStringLiteral("Shop 7")}));
    const Bytes original = readFile(m_path);
    const QString away = m_path + QStringLiteral(".away");
    if (fault == "read")
        m_files->readError = EIO;
    else
        QVERIFY(QFile::rename(m_path, away));
    if (fault == "replaced")
        QVERIFY(QFile::copy(away, m_path));

    m_controller->undoStack()->redo();
    QCOMPARE(m_view->errors().size(), 1);
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("9"));
    QVERIFY(!m_view->modified());
    QCOMPARE(m_view->undoState(), history);
    m_controller->undoStack()->undo();
    QCOMPARE(m_view->undoState(), history);

    m_files->readError = 0; // the file back as it was opened: the step goes on
    if (fault != "read")
        QCOMPARE(::rename(qPrintable(away), qPrintable(m_path)), 0);
    m_controller->undoStack()->redo();
    QCOMPARE(m_view->shopIndexText(), QStringLiteral("7"));
    QCOMPARE(shown(), picked);
    m_controller->undoStack()->undo();
    QCOMPARE(shown(), unpicked);
    QCOMPARE(readFile(m_path), original);
    QCOMPARE(m_view->errors().size(), 1);
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
        opened = m_controller->open();
    } else {
        opened = m_controller->openFile(given.toStdString());
    }
    QDir::setCurrent(previous);
    QCOMPARE(opened, !edited.isEmpty());
    QCOMPARE(m_view->errors().size(), edited.isEmpty() ? 1 : 0);
    if (!opened)
        return;

    pickSomething(1);
    m_controller->save();
    for (const QByteArray name : {"col\xFE.smc", "col\xEF\xBF\xBD.smc", "real/x.smc", "x.smc"})
        QVERIFY2((read(name) != image) == (name == edited), name.constData());
    // A build script moves a new image into place: the reload is offered
    // for the file at the path opened, with no other name standing in.
    ::unlink((dir + "col\xEF\xBF\xBD.smc").constData());
    write("new.tmp");
    QCOMPARE(::rename((dir + "new.tmp").constData(), (dir + edited).constData()), 0);
    m_controller->windowActivated();
    QCOMPARE(m_view->questions().size(), 1);
}

// QTemporaryDir takes names as text, so it cannot remove one that is not UTF-8.
void TestEditorController::cleanup()
{
    m_controller.reset(); // before the file access it uses
    if (m_dir)
        ::unlink((QFile::encodeName(m_dir->path()) + "/col\xFE.smc").constData());
}

QTEST_GUILESS_MAIN(TestEditorController)
#include "tst_editorcontroller.moc"
