#include "DemoNames.h"
#include "ItemLabels.h"
#include "NameTable.h"
#include "RelativeSearch.h"
#include "TestSupport.h"

#include <QTest>

#include <algorithm>
#include <numeric>
#include <random>

using rom::DecodedNames;
using rom::KnownName;
using rom::NameTable;
using rom::NameTableLayout;
using rom::RelativeSearch;
using rom::SearchError;
using rom::SearchProblem;
using rom::TableFile;

Q_DECLARE_METATYPE(SearchProblem)

namespace {

constexpr std::size_t kCartridgeSize = 0x100000; // 1 MiB
constexpr int kNamedCodes = 0xFF;

struct Synthetic {
    demo::NameEncoding encoding;
    demo::NameTablePlace place;
    std::vector<std::string> names; // code 00 first
    Bytes cartridge;
};

QString text(const std::string &utf8) { return QString::fromStdString(utf8); }

Bytes randomBytes(std::mt19937 &random, std::size_t size)
{
    Bytes bytes(size);
    std::generate(bytes.begin(), bytes.end(), [&] { return std::uint8_t(random()); });
    return bytes;
}

// An encoding with the letters, the digits and the single bytes (blank,
// end, padding, word lead, icons) at random places apart from each other,
// never at their ASCII values.
demo::NameEncoding randomEncoding(std::mt19937 &random)
{
    std::vector<int> blocks(8); // of 32 byte values each
    std::iota(blocks.begin(), blocks.end(), 0);
    std::shuffle(blocks.begin(), blocks.end(), random);
    const auto inBlock = [&](int block, int size) { return std::uint8_t(blocks[std::size_t(block)] * 32 + int(random() % std::uint32_t(32 - size + 1))); };
    demo::NameEncoding encoding;
    encoding.upperA = inBlock(0, 26);
    encoding.lowerA = inBlock(1, 26);
    encoding.digit0 = inBlock(2, 10);
    if (encoding.upperA == 'A' || encoding.lowerA == 'a')
        return randomEncoding(random);
    const int singles = blocks[3] * 32;
    std::vector<std::uint8_t> bytes(32);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t(singles));
    std::shuffle(bytes.begin(), bytes.end(), random);
    encoding.blank = bytes[0];
    encoding.end = bytes[1];
    encoding.padding = bytes[2];
    encoding.wordLead = bytes[3];
    encoding.iconFirst = std::uint8_t(blocks[4] * 32); // four icons, by kind of item
    return encoding;
}

// The names of the invented game, a few with digits; no word of the encoding.
std::vector<std::string> gameNames(bool digits)
{
    std::vector<std::string> names;
    for (int code = 0; code < kNamedCodes; ++code)
        names.push_back(demo::demoItemName(code) + (digits && code % 7 == 3 ? " " + std::to_string(code % 10) : ""));
    return names;
}

Synthetic makeSynthetic(std::uint32_t seed, demo::NameTablePlace place, bool ended, bool blankPadding,
                        bool digits = true)
{
    std::mt19937 random(seed);
    Synthetic made{randomEncoding(random), place, gameNames(digits), randomBytes(random, kCartridgeSize)};
    made.encoding.words.clear();
    made.encoding.ended = ended;
    if (blankPadding)
        made.encoding.padding = made.encoding.blank;
    const std::uint64_t room = kCartridgeSize / 2 - kNamedCodes * std::uint64_t(place.entryLength);
    made.place.offset = kCartridgeSize / 4 + random() % room;
    demo::writeNameTable(made.cartridge, made.place, made.encoding, made.names);
    return made;
}

// Writes the bytes of name in an encoding at random places after the table.
void writeDecoys(Synthetic &made, std::mt19937 &random, const demo::NameEncoding &encoding, const std::string &name)
{
    const Bytes bytes = demo::encodeName(encoding, name);
    constexpr std::size_t kStretch = kCartridgeSize / 16;
    for (std::size_t decoy = 0; decoy < 3; ++decoy) {
        const std::size_t at = kCartridgeSize * 3 / 4 + decoy * kStretch + random() % kStretch;
        std::copy(bytes.begin(), bytes.end(), made.cartridge.begin() + qsizetype(at));
    }
}

