// Conversion of archive records of the newer instruments (model classes 3,
// 5, 6): checksummed header and point blocks, moved date, time and
// transformer fields, the constant multiplier and the range lists.
#include "tst_cnvslots.h"

#include "records/cnvrecord.h"
#include "testdir.h"

#include <QtTest>

#include <limits>

using namespace cnvtest;
using testsupport::hex;

namespace {

DeviceInfo class3TriplesInfo()
{
    DeviceInfo info;
    info.modelClass = 3;
    info.serialNumber = 0x1234;
    info.rangeCount = 3;
    info.rangeCode = {1, 5, 2};
    info.rangeHigh = {4, 40, 400};
    info.rangeLow = {0, 0, 0x4000};
    return info;
}

DeviceInfo singlePhaseInfo(int modelClass)
{
    DeviceInfo info;
    info.modelClass = std::uint8_t(modelClass);
    info.serialNumber = 42;
    info.auxCount = 3;
    info.auxValue = {230, 115, 57.5};
    info.rangeCount = 6;
    info.rangeValue = {0.05, 1, 5, 10, 100, 2.5};
    info.rangeKind = {1, 1, 1, 2, 2, 4};
    info.kind1Count = 3;
    info.kind2Count = 2;
    info.kind4Count = 1;
    return info;
}

// A class 5/6 record header: scheme, power type and multiplier code in the
// word of bytes 38 and 39.
Slot singlePhaseSlot(int scheme, int powerType, int multiplier, int points)
{
    const int w = scheme | (powerType << 3) | (multiplier << 6);
    return newerSlot(w & 0xFF, w >> 8, points);
}

MeterFileReadResult readBack(const ConvertedArchiveRecord &r)
{
    return parseMeterFile(r.header + r.block);
}

QStringList currentTexts(const pcn::_blockdata &v, int language = english())
{
    QStringList texts;
    for (int k = 0; k < v.points.size(); ++k)
        texts.append(testsupport::rangeI(v, k, language));
    return texts;
}

} // namespace

class TestCnvNewer : public QObject {
    Q_OBJECT
private slots:
    void class3MovedFieldsAndPoints();
    void class3InstalledDigits();
    void class3CodesOutsideLists();
    void class5RangesAndMultiplier();
    void multiplierCodes();
    void multipliedConstantTooLarge();
    void class6Totals();
    void class56CodesOutsideLists();
    void damagedFourthPointKeepsThree();
    void damagedFirstPointStoresNothing();
    void damagedHeaderStoresNothing();
    void singlePhaseCrossPowerIsSkipped();
    void invalidMomentIsSkipped();
};

