// Conversion of archive records of the older instruments (model classes 0,
// 1, 2) into stored record blocks.
#include "tst_cnvslots.h"

#include "records/cnvrecord.h"
#include "testdir.h"

#include <QtTest>

using namespace cnvtest;
using testsupport::hex;

namespace {

DeviceInfo olderInfo(int modelClass)
{
    DeviceInfo info;
    info.modelClass = std::uint8_t(modelClass);
    info.serialNumber = 777;
    info.rangeCount = modelClass == 1 ? 9 : 11;
    return info;
}

// Class 0 without delivered triples: installed range digits 0, 6, 2, 0.
DeviceInfo class0DigitsInfo()
{
    DeviceInfo info = olderInfo(0);
    info.rangeDigits = {0, 6, 2, 0};
    info.rangeCount = 3;
    return info;
}

MeterFileReadResult readBack(const ConvertedArchiveRecord &r)
{
    return parseMeterFile(r.header + r.block);
}

} // namespace

class TestCnvOlder : public QObject {
    Q_OBJECT
private slots:
    void class0DigitsBlockBytes();
    void class0DigitsReadBack();
    void class0DeliveredTriples();
    void class0CodesOutsideLists();
    void class1Ranges();
    void class2Ranges();
    void singlePhaseCodesOutsideTables();
    void singlePhaseCrossPowerIsSkipped();
    void invalidMomentIsSkipped();
    void pointCountAboveTenKeepsTenPoints();
    void pointCountZeroIsSkipped();
    void unknownModelClassIsSkipped();
    void convertOlderLeavesBufferOnRejection();
};

void TestCnvOlder::class0DigitsBlockBytes()
{
    Slot s = olderSlot(1, 0, 2);
    putPointFamilyA(s, 0);
    putPointFamilyA(s, 1);
    olderCodes(s, 0, 1, 0); // digit 6: 100 A clamps, 400 V
    olderCodes(s, 1, 2, 2); // digit 2: 10 A transformer, 100 V
    const auto r = ConvertArchiveSlot(s.b, class0DigitsInfo());
    QVERIFY(r);
    QCOMPARE(r->block.size(), 1134);
    QCOMPARE(r->header.size(), 67);

    // Record header: version, type, instrument serial 777, the rest as sent.
    QCOMPARE(r->block.left(4), hex("17 00 09 03"));
    QCOMPARE(r->block.mid(4, 48), s.b.mid(4, 48));
    // Range entries: 100 x 4 = 400, fraction 0, kind 2, 400 V; 10 x 4, kind 1, 100 V.
    QCOMPARE(r->block.mid(1012, 12), hex("90 01 00 00 02 00 90 01 00 00 00 00"));
    QCOMPARE(r->block.mid(1024, 12), hex("28 00 00 00 01 00 64 00 00 00 00 00"));
    // The instrument's range codes are replaced by the installed digits.
    QCOMPARE(int(std::uint8_t(r->block[52 + 94])), 6);
    QCOMPARE(int(std::uint8_t(r->block[148 + 94])), 2);
    QCOMPARE(int(std::uint8_t(r->block[52 + 95])), 0);
    // Entries beyond the points are left zero.
    QCOMPARE(r->block.mid(1036, 96), QByteArray(96, '\0'));
    QVERIFY(IsBlockValid(r->block));

    // File header: marker, serial text, zeros, checksum.
    QCOMPARE(int(r->header[0]), 24);
    QCOMPARE(r->header.mid(1, 8), QByteArray("12345678"));
    QCOMPARE(r->header.mid(9, 56), QByteArray(56, '\0'));
    QVERIFY(IsBlockValid(r->header));

    QCOMPARE(r->summary.meterType, kDecodedCE301);
    QCOMPARE(r->summary.serial, 12345678u);
    QCOMPARE(r->summary.serialText, QStringLiteral("12345678"));
    QCOMPARE(int(r->summary.powerType), 0);
    QCOMPARE(r->summary.date, QDate(2009, 3, 15));
    QCOMPARE(r->summary.time, QTime(14, 30, 5));
}

