#include "BpsPatch.h"
#include "IpsPatch.h"
#include "TableTools.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

using rom::Access;
using rom::ImageLayout;
using rom::RomError;
using rom::RomFile;
using rom::TableTools;
using rom::ToolError;

Q_DECLARE_METATYPE(rom::ImageLayout)
Q_DECLARE_METATYPE(rom::PatchFormat)
Q_DECLARE_METATYPE(std::optional<rom::TableDoubt::Kind>)

namespace {

const QByteArray kHeader = "shop,type,slot1,slot2,slot3,slot4,slot5,slot6,slot7,slot8\n";

QByteArray csvRow(int shop, const rom::ShopRecord &record)
{
    QByteArray row = QByteArray::number(shop);
    for (const std::uint8_t code : record.toBytes())
        row += ',' + QByteArray::number(code, 16).rightJustified(2, '0');
    return row + '\n';
}

Bytes bytesOf(const QByteArray &text) { return Bytes(text.begin(), text.end()); }

Bytes cartridgeOf(const Bytes &image, ImageLayout layout)
{
    return Bytes(image.begin() + (layout == ImageLayout::Headered ? 0x200 : 0), image.end());
}

rom::ShopTable tableIn(const Bytes &cartridge, std::uint64_t offset)
{
    rom::ShopTable table;
    for (int shop = 0; shop < rom::kShopCount; ++shop) {
        rom::ShopRecord::Bytes bytes;
        std::copy_n(cartridge.begin() + qsizetype(offset + std::uint64_t(shop) * rom::kShopRecordSize), bytes.size(),
                    bytes.begin());
        table[std::size_t(shop)] = rom::ShopRecord::fromBytes(bytes);
    }
    return table;
}

// A table of the kind a row of tableCheck names; seed and count vary it.
rom::ShopTable tableOfKind(const QString &kind, std::uint32_t seed, int count)
{
    auto options = smallImage(ImageLayout::Headerless, seed);
    options.unlabelledTypes = kind == "demo";
    if (kind.startsWith("demo"))
        return tableIn(demo::makeDemoImage(options), rom::kShopTableOffset);
    if (kind == "elsewhere in a demo image")
        return tableIn(demo::makeDemoImage(options), 0x10000 + seed * 0x1000);
    Bytes bytes(rom::kShopCount * rom::kShopRecordSize, std::uint8_t(count));
    if (kind == "random") {
        QRandomGenerator random(seed);
        std::generate(bytes.begin(), bytes.end(), [&] { return std::uint8_t(random.generate()); });
    } else if (kind == "text") {
        const QByteArray text = QByteArrayLiteral("Ye olde shoppe: a sword of 12 pieces, 3 lamps. ").repeated(30);
        std::copy_n(text.begin() + seed, bytes.size(), bytes.begin());
    }
    rom::ShopTable table = tableIn(bytes, 0);
    if (kind == "unknown types")
        for (int shop = 0; shop < count; ++shop)
            table[std::size_t(shop * 7)] = rom::ShopRecord{0x80, {1, 2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
    return table;
}

// While set, close() closes the file but reports an I/O error, as a
// network file system may for writes it could not send.
bool closesFail = false;

QString where(const ToolError &error) { return QString::fromStdString(error.path + ": " + error.reasonText()); }

// The names in a listing, sorted.
QStringList entriesOf(const QStringList &listing)
{
    QStringList names;
    for (const QString &entry : listing)
        names.append(entry.section(u' ', 0, 0));
    names.sort();
    return names;
}

// The bytes of each regular file in dir (links followed), by name.
QMap<QString, Bytes> contentsOf(const QTemporaryDir &dir)
{
    QMap<QString, Bytes> contents;
    for (const QString &name : QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
        struct stat info {};
        if (::stat(qPrintable(dir.filePath(name)), &info) == 0 && S_ISREG(info.st_mode))
            contents[name] = readFile(dir.filePath(name));
    }
    return contents;
}

} // namespace

// Stands in for the C library's close() in this program, the rom library's
// calls included.
extern "C" int close(int fd)
{
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "close"));
    const int result = real(fd);
    if (result != 0 || !closesFail)
        return result;
    errno = EIO;
    return -1;
}