void TestCnvNewer::class3MovedFieldsAndPoints()
{
    Slot s = newerSlot(1, 1, 3);
    for (int k = 0; k < 3; ++k)
        putPointFamilyA(s, k);
    newerCodes(s, 0, 1, 0); // triple 1: kind 5 limited to 2, 40 / 4 = 10 A; 240 V
    newerCodes(s, 1, 2, 2); // triple 2: 100.25 A clamps; 60 V
    newerCodes(s, 2, 0, 1); // triple 0: 1 A transformer; 120 V
    const auto r = ConvertArchiveSlot(s.b, class3TriplesInfo());
    QVERIFY(r);
    const QByteArray &b = r->block;
    QCOMPARE(b.left(4), hex("17 03 34 12"));
    QCOMPARE(b.mid(4, 36), s.b.mid(4, 36));
    // Transformer, point count, BCD year, day, month, hour, byte 45, second, minute.
    QCOMPARE(b.mid(40, 12), hex("85 0C 03 00 10 20 21 07 09 5A 07 08"));
    for (int k = 0; k < 3; ++k) {
        const int p = s.point(k);
        QCOMPARE(b.mid(p, 92), s.b.mid(p, 92));
        QCOMPARE(b.mid(p + 92, 2), s.b.mid(p + 94, 2)); // the point checksum
        QCOMPARE(b.mid(p + 94, 2), s.b.mid(p + 92, 2)); // the range codes
    }
    QCOMPARE(rangeEntry(b, 0), (QList<int>{40, 0, 2, 240, 0, 0}));
    QCOMPARE(rangeEntry(b, 1), (QList<int>{400, 0x4000, 2, 60, 0, 0}));
    QCOMPARE(rangeEntry(b, 2), (QList<int>{4, 0, 1, 120, 0, 0}));
    QVERIFY(IsBlockValid(b));
    QVERIFY(IsBlockValid(r->header));
    QCOMPARE(r->summary.date, QDate(2010, 7, 21));
    QCOMPARE(r->summary.time, QTime(9, 8, 7));
    QCOMPARE(int(r->summary.powerType), 1);

    const MeterFileReadResult back = readBack(*r);
    QVERIFY(back.readable);
    QCOMPARE(back.meter.instrument.type, std::uint8_t(3));
    QCOMPARE(back.meter.instrument.serial, std::uint16_t(0x1234));
    const pcn::_blockdata &v = back.meter.verifications[0];
    QCOMPARE(v.date, QDate(2010, 7, 21));
    QCOMPARE(v.time, QTime(9, 8, 7));
    QCOMPARE(v.i1, std::uint16_t(200));
    QCOMPARE(v.i2, std::uint16_t(5));
    QCOMPARE(v.points.size(), 3);
    QCOMPARE(currentTexts(v), (QStringList{"10 C", "100.25 C", "1 T"}));
    QCOMPARE(testsupport::rangeU(v, 0), QStringLiteral("240"));
    QCOMPARE(testsupport::rangeU(v, 1), QStringLiteral("60"));
    QCOMPARE(v.points[0].I[0], 5.0);
    QCOMPARE(v.points[0].U[0], 230.5);
    QCOMPARE(v.points[0].Ptotal, 576.25);
    for (int k = 0; k < 3; ++k)
        QCOMPARE(v.points[k].extraValue, checksumAsExtraValue(s, k));
}

void TestCnvNewer::class3InstalledDigits()
{
    DeviceInfo info;
    info.modelClass = 3;
    info.rangeDigits = {0, 7, 9, 3};
    info.rangeCount = 4;
    Slot s = newerSlot(2, 0, 2);
    newerCodes(s, 0, 1, 0); // digit 7: 1000 A clamps
    newerCodes(s, 1, 3, 2); // digit 3: 50 A transformer
    const auto r = ConvertArchiveSlot(s.b, info);
    QVERIFY(r);
    QCOMPARE(rangeEntry(r->block, 0), (QList<int>{4000, 0, 2, 240, 0, 0}));
    QCOMPARE(rangeEntry(r->block, 1), (QList<int>{200, 0, 1, 60, 0, 0}));
    QCOMPARE(int(std::uint8_t(r->block[52 + 94])), 7);
    QCOMPARE(int(std::uint8_t(r->block[148 + 94])), 3);
    const MeterFileReadResult back = readBack(*r);
    QVERIFY(back.readable);
    QCOMPARE(currentTexts(back.meter.verifications[0], russian()), (QStringList{"1000 К", "50 Т"}));
}

void TestCnvNewer::class3CodesOutsideLists()
{
    const struct {
        int current, voltage;
    } cases[] = {{3, 0}, {0, 3}, {200, 0}};
    for (const auto &c : cases) {
        Slot s = newerSlot(1, 0, 2);
        newerCodes(s, 0, 0, 0);
        newerCodes(s, 1, c.current, c.voltage);
        QVERIFY(!ConvertArchiveSlot(s.b, class3TriplesInfo()));
    }
    // Without triples and with no installed ranges every code is refused.
    DeviceInfo bare;
    bare.modelClass = 3;
    Slot s = newerSlot(1, 0, 1);
    newerCodes(s, 0, 0, 0);
    QVERIFY(!ConvertArchiveSlot(s.b, bare));
}

