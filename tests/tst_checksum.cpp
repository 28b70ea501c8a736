#include "CartridgeChecksum.h"
#include "TestSupport.h"

#include <QTest>

using rom::CartridgeChecksum;

class TestChecksum : public QObject {
    Q_OBJECT

private slots:
    void sum_data();
    void sum();
    void demoImagesAreValid();
    void tooShortForAHeader();
};

// The four checksum bytes always count as FF FF 00 00: 0x1FE in every sum below.
void TestChecksum::sum_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("fill");            // every byte; -1: bytes count 00-FF over and over
    QTest::addColumn<QList<qint64>>("marks"); // offset and value pairs written over the fill
    QTest::addColumn<int>("expected");
    // 0x10000 x 01, less the four fields as filled (4), plus 0x1FE.
    QTest::newRow("64 KiB of 01") << 0x10000ll << 1 << QList<qint64>{} << 0x1FA;
    // 0x10000 x FF = 0xFF0000, less 4 x FF, plus 0x1FE: -0x1FE.
    QTest::newRow("64 KiB of FF") << 0x10000ll << 0xFF << QList<qint64>{} << 0xFE02;
    // 512 x (0 + 1 + ... + FF) = 512 x 0x7F80 = 0xFF0000, less DC+DD+DE+DF (0x376), plus 0x1FE: -0x178.
    QTest::newRow("128 KiB counting") << 0x20000ll << -1 << QList<qint64>{} << 0xFE88;
    QTest::newRow("stored fields do not count")
        << 0x10000ll << 0 << QList<qint64>{0xFFDC, 0x12, 0xFFDD, 0x34, 0xFFDE, 0x56, 0xFFDF, 0x78} << 0x1FE;
    // 5 in the first 2 MiB counts once, 7 in the last MiB twice: 5 + 14 + 0x1FE.
    QTest::newRow("3 MiB: last MiB counts twice")
        << 0x300000ll << 0 << QList<qint64>{0x100000, 5, 0x200000, 7} << 0x211;
    // 2 MiB + 1 MiB + 2 x 0.5 MiB: 3 + 2 x 7 + 0x1FE.
    QTest::newRow("3.5 MiB: last half MiB counts twice")
        << 0x380000ll << 0 << QList<qint64>{0x200000, 3, 0x300000, 7} << 0x20F;
    // The last 0.25 MiB repeats to fill 2 MiB: 8 x 1 + 0x1FE.
    QTest::newRow("2.25 MiB: last quarter MiB counts eight times")
        << 0x240000ll << 0 << QList<qint64>{0x23FFFF, 1} << 0x206;
    // The 3 bytes after 64 KiB are 2 + 2 x 1 bytes, repeated 0x4000 times: the last one 0x8000 times.
    QTest::newRow("64 KiB and 3 bytes") << 0x10003ll << 0 << QList<qint64>{0x10002, 1} << 0x81FE;
}

void TestChecksum::sum()
{
    QFETCH(qint64, size);
    QFETCH(int, fill);
    QFETCH(QList<qint64>, marks);
    QFETCH(int, expected);
    Bytes cartridge(static_cast<std::size_t>(size), std::uint8_t(fill));
    for (std::size_t at = 0; fill < 0 && at < cartridge.size(); ++at)
        cartridge[at] = std::uint8_t(at);
    for (qsizetype n = 0; n < marks.size(); n += 2)
        cartridge[std::size_t(marks[n])] = std::uint8_t(marks[n + 1]);

    const CartridgeChecksum before(cartridge);
    QVERIFY(before.hasHeader());
    QCOMPARE(before.computed(), expected);
    QVERIFY(!before.isValid());

    const auto fields = before.fixedFields();
    std::copy(fields.begin(), fields.end(), cartridge.begin() + rom::kChecksumComplementOffset);
    QCOMPARE(cartridge[0xFFDC] | cartridge[0xFFDD] << 8, expected ^ 0xFFFF); // little-endian, complement first
    QCOMPARE(cartridge[0xFFDE] | cartridge[0xFFDF] << 8, expected);
    const CartridgeChecksum after(cartridge);
    QCOMPARE(after.computed(), expected);
    QCOMPARE(after.storedChecksum(), expected);
    QCOMPARE(after.storedComplement(), expected ^ 0xFFFF);
    QVERIFY(after.isValid());
}

void TestChecksum::demoImagesAreValid()
{
    auto options = smallImage(rom::ImageLayout::Headerless);
    options.cartridgeSize = 0x80000; // a power of two, which the demonstration images sum plainly
    QVERIFY(CartridgeChecksum(demo::makeDemoImage(options)).isValid());
}

void TestChecksum::tooShortForAHeader()
{
    const CartridgeChecksum checksum(Bytes(0xFC00, 0));
    QVERIFY(!checksum.hasHeader());
    QVERIFY(!checksum.isValid());
    QCOMPARE(checksum.storedChecksum(), 0);
}

QTEST_GUILESS_MAIN(TestChecksum)
#include "tst_checksum.moc"
