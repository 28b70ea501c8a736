#include "HexDigits.h"
#include "LabelCheck.h"
#include "ShopListText.h"
#include "TableCsv.h"

#include <QTest>

using rom::CsvColumns;
using rom::CsvError;
using rom::CsvProblem;
using rom::ShopRecord;
using rom::ShopRow;
using rom::TableCsv;

Q_DECLARE_METATYPE(rom::CsvProblem)
Q_DECLARE_METATYPE(rom::CsvColumns)

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
    void writesTheColumnsAsked_data();
    void writesTheColumnsAsked();
    void readsLabelCells();
    void labelsThatNameAnotherCode_data();
    void labelsThatNameAnotherCode();
    void listsShops_data();
    void listsShops();
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
    good("a label column given twice", kHeader.chopped(1) + ",type_label,type_label\n" + row(2, ",a,b\n"), {2});

    bad("one hex digit: a leading zero dropped", kHeader + "1,A,01,02,03,04,05,06,07,FF\n", CsvProblem::ShortCode, 2,
        "type");
    bad("a digit dropped in a slot", kHeader + "1,1A,01,2,03,04,05,06,07,FF\n", CsvProblem::ShortCode, 2, "slot2");
    bad("one character, not hex", kHeader + "1,1A,01,02,03,04,05,06,07,G\n", CsvProblem::BadCode, 2, "slot8");
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

void TestTableCsv::writesTheColumnsAsked_data()
{
    QTest::addColumn<CsvColumns>("columns");
    QTest::addColumn<QByteArray>("header"); // after the ten code columns
    QTest::addColumn<QByteArray>("shop12"); // its line, after its ten codes
    const QByteArray labels = ",type_label,slot1_label,slot2_label,slot3_label,slot4_label,slot5_label,slot6_label,"
                              "slot7_label,slot8_label";
    const QByteArray labelled = ",Inn,Lamp,Lamp,Lamp,Lamp,Lamp,Lamp,Lamp,Lamp";
    QTest::newRow("codes and labels") << CsvColumns{} << labels << labelled;
    QTest::newRow("codes alone") << CsvColumns{.labels = false, .addresses = std::nullopt} << QByteArray()
                                 << QByteArray();
    QTest::newRow("addresses in a headered image")
        << CsvColumns{.labels = true, .addresses = rom::ImageLayout::Headered} << ",snes_address,file_offset" + labels
        << ",$C4:7B2C,0x47D2C" + labelled;
    QTest::newRow("addresses in a headerless image, no labels")
        << CsvColumns{.labels = false, .addresses = rom::ImageLayout::Headerless}
        << QByteArray(",snes_address,file_offset") << QByteArray(",$C4:7B2C,0x47B2C");
}

// Each form writes what it says, and reads back as the same table.
void TestTableCsv::writesTheColumnsAsked()
{
    QFETCH(CsvColumns, columns);
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, shop12);
    rom::ShopTable table{};
    table[12] = kRecord;
    const rom::CsvLabels labels{.type = [](std::uint8_t) { return std::string("Inn"); },
                                .item = [](std::uint8_t) { return std::string("Lamp"); }};
    const std::string text = TableCsv::write(table, labels, columns);
    const QByteArray written = QByteArray::fromStdString(text);
    QCOMPARE(written.left(written.indexOf('\n') + 1), kHeader.chopped(1) + header + '\n');
    const QByteArray line = row(12, shop12 + '\n');
    QVERIFY2(written.contains('\n' + line), written.constData());

    std::vector<ShopRow> rows;
    QVERIFY(TableCsv::read(text, rows).ok());
    QCOMPARE(rows.size(), std::size_t(rom::kShopCount));
    for (int shop = 0; shop < rom::kShopCount; ++shop)
        QVERIFY(rows[std::size_t(shop)] == (ShopRow{shop, table[std::size_t(shop)]}));
}

// Each non-empty cell of a label column, with the code beside it; the line
// is where the cell starts.
void TestTableCsv::readsLabelCells()
{
    const QByteArray text = "slot2_label,shop,type,slot1,slot2,slot3,slot4,slot5,slot6,slot7,slot8,type_label,x\n" +
                            QByteArray("\"2B: Iron\nMace\",") + row(7, ",Armor,y\n") + "," + row(9, ",,z\n");
    std::vector<ShopRow> rows;
    std::vector<rom::CsvLabel> labels;
    QVERIFY(TableCsv::read(std::string_view(text.constData(), std::size_t(text.size())), rows, labels).ok());
    QCOMPARE(rows.size(), std::size_t(2));
    const std::vector<rom::CsvLabel> expected{{2, "slot2_label", "slot2", 7, 2, 0x02, "2B: Iron\nMace"},
                                              {3, "type_label", "type", 7, 0, 0x1A, "Armor"}};
    QVERIFY(labels == expected);
    QVERIFY(!labels[0].ofType() && labels[1].ofType());
}