void TestCnvNewer::class5RangesAndMultiplier()
{
    Slot s = singlePhaseSlot(4, 0, 2, 5);
    s.word(30, 100);
    s.seal(4, 46);
    QCOMPARE(int(std::uint8_t(s.b[38])), 0x84);
    const int p0 = s.point(0);
    s.highLow(p0 + 0, 0x00280000); // 2.5 A in 12.20 (transformer range)
    s.highLow(p0 + 8, 0x0DC00000); // 220 V in 12.20
    s.word(p0 + 52, 576); // Ptotal 576.25 in 32.16
    s.word(p0 + 54, 0x4000);
    const int p1 = s.point(1);
    s.highLow(p1 + 0, 0x00050000); // 5 A in 16.16 (clamp range)
    newerCodes(s, 0, 0x02, 0); // group 0, entry 2: 5 A, kind 1; 230 V
    newerCodes(s, 1, 0x21, 2); // group 1, entry 1: index 3 + 1 = 100 A clamps; 57.5 V
    newerCodes(s, 2, 0x40, 1); // group 2, entry 0: index 3 + 2 = 2.5 A clamps; 115 V
    newerCodes(s, 3, 0x00, 0); // 0.05 A, kind 1
    newerCodes(s, 4, 0xE3, 0); // group 7 counts as group 0: 10 A, kind 1
    const auto r = ConvertArchiveSlot(s.b, singlePhaseInfo(5));
    QVERIFY(r);
    const QByteArray &b = r->block;
    QCOMPARE(b.left(4), hex("17 05 2A 00"));
    QCOMPARE(b.mid(28, 4), hex("00 00 00 19")); // 100 x 64 = 6400
    QCOMPARE(b.mid(38, 2), hex("84 00")); // as delivered
    QCOMPARE(rangeEntry(b, 0), (QList<int>{20, 0, 1, 230, 0, 0}));
    QCOMPARE(rangeEntry(b, 1), (QList<int>{400, 0, 2, 57, 0x8000, 0}));
    QCOMPARE(rangeEntry(b, 2), (QList<int>{8, 0x8000, 2, 115, 0, 0}));
    QCOMPARE(rangeEntry(b, 3), (QList<int>{0, 3276, 1, 230, 0, 0}));
    QCOMPARE(rangeEntry(b, 4), (QList<int>{40, 0, 1, 230, 0, 0}));
    QCOMPARE(int(std::uint8_t(b[s.point(4) + 94])), 0xE3);

    const MeterFileReadResult back = readBack(*r);
    QVERIFY(back.readable);
    const pcn::_blockdata &v = back.meter.verifications[0];
    QCOMPARE(v.constant, 6400u);
    QCOMPARE(int(v.scheme), 4);
    QCOMPARE(int(v.powerType), 0);
    // 0.05 is stored truncated (3276/65536); its text shows the nominal 0.05.
    QCOMPARE(currentTexts(v), (QStringList{"5 T", "100 C", "2.5 C", "0.05 T", "10 T"}));
    QCOMPARE(testsupport::rangeU(v, 1), QStringLiteral("57.5"));
    QCOMPARE(v.points[0].I[0], 2.5);
    QCOMPARE(v.points[0].U[0], 220.0);
    QCOMPARE(v.points[0].Ptotal, 576.25);
    QCOMPARE(v.points[1].I[0], 5.0);
    QCOMPARE(v.points[4].extraValue, checksumAsExtraValue(s, 4));
}

void TestCnvNewer::multiplierCodes()
{
    const std::uint32_t expected[8] = {3, 6, 192, 3072, 24576, 3, 3, 3};
    for (int code = 0; code < 8; ++code) {
        Slot s = singlePhaseSlot(4, 3, code, 1);
        s.word(30, 3);
        s.seal(4, 46);
        newerCodes(s, 0, 0, 0);
        const auto r = ConvertArchiveSlot(s.b, singlePhaseInfo(6));
        QVERIFY(r);
        const MeterFileReadResult back = readBack(*r);
        QVERIFY(back.readable);
        QCOMPARE(back.meter.verifications[0].constant, expected[code]);
        QCOMPARE(int(back.meter.verifications[0].powerType), 3);
        QCOMPARE(int(r->summary.powerType), 3);
        // Byte 39 keeps the high bit of the code.
        QCOMPARE(int(std::uint8_t(r->block[39])), code >> 2);
    }
}

