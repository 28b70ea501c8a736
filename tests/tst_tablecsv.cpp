#include "TableCsv.h"

#include <QTest>

using rom::CsvError;
using rom::CsvProblem;
using rom::ShopRecord;
using rom::ShopRow;
using rom::TableCsv;

Q_DECLARE_METATYPE(rom::CsvProblem)

namespace {

const QByteArray kHeader = "shop,type,slot1,slot2,slot3,slot4,slot5,slot6,slot7,slot8\n";
// Every accepted row of the reading table gives this record.
const ShopRecord kRecord{0x1A, {1, 2, 3, 4, 5, 6, 7, 0xFF}};

QByteArray row(int shop, const QByteArray &end = "\n")
{
    return QByteArray::number(shop) + ",1A,01,02,03,04,05,06,07,FF" + end;
}

} // namespace

class TestTableCsv : public QObject {
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void writeThenRead();
};

void TestTableCsv::read_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<int>>("shops"); // in the order read, when accepted
    QTest::addColumn<CsvProblem>("problem");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("column");
    const auto good = [](const char *name, const QByteArray &text, const QList<int> &shops) {
        QTest::newRow(name) << text << shops << CsvProblem::None << 0 << QString();
    };
    const auto bad = [](const char *name, const QByteArray &text, CsvProblem problem, int line, const char *column) {
        QTest::newRow(name) << text << QList<int>() << problem << line << QString::fromLatin1(column);
    };
    const QByteArray named = kHeader.chopped(1) + ",name\n";

    good("header only", kHeader, {});
    good("some shops, in any order", kHeader + row(5) + row(0) + row(127), {5, 0, 127});
    good("columns in any order, lower-case codes, other columns ignored",
         "name,slot8,slot7,slot6,slot5,slot4,slot3,slot2,slot1,type,shop,x\n"
         "Inn,ff,07,06,05,04,03,02,01,1a,9,\n",
         {9});
    good("byte-order mark and CRLF line ends", "\xEF\xBB\xBF" + kHeader.chopped(1) + "\r\n" + row(1, "\r\n"), {1});
    good("CR line ends", kHeader.chopped(1) + "\r" + row(1, "\r") + row(2, "\r"), {1, 2});
    good("blank lines, no line end at the end", "\n" + kHeader + "\n\r\n" + row(3) + "\n" + row(4, ""), {3, 4});
    good("quoted fields holding commas, quote marks and line ends",
         named + row(4, ",\"a,b \"\"c\"\"\nd\r\ne\"\n") + "\"6\",\"1A\",01,02,03,04,05,06,07,\"FF\",\"\"\n", {4, 6});
    good("leading zeros in the shop", kHeader + "007,1A,01,02,03,04,05,06,07,FF\n", {7});

    bad("empty text", "", CsvProblem::NoHeader, 1, "");
    bad("blank lines only", "\n\r\n", CsvProblem::NoHeader, 1, "");
    bad("column missing", "shop,type,slot1,slot2,slot3,slot4,slot5,slot6,slot7\n", CsvProblem::MissingColumn, 1,
        "slot8");
    bad("first line is a row", row(0) + row(1), CsvProblem::MissingColumn, 1, "shop");
    bad("column named twice", "\n" + named.chopped(6) + ",slot3\n", CsvProblem::RepeatedColumn, 2, "slot3");
    bad("row too short", kHeader + row(0) + "1,1A,01\n", CsvProblem::FieldCount, 3, "slot2");
    bad("row too long", kHeader + row(0, ",\n"), CsvProblem::FieldCount, 2, "");
    bad("shop 128", kHeader + row(128), CsvProblem::BadShop, 2, "shop");
    bad("negative shop", kHeader + row(-1), CsvProblem::BadShop, 2, "shop");
    bad("shop with a space", kHeader + " " + row(1), CsvProblem::BadShop, 2, "shop");
    bad("empty shop", kHeader + row(1).mid(1), CsvProblem::BadShop, 2, "shop");
    bad("one hex digit", kHeader + "1,A,01,02,03,04,05,06,07,FF\n", CsvProblem::BadCode, 2, "type");
    bad("three hex digits", kHeader + "1,1A,01,02,03,04,05,06,07,0FF\n", CsvProblem::BadCode, 2, "slot8");
    bad("not hex", kHeader + "1,1A,01,02,03,G4,05,06,07,FF\n", CsvProblem::BadCode, 2, "slot4");
    bad("shop given twice", kHeader + row(3) + row(4) + row(3), CsvProblem::RepeatedShop, 4, "shop");
    bad("quote mark inside a field", kHeader + row(1).replace("1A", "1A\""), CsvProblem::StrayQuote, 2, "type");
    bad("text after a closing quote", named + row(1, ",\"a\"b\n"), CsvProblem::TextAfterQuote, 2, "name");
    bad("quote never closed", named + row(1, ",\n") + row(2, ",\"a\n\n"), CsvProblem::UnclosedQuote, 3, "name");
    bad("lines counted inside quotes and blank", named + row(1, ",\"a\r\nb\nc\"\n") + "\r\n" + row(200, ",\n"),
        CsvProblem::BadShop, 6, "shop");
    bad("error in the header", "shop,\"type\"x\n", CsvProblem::TextAfterQuote, 1, "");
}