NameTable tableOf(const Synthetic &made)
{
    auto table = TableFile::parse(demo::tableFileText(made.encoding, made.place));
    const NameTableLayout layout{made.place.offset, made.place.entryLength, made.place.skip};
    return NameTable(layout, std::get<TableFile>(std::move(table)));
}

QStringList namesOf(const DecodedNames &names)
{
    QStringList list;
    for (const rom::DecodedName &name : names.names())
        list << text(name.text);
    return list;
}

QStringList expectedNames(const std::vector<std::string> &names)
{
    QStringList list;
    for (const std::string &name : names)
        list << text(name);
    return list;
}

std::vector<KnownName> knownNames(const Synthetic &made, const QList<int> &codes)
{
    std::vector<KnownName> known;
    for (const int code : codes)
        known.push_back({code, made.names[std::size_t(code)]});
    return known;
}

} // namespace

class TestNameTable : public QObject {
    Q_OBJECT

private slots:
    void decodesTheNamesWritten();
    void decodeEntry_data();
    void decodeEntry();
    void paddingOfTheWholeTable();
    void becomesItemNames();
    void find_data();
    void find();
    void findsTheDemonstrationTable();
    void ranksSeveralPlacements();
    void stopsWhereNamesFitAnywhere();
    void refusedSearches_data();
    void refusedSearches();
};

void TestNameTable::decodesTheNamesWritten()
{
    for (const std::uint32_t seed : {1u, 2u, 3u}) {
        Synthetic made = makeSynthetic(seed, {0, 20, int(seed % 3)}, seed != 2, seed == 3);
        std::vector<std::string> withWords = made.names;
        for (int code = 0; code < kNamedCodes; code += 5)
            withWords[std::size_t(code)] = demo::demoItemName(code); // some with "Sword", "Charm"...
        made.encoding.words = demo::NameEncoding{}.words;
        demo::writeNameTable(made.cartridge, made.place, made.encoding, withWords);
        const DecodedNames names = tableOf(made).decode(made.cartridge);
        QCOMPARE(names.firstCode(), 0);
        QCOMPARE(namesOf(names), expectedNames(withWords));
        QCOMPARE(names.unmappedBytes(), 0);
        QVERIFY(!names.mostlyUnmapped());
    }
}

void TestNameTable::decodeEntry_data()
{
    QTest::addColumn<QByteArray>("entry"); // the bytes after the skipped ones
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("unmapped");

    // 80-82 A-C, 90 blank, 91 a tab, 92 a C1 control, F001 "the", FE line break, FF end; EE is padding.
    QTest::newRow("up to the end byte") << QByteArray::fromHex("808182FF8080") << "ABC" << 3 << 0;
    QTest::newRow("to the entry's end") << QByteArray::fromHex("80818280") << "ABCA" << 4 << 0;
    QTest::newRow("blanks at both ends trimmed") << QByteArray::fromHex("90908090819090") << "A B" << 5 << 0;
    QTest::newRow("padding trimmed, then blanks") << QByteArray::fromHex("808190EEEEEE") << "AB" << 2 << 0;
    QTest::newRow("padding inside kept") << QByteArray::fromHex("80EE81") << "A[EE]B" << 3 << 1;
    QTest::newRow("unmapped byte at the end kept") << QByteArray::fromHex("8081ED") << "AB[ED]" << 3 << 1;
    QTest::newRow("two-byte word") << QByteArray::fromHex("F00190F001FF") << "the the" << 5 << 0;
    QTest::newRow("line break as a blank") << QByteArray::fromHex("80FE81FE") << "A B" << 3 << 0;
    QTest::newRow("control characters as blanks") << QByteArray::fromHex("8091928190") << "A  B" << 4 << 0;
    QTest::newRow("nothing but padding") << QByteArray::fromHex("EEEEEE") << "(no name)" << 0 << 0;
    QTest::newRow("end byte first") << QByteArray::fromHex("FF8081") << "(no name)" << 0 << 0;
    QTest::newRow("all unmapped") << QByteArray::fromHex("0102") << "[01][02]" << 2 << 2;
    QTest::newRow("longer than 40 characters") << QByteArray::fromHex(QByteArray("F001").repeated(14))
                                               << QString("the").repeated(13) + QChar(0x2026) << 28 << 0;
    QTest::newRow("40 characters") << QByteArray::fromHex(QByteArray("F001").repeated(13) + "80")
                                   << QString("the").repeated(13) + "A" << 27 << 0;
}