void TestCnvNewer::multipliedConstantTooLarge()
{
    Slot s = singlePhaseSlot(4, 0, 4, 1);
    s.word(28, 0x0008); // 524288 x 8192 = 2^32
    s.word(30, 0);
    s.seal(4, 46);
    newerCodes(s, 0, 0, 0);
    // Kept, with the largest constant the file holds, and marked.
    const auto clamped = ConvertArchiveSlot(s.b, singlePhaseInfo(5));
    QVERIFY(clamped);
    QVERIFY(clamped->constantClamped);
    QCOMPARE(clamped->block.mid(28, 4), hex("FF FF FF FF"));
    s.word(28, 0x0007);
    s.word(30, 0xFFFF); // just below
    s.seal(4, 46);
    const auto r = ConvertArchiveSlot(s.b, singlePhaseInfo(5));
    QVERIFY(r);
    QVERIFY(!r->constantClamped);
    QCOMPARE(r->block.mid(28, 4), hex("FF FF 00 E0")); // 0x7FFFF x 8192 = 0xFFFFE000
}

void TestCnvNewer::class6Totals()
{
    Slot s = singlePhaseSlot(4, 1, 0, 1);
    const int p = s.point(0);
    s.word(p + 52, 0x0648); // 28.20: 100.5
    s.word(p + 56, 0xFFFF); // Stotal -0.25: sign set, f = 0x40000 gives w2 = 4, w3 = 0
    s.word(p + 60, 0x0004);
    newerCodes(s, 0, 0x20, 0);
    const auto r = ConvertArchiveSlot(s.b, singlePhaseInfo(6));
    QVERIFY(r);
    const MeterFileReadResult back = readBack(*r);
    QVERIFY(back.readable);
    const pcn::_datasample &point = back.meter.verifications[0].points[0];
    QCOMPARE(point.Ptotal, 100.5);
    QCOMPARE(point.Stotal, -0.25);
    QCOMPARE(testsupport::rangeI(back.meter.verifications[0], 0), QStringLiteral("10 C"));
    QCOMPARE(int(back.meter.verifications[0].powerType), 1);
    // The same bytes as a class 5 record are 32.16 totals.
    const auto r5 = ConvertArchiveSlot(s.b, singlePhaseInfo(5));
    QVERIFY(r5);
    QCOMPARE(readBack(*r5).meter.verifications[0].points[0].Ptotal, 1608.0);
}

void TestCnvNewer::class56CodesOutsideLists()
{
    const struct {
        int current, voltage;
    } cases[] = {{0x1B, 0}, {0x1F, 0}, {0x00, 10}, {0x38, 0}};
    for (const auto &c : cases) {
        Slot s = singlePhaseSlot(4, 0, 0, 1);
        newerCodes(s, 0, c.current, c.voltage);
        QVERIFY2(!ConvertArchiveSlot(s.b, singlePhaseInfo(5)), qPrintable(QString::number(c.current)));
    }
    Slot s = singlePhaseSlot(4, 0, 0, 1);
    newerCodes(s, 0, 0x41, 0);
    DeviceInfo info = singlePhaseInfo(6);
    QVERIFY(ConvertArchiveSlot(s.b, info));
    info.kind2Count = 30; // pushes the index beyond the list
    QVERIFY(!ConvertArchiveSlot(s.b, info));
    info = singlePhaseInfo(6);
    info.kind1Count = -10;
    QVERIFY(!ConvertArchiveSlot(s.b, info));
    // Values that cannot stand in the range words.
    for (double bad : {-1.0, 20000.0, std::numeric_limits<double>::quiet_NaN()}) {
        info = singlePhaseInfo(6);
        info.rangeValue[6] = bad;
        QVERIFY(!ConvertArchiveSlot(s.b, info));
        info = singlePhaseInfo(6);
        info.auxValue[0] = bad * 10;
        QVERIFY(!ConvertArchiveSlot(s.b, info));
    }
}