class TestTableTools : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
    }

    void tableCheck_data();
    void tableCheck();
    void import_data();
    void import();
    void importReport();
    void exportsWhatImportReadsBack();
    void patchesCartridgeContents_data();
    void patchesCartridgeContents();
    void fixesTheChecksumOnlyWhenWrong();
    void writesOutputWholeOrNotAtAll_data();
    void writesOutputWholeOrNotAtAll();
    void killedWriteLeavesNothing();

    void cleanup()
    {
        (void)m_editor.close();
        for (int *fd : {&m_lockedFd, &m_readerFd})
            if (*fd >= 0)
                ::close(std::exchange(*fd, -1));
    }

private:
    void makeOutputTargets();

    std::unique_ptr<QTemporaryDir> m_temp;
    const QTemporaryDir &dir() const { return *m_temp; }
    RomFile m_editor; // an editor holding an image open
    int m_lockedFd = -1;
    int m_readerFd = -1; // the reading end of the named pipe
};

void TestTableTools::tableCheck_data()
{
    using Kind = rom::TableDoubt::Kind;
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("seeds"); // each checked
    QTest::addColumn<std::optional<Kind>>("doubt");
    const std::optional<Kind> none;
    QTest::newRow("demonstration images") << "demo without unknown types" << 0 << 50 << none;
    QTest::newRow("demonstration images, some types unknown") << "demo" << 0 << 50 << none;
    QTest::newRow("16 shops of an unknown type: a hack") << "unknown types" << 16 << 1 << none;
    QTest::newRow("17 shops of an unknown type") << "unknown types" << 17 << 1 << std::optional(Kind::UnknownTypes);
    QTest::newRow("random bytes") << "random" << 0 << 500 << std::optional(Kind::UnknownTypes);
    QTest::newRow("another place in an image") << "elsewhere in a demo image" << 0 << 50
                                               << std::optional(Kind::UnknownTypes);
    QTest::newRow("text") << "text" << 0 << 40 << std::optional(Kind::UnknownTypes);
    QTest::newRow("every byte FF") << "filled" << 0xFF << 1 << std::optional(Kind::UnknownTypes);
    QTest::newRow("every byte 00") << "filled" << 0x00 << 1 << std::optional(Kind::FewEmptySlots);
    QTest::newRow("every byte 01") << "filled" << 0x01 << 1 << std::optional(Kind::FewEmptySlots);
}

// The demonstration images look like the game's table; random bytes, text
// and filled memory do not, and the message says what looks wrong.
void TestTableTools::tableCheck()
{
    QFETCH(QString, kind);
    QFETCH(int, count);
    QFETCH(int, seeds);
    QFETCH(std::optional<rom::TableDoubt::Kind>, doubt);
    for (int seed = 1; seed <= seeds; ++seed) {
        const auto found = rom::TableCheck::whatLooksWrong(tableOfKind(kind, std::uint32_t(seed), count));
        QVERIFY2(found.has_value() == doubt.has_value(), qPrintable(QStringLiteral("seed %1").arg(seed)));
        if (!found)
            continue;
        QCOMPARE(found->kind, *doubt);
        const QString message = QString::fromStdString(found->message());
        QVERIFY2(message.startsWith(QStringLiteral("The shop table does not look like one: %1 ")
                                        .arg(found->kind == rom::TableDoubt::Kind::UnknownTypes
                                                 ? QString::number(found->count)
                                                 : found->count == 0 ? QStringLiteral("none")
                                                                     : QStringLiteral("only %1").arg(found->count))),
                 qPrintable(message));
        QVERIFY2(message.endsWith("another game's image, or a hack that moved the table."), qPrintable(message));
    }
}

