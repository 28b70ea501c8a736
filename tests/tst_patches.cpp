#include "BpsPatch.h"
#include "IpsPatch.h"
#include "TestSupport.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <optional>

using rom::BpsPatch;
using rom::IpsPatch;
using rom::PatchError;

Q_DECLARE_METATYPE(rom::PatchError)

namespace {

std::uint32_t crc32Of(const std::uint8_t *bytes, std::size_t size)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit)
                c = c & 1 ? 0xEDB88320 ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

// Applies an IPS patch as a patcher would, stopping at the first "EOF";
// nothing for a patch that is malformed or writes outside the cartridge.
std::optional<Bytes> applyIps(Bytes cartridge, const Bytes &patch)
{
    if (patch.size() < 8 || !std::equal(patch.begin(), patch.begin() + 5, "PATCH"))
        return std::nullopt;
    for (std::size_t at = 5; at + 3 <= patch.size();) {
        if (std::equal(patch.begin() + qsizetype(at), patch.begin() + qsizetype(at) + 3, "EOF"))
            return at + 3 == patch.size() ? std::optional(cartridge) : std::nullopt;
        if (at + 5 > patch.size())
            return std::nullopt;
        const std::size_t offset = std::size_t(patch[at]) << 16 | patch[at + 1] << 8 | patch[at + 2];
        const std::size_t size = std::size_t(patch[at + 3]) << 8 | patch[at + 4];
        at += 5;
        if (size == 0 || at + size > patch.size() || offset + size > cartridge.size())
            return std::nullopt;
        std::copy_n(patch.begin() + qsizetype(at), size, cartridge.begin() + qsizetype(offset));
        at += size;
    }
    return std::nullopt;
}

// Applies a BPS patch that uses only source and target reads, checking its sizes and CRCs.
std::optional<Bytes> applyBps(const Bytes &source, const Bytes &patch)
{
    if (patch.size() < 4 + 12 || !std::equal(patch.begin(), patch.begin() + 4, "BPS1"))
        return std::nullopt;
    const std::size_t end = patch.size() - 12;
    std::size_t at = 4;
    const auto number = [&](std::uint64_t &value) {
        value = 0;
        for (std::uint64_t shift = 1; at < end; shift <<= 7, value += shift) {
            const std::uint8_t byte = patch[at++];
            value += (byte & 0x7F) * shift;
            if (byte & 0x80)
                return true;
        }
        return false;
    };
    std::uint64_t sourceSize = 0, targetSize = 0, metadataSize = 0, action = 0;
    if (!number(sourceSize) || !number(targetSize) || !number(metadataSize) || sourceSize != source.size() ||
        metadataSize != 0)
        return std::nullopt;
    Bytes target;
    while (at < end) {
        if (!number(action))
            return std::nullopt;
        const std::size_t length = std::size_t(action >> 2) + 1;
        const std::size_t from = (action & 3) == 0 ? target.size() : at;
        const Bytes &input = (action & 3) == 0 ? source : patch;
        if ((action & 3) > 1 || from + length > ((action & 3) == 0 ? source.size() : end))
            return std::nullopt;
        target.insert(target.end(), input.begin() + qsizetype(from), input.begin() + qsizetype(from + length));
        at += (action & 3) == 1 ? length : 0;
    }
    const auto stored = [&](std::size_t from) {
        return std::uint32_t(patch[from] | patch[from + 1] << 8 | patch[from + 2] << 16 | std::uint32_t(patch[from + 3]) << 24);
    };
    if (target.size() != targetSize || stored(end) != crc32Of(source.data(), source.size()) ||
        stored(end + 4) != crc32Of(target.data(), target.size()) || stored(end + 8) != crc32Of(patch.data(), end + 8))
        return std::nullopt;
    return target;
}

} // namespace

class TestPatches : public QObject {
    Q_OBJECT

private slots:
    void make_data();
    void make();
    void refusesDifferentSizes();
};

void TestPatches::make_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QList<qint64>>("changes"); // offset and length of each changed run
    QTest::addColumn<qint64>("ipsSize");        // -1: IPS refuses
    constexpr qint64 kEof = 0x454F46;           // the offset whose bytes spell "EOF"
    QTest::newRow("identical") << 0x1000ll << QList<qint64>{} << 8ll;
    QTest::newRow("identical, empty") << 0ll << QList<qint64>{} << 8ll;
    QTest::newRow("first byte") << 0x1000ll << QList<qint64>{0, 1} << 14ll;
    QTest::newRow("last byte") << 0x1001ll << QList<qint64>{0x1000, 1} << 14ll;
    QTest::newRow("every byte") << 0x100ll << QList<qint64>{0, 0x100} << 8ll + 5 + 0x100;
    QTest::newRow("at the offset that spells EOF") << 0x460000ll << QList<qint64>{kEof, 1} << 8ll + 5 + 2;
    QTest::newRow("long run split at the offset that spells EOF")
        << 0x460000ll << QList<qint64>{kEof - 0xFFFF, 0x10010} << 8ll + 5 + 0xFFFF + 5 + 0x12;
    QTest::newRow("run longer than 0xFFFF") << 0x20000ll << QList<qint64>{0x101, 0x12345} << 8ll + 2 * 5 + 0x12345;
    QTest::newRow("runs 4 bytes apart join") << 0x1000ll << QList<qint64>{0x10, 2, 0x16, 2} << 8ll + 5 + 8;
    QTest::newRow("runs 6 bytes apart stay apart") << 0x1000ll << QList<qint64>{0x10, 2, 0x18, 2} << 8ll + 2 * (5 + 2);
    QTest::newRow("last byte IPS reaches") << 0x1000400ll << QList<qint64>{0xFFFFFF, 1} << 14ll;
    QTest::newRow("first byte IPS cannot reach") << 0x1000400ll << QList<qint64>{0x10, 1, 0x1000000, 1} << -1ll;
}

void TestPatches::make()
{
    QFETCH(qint64, size);
    QFETCH(QList<qint64>, changes);
    QFETCH(qint64, ipsSize);
    Bytes clean(std::size_t(size), 0);
    for (std::size_t at = 0; at < clean.size(); ++at)
        clean[at] = std::uint8_t(at * 7 + (at >> 11));
    Bytes modified = clean;
    for (qsizetype n = 0; n < changes.size(); n += 2)
        for (qint64 at = changes[n]; at < changes[n] + changes[n + 1]; ++at)
            modified[std::size_t(at)] ^= std::uint8_t(1 + at % 255); // every bit pattern but 0

    Bytes ips{1};
    const PatchError ipsError = IpsPatch::make(clean, modified, ips);
    if (ipsSize < 0) {
        QCOMPARE(ipsError, PatchError::BeyondIpsReach);
        QCOMPARE(ips, Bytes{1});
    } else {
        QCOMPARE(ipsError, PatchError::None);
        QCOMPARE(qint64(ips.size()), ipsSize);
        QVERIFY(applyIps(clean, ips) == modified);
    }
    Bytes bps;
    QCOMPARE(BpsPatch::make(clean, modified, bps), PatchError::None);
    QVERIFY(applyBps(clean, bps) == modified);
}

void TestPatches::refusesDifferentSizes()
{
    const Bytes clean(0x1000, 0), longer(0x1400, 0);
    Bytes patch{1};
    QCOMPARE(IpsPatch::make(clean, longer, patch), PatchError::SizeMismatch);
    QCOMPARE(BpsPatch::make(longer, clean, patch), PatchError::SizeMismatch);
    QCOMPARE(patch, Bytes{1});
}

QTEST_GUILESS_MAIN(TestPatches)
#include "tst_patches.moc"