void TestCnvNewer::damagedFourthPointKeepsThree()
{
    Slot s = newerSlot(1, 0, 5);
    for (int k = 0; k < 5; ++k) {
        putPointFamilyA(s, k);
        newerCodes(s, k, k % 3, k % 3);
    }
    s.byte(s.point(3) + 10, 0x55); // after its checksum was written
    const auto r = ConvertArchiveSlot(s.b, class3TriplesInfo());
    QVERIFY(r);
    QCOMPARE(wordAt(r->block, 42), std::uint16_t(3));
    const MeterFileReadResult back = readBack(*r);
    QVERIFY(back.readable);
    QCOMPARE(back.meter.verifications[0].points.size(), 3);
    QCOMPARE(currentTexts(back.meter.verifications[0]), (QStringList{"1 T", "10 C", "100.25 C"}));
}

void TestCnvNewer::damagedFirstPointStoresNothing()
{
    Slot s = newerSlot(1, 0, 3);
    for (int k = 0; k < 3; ++k)
        newerCodes(s, k, 0, 0);
    s.byte(s.point(0) + 95, s.b[s.point(0) + 95] ^ 1);
    QVERIFY(!ConvertArchiveSlot(s.b, class3TriplesInfo()));
    // Direct call with a point count of 0.
    CnvWorkBuffer work{};
    std::copy_n(reinterpret_cast<const std::uint8_t *>(s.b.constData()), 1030, work.begin());
    work[50] = 0;
    work[51] = 0;
    CnvFileHeader header{};
    pcn::_datacounter summary = ArchiveSummaryDefaults();
    QCOMPARE(ConvertNewer(work, header, summary, class3TriplesInfo()), 0);
    work[50] = 11;
    QCOMPARE(ConvertNewer(work, header, summary, class3TriplesInfo()), 0);
}

void TestCnvNewer::damagedHeaderStoresNothing()
{
    Slot s = newerSlot(1, 0, 1);
    newerCodes(s, 0, 0, 0);
    QVERIFY(ConvertArchiveSlot(s.b, class3TriplesInfo()));
    s.byte(20, 0x01); // serial changed after the header checksum
    QVERIFY(!ConvertArchiveSlot(s.b, class3TriplesInfo()));
    s.seal(4, 46);
    QVERIFY(ConvertArchiveSlot(s.b, class3TriplesInfo()));
}

void TestCnvNewer::singlePhaseCrossPowerIsSkipped()
{
    Slot five = singlePhaseSlot(4, 2, 0, 1);
    newerCodes(five, 0, 0, 0);
    QVERIFY(!ConvertArchiveSlot(five.b, singlePhaseInfo(5)));
    QVERIFY(!ConvertArchiveSlot(five.b, singlePhaseInfo(6)));
    // Class 3: power type is byte 39 AND 7.
    Slot three = newerSlot(4, 0x0A, 1);
    newerCodes(three, 0, 0, 0);
    QVERIFY(!ConvertArchiveSlot(three.b, class3TriplesInfo()));
    Slot threeWire = newerSlot(2, 2, 1);
    newerCodes(threeWire, 0, 0, 0);
    QVERIFY(ConvertArchiveSlot(threeWire.b, class3TriplesInfo()));
}

void TestCnvNewer::invalidMomentIsSkipped()
{
    const struct {
        int offset, value;
    } damage[] = {{43, 0x13}, {42, 0x32}, {44, 0x25}, {46, 0x61}, {47, 0x60}};
    for (const auto &d : damage) {
        Slot s = newerSlot(1, 0, 1);
        newerCodes(s, 0, 0, 0);
        s.byte(d.offset, d.value);
        s.seal(4, 46);
        QVERIFY2(!ConvertArchiveSlot(s.b, class3TriplesInfo()), qPrintable(QString::number(d.offset)));
    }
    // Byte 45 is not part of the moment.
    Slot s = newerSlot(1, 0, 1);
    newerCodes(s, 0, 0, 0);
    s.byte(45, 0xFF);
    s.seal(4, 46);
    QVERIFY(ConvertArchiveSlot(s.b, class3TriplesInfo()));
}

QTEST_GUILESS_MAIN(TestCnvNewer)
#include "tst_cnvnewer.moc"