void TestCnvOlder::class0DigitsReadBack()
{
    Slot s = olderSlot(1, 0, 2);
    putPointFamilyA(s, 0);
    putPointFamilyA(s, 1);
    olderCodes(s, 0, 1, 0);
    olderCodes(s, 1, 2, 2);
    const auto r = ConvertArchiveSlot(s.b, class0DigitsInfo());
    QVERIFY(r);

    const MeterFileReadResult en = readBack(*r);
    QVERIFY(en.readable);
    QCOMPARE(en.bytesConsumed, 1134);
    QCOMPARE(en.meter.instrument.type, std::uint8_t(0));
    QCOMPARE(en.meter.instrument.serial, std::uint16_t(777));
    QCOMPARE(en.meter.verifications.size(), 1);
    const pcn::_blockdata &v = en.meter.verifications.first();
    QCOMPARE(v.serialText, QStringLiteral("12345678"));
    QCOMPARE(v.constant, 1000u);
    QCOMPARE(v.i1, std::uint16_t(100));
    QCOMPARE(v.i2, std::uint16_t(5));
    QCOMPARE(v.iNom, 5.0);
    QCOMPARE(v.points.size(), 2);
    const pcn::_datasample &p = v.points.first();
    QCOMPARE(p.I[0], 5.0);
    QCOMPARE(p.U[0], 230.5);
    QCOMPARE(p.Uline[0], 400.0);
    QCOMPARE(p.cosPhi[0], 0.5);
    QCOMPARE(p.Ptotal, 576.25);
    QCOMPARE(p.errorPercent, -50.0);
    QCOMPARE(testsupport::rangeI(v, 0), QStringLiteral("100 C"));
    QCOMPARE(testsupport::rangeU(v, 0), QStringLiteral("400"));
    QCOMPARE(testsupport::rangeI(v, 1), QStringLiteral("10 T"));
    QCOMPARE(testsupport::rangeU(v, 1), QStringLiteral("100"));

    QCOMPARE(testsupport::rangeI(v, 0, 0), QStringLiteral("100 К"));
    QCOMPARE(testsupport::rangeI(v, 1, 0), QStringLiteral("10 Т"));
}

void TestCnvOlder::class0DeliveredTriples()
{
    DeviceInfo info = olderInfo(0);
    info.rangeCount = 2;
    info.rangeCode = {1, 2};
    info.rangeHigh = {20, 400};
    info.rangeLow = {0, 0x8000};
    info.rangeDigits = {9, 9, 9, 9}; // not used when triples were delivered
    Slot s = olderSlot(2, 1, 2);
    putPointFamilyA(s, 0);
    putPointFamilyA(s, 1);
    olderCodes(s, 0, 1, 1);
    olderCodes(s, 1, 0, 0);
    const auto r = ConvertArchiveSlot(s.b, info);
    QVERIFY(r);
    QCOMPARE(rangeEntry(r->block, 0), (QList<int>{400, 0x8000, 2, 250, 0, 0}));
    QCOMPARE(rangeEntry(r->block, 1), (QList<int>{20, 0, 1, 400, 0, 0}));
    QCOMPARE(int(std::uint8_t(r->block[52 + 94])), 1); // code kept
    const MeterFileReadResult back = readBack(*r);
    QVERIFY(back.readable);
    QCOMPARE(testsupport::rangeI(back.meter.verifications[0], 0), QStringLiteral("100.5 C"));
    QCOMPARE(testsupport::rangeI(back.meter.verifications[0], 1), QStringLiteral("5 T"));
    QCOMPARE(testsupport::rangeU(back.meter.verifications[0], 0), QStringLiteral("250"));
}

void TestCnvOlder::class0CodesOutsideLists()
{
    // Current code at rangeCount, digit beyond the clamp table, voltage 3.
    struct Case {
        int current, voltage;
        std::array<std::uint16_t, 4> digits;
    };
    const Case cases[] = {{3, 0, {0, 6, 2, 0}}, {0, 3, {0, 6, 2, 0}}, {1, 0, {0, 10, 2, 0}}, {255, 0, {0, 6, 2, 0}}};
    for (const Case &c : cases) {
        DeviceInfo info = class0DigitsInfo();
        info.rangeDigits = c.digits;
        Slot s = olderSlot(1, 0, 2);
        olderCodes(s, 0, 1, 0);
        olderCodes(s, 1, c.current, c.voltage);
        QVERIFY2(!ConvertArchiveSlot(s.b, info), qPrintable(QString::number(c.current)));
    }
    // rangeCount above the four digit positions does not read beyond them.
    DeviceInfo wide = class0DigitsInfo();
    wide.rangeCount = 40;
    Slot s = olderSlot(1, 0, 1);
    olderCodes(s, 0, 7, 0);
    QVERIFY(!ConvertArchiveSlot(s.b, wide));
    // Delivered triples: a code beyond the nine triples is refused.
    wide.rangeCode = {1};
    olderCodes(s, 0, 9, 0);
    QVERIFY(!ConvertArchiveSlot(s.b, wide));
}