void TestNameTable::decodeEntry()
{
    QFETCH(QByteArray, entry);
    QFETCH(QString, name);
    QFETCH(int, bytes);
    QFETCH(int, unmapped);
    auto table = TableFile::parse("80=A\n81=B\n82=C\n90= \n91=\t\n92=\xC2\x85\nF001=the\nFE=\\n\n/FF\n");
    const NameTable nameTable({}, std::get<TableFile>(table));
    const auto decoded = nameTable.decodeEntry(
        std::span(reinterpret_cast<const std::uint8_t *>(entry.constData()), std::size_t(entry.size())), 0xEE);
    QCOMPARE(text(decoded.text), name);
    QCOMPARE(decoded.bytes, bytes);
    QCOMPARE(decoded.unmappedBytes, unmapped);
    QCOMPARE(decoded.empty, name == "(no name)");
    QCOMPARE(decoded.shortened, name.endsWith(QChar(0x2026)));
    QVERIFY(name.size() <= rom::ItemNames::kMaxNameLength);
}

void TestNameTable::paddingOfTheWholeTable()
{
    // No end bytes, padding the table file has no entry for: trimmed where
    // it ends most entries; the same byte ending a single entry of random
    // bytes is not padding.
    Synthetic made = makeSynthetic(7, {0, 16, 0}, false, false);
    const NameTable table = tableOf(made);
    QCOMPARE(namesOf(table.decode(made.cartridge)), expectedNames(made.names));
    const NameTableLayout random{0x100, 16, 0, 0, 0};
    const auto decoded = NameTable(random, table.table()).decode(made.cartridge);
    QCOMPARE(decoded.names().size(), std::size_t(1));
    QVERIFY(decoded.mostlyUnmapped());
    QCOMPARE(decoded.mostlyUnmappedNames(), 1);
    // A layout that does not fit decodes nothing rather than reading past the end.
    QVERIFY(NameTable({kCartridgeSize - 10, 16, 0}, table.table()).decode(made.cartridge).names().empty());
}

void TestNameTable::becomesItemNames()
{
    Synthetic made = makeSynthetic(11, {0, 17, 1}, true, false);
    NameTableLayout layout{made.place.offset + 0x10 * 17, 17, 1, 0x10, 0x1F};
    const DecodedNames decoded = NameTable(layout, tableOf(made).table()).decode(made.cartridge);
    const auto names = std::get<rom::ItemNames>(decoded.itemNames());
    const auto fromFile = std::get<rom::ItemNames>(rom::ItemNames::parse(decoded.namesFileText()));
    QVERIFY(names == fromFile);
    for (int code = 0; code < rom::ItemNames::kCount; ++code) {
        const bool covered = code >= 0x10 && code <= 0x1F;
        const std::string expected = covered ? made.names[std::size_t(code)] : std::string(rom::ItemLabels::label(code).substr(4));
        QCOMPARE(text(std::string(names.name(code))), text(expected));
    }
    QCOMPARE(text(decoded.namesFileText()).count('\n'), 16);
    QVERIFY(text(decoded.namesFileText()).startsWith("10: " + text(made.names[0x10]) + "\n"));
}

void TestNameTable::find_data()
{
    QTest::addColumn<uint>("seed");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("skip");
    QTest::addColumn<bool>("ended");
    QTest::addColumn<bool>("blankPadding");
    QTest::addColumn<bool>("digits");      // in some names; the known names show them if so
    QTest::addColumn<QList<int>>("codes"); // the known names; the first is written as decoys too

    // The names have up to 13 characters, 15 with digits.
    QTest::newRow("icon, end byte, padding") << 1u << 16 << 1 << true << false << false << QList<int>{0x01, 0x1F};
    QTest::newRow("no icon, no end byte, blank padding") << 2u << 13 << 0 << false << true << false
                                                         << QList<int>{0x05, 0x06};
    QTest::newRow("two icon bytes, odd length") << 3u << 23 << 2 << true << false << false << QList<int>{0x30, 0x10};
    QTest::newRow("codes far apart") << 4u << 18 << 1 << true << true << false << QList<int>{0x00, 0xFE};
    QTest::newRow("four names, digits among them") << 5u << 20 << 3 << false << false << true
                                                   << QList<int>{0x03, 0x0A, 0x61, 0xDE};
    QTest::newRow("longest entries") << 6u << 64 << 5 << true << false << false << QList<int>{0x40, 0x41};
}