void TestTableTools::import_data()
{
    QTest::addColumn<QByteArray>("rows");      // after the header; {N} stands for shop N as in the image
    QTest::addColumn<QList<int>>("changed");   // the shops that must be written
    QTest::addColumn<QString>("failure");      // the start of the error, path left out; empty for none
    QTest::addColumn<bool>("locked");          // another RomFile has the image open for editing
    QTest::addColumn<bool>("randomTable");     // the image's table is random bytes, another game's perhaps
    QTest::addColumn<bool>("force");
    const QString doubt = QStringLiteral("The shop table does not look like one: ");
    QTest::newRow("two shops changed, one the same")
        << QByteArray("5,01,FF,FF,FF,FF,FF,FF,FF,FF\n{9}127,35,00,01,02,03,04,05,06,07\n") << QList<int>{5, 127}
        << QString() << false << false << false;
    QTest::newRow("every shop as it is") << QByteArray("{0}{64}{127}") << QList<int>{} << QString() << false << false
                                         << false;
    QTest::newRow("a code out of range")
        << QByteArray("5,01,FF,FF,FF,FF,FF,FF,FF,FF\n6,01,FF,1G,FF,FF,FF,FF,FF,FF\n") << QList<int>{}
        << "Line 3, column slot2: " << false << false << false;
    QTest::newRow("a code whose leading zero was dropped")
        << QByteArray("5,01,FF,FF,FF,FF,FF,FF,FF,FF\n6,01,FF,2,FF,FF,FF,FF,FF,FF\n") << QList<int>{}
        << "Line 3, column slot2: A code must be two hexadecimal digits, such as 02, not one: a spreadsheet may "
           "have dropped its leading zero"
        << false << false << false;
    QTest::newRow("a shop past the table")
        << QByteArray("128,01,FF,FF,FF,FF,FF,FF,FF,FF\n") << QList<int>{} << "Line 2, column shop: " << false << false
        << false;
    QTest::newRow("a shop given twice")
        << QByteArray("5,01,FF,FF,FF,FF,FF,FF,FF,FF\n5,01,FF,FF,FF,FF,FF,FF,FF,FF\n") << QList<int>{}
        << "Line 3, column shop: " << false << false << false;
    QTest::newRow("locked by the editor")
        << QByteArray("5,01,FF,FF,FF,FF,FF,FF,FF,FF\n") << QList<int>{} << "Another copy of the editor" << true << false
        << false;
    QTest::newRow("a table that does not look like one")
        << QByteArray("5,01,FF,FF,FF,FF,FF,FF,FF,FF\n") << QList<int>{} << doubt << false << true << false;
    QTest::newRow("a table that does not look like one, forced")
        << QByteArray("5,01,FF,FF,FF,FF,FF,FF,FF,FF\n{6}") << QList<int>{5} << QString() << false << true << true;
}