void TestCnvOlder::class1Ranges()
{
    Slot s = olderSlot(4, 0, 2);
    putPointFamilyB(s, 0);
    putPointFamilyB(s, 1);
    olderCodes(s, 0, 8, 2); // 0.05 A, 60 V
    olderCodes(s, 1, 0, 0); // 50 A, 220 V
    const auto r = ConvertArchiveSlot(s.b, olderInfo(1));
    QVERIFY(r);
    QCOMPARE(r->block.left(2), hex("17 01"));
    // 0.05 x 65536 = 3276.8, stored truncated to 3276; the text shows 0.05.
    QCOMPARE(rangeEntry(r->block, 0), (QList<int>{0, 3276, 0, 60, 0, 0}));
    QCOMPARE(rangeEntry(r->block, 1), (QList<int>{50, 0, 0, 220, 0, 0}));
    const MeterFileReadResult back = readBack(*r);
    QVERIFY(back.readable);
    const auto &points = back.meter.verifications[0].points;
    QCOMPARE(points.size(), 2);
    QCOMPARE(points[0].I[0], 2.5);
    QCOMPARE(points[0].U[0], 220.0);
    QCOMPARE(testsupport::rangeI(back.meter.verifications[0], 0), QStringLiteral("0.05"));
    QCOMPARE(testsupport::rangeU(back.meter.verifications[0], 0), QStringLiteral("60"));
    QCOMPARE(testsupport::rangeI(back.meter.verifications[0], 1), QStringLiteral("50"));
    QCOMPARE(testsupport::rangeU(back.meter.verifications[0], 1), QStringLiteral("220"));
}

void TestCnvOlder::class2Ranges()
{
    Slot s = olderSlot(4, 3, 3);
    olderCodes(s, 0, 10, 3); // 0.05 A, 60 V
    olderCodes(s, 1, 3, 0); // 10 A, 480 V
    olderCodes(s, 2, 5, 1); // 2.5 A, 240 V
    const auto r = ConvertArchiveSlot(s.b, olderInfo(2));
    QVERIFY(r);
    QCOMPARE(rangeEntry(r->block, 0), (QList<int>{0, 3276, 0, 60, 0, 0}));
    QCOMPARE(rangeEntry(r->block, 1), (QList<int>{10, 0, 0, 480, 0, 0}));
    QCOMPARE(rangeEntry(r->block, 2), (QList<int>{2, 0x8000, 0, 240, 0, 0}));
    const MeterFileReadResult back = readBack(*r);
    QVERIFY(back.readable);
    QCOMPARE(back.meter.verifications[0].powerType, std::uint8_t(3));
    QCOMPARE(testsupport::rangeI(back.meter.verifications[0], 2), QStringLiteral("2.5"));
    QCOMPARE(testsupport::rangeI(back.meter.verifications[0], 0), QStringLiteral("0.05"));
}

void TestCnvOlder::singlePhaseCodesOutsideTables()
{
    const struct {
        int modelClass, current, voltage;
    } cases[] = {{1, 9, 0}, {1, 0, 3}, {2, 11, 0}, {2, 0, 4}};
    for (const auto &c : cases) {
        Slot s = olderSlot(4, 0, 2);
        olderCodes(s, 0, 0, 0);
        olderCodes(s, 1, c.current, c.voltage);
        QVERIFY(!ConvertArchiveSlot(s.b, olderInfo(c.modelClass)));
        // The same code beyond the point count does not matter.
        s.word(42, 1);
        QVERIFY(ConvertArchiveSlot(s.b, olderInfo(c.modelClass)));
    }
}

void TestCnvOlder::singlePhaseCrossPowerIsSkipped()
{
    Slot single = olderSlot(4, 2, 1);
    QVERIFY(!ConvertArchiveSlot(single.b, olderInfo(1)));
    // Scheme bit 2 counts even with other bits set.
    Slot marked = olderSlot(0x0C, 2, 1);
    QVERIFY(!ConvertArchiveSlot(marked.b, olderInfo(2)));
    // Three-phase reactive by cross-connection is stored.
    Slot three = olderSlot(1, 2, 1);
    putPointFamilyA(three, 0);
    olderCodes(three, 0, 1, 0);
    const auto r = ConvertArchiveSlot(three.b, class0DigitsInfo());
    QVERIFY(r);
    QCOMPARE(int(r->summary.powerType), 2);
}