void TestNameTable::find()
{
    QFETCH(uint, seed);
    QFETCH(int, length);
    QFETCH(int, skip);
    QFETCH(bool, ended);
    QFETCH(bool, blankPadding);
    QFETCH(bool, digits);
    QFETCH(QList<int>, codes);
    Synthetic made = makeSynthetic(seed, {0, length, skip}, ended, blankPadding, digits);
    std::mt19937 random(seed + 100);
    const std::string &decoy = made.names[std::size_t(codes.front())];
    writeDecoys(made, random, made.encoding, decoy);
    writeDecoys(made, random, randomEncoding(random), decoy);
    const auto found = RelativeSearch::find(made.cartridge, knownNames(made, codes));
    const auto *result = std::get_if<rom::SearchResult>(&found);
    if (!result)
        QFAIL(std::get<SearchError>(found).message().c_str());
    QCOMPARE(result->found, 1);
    const rom::NameTablePlacement &placement = result->placements.front();
    QCOMPARE(placement.layout.start, made.place.offset);
    QCOMPARE(placement.layout.entryLength, length);
    QCOMPARE(placement.layout.skip, skip);
    QCOMPARE(placement.layout.firstCode, 0);
    QCOMPARE(placement.layout.lastCode, 0xFE);
    // Unmapped padding right after every known name reads as an end byte, to the same effect.
    const auto end = ended ? made.encoding.end : made.encoding.padding;
    QCOMPARE(placement.endByte, ended || !blankPadding ? std::optional(end) : std::nullopt);
    QCOMPARE(namesOf(NameTable(placement.layout, placement.table).decode(made.cartridge)), expectedNames(made.names));
    QCOMPARE(namesOf(placement.preview),
             expectedNames({made.names.begin(), made.names.begin() + RelativeSearch::kPreviewNames}));
    // The table file learnt reads the same names written out and read back.
    const auto reread = TableFile::parse(placement.table.toText());
    QCOMPARE(namesOf(NameTable(placement.layout, std::get<TableFile>(reread)).decode(made.cartridge)),
             expectedNames(made.names));
}

void TestNameTable::findsTheDemonstrationTable()
{
    const Bytes image = demo::makeDemoImage({});
    const std::span cartridge(image.begin() + rom::kCopierHeaderSize, image.end());
    const auto found = RelativeSearch::find(cartridge, {{0x01, "Copper Dagger"}, {0x1F, "Iron Mace"}});
    const auto &placement = std::get<rom::SearchResult>(found).placements.at(0);
    QCOMPARE(placement.layout.start, demo::NameTablePlace{}.offset);
    QCOMPARE(placement.layout.entryLength, demo::NameTablePlace{}.entryLength);
    QCOMPARE(placement.layout.skip, demo::NameTablePlace{}.skip);
    QCOMPARE(text(placement.preview.name(0x02).text), "Copper [F0][10]"); // "Sword" is a two-byte word
    const DecodedNames names = NameTable(placement.layout, placement.table).decode(cartridge);
    QCOMPARE(text(names.name(0xFE).text), text(demo::demoItemName(0xFE)));
}

void TestNameTable::ranksSeveralPlacements()
{
    // The known names written a second time, at the same distances but
    // among random bytes, before the table: both fit, the table reads best.
    Synthetic made = makeSynthetic(8, {0, 16, 1}, true, false, false);
    const QList<int> codes{0x01, 0x1F};
    const std::uint64_t elsewhere = kCartridgeSize / 16; // before the table, so found first
    for (const int code : codes)
        demo::writeNameTable(made.cartridge, {elsewhere + std::uint64_t(code) * 16, 16, 1}, made.encoding,
                             {made.names[std::size_t(code)]});
    const auto found = RelativeSearch::find(made.cartridge, knownNames(made, codes));
    const auto &result = std::get<rom::SearchResult>(found);
    QCOMPARE(result.found, 2);
    QCOMPARE(result.placements.size(), std::size_t(2));
    QCOMPARE(result.placements[0].layout.start, made.place.offset);
    // Where the second placement puts the name of 01 (its skip is a guess among random bytes).
    const NameTableLayout &second = result.placements[1].layout;
    QCOMPARE(second.entryOffset(0x01) + std::uint64_t(second.skip), elsewhere + 16 + 1);
}

