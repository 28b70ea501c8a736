#include "RomFile.h"
#include "TestSupport.h"
#include "Utf8.h"

#include <QTest>

#include <array>
#include <cerrno>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

using rom::ImageLayout;
using rom::RomError;
using rom::RomFile;
using rom::ShopRecord;

Q_DECLARE_METATYPE(rom::ImageLayout)
Q_DECLARE_METATYPE(rom::RomError)

namespace {

// File offsets of the checksum's complement and the checksum, four bytes.
constexpr std::uint64_t kHeaderedChecksumFields = 0x200 + 0xFFDC;
constexpr std::uint64_t kHeaderlessChecksumFields = 0xFFDC;

} // namespace

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
    void readsTheWholeCartridge_data();
    void readsTheWholeCartridge();
    void writesOnlyTheChecksumFields_data();
    void writesOnlyTheChecksumFields();
    void namesComeBackWhole_data();
    void namesComeBackWhole();
    void opensNamesThatAreNotText();

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
    // A sharing mode (Windows) or a lease (Linux) of another program's.
    files.openError = EWOULDBLOCK;
    QCOMPARE(file.open(path.toStdString()), RomError::InUse);
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
    QTest::addColumn<QString>("other");   // what another program does meanwhile
    QTest::addColumn<RomError>("expected");
    QTest::addColumn<int>("newBytesLeft"); // of the record, from its start
    QTest::addColumn<bool>("checksum");    // the checksum fields written instead of a shop
    const QList<int> none;
    QTest::newRow("I/O error") << QList<int>{-EIO} << 0 << "" << RomError::WriteFailed << 0 << false;
    QTest::newRow("disk full") << QList<int>{-ENOSPC} << 0 << "" << RomError::DiskFull << 0 << false;
    QTest::newRow("quota used up") << QList<int>{-EDQUOT} << 0 << "" << RomError::DiskFull << 0 << false;
    QTest::newRow("short write, then disk full") << QList<int>{4, -ENOSPC} << 0 << "" << RomError::DiskFull << 0 << false;
    QTest::newRow("short write, then the put-back fails") << QList<int>{4, -ENOSPC, -EIO} << 0 << "" << RomError::WritePartial << 4 << false;
    QTest::newRow("no room for a hole's blocks") << none << ENOSPC << "" << RomError::DiskFull << 0 << false;
    QTest::newRow("file-size limit") << QList<int>{-EFBIG} << 0 << "" << RomError::FileTooLarge << 0 << false;
    QTest::newRow("cut short before the write") << none << 0 << "cut early" << RomError::FileChanged << 0 << false;
    QTest::newRow("cut short at the write") << none << 0 << "cut at the write" << RomError::FileChanged << 0 << false;
    QTest::newRow("replaced at the write") << none << 0 << "replaced" << RomError::FileChanged << 0 << false;
    QTest::newRow("replaced at the write, then the put-back fails") << QList<int>{9, -EIO} << 0 << "replaced" << RomError::WritePartial << 9 << false;
    QTest::newRow("lengthened at the write") << none << 0 << "lengthened" << RomError::FileChanged << 0 << false;
    QTest::newRow("lengthened at the write, then the put-back fails") << QList<int>{9, -EIO} << 0 << "lengthened" << RomError::WritePartial << 9 << false;
    QTest::newRow("checksum: short write, then disk full") << QList<int>{2, -ENOSPC} << 0 << "" << RomError::DiskFull << 0 << true;
    QTest::newRow("checksum: short write, then the put-back fails") << QList<int>{3, -EIO, -EIO} << 0 << "" << RomError::WritePartial << 3 << true;
    QTest::newRow("checksum: no room for a hole's blocks") << none << ENOSPC << "" << RomError::DiskFull << 0 << true;
    QTest::newRow("checksum: cut short before the write") << none << 0 << "cut early" << RomError::FileChanged << 0 << true;
    QTest::newRow("checksum: replaced at the write") << none << 0 << "replaced" << RomError::FileChanged << 0 << true;
    QTest::newRow("checksum: lengthened at the write") << none << 0 << "lengthened" << RomError::FileChanged << 0 << true;
}

