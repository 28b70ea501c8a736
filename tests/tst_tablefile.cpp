#include "AddressText.h"
#include "ImageLayout.h"
#include "NameTableLayout.h"
#include "TableFile.h"

#include <QTest>

using rom::NameTableError;
using rom::NameTableField;
using rom::NameTableLayout;
using rom::NameTableProblem;
using rom::TableFile;
using rom::TableFileError;
using rom::TableFileProblem;
using Skipped = QList<int>; // counts of control codes, marks, bookmarks, table switches

Q_DECLARE_METATYPE(TableFileProblem)
Q_DECLARE_METATYPE(NameTableField)
Q_DECLARE_METATYPE(NameTableProblem)

namespace {

QByteArray hex(const char *digits) { return QByteArray::fromHex(digits); }

std::span<const std::uint8_t> bytesOf(const QByteArray &bytes)
{
    return {reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size())};
}

QString text(const std::string &utf8) { return QString::fromStdString(utf8); }

TableFile parsed(const QByteArray &file)
{
    auto result = TableFile::parse(std::string_view(file.constData(), std::size_t(file.size())));
    if (const auto *error = std::get_if<TableFileError>(&result))
        qFatal("table file refused: %s", error->message().c_str());
    return std::get<TableFile>(std::move(result));
}

// A table with the letters A-C at 80-82, a blank at 90, two-byte words, a
// one-byte word that a longer sequence starts with, a line break and an end.
const QByteArray kTable = "80=A\n81=B\n82=C\n90= \nF0=~\nF001=the\nF00102=these\nFE=\\n\n/FF\n";

} // namespace

class TestTableFile : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void decode_data();
    void decode();
    void writtenTableReadsBack();
    void addRefusesWhatNoFileCouldSay();
    void addressHelpers_data();
    void addressHelpers();
    void parseAddress_data();
    void parseAddress();
    void layoutProblems_data();
    void layoutProblems();
};

void TestTableFile::parse_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("bytes");   // decoded with the table when accepted
    QTest::addColumn<QString>("decoded");
    QTest::addColumn<Skipped>("skipped");
    QTest::addColumn<int>("line");           // of the refusal; 0 if accepted
    QTest::addColumn<TableFileProblem>("problem");
    QTest::addColumn<QString>("message");

    const auto accepts = [](const char *row, const QByteArray &file, const char *bytes, const QString &decoded,
                            const Skipped &skipped = {0, 0, 0, 0}) {
        QTest::newRow(row) << file << hex(bytes) << decoded << skipped << 0 << TableFileProblem::NotUtf8 << QString();
    };
    accepts("comments and blank lines", "# a table\n; another\n\n   \n  # indented\n41=A\n", "41", "A");
    accepts("byte-order mark and CRLF", "\xEF\xBB\xBF" "41=A\r\n42=B\r\n", "4142", "AB");
    accepts("lower-case hex, text kept as written", "4a= x \n4B==\n", "4a4b", " x =");
    accepts("empty text", "00=\n41=A\n", "004100", "A");
    accepts("UTF-8 text", "41=É\n4142=Æ\n", "414241", "ÆÉ");
    accepts("end with and without text", "/FF=<end>\n\\FE\n41=A\n", "41FE41", "A");
    accepts("line break forms", "*FD\n*FC=<br>\nFB=\\n\n41=A\n", "41FD41FC41FB41", "A\nA\nA\nA");
    accepts("lines of other dialects skipped", "$F0=<wait>,1\n!E0\n@E1\n^E2\n(8000h)Items\n(8000h-80FFh)More\n"
                                               "@kana\n!7F=[kana],2\n41=A\n",
            "41", "A", {1, 3, 2, 2});
    accepts("no entries", "# nothing\n", "41", "[41]");

    const auto refuses = [](const char *row, const QByteArray &file, int line, TableFileProblem problem,
                            const QString &sentence) {
        QTest::newRow(row) << file << QByteArray() << QString() << Skipped() << line << problem
                           << QStringLiteral("line %1: %2").arg(line).arg(sentence);
    };
    using enum TableFileProblem;
    const QString notATableLine = "this is not a line of a table file, such as 8A=A, 8A8B=th, /FF or *FE";
    refuses("text without a sequence", "41=A\nhello\n", 2, NotUnderstood, notATableLine);
    refuses("sequence without text", "41\n", 1, NotUnderstood, notATableLine);
    refuses("not hex", "4G=A\n", 1, NotUnderstood, notATableLine);
    refuses("end without a sequence", "41=A\n\n/\n", 3, NotUnderstood, notATableLine);
    refuses("parenthesis that is no bookmark", "(see below)\n", 1, NotUnderstood, notATableLine);
    refuses("carriage return inside the text", "41=A\rB\n", 1, NotUnderstood, notATableLine);
    refuses("odd digits", "41=A\n414=x\n", 2, OddDigits,
            "the byte sequence 414 has an odd number of hex digits; a byte takes two");
    refuses("odd digits of an end", "/F=x\n", 1, OddDigits,
            "the byte sequence F has an odd number of hex digits; a byte takes two");
    refuses("sequence given twice, other case", "8a=A\n# x\n8A=B\n", 3, RepeatedSequence,
            "the byte sequence 8A appears again (first on line 1)");
    refuses("end given as text too", "FF=x\n/FF\n", 2, RepeatedSequence,
            "the byte sequence FF appears again (first on line 1)");
    refuses("not UTF-8", "41=A\n42=\xE9\n", 2, NotUtf8,
            "this line is not UTF-8 text; save the file with the UTF-8 encoding");
}