void TestNameTable::stopsWhereNamesFitAnywhere()
{
    // The same two names every 64 bytes of the cartridge.
    const demo::NameEncoding encoding;
    Bytes block(64, encoding.padding);
    const Bytes first = demo::encodeName(encoding, "Nopq");
    const Bytes second = demo::encodeName(encoding, "Klmn");
    std::copy(first.begin(), first.end(), block.begin());
    std::copy(second.begin(), second.end(), block.begin() + 32);
    Bytes cartridge;
    while (cartridge.size() < kCartridgeSize)
        cartridge.insert(cartridge.end(), block.begin(), block.end());
    const auto found = RelativeSearch::find(cartridge, {{0x10, "Nopq"}, {0x11, "Klmn"}});
    const auto &result = std::get<rom::SearchResult>(found);
    QCOMPARE(result.found, RelativeSearch::kMaxFits);
    QVERIFY(result.more);
    QCOMPARE(result.placements.size(), std::size_t(RelativeSearch::kMaxPlacements));
}

void TestNameTable::refusedSearches_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<SearchProblem>("problem");
    QTest::addColumn<QString>("message");

    using enum SearchProblem;
    QTest::newRow("not a code and a name") << QStringList{"01=Dagger", "Kris"} << NotAKnownName
                                           << "\"Kris\" is not an item code and its name, such as 01=Dagger";
    QTest::newRow("code alone") << QStringList{"01"} << NotAKnownName
                                << "\"01\" is not an item code and its name, such as 01=Dagger";
    QTest::newRow("one name") << QStringList{"01=Dagger"} << TooFewNames << "give at least 2 names with their codes";
    QTest::newRow("five names") << QStringList{"01=Aa", "02=Bb", "03=Cc", "04=Dd", "05=Ee"} << TooManyNames
                                << "give at most 4 names with their codes";
    QTest::newRow("empty slot") << QStringList{"01=Dagger", "ff=Empty"} << EmptySlotCode
                                << "code FF is the empty slot and has no name; give codes from 00 to FE";
    QTest::newRow("code twice") << QStringList{"2a: Dagger", "2A Kris"} << RepeatedCode << "code 2A is given twice";
    QTest::newRow("empty name") << QStringList{"01=Dagger", "02=  "} << EmptyName << "code 02 has no name";
    QTest::newRow("41 characters") << QStringList{"01=Dagger", "02=" + QString(41, 'a')} << NameTooLong
                                   << "the name for code 02 has more than 40 characters";
    QTest::newRow("tab in a name") << QStringList{"01=Dag\tger", "02=Kris"} << ControlCharacter
                                   << "the name for code 01 holds a control character, such as a tab";
    QTest::newRow("nothing to compare") << QStringList{"01=Ax", "02=Bo Bo", "03=Aa"} << NothingToCompare
                                        << "the search compares letters of one case (or digits) within a name, "
                                           "and no name has two that differ; give a longer name, such as Dagger";
    QTest::newRow("nothing found") << QStringList{"01=Dagger", "02=Kris"} << NothingFound
                                   << "no name table fits these names. Try another name you are sure of, spelt with "
                                      "the case and blanks the game shows; names whose codes lie further apart; or, "
                                      "if the game writes some letters as two in one byte, a table file and the "
                                      "table's address";
}

void TestNameTable::refusedSearches()
{
    QFETCH(QStringList, given);
    QFETCH(SearchProblem, problem);
    QFETCH(QString, message);
    std::vector<KnownName> known;
    std::optional<SearchError> error;
    for (const QString &argument : given) {
        const auto parsed = KnownName::parse(argument.toStdString());
        if (const auto *refused = std::get_if<SearchError>(&parsed)) {
            error = *refused;
            break;
        }
        known.push_back(std::get<KnownName>(parsed));
    }
    std::mt19937 random(9);
    const Bytes cartridge = randomBytes(random, 0x10000);
    if (!error)
        error = std::get<SearchError>(RelativeSearch::find(cartridge, known));
    QCOMPARE(error->problem, problem);
    QCOMPARE(text(error->message()), message);
}

QTEST_GUILESS_MAIN(TestNameTable)
#include "tst_nametable.moc"
