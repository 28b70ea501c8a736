#include "ItemLabels.h"
#include "ItemNames.h"

#include <QMap>
#include <QRegularExpression>
#include <QTest>

using rom::ItemNames;
using rom::NamesFileError;
using rom::NamesFileProblem;
using Renames = QMap<int, QString>;

Q_DECLARE_METATYPE(NamesFileProblem)

namespace {

const QString kNoCode = QStringLiteral("the line does not start with an item code, two hex digits from 00 to FF");
const QString kNotUtf8 = QStringLiteral("this line is not UTF-8 text; save the file with the UTF-8 encoding");
// 40 characters, 54 bytes of UTF-8.
const QString kLongestName = QStringLiteral("Épée ardente de l’aube glacée du 月の剣 Ωψς");

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

void accepts(const char *row, const QByteArray &file, const Renames &renamed)
{
    QTest::newRow(row) << file << renamed << 0 << NamesFileProblem::NoCode << QString();
}

void refuses(const char *row, const QByteArray &file, int line, NamesFileProblem problem, const QString &sentence)
{
    QTest::newRow(row) << file << Renames() << line << problem << QStringLiteral("line %1: %2").arg(line).arg(sentence);
}

} // namespace

class TestItemNames : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void exportReadsBack();
};

void TestItemNames::parse_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Renames>("renamed"); // codes the file gives; every other keeps its built-in name
    QTest::addColumn<int>("line");        // of the refusal; 0 if the file is accepted
    QTest::addColumn<NamesFileProblem>("problem"); // read only for a refusal
    QTest::addColumn<QString>("message");

    accepts("empty file", "", {});
    accepts("comments and blank lines", "# my hack\n\n   # indented\n\t\n2A: Moon Blade\n# 2B: not read\n",
            {{0x2A, "Moon Blade"}});
    accepts("lower-case code", "2a: Moon Blade\nff: Nothing\n", {{0x2A, "Moon Blade"}, {0xFF, "Nothing"}});
    accepts("blanks trimmed, none needed after the colon", "  00:Stick\n\t01 :\t Big  Stick \t\n",
            {{0x00, "Stick"}, {0x01, "Big  Stick"}});
    accepts("CRLF line ends", "# note\r\n10: Torch\r\n\r\n11: Lamp\r\n", {{0x10, "Torch"}, {0x11, "Lamp"}});
    accepts("byte-order mark", "\xEF\xBB\xBF" "05: Pebble\n", {{0x05, "Pebble"}});
    accepts("last line without line end", "05: Pebble", {{0x05, "Pebble"}});
    accepts("40 characters, not all ASCII", "7F: " + kLongestName.toUtf8() + "\n", {{0x7F, kLongestName}});
    accepts("code FF renamed", "FF: (none)\n", {{0xFF, "(none)"}});
    accepts("hash and colon inside a name", "20: #2: Rope\n", {{0x20, "#2: Rope"}});
    accepts("non-ASCII comment", "# Ωψς\n", {});

    using enum NamesFileProblem;
    const QString control = QStringLiteral("the name for code 03 holds a control character, such as a tab");
    refuses("name without a code", "# first\nMoon Blade\n", 2, NoCode, kNoCode);
    refuses("three-digit code", "123: Moon Blade\n", 1, NoCode, kNoCode);
    refuses("one-digit code", "A: Moon Blade\n", 1, NoCode, kNoCode);
    refuses("byte-order mark after the start", "01: Stick\n\xEF\xBB\xBF" "02: Rod\n", 2, NoCode, kNoCode);
    refuses("no colon", "2a Moon Blade\n", 1, NoColon, "a colon must follow code 2A");
    refuses("code alone", "\n\n7F\n", 3, NoColon, "a colon must follow code 7F");
    refuses("repeated code in the other case", "2a: Moon\r\n# x\r\n\r\n2A: Sun\r\n", 4, RepeatedCode,
            "code 2A appears again (first on line 1)");
    refuses("empty name", "01: Stick\n02: \t \n", 2, EmptyName, "code 02 has no name after the colon");
    refuses("41 characters", "7F: " + kLongestName.toUtf8() + "!\n", 1, NameTooLong,
            "the name for code 7F has 41 characters; at most 40 are allowed");
    refuses("tab inside a name", "03: Big\tStick\n", 1, ControlCharacter, control);
    refuses("bare CR inside a name", "03: Big\rStick\n", 1, ControlCharacter, control);
    refuses("C1 control character", "03: Big\xC2\x85Stick\n", 1, ControlCharacter, control);
    refuses("Latin-1 byte", "01: Stick\n02: \xC9p\xE9" "e\n", 2, NotUtf8, kNotUtf8);
    refuses("overlong encoding", "02: a\xC0\xAF" "b\n", 1, NotUtf8, kNotUtf8);
    refuses("encoded surrogate", "02: a\xED\xA0\x80" "b\n", 1, NotUtf8, kNotUtf8);
    refuses("beyond U+10FFFF", "02: a\xF4\x90\x80\x80\n", 1, NotUtf8, kNotUtf8);
    refuses("sequence cut at the end of the file", "02: Caf\xC3", 1, NotUtf8, kNotUtf8);
    refuses("not UTF-8 in a comment", "01: Stick\n\n# caf\xE9\n", 3, NotUtf8, kNotUtf8);
}