void TestTableCsv::read()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<int>, shops);
    QFETCH(CsvProblem, problem);
    QFETCH(int, line);
    QFETCH(QString, column);

    const std::vector<ShopRow> untouched{{99, {}}};
    std::vector<ShopRow> rows = untouched;
    const CsvError error = TableCsv::read(std::string_view(text.constData(), std::size_t(text.size())), rows);
    QCOMPARE(error.problem, problem);
    QCOMPARE(error.line, line);
    QCOMPARE(QString::fromStdString(error.column), column);
    if (problem != CsvProblem::None) {
        QVERIFY(rows == untouched);
        QVERIFY(error.message().starts_with("Line " + std::to_string(line)));
        return;
    }
    QList<int> read;
    for (const ShopRow &shop : rows) {
        read.append(shop.shop);
        QVERIFY(shop.record == kRecord);
    }
    QCOMPARE(read, shops);
}

void TestTableCsv::writeThenRead()
{
    rom::ShopTable table;
    for (int shop = 0; shop < rom::kShopCount; ++shop) {
        table[std::size_t(shop)].type = std::uint8_t(shop * 2);
        for (int slot = 0; slot < ShopRecord::kSlotCount; ++slot)
            table[std::size_t(shop)].items[std::size_t(slot)] = std::uint8_t(shop * 9 + slot + 0xA0);
    }
    rom::CsvLabels labels;
    labels.type = [](std::uint8_t code) { return code == 0x02 ? std::string("Inn\u00BD") : std::string(); };
    labels.item = [](std::uint8_t code) { return "Say \"" + std::to_string(code) + "\", twice\nplease"; };

    const std::string text = TableCsv::write(table, labels);
    QVERIFY(text.starts_with("shop,type,slot1,slot2,slot3,slot4,slot5,slot6,slot7,slot8,type_label,slot1_label,"
                             "slot2_label,slot3_label,slot4_label,slot5_label,slot6_label,slot7_label,slot8_label\n"
                             "0,00,A0,A1,A2,A3,A4,A5,A6,A7,,\"Say \"\"160\"\", twice\nplease\","));
    QVERIFY(text.find("\n1,02,A9,AA,AB,AC,AD,AE,AF,B0,Inn\u00BD,\"Say") != std::string::npos);

    std::vector<ShopRow> rows;
    QVERIFY(TableCsv::read(text, rows).ok());
    QCOMPARE(rows.size(), std::size_t(rom::kShopCount));
    for (int shop = 0; shop < rom::kShopCount; ++shop)
        QVERIFY(rows[std::size_t(shop)] == (ShopRow{shop, table[std::size_t(shop)]}));

    rom::ShopTable current = table;
    current[3].items[7] = 0xFF;
    current[100].type = 0x35;
    const auto changed = TableCsv::changedRows(current, rows);
    QCOMPARE(changed.size(), std::size_t(2));
    QVERIFY(changed[0] == rows[3] && changed[1] == rows[100]);
}

QTEST_GUILESS_MAIN(TestTableCsv)
#include "tst_tablecsv.moc"