void TestTableTools::import()
{
    QFETCH(QByteArray, rows);
    QFETCH(QList<int>, changed);
    QFETCH(QString, failure);
    QFETCH(bool, locked);
    QFETCH(bool, randomTable);
    QFETCH(bool, force);
    Bytes made = demo::makeDemoImage(smallImage(ImageLayout::Headered));
    if (randomTable) {
        const Bytes random = cartridgeOf(demo::makeDemoImage(smallImage(ImageLayout::Headered, 9)), ImageLayout::Headered);
        std::copy_n(random.begin(), rom::kShopCount * rom::kShopRecordSize, made.begin() + qsizetype(shopOffset(ImageLayout::Headered, 0)));
    }
    const QString image = writeFile(dir(), QStringLiteral("game.smc"), made);
    const Bytes original = readFile(image);
    rom::ShopTable table;
    QVERIFY(TableTools::readTable(image.toStdString(), table).ok());
    for (int shop = 0; shop < rom::kShopCount; ++shop)
        rows.replace("{" + QByteArray::number(shop) + "}", csvRow(shop, table[std::size_t(shop)]));
    const QString csv = writeFile(dir(), QStringLiteral("table.csv"), bytesOf(kHeader + rows));
    RomFile editor;
    if (locked)
        QCOMPARE(editor.open(image.toStdString()), RomError::None);

    rom::CsvTable parsed;
    ToolError error = TableTools::readCsv(csv.toStdString(), parsed);
    QCOMPARE(error.ok() ? QString() : where(error).left(csv.size() + 2), error.ok() ? QString() : csv + ": ");
    FaultyFileAccess files;
    RomFile file(files);
    rom::ImportReport report;
    report.shops = {-1};
    if (error.ok())
        error = TableTools::open(file, image.toStdString(), Access::ReadWrite);
    if (error.ok())
        error = TableTools::importTable(file, parsed, {.force = force, .names = {}}, report);
    QVERIFY2(failure.isEmpty() ? error.ok() : where(error).contains(failure), qPrintable(where(error)));
    QCOMPARE(std::holds_alternative<rom::TableDoubt>(error.reason), randomTable && !force);
    QCOMPARE(file.close(), RomError::None);

    QList<qint64> expected;
    const Bytes after = readFile(image);
    for (const int shop : changed)
        for (std::uint64_t at = shopOffset(ImageLayout::Headered, shop); at < shopOffset(ImageLayout::Headered, shop + 1); ++at)
            if (original[at] != after[at])
                expected.append(qint64(at));
    QCOMPARE(changedOffsets(original, after), expected);
    QCOMPARE(files.writes, int(changed.size())); // one write per changed shop, none for the others
    if (failure.isEmpty())
        QCOMPARE(QList<int>(report.shops.begin(), report.shops.end()), changed);
}