void TestTableFile::parse()
{
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    auto result = TableFile::parse(std::string_view(file.constData(), std::size_t(file.size())));
    if (const auto *error = std::get_if<TableFileError>(&result)) {
        QFETCH(TableFileProblem, problem);
        QFETCH(QString, message);
        QCOMPARE(error->line, line);
        QCOMPARE(error->problem, problem);
        QCOMPARE(text(error->message()), message);
        return;
    }
    QCOMPARE(line, 0);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, decoded);
    QFETCH(Skipped, skipped);
    const auto &table = std::get<TableFile>(result);
    QCOMPARE(text(table.decode(bytesOf(bytes))), decoded);
    for (int kind = 0; kind < TableFile::kSkippedKinds; ++kind)
        QCOMPARE(table.skipped(TableFile::Skipped(kind)), skipped.at(kind));
}

void TestTableFile::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("decoded");

    QTest::newRow("letters and blank") << hex("80819082") << "AB C";
    QTest::newRow("longest sequence wins") << hex("F00102F001F080") << "thesethe~A";
    QTest::newRow("longer sequence cut at the end") << hex("80F001") << "Athe";
    QTest::newRow("a sequence's first byte alone") << hex("F0") << "~";
    QTest::newRow("unmapped bytes") << hex("8083007F") << "A[83][00][7F]";
    QTest::newRow("stops at the end") << hex("8081FF8282") << "AB";
    QTest::newRow("line break") << hex("80FE81") << "A\nB";
    QTest::newRow("nothing") << QByteArray() << "";
}

void TestTableFile::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, decoded);
    QCOMPARE(text(parsed(kTable).decode(bytesOf(bytes))), decoded);
}

void TestTableFile::writtenTableReadsBack()
{
    const TableFile table = parsed("# x\n*FD=<br>\n" + kTable + "$E0=<x>\n");
    const std::string written = table.toText();
    QCOMPARE(parsed(QByteArray::fromStdString(written)), table);
    QVERIFY(text(written).startsWith("80=A\n81=B\n82=C\n90= \nF0=~\nF001=the\nF00102=these\n*FD=<br>\nFE=\\n\n/FF\n"));
    QVERIFY(!(parsed("80=A\n") == parsed("80=B\n")));
    QVERIFY(!(parsed("80=A\n") == parsed("/80=A\n")));
}

void TestTableFile::addRefusesWhatNoFileCouldSay()
{
    TableFile table;
    const std::uint8_t bytes[] = {0x41, 0x42};
    QVERIFY(table.add(std::span(bytes, 2), "ab"));
    QVERIFY(!table.add(std::span(bytes, 2), "cd"));
    QVERIFY(!table.add(std::span(bytes, 0), "x"));
    QVERIFY(!table.add(std::span(bytes, 1), "a\nb"));
    QVERIFY(!table.add(std::span(bytes, 1), "\xC3"));
    QCOMPARE(table.size(), 1);
    QCOMPARE(table.toText(), std::string("4142=ab\n"));
}