void TestItemNames::parse()
{
    QFETCH(QByteArray, file);
    QFETCH(Renames, renamed);
    QFETCH(int, line);

    const auto result = ItemNames::parse(std::string_view(file.constData(), std::size_t(file.size())));
    if (const auto *error = std::get_if<NamesFileError>(&result)) {
        QFETCH(NamesFileProblem, problem);
        QFETCH(QString, message);
        QCOMPARE(error->line, line);
        QCOMPARE(error->problem, problem);
        QCOMPARE(text(error->message()), message);
        return;
    }
    QCOMPARE(line, 0);
    const auto &names = std::get<ItemNames>(result);
    for (int code = 0; code < ItemNames::kCount; ++code) {
        const QString builtIn = text(rom::ItemLabels::label(code)).mid(4);
        QCOMPARE(text(names.name(code)), renamed.value(code, builtIn));
        QCOMPARE(text(names.label(code)), QString::asprintf("%02X: ", code) + text(names.name(code)));
    }
}

void TestItemNames::exportReadsBack()
{
    const QByteArray file = "00: Twig\n2A: " + kLongestName.toUtf8() + "\nFF: (none)\n";
    const auto loaded = std::get<ItemNames>(ItemNames::parse(file.toStdString()));
    for (const ItemNames &names : {ItemNames(), loaded}) {
        const std::string exported = names.toText();
        const QStringList lines = text(exported).split('\n');
        QCOMPARE(lines.size(), ItemNames::kCount + 1); // the last line end is followed by nothing
        QVERIFY(lines.last().isEmpty());
        const QRegularExpression format(QStringLiteral("^([0-9A-F]{2}): \\S(.*\\S)?$"));
        for (int code = 0; code < ItemNames::kCount; ++code) {
            const auto match = format.match(lines[code]);
            QVERIFY2(match.hasMatch(), qPrintable(lines[code]));
            QCOMPARE(match.captured(1).toInt(nullptr, 16), code);
        }
        const auto readBack = ItemNames::parse(exported);
        QVERIFY(std::holds_alternative<ItemNames>(readBack));
        QVERIFY(std::get<ItemNames>(readBack) == names);
    }
    QVERIFY(loaded != ItemNames());
    QCOMPARE(text(ItemNames().label(0xFF)), QStringLiteral("FF: Empty"));
    QCOMPARE(text(loaded.label(0x2A)), "2A: " + kLongestName);
}

QTEST_GUILESS_MAIN(TestItemNames)
#include "tst_itemnames.moc"
