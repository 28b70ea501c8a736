#include "RomFile.h"
#include "TestSupport.h"

#include <QTest>

#include <cerrno>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

using rom::ImageLayout;
using rom::RomError;
using rom::RomFile;
using rom::ShopRecord;

Q_DECLARE_METATYPE(rom::ImageLayout)
Q_DECLARE_METATYPE(rom::RomError)

class TestRomFile : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
    }

    void recordsAtTheirOffsets_data();
    void recordsAtTheirOffsets();
    void refusesWhatIsNotAnImage_data();
    void refusesWhatIsNotAnImage();
    void refusesFilesItCannotWrite();
    void refusesFilesChangedBehindIt_data();
    void refusesFilesChangedBehindIt();
    void reportsSystemErrors();
    void failedWriteLeavesTheRecord_data();
    void failedWriteLeavesTheRecord();
    void fileSizeLimitIsAWriteError();
    void refusesShopsOutsideTheTable();

private:
    std::unique_ptr<QTemporaryDir> m_temp;
    const QTemporaryDir &dir() const { return *m_temp; }
};

void TestRomFile::recordsAtTheirOffsets_data()
{
    QTest::addColumn<ImageLayout>("layout");
    QTest::newRow("headered") << ImageLayout::Headered;
    QTest::newRow("headerless") << ImageLayout::Headerless;
}

void TestRomFile::recordsAtTheirOffsets()
{
    QFETCH(ImageLayout, layout);
    auto options = smallImage(layout);
    options.name = "ABC";
    const QString path = writeImage(dir(), QStringLiteral("game.smc"), options);
    const Bytes original = readFile(path);

    RomFile file;
    QCOMPARE(file.open(path.toStdString()), RomError::None);
    QCOMPARE(file.layout(), layout);
    std::string name;
    QCOMPARE(file.readName(name), RomError::None);
    QCOMPARE(name, std::string("ABC") + std::string(18, ' '));

    for (const int index : {0, 127}) {
        ShopRecord record;
        QCOMPARE(file.readShop(index, record), RomError::None);
        const std::uint64_t at = shopOffset(layout, index);
        const auto bytes = record.toBytes();
        QCOMPARE(Bytes(bytes.begin(), bytes.end()), Bytes(original.begin() + at, original.begin() + at + 9));
        QCOMPARE(file.writeShop(index, record), RomError::None);
    }
    QCOMPARE(readFile(path), original); // written back as read: byte-identical

    const ShopRecord changed{0x35, {1, 2, 3, 4, 5, 6, 7, 0xFF}};
    QCOMPARE(file.writeShop(127, changed), RomError::None);
    QCOMPARE(file.close(), RomError::None);
    const Bytes after = readFile(path);
    QList<qint64> expected;
    for (std::uint64_t k = 0; k < 9; ++k)
        if (original[shopOffset(layout, 127) + k] != changed.toBytes()[k])
            expected.append(qint64(shopOffset(layout, 127) + k));
    QCOMPARE(changedOffsets(original, after), expected);
}

void TestRomFile::refusesWhatIsNotAnImage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<RomError>("expected");
    QTest::newRow("missing file") << "missing.smc" << RomError::NotFound;
    QTest::newRow("missing folder") << "nowhere/game.smc" << RomError::NotFound;
    QTest::newRow("folder") << "folder" << RomError::IsDirectory;
    QTest::newRow("fifo") << "fifo.smc" << RomError::NotRegularFile;
    QTest::newRow("empty file") << "empty.smc" << RomError::TooSmall;
    QTest::newRow("odd size") << "odd.smc" << RomError::BadSize;
    QTest::newRow("headered, table cut off") << "short-headered.smc" << RomError::TooSmall;
    QTest::newRow("headerless, table cut off") << "short-headerless.smc" << RomError::TooSmall;
    QTest::newRow("LoROM map mode") << "lorom.smc" << RomError::NotHiRom;
    QTest::newRow("headerless LoROM") << "lorom-headerless.sfc" << RomError::NotHiRom;
    QTest::newRow("symbolic link to itself") << "loop.smc" << RomError::SymlinkLoop;
    QTest::newRow("name too long") << QString(300, u'n') << RomError::NameTooLong;
    QTest::newRow("headerless, smallest that holds the table") << "small-headerless.smc" << RomError::None;
    QTest::newRow("ExHiROM fast map mode") << "exhirom.smc" << RomError::None;
}