void TestRomFile::failedWriteLeavesTheRecord()
{
    QFETCH(QList<int>, plan);
    QFETCH(int, fallocateError);
    QFETCH(QString, other);
    QFETCH(RomError, expected);
    QFETCH(int, newBytesLeft);
    QFETCH(bool, checksum);
    const QString path = writeImage(dir(), QStringLiteral("game.smc"), smallImage(ImageLayout::Headered));
    const QString kept = dir().filePath(QStringLiteral("kept.smc")); // another name of the file opened
    QVERIFY(::link(qPrintable(path), qPrintable(kept)) == 0);
    const QString newer = writeImage(dir(), QStringLiteral("newer.smc"), smallImage(ImageLayout::Headered, 2));
    const Bytes original = readFile(path);
    const Bytes replacement = readFile(newer);
    const std::uint64_t at = checksum ? kHeaderedChecksumFields : shopOffset(ImageLayout::Headered, 92);
    const std::size_t size = checksum ? 4 : 9;
    Bytes changed(original.begin() + qsizetype(at), original.begin() + qsizetype(at + size));
    for (auto &byte : changed)
        byte ^= 0x81;
    FaultyFileAccess files;
    RomFile file(files);
    QCOMPARE(file.open(path.toStdString()), RomError::None);

    files.writePlan.assign(plan.begin(), plan.end());
    files.fallocateError = fallocateError;
    // Where another program cuts the file: a size it might choose, before the record.
    const qint64 cut = qint64(at & ~0x3FFFull) + 0x200;
    if (other == "cut early")
        files.beforeReserve = [&path, cut] { QFile::resize(path, cut); };
    else if (other == "cut at the write")
        files.beforeWrite = [&path, cut] { QFile::resize(path, cut); };
    else if (other == "replaced")
        files.beforeWrite = [&path, &newer] { // once: the old bytes are put back with a second pwrite
            if (QFile::exists(newer))
                QVERIFY(::rename(qPrintable(newer), qPrintable(path)) == 0);
        };
    const Bytes tail(0x400, 0xEE); // what another program adds at the end
    if (other == "lengthened")
        files.beforeWrite = [&path, &tail, added = false]() mutable {
            QFile file(path);
            if (!std::exchange(added, true))
                QVERIFY(file.open(QIODevice::Append) && file.write(reinterpret_cast<const char *>(tail.data()),
                                                                   qint64(tail.size())) == qint64(tail.size()));
        };
    if (checksum)
        QCOMPARE(file.writeChecksumFields({changed[0], changed[1], changed[2], changed[3]}), expected);
    else
        QCOMPARE(file.writeShop(92, ShopRecord::fromBytes({changed[0], changed[1], changed[2], changed[3], changed[4],
                                                           changed[5], changed[6], changed[7], changed[8]})),
                 expected);

    if (other == "cut early") // nothing written, and left at the size the other program chose
        QCOMPARE(readFile(path), Bytes(original.begin(), original.begin() + cut));
    if (other == "cut at the write") // that size is not known; none of the bytes written are kept
        QCOMPARE(readFile(path).size(), std::size_t(at));
    if (other == "replaced")
        QCOMPARE(readFile(path), replacement);
    if (!other.isEmpty() && other != "replaced" && other != "lengthened")
        return;
    const Bytes after = readFile(kept);
    const std::size_t added = other == "lengthened" ? tail.size() : 0; // kept as the other program left it
    QCOMPARE(after.size(), original.size() + added);
    QCOMPARE(Bytes(after.begin() + qsizetype(original.size()), after.end()), Bytes(tail.begin(), tail.begin() + qsizetype(added)));
    for (std::size_t k = 0; k < size; ++k)
        QCOMPARE(after[at + k], int(k) < newBytesLeft ? changed[k] : original[at + k]);
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

void TestRomFile::readsTheWholeCartridge_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<RomError>("expected");
    QTest::newRow("headered") << "headered" << RomError::None;
    QTest::newRow("headerless") << "headerless" << RomError::None;
    QTest::newRow("larger than any cartridge") << "huge" << RomError::TooLargeToRead;
    QTest::newRow("read error") << "unreadable" << RomError::ReadFailed;
}

void TestRomFile::readsTheWholeCartridge()
{
    QFETCH(QString, image);
    QFETCH(RomError, expected);
    const auto layout = image == "headerless" ? ImageLayout::Headerless : ImageLayout::Headered;
    const QString path = writeImage(dir(), QStringLiteral("game.smc"), smallImage(layout));
    const Bytes original = readFile(path);
    if (image == "huge") // a sparse file: a size, not a disk's worth of blocks
        QVERIFY(QFile::resize(path, 128 * 1024 * 1024 + 1024 + 512));
    FaultyFileAccess files;
    RomFile file(files);
    QCOMPARE(file.open(path.toStdString(), rom::Access::ReadOnly), RomError::None);
    files.readError = image == "unreadable" ? EIO : 0;

    rom::CartridgeBytes cartridge{1, 2, 3};
    QCOMPARE(file.readCartridge(cartridge), expected);
    const std::size_t header = layout == ImageLayout::Headered ? 0x200 : 0;
    const Bytes wanted = expected == RomError::None ? Bytes(original.begin() + qsizetype(header), original.end())
                                                    : Bytes{1, 2, 3};
    QCOMPARE(Bytes(cartridge.begin(), cartridge.end()), wanted);
}

