#include "ItemLabels.h"
#include "ShopTypeLabels.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

class TestLabels : public QObject {
    Q_OBJECT

private slots:
    void typeLabels_data();
    void typeLabels();
    void itemLabels();
};

void TestLabels::typeLabels_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("label");
    QTest::newRow("blank") << 0x00 << "[Blank]";
    QTest::newRow("vendor") << 0x05 << "Vendor";
    QTest::newRow("kind 6 is unknown") << 0x06 << "Glitch?";
    QTest::newRow("blank, doubled price") << 0x10 << "[Blank] 200% cost";
    QTest::newRow("unknown kinds carry no price") << 0x16 << "Glitch?";
    QTest::newRow("relic, price and a half") << 0x24 << "Relic 150% cost";
    QTest::newRow("last unknown kind") << 0x2F << "Glitch?";
    QTest::newRow("weapon, half price") << 0x31 << "Weapon \u00BD cost";
    QTest::newRow("last code") << 0x35 << "Vendor \u00BD cost";
    QTest::newRow("first code without a label") << 0x36 << "0x36: Unknown";
    QTest::newRow("a code without a label, in full") << 0xCF << "0xCF: Unknown";
}

void TestLabels::typeLabels()
{
    QFETCH(int, code);
    QFETCH(QString, label);
    QCOMPARE(rom::ShopTypeLabels::count(), 54);
    QCOMPARE(QString::fromStdString(rom::ShopTypeLabels::text(std::uint8_t(code))), label);
    if (code < rom::ShopTypeLabels::count())
        QCOMPARE(QString::fromStdString(std::string(rom::ShopTypeLabels::label(code))), label);
}

void TestLabels::itemLabels()
{
    QCOMPARE(rom::ItemLabels::count(), 256);
    const QRegularExpression format(QStringLiteral("^([0-9A-F]{2}): (\\S.{0,11})$"));
    QSet<QString> names;
    for (int code = 0; code < rom::ItemLabels::count(); ++code) {
        const QString label = QString::fromLatin1(rom::ItemLabels::label(code).data());
        const auto match = format.match(label);
        QVERIFY2(match.hasMatch(), qPrintable(label));
        QCOMPARE(match.captured(1).toInt(nullptr, 16), code);
        names.insert(match.captured(2));
    }
    QCOMPARE(names.size(), 256); // every item can be told apart in a list
    QCOMPARE(QString::fromLatin1(rom::ItemLabels::label(0xFF).data()), QStringLiteral("FF: Empty"));
}

QTEST_GUILESS_MAIN(TestLabels)
#include "tst_labels.moc"