void TestRomFile::refusesWhatIsNotAnImage()
{
    QFETCH(QString, name);
    QFETCH(RomError, expected);
    writeUnusualFiles(dir());
    const QStringList before = listing(dir());

    RomFile file;
    QCOMPARE(file.open(dir().filePath(name).toStdString()), expected);
    QCOMPARE(file.isOpen(), expected == RomError::None);
    QCOMPARE(file.open(dir().filePath(name).toStdString() + std::string(1, '\0') + "x"), RomError::NotFound);
    QVERIFY(!file.isOpen());
    QCOMPARE(file.close(), RomError::None);
    QCOMPARE(listing(dir()), before);
}

void TestRomFile::refusesFilesItCannotWrite()
{
    const QString path = writeImage(dir(), QStringLiteral("game.smc"), smallImage(ImageLayout::Headered));
    FaultyFileAccess files;
    RomFile file(files);
    files.openError = EROFS;
    QCOMPARE(file.open(path.toStdString()), RomError::ReadOnly);
    files.openError = EACCES;
    files.denyRead = true;
    QCOMPARE(file.open(path.toStdString()), RomError::AccessDenied);
    QVERIFY(!file.isOpen());

    if (::geteuid() != 0) { // permissions do not bind the superuser
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        QCOMPARE(RomFile().open(path.toStdString()), RomError::ReadOnly);
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
        QCOMPARE(RomFile().open(path.toStdString()), RomError::AccessDenied);
    }
}

void TestRomFile::refusesFilesChangedBehindIt_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("deleted") << "deleted";
    QTest::newRow("replaced") << "replaced";
    QTest::newRow("truncated") << "truncated";
    QTest::newRow("extended") << "extended";
}

void TestRomFile::refusesFilesChangedBehindIt()
{
    QFETCH(QString, change);
    const QString path = writeImage(dir(), QStringLiteral("game.smc"), smallImage(ImageLayout::Headered));
    const QString other = writeImage(dir(), QStringLiteral("other.smc"), smallImage(ImageLayout::Headered, 2));
    RomFile file;
    QCOMPARE(file.open(path.toStdString()), RomError::None);

    if (change == "deleted")
        QVERIFY(QFile::remove(path));
    else if (change == "replaced")
        QVERIFY(::rename(qPrintable(other), qPrintable(path)) == 0);
    else
        QVERIFY(QFile::resize(path, change == "truncated" ? 0x40000 : 0x80200));
    const Bytes onDisk = readFile(path);

    ShopRecord record;
    QCOMPARE(file.readShop(3, record), RomError::FileChanged);
    QCOMPARE(file.writeShop(3, record), RomError::FileChanged);
    QCOMPARE(file.close(), RomError::None);
    QCOMPARE(readFile(path), onDisk);
}

void TestRomFile::reportsSystemErrors()
{
    const QString path = writeImage(dir(), QStringLiteral("game.smc"), smallImage(ImageLayout::Headerless));
    const Bytes original = readFile(path);
    FaultyFileAccess files;
    RomFile file(files);
    QCOMPARE(file.open(path.toStdString()), RomError::None);
    ShopRecord record;
    QCOMPARE(file.readShop(9, record), RomError::None);
    record.items[7] ^= 0x5A;

    files.writeError = EIO;
    QCOMPARE(file.writeShop(9, record), RomError::WriteFailed);
    files.readError = EIO;
    QCOMPARE(file.readShop(9, record), RomError::ReadFailed);
    QCOMPARE(readFile(path), original);

    // Interrupted and partial writes are carried on to the whole record.
    files = FaultyFileAccess();
    files.interruptions = 2;
    files.oneByteAtATime = true;
    QCOMPARE(file.writeShop(9, record), RomError::None);
    QCOMPARE(files.writes, 2 + 9);
    QCOMPARE(changedOffsets(original, readFile(path)), QList<qint64>{qint64(shopOffset(ImageLayout::Headerless, 9) + 8)});

    files.fsyncError = EIO;
    QCOMPARE(file.close(), RomError::FlushFailed);
    QVERIFY(!file.isOpen());
}