void TestTableFile::addressHelpers_data()
{
    QTest::addColumn<uint>("snes");
    QTest::addColumn<qint64>("offset"); // -1: no cartridge byte there

    QTest::newRow("bank C0") << 0xC00000u << qint64(0);
    QTest::newRow("bank D2") << 0xD2B300u << qint64(0x12B300);
    QTest::newRow("last byte of the map") << 0xFFFFFFu << qint64(0x3FFFFF);
    QTest::newRow("mirror in bank 52") << 0x52B300u << qint64(0x12B300);
    QTest::newRow("mirror in bank 7D") << 0x7D0000u << qint64(0x3D0000);
    QTest::newRow("work RAM, bank 7E") << 0x7E2000u << qint64(-1);
    QTest::newRow("work RAM, bank 7F") << 0x7FFFFFu << qint64(-1);
    QTest::newRow("upper half of bank 12") << 0x12B300u << qint64(0x12B300);
    QTest::newRow("upper half of bank 92") << 0x92B300u << qint64(0x12B300);
    QTest::newRow("lower half of bank 12") << 0x127FFFu << qint64(-1);
    QTest::newRow("past 24 bits") << 0x1000000u << qint64(-1);
}

void TestTableFile::addressHelpers()
{
    QFETCH(uint, snes);
    QFETCH(qint64, offset);
    const auto found = rom::cartridgeOffsetOfHiRom(snes);
    QCOMPARE(found ? qint64(*found) : qint64(-1), offset);
    if (offset >= 0)
        QCOMPARE(rom::hiRomAddress(std::uint64_t(offset)), std::optional(0xC00000u | std::uint32_t(offset)));
    QCOMPARE(rom::hiRomAddress(rom::kHiRomMapSize), std::nullopt);
    QCOMPARE(rom::cartridgeOffsetOfFile(rom::ImageLayout::Headered, 0x47D2C), std::optional<std::uint64_t>(0x47B2C));
    QCOMPARE(rom::cartridgeOffsetOfFile(rom::ImageLayout::Headered, 0x1FF), std::nullopt);
    QCOMPARE(rom::AddressText::place(0x47B2C, rom::ImageLayout::Headered),
             std::string("$C4:7B2C, cartridge 0x47B2C, file 0x47D2C"));
    QCOMPARE(rom::AddressText::place(0x1234567, rom::ImageLayout::Headerless),
             std::string("cartridge 0x1234567, file 0x1234567"));
}

void TestTableFile::parseAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<qint64>("offset"); // -1 when refused
    QTest::addColumn<NameTableProblem>("problem");

    using enum NameTableProblem;
    QTest::newRow("SNES, dollar") << "$D2B300" << qint64(0x12B300) << AddressNotUnderstood;
    QTest::newRow("SNES, dollar and colon") << "$d2:b300" << qint64(0x12B300) << AddressNotUnderstood;
    QTest::newRow("SNES, colon, blanks around") << " D2:B300\t" << qint64(0x12B300) << AddressNotUnderstood;
    QTest::newRow("SNES, low bank") << "$12:B300" << qint64(0x12B300) << AddressNotUnderstood;
    QTest::newRow("offset") << "0x12B300" << qint64(0x12B300) << AddressNotUnderstood;
    QTest::newRow("offset past the HiROM map") << "0X2000000" << qint64(0x2000000) << AddressNotUnderstood;
    QTest::newRow("offset, leading zeros past 64 bits") << "0x0000000000000000012B300" << qint64(0x12B300)
                                                        << AddressNotUnderstood;
    QTest::newRow("bare hex") << "D2B300" << qint64(-1) << AddressNotUnderstood;
    QTest::newRow("short SNES address") << "$B300" << qint64(-1) << AddressNotUnderstood;
    QTest::newRow("colon in the wrong place") << "$D2B:300" << qint64(-1) << AddressNotUnderstood;
    QTest::newRow("not hex") << "$D2:B30G" << qint64(-1) << AddressNotUnderstood;
    QTest::newRow("empty offset") << "0x" << qint64(-1) << AddressNotUnderstood;
    QTest::newRow("offset past 64 bits") << "0x10000000000000000" << qint64(-1) << AddressNotUnderstood;
    QTest::newRow("offset past 64 bits, leading zeros") << "0x0001FFFFFFFFFFFFFFFF" << qint64(-1)
                                                        << AddressNotUnderstood;
    QTest::newRow("nothing") << "" << qint64(-1) << AddressNotUnderstood;
    QTest::newRow("work RAM") << "$7E:2000" << qint64(-1) << AddressNotInMap;
    QTest::newRow("lower half of a low bank") << "$12:7FFF" << qint64(-1) << AddressNotInMap;
}