// The report names the shops written, in row order, and the labels that
// name another code than the image will hold, by the names given.
void TestTableTools::importReport()
{
    const QString image = writeImage(dir(), QStringLiteral("game.sfc"), smallImage(ImageLayout::Headerless));
    rom::ShopTable table;
    QVERIFY(TableTools::readTable(image.toStdString(), table).ok());
    const QString names = writeFile(dir(), QStringLiteral("names.txt"), bytesOf("2a: Lantern of Dusk\n"));
    QByteArray text = kHeader.chopped(1) + ",slot1_label\n";
    text += csvRow(40, {0x01, {0x2A, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}).chopped(1) + ",Lantern of Dusk\n";
    text += csvRow(3, {0x01, {0x2A, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}).chopped(1) + ",2B: A Name Elsewhere\n";
    text += csvRow(7, table[7]).chopped(1) + ",Lantern of Dusk\n";
    const QString csv = writeFile(dir(), QStringLiteral("table.csv"), bytesOf(text));

    rom::CsvTable parsed;
    rom::ImportOptions options;
    QVERIFY(TableTools::readCsv(csv.toStdString(), parsed).ok());
    QVERIFY(TableTools::readItemNames(names.toStdString(), options.names).ok());
    RomFile file;
    rom::ImportReport report;
    QVERIFY(TableTools::open(file, image.toStdString(), Access::ReadWrite).ok());
    QVERIFY(TableTools::importTable(file, parsed, options, report).ok());
    QCOMPARE(report.shops, (std::vector<int>{40, 3}));
    QCOMPARE(report.labels.size(), std::size_t(table[7].items[0] == 0x2A ? 1 : 2));
    QCOMPARE(report.labels[0].message(),
             "Line 3, column slot1_label: \"2B: A Name Elsewhere\" names code 2B, but slot1 holds 2A (\"2A: Lantern "
             "of Dusk\"), which is what is imported.");
    QCOMPARE(report.labels.back().cell.line, 4);
}

void TestTableTools::exportsWhatImportReadsBack()
{
    const QString image = writeImage(dir(), QStringLiteral("game.sfc"), smallImage(ImageLayout::Headerless));
    {
        RomFile file;
        QCOMPARE(file.open(image.toStdString()), RomError::None);
        QCOMPARE(file.writeShop(0, rom::ShopRecord{0x69, {0x2A, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}),
                 RomError::None);
    }
    const QString names = writeFile(dir(), QStringLiteral("names.txt"), bytesOf("# ours\n2a: Lantern of Dusk\n"));
    rom::ItemNames itemNames;
    QVERIFY(TableTools::readItemNames(names.toStdString(), itemNames).ok());
    RomFile file;
    QVERIFY(TableTools::open(file, image.toStdString(), Access::ReadOnly).ok());
    std::string csv;
    QVERIFY(TableTools::exportCsv(file, itemNames, csv).ok());
    QCOMPARE(std::count(csv.begin(), csv.end(), '\n'), 1 + rom::kShopCount);
    const std::string shop0 = csv.substr(csv.find('\n') + 1);
    QVERIFY2(shop0.starts_with("0,69,2A,00,FF,FF,FF,FF,FF,FF,0x69: Unknown,2A: Lantern of Dusk,00: "), shop0.c_str());

    // What was exported reads back as the same table: nothing to write.
    const QString path = writeFile(dir(), QStringLiteral("table.csv"), Bytes(csv.begin(), csv.end()));
    std::vector<rom::ShopRow> rows;
    QVERIFY(TableTools::readCsv(path.toStdString(), rows).ok());
    QCOMPARE(rows.size(), std::size_t(rom::kShopCount));
    rom::ShopTable table;
    QVERIFY(TableTools::readTable(image.toStdString(), table).ok());
    QCOMPARE(rom::TableCsv::changedRows(table, rows).size(), std::size_t(0));

    // Codes and addresses alone, read back the same way.
    QVERIFY(TableTools::exportCsv(file, itemNames, {.labels = false, .addresses = true}, csv).ok());
    QVERIFY2(csv.starts_with("shop,type,slot1,slot2,slot3,slot4,slot5,slot6,slot7,slot8,snes_address,file_offset\n"
                             "0,69,2A,00,FF,FF,FF,FF,FF,FF,$C4:7AC0,0x47AC0\n"),
             csv.c_str());
    writeFile(dir(), QStringLiteral("table.csv"), Bytes(csv.begin(), csv.end()));
    QVERIFY(TableTools::readCsv(path.toStdString(), rows).ok());
    QCOMPARE(rows.size(), std::size_t(rom::kShopCount));
    QCOMPARE(rom::TableCsv::changedRows(table, rows).size(), std::size_t(0));

    // A names file with a wrong line is refused, naming the file and the line.
    const QString bad = writeFile(dir(), QStringLiteral("bad.txt"), bytesOf("2A: One\n2a: Two\n"));
    const ToolError error = TableTools::readItemNames(bad.toStdString(), itemNames);
    QCOMPARE(where(error), bad + ": line 2: code 2A appears again (first on line 1)");
}

void TestTableTools::patchesCartridgeContents_data()
{
    QTest::addColumn<ImageLayout>("cleanLayout");
    QTest::addColumn<ImageLayout>("modifiedLayout");
    QTest::addColumn<rom::PatchFormat>("format");
    QTest::newRow("IPS, both headered") << ImageLayout::Headered << ImageLayout::Headered << rom::PatchFormat::Ips;
    QTest::newRow("IPS, headered to headerless") << ImageLayout::Headered << ImageLayout::Headerless << rom::PatchFormat::Ips;
    QTest::newRow("BPS, headerless to headered") << ImageLayout::Headerless << ImageLayout::Headered << rom::PatchFormat::Bps;
}

void TestTableTools::patchesCartridgeContents()
{
    QFETCH(ImageLayout, cleanLayout);
    QFETCH(ImageLayout, modifiedLayout);
    QFETCH(rom::PatchFormat, format);
    const QString clean = writeImage(dir(), QStringLiteral("clean.smc"), smallImage(cleanLayout));
    const QString modified = writeImage(dir(), QStringLiteral("modified.smc"), smallImage(modifiedLayout));
    {
        RomFile file;
        QCOMPARE(file.open(modified.toStdString()), RomError::None);
        QCOMPARE(file.writeShop(40, rom::ShopRecord{0x02, {1, 2, 3, 4, 5, 6, 7, 8}}), RomError::None);
    }
    const Bytes before = cartridgeOf(readFile(clean), cleanLayout);
    const Bytes after = cartridgeOf(readFile(modified), modifiedLayout);
    std::vector<std::uint8_t> expected;
    QCOMPARE(format == rom::PatchFormat::Ips ? rom::IpsPatch::make(before, after, expected)
                                             : rom::BpsPatch::make(before, after, expected),
             rom::PatchError::None);

    std::vector<std::uint8_t> patch;
    QVERIFY(TableTools::makePatch(clean.toStdString(), modified.toStdString(), format, patch).ok());
    QCOMPARE(patch, expected);
    // The shop written left the checksum wrong; an image against itself changes nothing.
    rom::PatchReport report;
    QVERIFY(TableTools::makePatch(clean.toStdString(), modified.toStdString(), format, report).ok());
    QCOMPARE(report.bytes, expected);
    QVERIFY(!report.changesNothing && !report.checksumValid);
    QVERIFY(TableTools::makePatch(modified.toStdString(), clean.toStdString(), format, report).ok());
    QVERIFY(!report.changesNothing && report.checksumValid);
    QVERIFY(TableTools::makePatch(clean.toStdString(), clean.toStdString(), format, report).ok());
    QVERIFY(report.changesNothing && report.checksumValid);

    auto larger = smallImage(modifiedLayout);
    larger.cartridgeSize += 0x10000;
    const QString other = writeImage(dir(), QStringLiteral("larger.smc"), larger);
    const ToolError error = TableTools::makePatch(clean.toStdString(), other.toStdString(), format, patch);
    QCOMPARE(error.path, other.toStdString());
    QCOMPARE(std::get<rom::PatchError>(error.reason), rom::PatchError::SizeMismatch);
    QCOMPARE(patch, expected);
}

void TestTableTools::fixesTheChecksumOnlyWhenWrong()
{
    const QString image = writeImage(dir(), QStringLiteral("game.smc"), smallImage(ImageLayout::Headered));
    RomFile file;
    QVERIFY(TableTools::open(file, image.toStdString(), Access::ReadWrite).ok());
    std::optional<rom::CartridgeChecksum> sum;
    bool written = false;
    // A changed shop makes the stored checksum wrong; fixing changes the four fields alone.
    QCOMPARE(file.writeShop(3, rom::ShopRecord{0x01, {9, 9, 9, 9, 9, 9, 9, 9}}), RomError::None);
    const Bytes edited = readFile(image);
    QVERIFY(TableTools::checksum(file, sum).ok());
    QVERIFY(!sum->isValid());
    QVERIFY(TableTools::fixChecksum(file, *sum, written).ok());
    QVERIFY(written);
    const QList<qint64> changed = changedOffsets(edited, readFile(image));
    QVERIFY(!changed.isEmpty());
    for (const qint64 at : changed)
        QVERIFY(at >= 0x200 + 0xFFDC && at < 0x200 + 0xFFE0);

    // Valid now: fixing again writes nothing.
    const Bytes fixed = readFile(image);
    QVERIFY(TableTools::checksum(file, sum).ok());
    QVERIFY(sum->isValid());
    QVERIFY(TableTools::fixChecksum(file, *sum, written).ok());
    QVERIFY(!written);
    QCOMPARE(readFile(image), fixed);
}

void TestTableTools::writesOutputWholeOrNotAtAll_data()
{
    QTest::addColumn<QString>("target");  // relative to the folder, or a device's path
    QTest::addColumn<QString>("failure"); // the start of the reason; empty for none
    QTest::addColumn<QString>("lands");   // the file in the folder that holds the bytes after; empty for none
    QTest::addColumn<bool>("closeFails"); // closing a file reports an I/O error, as on some network file systems
    const QString image = QStringLiteral("This is an SNES image, and what this command writes never is one");
    QTest::newRow("a new file") << "out.bps" << QString() << "out.bps" << false;
    QTest::newRow("an existing file, replaced") << "old.bps" << QString() << "old.bps" << false;
    QTest::newRow("the image named") << "game.smc" << image << QString() << false;
    QTest::newRow("a symbolic link to the image") << "link.smc" << image << QString() << false;
    QTest::newRow("an image open nowhere") << "other.smc" << image << QString() << false;
    QTest::newRow("an image open in an editor") << "open.smc" << image << QString() << false;
    QTest::newRow("a file another program locked") << "locked.csv" << "Another program holds a lock" << QString() << false;
    QTest::newRow("a file with another name") << "paired.csv" << "This file has other names" << QString() << false;
    QTest::newRow("a symbolic link: its target replaced") << "to-old.bps" << QString() << "old.bps" << false;
    QTest::newRow("a dangling symbolic link: its target made") << "dangling.bps" << QString() << "made.bps" << false;
    QTest::newRow("a new 250-byte name") << QString(246, u'm') + ".bps" << QString() << QString(246, u'm') + ".bps" << false;
    QTest::newRow("a 255-byte name, replaced") << QString(251, u'n') + ".bps" << QString() << QString(251, u'n') + ".bps" << false;
    QTest::newRow("a character device") << "/dev/null" << QString() << QString() << false;
    QTest::newRow("a device that refuses") << "/dev/full" << "The device or pipe could not be written (No space"
                                           << QString() << false;
    QTest::newRow("a named pipe") << "fifo" << QString() << QString() << false;
    QTest::newRow("a folder") << "folder" << "This is not an ordinary file" << QString() << false;
    QTest::newRow("in a missing folder") << "nowhere/out.bps" << "The new file could not be written (No such file"
                                         << QString() << false;
    QTest::newRow("a new file, its close failing once named") << "out.bps" << QString() << "out.bps" << true;
    QTest::newRow("an existing file replaced, its close failing once named") << "old.bps" << QString() << "old.bps"
                                                                               << true;
}

// Each kind of file an output may be asked to land on, in the folder.
void TestTableTools::makeOutputTargets()
{
    const QString image = writeImage(dir(), QStringLiteral("game.smc"), smallImage(ImageLayout::Headered));
    QVERIFY(QFile::link(image, dir().filePath(QStringLiteral("link.smc"))));
    writeImage(dir(), QStringLiteral("other.smc"), smallImage(ImageLayout::Headerless, 2));
    const QString open = writeImage(dir(), QStringLiteral("open.smc"), smallImage(ImageLayout::Headered, 3));
    QCOMPARE(m_editor.open(open.toStdString()), RomError::None);
    const QString old = writeFile(dir(), QStringLiteral("old.bps"), Bytes(10, 0xEE));
    QVERIFY(::chmod(qPrintable(old), 0640) == 0);
    QVERIFY(QFile::link(QStringLiteral("old.bps"), dir().filePath(QStringLiteral("to-old.bps"))));
    QVERIFY(QFile::link(QStringLiteral("made.bps"), dir().filePath(QStringLiteral("dangling.bps"))));
    // A lock belongs to the open file, so one taken here is as another program's.
    const QString locked = writeFile(dir(), QStringLiteral("locked.csv"), Bytes(3, 'x'));
    m_lockedFd = ::open(qPrintable(locked), O_RDONLY | O_CLOEXEC);
    QVERIFY(m_lockedFd >= 0 && ::flock(m_lockedFd, LOCK_EX) == 0);
    const QString paired = writeFile(dir(), QStringLiteral("paired.csv"), Bytes(4, 'y'));
    QVERIFY(::link(qPrintable(paired), qPrintable(dir().filePath(QStringLiteral("twin.csv")))) == 0);
    writeFile(dir(), QString(251, u'n') + ".bps", Bytes(5, 'z'));
    QVERIFY(::mkfifo(qPrintable(dir().filePath(QStringLiteral("fifo"))), 0600) == 0);
    m_readerFd = ::open(qPrintable(dir().filePath(QStringLiteral("fifo"))), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    QVERIFY(m_readerFd >= 0);
    QVERIFY(QDir(dir().path()).mkdir(QStringLiteral("folder")));
}

void TestTableTools::writesOutputWholeOrNotAtAll()
{
    QFETCH(QString, target);
    QFETCH(QString, failure);
    QFETCH(QString, lands);
    QFETCH(bool, closeFails);
    makeOutputTargets();
    if (QTest::currentTestFailed())
        return; // without its reader, the named pipe would wait for one
    const int unnamed = ::open(qPrintable(dir().path()), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (closeFails && unnamed < 0)
        QSKIP("Without unnamed files, the new file is closed before it is named, and a failed close fails the write");
    if (unnamed >= 0)
        ::close(unnamed);
    const QStringList before = listing(dir());
    const QMap<QString, Bytes> contents = contentsOf(dir());

    const Bytes bytes{'B', 'P', 'S', '1', 0, 1, 2};
    const QString path = target.startsWith(u'/') ? target : dir().filePath(target);
    closesFail = closeFails;
    const ToolError error = TableTools::writeOutput(path.toStdString(), bytes, {dir().filePath("game.smc").toStdString()});
    closesFail = false;
    QVERIFY2(failure.isEmpty() ? error.ok() : where(error).startsWith(path + ": " + failure), qPrintable(where(error)));
    if (!failure.isEmpty())
        QCOMPARE(listing(dir()), before); // no temporary file left behind either
    // No name but the one written is new, every file but that one is as it
    // was, and the links are still links.
    QStringList names = entriesOf(before);
    if (!lands.isEmpty() && !names.contains(lands))
        names.append(lands);
    names.sort();
    QCOMPARE(entriesOf(listing(dir())), names);
    const QString written = lands.isEmpty() ? QString() : QFileInfo(dir().filePath(lands)).canonicalFilePath();
    const QMap<QString, Bytes> after = contentsOf(dir());
    for (auto file = after.cbegin(); file != after.cend(); ++file) {
        const bool isWritten = !written.isEmpty() && QFileInfo(dir().filePath(file.key())).canonicalFilePath() == written;
        QVERIFY2(file.value() == (isWritten ? bytes : contents.value(file.key())), qPrintable(file.key()));
    }
    QVERIFY(QFileInfo(dir().filePath(QStringLiteral("to-old.bps"))).isSymLink());
    if (target == "fifo") {
        Bytes piped(bytes.size() + 1);
        QCOMPARE(::read(m_readerFd, piped.data(), piped.size()), ssize_t(bytes.size()));
        QCOMPARE(Bytes(piped.begin(), piped.end() - 1), bytes);
    }
    struct stat info {};
    if (lands == "old.bps")
        QVERIFY(::stat(qPrintable(dir().filePath(lands)), &info) == 0 && (info.st_mode & 07777) == 0640u);
}

// A program killed while it writes an output (here by the system, at the
// file-size limit, in the middle of the write) leaves no file behind: the
// new file has no name until it is whole.
void TestTableTools::killedWriteLeavesNothing()
{
    const QString image = writeImage(dir(), QStringLiteral("game.smc"), smallImage(ImageLayout::Headered));
    const QString old = writeFile(dir(), QStringLiteral("old.bps"), Bytes(10, 0xEE));
    const QStringList before = listing(dir());
    const pid_t child = ::fork();
    if (child == 0) {
        RomFile first; // as in any program that opened an image, which sets SIGXFSZ aside once
        (void)first.open(image.toStdString(), Access::ReadOnly);
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        for (const char *name : {"old.bps", "new.bps"})
            (void)TableTools::writeOutput(dir().filePath(QLatin1String(name)).toStdString(), Bytes(65536, 'k'), {});
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ, "the writer was not stopped in its write");
    QCOMPARE(listing(dir()), before);
    QCOMPARE(readFile(old), Bytes(10, 0xEE));
}

QTEST_GUILESS_MAIN(TestTableTools)
#include "tst_tabletools.moc"