void TestRomFile::failedWriteLeavesTheRecord_data()
{
    QTest::addColumn<QList<int>>("plan"); // what the calls to pwrite do, in turn
    QTest::addColumn<int>("fallocateError");
    QTest::addColumn<RomError>("expected");
    QTest::addColumn<int>("newBytesLeft"); // of the record, from its start
    QTest::newRow("I/O error") << QList<int>{-EIO} << 0 << RomError::WriteFailed << 0;
    QTest::newRow("disk full") << QList<int>{-ENOSPC} << 0 << RomError::DiskFull << 0;
    QTest::newRow("quota used up") << QList<int>{-EDQUOT} << 0 << RomError::DiskFull << 0;
    QTest::newRow("short write, then disk full") << QList<int>{4, -ENOSPC} << 0 << RomError::DiskFull << 0;
    QTest::newRow("short write, then the put-back fails") << QList<int>{4, -ENOSPC, -EIO} << 0 << RomError::WritePartial << 4;
    QTest::newRow("no room for a hole's blocks") << QList<int>{} << ENOSPC << RomError::DiskFull << 0;
    QTest::newRow("file-size limit") << QList<int>{-EFBIG} << 0 << RomError::FileTooLarge << 0;
    QTest::newRow("cut short by another program") << QList<int>{} << 0 << RomError::FileChanged << -1;
}

void TestRomFile::failedWriteLeavesTheRecord()
{
    QFETCH(QList<int>, plan);
    QFETCH(int, fallocateError);
    QFETCH(RomError, expected);
    QFETCH(int, newBytesLeft);
    const QString path = writeImage(dir(), QStringLiteral("game.smc"), smallImage(ImageLayout::Headered));
    const std::uint64_t at = shopOffset(ImageLayout::Headered, 92);
    FaultyFileAccess files;
    RomFile file(files);
    QCOMPARE(file.open(path.toStdString()), RomError::None);
    ShopRecord record;
    QCOMPARE(file.readShop(92, record), RomError::None);
    const auto old = record.toBytes();
    for (auto &item : record.items)
        item ^= 0x81;
    const auto changed = record.toBytes();

    files.writePlan.assign(plan.begin(), plan.end());
    files.fallocateError = fallocateError;
    if (newBytesLeft < 0) // the file is cut short between the check and the write
        files.beforeWrite = [&path] { QFile::resize(path, 0x40000); };
    QCOMPARE(file.writeShop(92, record), expected);

    const Bytes after = readFile(path);
    if (newBytesLeft < 0) {
        QVERIFY(after.size() <= at); // the write did not lengthen it again
        return;
    }
    for (std::size_t k = 0; k < 9; ++k)
        QCOMPARE(after[at + k], int(k) < newBytesLeft ? changed[k] : old[k]);
}

void TestRomFile::fileSizeLimitIsAWriteError()
{
    const QString path = writeImage(dir(), QStringLiteral("game.smc"), smallImage(ImageLayout::Headered));
    const Bytes original = readFile(path);
    RomFile file;
    QCOMPARE(file.open(path.toStdString()), RomError::None);
    ShopRecord record;
    QCOMPARE(file.readShop(3, record), RomError::None);
    record.type ^= 1;
    // A limit below the table, as `ulimit -f 100` sets: without care the
    // write ends the process with SIGXFSZ.
    rlimit limit{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit saved = limit;
    limit.rlim_cur = 100 * 1024;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const RomError error = file.writeShop(3, record);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    QCOMPARE(error, RomError::FileTooLarge);
    QCOMPARE(readFile(path), original);
}

void TestRomFile::refusesShopsOutsideTheTable()
{
    const QString path = writeImage(dir(), QStringLiteral("game.smc"), smallImage(ImageLayout::Headered));
    const Bytes original = readFile(path);
    RomFile file;
    ShopRecord record;
    QCOMPARE(file.readShop(0, record), RomError::NotOpen);
    QCOMPARE(file.writeShop(0, record), RomError::NotOpen);
    QCOMPARE(file.open(path.toStdString()), RomError::None);
    QCOMPARE(file.writeShop(-1, record), RomError::BadShopIndex);
    QCOMPARE(file.writeShop(128, record), RomError::BadShopIndex);
    QCOMPARE(file.close(), RomError::None);
    QCOMPARE(readFile(path), original);
}

QTEST_GUILESS_MAIN(TestRomFile)
#include "tst_romfile.moc"