void TestCnvOlder::invalidMomentIsSkipped()
{
    const struct {
        int offset, value;
    } damage[] = {{47, 0x13}, {46, 0x00}, {46, 0x32}, {48, 0x24}, {51, 0x60}, {50, 0x60}};
    for (const auto &d : damage) {
        Slot s = olderSlot(4, 0, 1);
        s.byte(d.offset, d.value);
        QVERIFY2(!ConvertArchiveSlot(s.b, olderInfo(1)), qPrintable(QString::number(d.offset)));
    }
    Slot leap = olderSlot(4, 0, 1);
    leap.word(44, 0x2008);
    leap.byte(47, 0x02);
    leap.byte(46, 0x29);
    QVERIFY(ConvertArchiveSlot(leap.b, olderInfo(1)));
    leap.word(44, 0x2009);
    QVERIFY(!ConvertArchiveSlot(leap.b, olderInfo(1)));
}

void TestCnvOlder::pointCountAboveTenKeepsTenPoints()
{
    Slot s = olderSlot(4, 0, 12);
    for (int k = 0; k < 10; ++k) {
        putPointFamilyB(s, k);
        olderCodes(s, k, (k + 6) % 9, (k + 1) % 3);
    }
    const auto r = ConvertArchiveSlot(s.b, olderInfo(1));
    QVERIFY(r);
    QCOMPARE(wordAt(r->block, 42), std::uint16_t(10));
    QCOMPARE(rangeEntry(r->block, 9), (QList<int>{0, 0x4000, 0, 120, 0, 0})); // 0.25 A, 120 V
    const MeterFileReadResult back = readBack(*r);
    QVERIFY(back.readable);
    QCOMPARE(back.meter.verifications[0].points.size(), 10);
    QCOMPARE(testsupport::rangeI(back.meter.verifications[0], 9), QStringLiteral("0.25"));
}

void TestCnvOlder::pointCountZeroIsSkipped()
{
    Slot s = olderSlot(4, 0, 0);
    QVERIFY(!ConvertArchiveSlot(s.b, olderInfo(1)));
}

void TestCnvOlder::unknownModelClassIsSkipped()
{
    Slot s = olderSlot(4, 0, 1);
    for (int modelClass : {4, 7, 255})
        QVERIFY(!ConvertArchiveSlot(s.b, olderInfo(modelClass)));
    // A newer converter does not take an older record.
    CnvWorkBuffer work{};
    std::copy_n(reinterpret_cast<const std::uint8_t *>(s.b.constData()), 1030, work.begin());
    CnvFileHeader header{};
    pcn::_datacounter summary;
    QCOMPARE(ConvertNewer(work, header, summary, olderInfo(1)), 0);
    QCOMPARE(ConvertOlder(work, header, summary, olderInfo(1)), 1132);
}

void TestCnvOlder::convertOlderLeavesBufferOnRejection()
{
    Slot s = olderSlot(4, 0, 2);
    olderCodes(s, 0, 0, 0);
    olderCodes(s, 1, 9, 0); // rejected at the second point
    CnvWorkBuffer work{};
    std::copy_n(reinterpret_cast<const std::uint8_t *>(s.b.constData()), 1030, work.begin());
    const CnvWorkBuffer before = work;
    CnvFileHeader header{};
    pcn::_datacounter summary = ArchiveSummaryDefaults();
    QCOMPARE(ConvertOlder(work, header, summary, olderInfo(1)), 0);
    QVERIFY(work == before);
    QVERIFY(header == CnvFileHeader{});
    QCOMPARE(summary.year, std::uint16_t(1970));
    QCOMPARE(int(summary.scheme), 8);
    QCOMPARE(int(summary.powerType), 8);
    QCOMPARE(summary.date, QDate(1960, 1, 1));
    QCOMPARE(summary.time, QTime(0, 0));
    QVERIFY(summary.meterType.isEmpty());
}

QTEST_GUILESS_MAIN(TestCnvOlder)
#include "tst_cnvolder.moc"