void TestRomFile::writesOnlyTheChecksumFields_data()
{
    QTest::addColumn<ImageLayout>("layout");
    QTest::addColumn<QString>("how"); // how the image is open here
    QTest::addColumn<RomError>("expected");
    QTest::newRow("headered") << ImageLayout::Headered << "for writing" << RomError::None;
    QTest::newRow("headerless") << ImageLayout::Headerless << "for writing" << RomError::None;
    QTest::newRow("a byte already holds its value") << ImageLayout::Headered << "one already set" << RomError::None;
    QTest::newRow("opened for reading only") << ImageLayout::Headered << "for reading" << RomError::NotOpen;
    QTest::newRow("locked by another editor") << ImageLayout::Headered << "locked" << RomError::NotOpen;
}

void TestRomFile::writesOnlyTheChecksumFields()
{
    QFETCH(ImageLayout, layout);
    QFETCH(QString, how);
    QFETCH(RomError, expected);
    const std::uint64_t at = layout == ImageLayout::Headered ? kHeaderedChecksumFields : kHeaderlessChecksumFields;
    const std::array<std::uint8_t, 4> written{0x12, 0x34, 0x56, 0x78};
    Bytes image = demo::makeDemoImage(smallImage(layout));
    if (how == "one already set")
        image[at + 1] = written[1];
    const QString path = writeFile(dir(), QStringLiteral("game.smc"), image);
    const Bytes original = readFile(path);
    RomFile editor;
    if (how == "locked")
        QCOMPARE(editor.open(path.toStdString()), RomError::None);
    RomFile file;
    const RomError opened = file.open(path.toStdString(), how == "for reading" ? rom::Access::ReadOnly
                                                                               : rom::Access::ReadWrite);
    QCOMPARE(opened, how == "locked" ? RomError::InUse : RomError::None);

    QCOMPARE(file.writeChecksumFields(written), expected);
    QCOMPARE(file.close(), RomError::None);
    QList<qint64> changes;
    for (std::size_t k = 0; k < written.size(); ++k) {
        if (expected == RomError::None && original[at + k] != written[k])
            changes.append(qint64(at + k));
    }
    QCOMPARE(changedOffsets(original, readFile(path)), changes);
}

// Windows' names are UTF-16 and may hold a lone surrogate half; their text
// (FilePath::text there, and the command line's) is generalized UTF-8, which
// gives every one of them back.
void TestRomFile::namesComeBackWhole_data()
{
    QTest::addColumn<std::u16string>("units");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("ASCII") << std::u16string(u"game.smc") << QByteArray("game.smc");
    QTest::newRow("outside the ANSI code page") << std::u16string(u"\u30B7\u03A9") << QByteArray("\xE3\x82\xB7\xCE\xA9");
    QTest::newRow("a surrogate pair") << std::u16string(u"\U0001D11E") << QByteArray("\xF0\x9D\x84\x9E");
    QTest::newRow("a lone first half") << std::u16string(u"a") + char16_t(0xD834) + u"b"
                                       << QByteArray("a\xED\xA0\xB4" "b");
    QTest::newRow("a lone second half at the end") << std::u16string(1, char16_t(0xDD1E))
                                                   << QByteArray("\xED\xB4\x9E");
    QTest::newRow("halves in the wrong order") << std::u16string{char16_t(0xDD1E), char16_t(0xD834)}
                                               << QByteArray("\xED\xB4\x9E\xED\xA0\xB4");
}

void TestRomFile::namesComeBackWhole()
{
    QFETCH(std::u16string, units);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(rom::generalizedUtf8FromUtf16(units)), text);
    QVERIFY(rom::utf16FromGeneralizedUtf8(text.toStdString()) == units);
    // Bytes that are no such text stand for U+FFFD each, not for some other name.
    QVERIFY(rom::utf16FromGeneralizedUtf8("\xFF" + text.toStdString() + "\xC3") ==
            u"\uFFFD" + units + u"\uFFFD");
}

// On POSIX systems a name is bytes, never decoded: one that is not UTF-8
// opens the file it names, and messages give the same bytes back.
void TestRomFile::opensNamesThatAreNotText()
{
    const std::string name = "game-\xE9\xFF.smc";
    const QString path = writeImage(dir(), QStringLiteral("plain.smc"), smallImage(ImageLayout::Headered));
    const std::string bytes = QFile::encodeName(dir().path()).toStdString() + "/" + name;
    QVERIFY(::rename(qPrintable(path), bytes.c_str()) == 0);
    RomFile file;
    QCOMPARE(file.open(bytes), RomError::None);
    QCOMPARE(file.path(), bytes);
    QVERIFY(rom::FilePath(file.path()).system().native() == bytes);
    QVERIFY(file.isStillAtPath());
    // QTemporaryDir cannot name it to remove it.
    QVERIFY(::unlink(bytes.c_str()) == 0);
}

QTEST_GUILESS_MAIN(TestRomFile)
#include "tst_romfile.moc"