void TestTableCsv::labelsThatNameAnotherCode_data()
{
    QTest::addColumn<int>("byte");     // 0 the type, 1-8 a slot
    QTest::addColumn<int>("code");     // in the row
    QTest::addColumn<int>("before");   // in the image, where the row's code goes
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("ownNames"); // the names in use give 2A "Lantern of Dusk" and 2B "Iron Mace"
    QTest::addColumn<int>("named");    // the code it names, -1 when it agrees
    const std::string builtIn2A(rom::ItemNames().label(0x2A));
    const std::string builtIn2B(rom::ItemNames().label(0x2B));
    const QString name2B = QString::fromStdString(builtIn2B.substr(4));
    QTest::newRow("the label of its code") << 1 << 0x2A << 0x2A << QString::fromStdString(builtIn2A) << false << -1;
    QTest::newRow("another code in front, the label edited") << 1 << 0x2A << 0x2A << QString::fromStdString(builtIn2B)
                                                             << false << 0x2B;
    QTest::newRow("another code in front, in lower case, with blanks")
        << 3 << 0x2A << 0x2A << QStringLiteral("  2b: x ") << false << 0x2B;
    QTest::newRow("the code changed, the label as exported") << 1 << 0x2B << 0x2A
                                                             << QString::fromStdString(builtIn2A) << false << -1;
    QTest::newRow("code and label changed, to different codes") << 1 << 0x2B << 0x2A << QStringLiteral("2C: x")
                                                                << false << 0x2C;
    QTest::newRow("its code in front, a name of another names file") << 8 << 0x2A << 0x2A
                                                                     << QStringLiteral("2A: Sword of Someone") << false
                                                                     << -1;
    QTest::newRow("a name alone, of another code") << 2 << 0x2A << 0x2A << name2B << false << 0x2B;
    QTest::newRow("a name alone, of another code in the names in use") << 2 << 0x2A << 0x2A
                                                                       << QStringLiteral("Iron Mace") << true << 0x2B;
    QTest::newRow("a name alone, its code's in the built-in names while a names file is in use")
        << 2 << 0x2B << 0x2B << name2B << true << -1;
    QTest::newRow("a name alone that no names give") << 2 << 0x2A << 0x2A << QStringLiteral("Wooden Spoon") << false
                                                     << -1;
    QTest::newRow("the type's label") << 0 << 0x12 << 0x12 << QStringLiteral("Armor 200% cost") << false << -1;
    QTest::newRow("another type's label") << 0 << 0x02 << 0x02 << QStringLiteral("Armor 200% cost") << false << 0x12;
    QTest::newRow("a type's label shared by several codes, its own") << 0 << 0x07 << 0x07 << QStringLiteral("Glitch?")
                                                                      << false << -1;
    QTest::newRow("a type's label on a code without one") << 0 << 0x69 << 0x69 << QStringLiteral("Weapon") << false
                                                          << 0x01;
    QTest::newRow("an unlabelled type's code in front") << 0 << 0x69 << 0x69 << QStringLiteral("0x6A: Unknown")
                                                        << false << 0x6A;
    QTest::newRow("an item's code in front of a type's label is no code")
        << 0 << 0x01 << 0x01 << QStringLiteral("12: x") << false << -1;
}

void TestTableCsv::labelsThatNameAnotherCode()
{
    QFETCH(int, byte);
    QFETCH(int, code);
    QFETCH(int, before);
    QFETCH(QString, label);
    QFETCH(bool, ownNames);
    QFETCH(int, named);
    rom::ItemNames names;
    if (ownNames)
        names = std::get<rom::ItemNames>(rom::ItemNames::parse("2A: Lantern of Dusk\n2B: Iron Mace\n"));
    rom::ShopTable image{};
    auto bytes = image[40].toBytes();
    bytes[std::size_t(byte)] = std::uint8_t(before);
    image[40] = ShopRecord::fromBytes(bytes);
    const rom::CsvLabel cell{7, "slotN_label", "slotN", 40, std::size_t(byte), std::uint8_t(code), label.toStdString()};

    const auto found = rom::LabelCheck::disagreements({cell}, names, image);
    QCOMPARE(found.empty() ? -1 : int(found.front().namedCode), named);
    if (found.empty())
        return;
    const QString message = QString::fromStdString(found.front().message());
    QVERIFY2(message.startsWith(QStringLiteral("Line 7, column slotN_label: \"%1\" names code %2, but slotN holds %3 (")
                                    .arg(label, QString::fromStdString(rom::hexByte(named)),
                                         QString::fromStdString(rom::hexByte(code)))),
             qPrintable(message));
}

void TestTableCsv::listsShops_data()
{
    QTest::addColumn<QList<int>>("shops");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << QList<int>{} << QString();
    QTest::newRow("one") << QList<int>{12} << "12";
    QTest::newRow("two") << QList<int>{3, 12} << "3 and 12";
    QTest::newRow("ten, all listed") << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << "0, 1, 2, 3, 4, 5, 6, 7, 8 and 9";
    QTest::newRow("eleven: ten and one more") << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 127}
                                              << "0, 1, 2, 3, 4, 5, 6, 7, 8, 9 and 1 more";
}

void TestTableCsv::listsShops()
{
    QFETCH(QList<int>, shops);
    QFETCH(QString, text);
    const std::vector<int> list(shops.begin(), shops.end());
    QCOMPARE(QString::fromStdString(rom::ShopListText::of(list)), text);
}

QTEST_GUILESS_MAIN(TestTableCsv)
#include "tst_tablecsv.moc"