void TestTableFile::parseAddress()
{
    QFETCH(QString, address);
    QFETCH(qint64, offset);
    const auto result = NameTableLayout::parseAddress(address.toStdString());
    if (offset >= 0) {
        QCOMPARE(qint64(std::get<std::uint64_t>(result)), offset);
        return;
    }
    QFETCH(NameTableProblem, problem);
    const auto &error = std::get<NameTableError>(result);
    QCOMPARE(error.field, NameTableField::Address);
    QCOMPARE(error.problem, problem);
    QVERIFY(text(error.message()).startsWith("address: \"" + address.trimmed() + "\" "));
}

void TestTableFile::layoutProblems_data()
{
    QTest::addColumn<qint64>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("skip");
    QTest::addColumn<int>("firstCode");
    QTest::addColumn<int>("lastCode");
    QTest::addColumn<QStringList>("messages"); // one a field at fault, in field order

    constexpr qint64 kSize = 0x400000; // the cartridge of these rows
    const auto row = [](const char *name, qint64 start, int length, int skip, const QStringList &messages,
                        int first = 0, int last = 0xFE) {
        QTest::newRow(name) << start << length << skip << first << last << messages;
    };
    row("fits", 0x12B300, 16, 1, {});
    row("last entry ends at the end", kSize - 255 * 64, 64, 63, {});
    row("one code, last bytes", kSize - 8, 8, 0, {}, 0x2A, 0x2A);
    row("starts at the end", kSize, 16, 0, {"address: 0x400000 lies past the end of the cartridge (0x400000 bytes)"});
    row("runs past the end", kSize - 255 * 16 + 1, 16, 0,
        {"address: the entries from 0x3FF011 run past the end of the cartridge (0x400000 bytes)"});
    row("length 0", 0, 0, 0, {"entry length: an entry has 1 to 64 bytes, not 0"});
    row("length 65", 0, 65, 0, {"entry length: an entry has 1 to 64 bytes, not 65"});
    row("skip the whole entry", 0, 8, 8, {"bytes to skip: skipping 8 bytes leaves nothing of an entry of 8"});
    row("codes out of order", 0, 8, 0, {"codes: the codes go from the first to the last, at most FE (FF is the empty slot)"},
        0x10, 0x0F);
    row("code FF", 0, 8, 0, {"codes: the codes go from the first to the last, at most FE (FF is the empty slot)"},
        0x00, 0xFF);
    row("every field at fault", kSize + 1, 0, 3,
        {"address: 0x400001 lies past the end of the cartridge (0x400000 bytes)",
         "entry length: an entry has 1 to 64 bytes, not 0"},
        0, 0xFE);
}

void TestTableFile::layoutProblems()
{
    QFETCH(qint64, start);
    QFETCH(int, length);
    QFETCH(int, skip);
    QFETCH(int, firstCode);
    QFETCH(int, lastCode);
    QFETCH(QStringList, messages);
    const NameTableLayout layout{std::uint64_t(start), length, skip, firstCode, lastCode};
    QStringList found;
    for (const NameTableError &error : layout.problems(0x400000))
        found << text(error.message());
    QCOMPARE(found, messages);
}

QTEST_GUILESS_MAIN(TestTableFile)
#include "tst_tablefile.moc"
