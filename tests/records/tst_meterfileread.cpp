#include "records/meterfile.h"
#include "pcnsamples.h"
#include "samplerecords.h"

#include <QtTest>

using namespace pcnsamples;

namespace {

MeterFileReadResult parse(const QByteArray &bytes)
{
    return parseMeterFile(bytes);
}

} // namespace

class TestMeterFileRead : public QObject {
    Q_OBJECT
private slots:
    void version23Type0()
    {
        const QByteArray file = fileHeader("SN 42") + type0Block();
        QCOMPARE(file.size(), 1201);
        const MeterFileReadResult r = parse(file);
        QVERIFY(r.readable);
        QVERIFY(!r.headerless);
        QCOMPARE(r.bytesConsumed, qint64(1134));
        QCOMPARE(r.meter.instrument.type, std::uint8_t(0));
        QCOMPARE(r.meter.instrument.serial, std::uint16_t(0x1234));
        QCOMPARE(instrumentName(r.meter.instrument.type, catalogTextLookup(1)), QStringLiteral("QS-77"));
        QCOMPARE(r.meter.verifications.size(), 1);

        const pcn::_blockdata &v = r.meter.verifications[0];
        QCOMPARE(v.meterType, QStringLiteral("CE301         "));
        QCOMPARE(v.serial, 123456789u);
        QCOMPARE(v.serialText, QStringLiteral("SN 42"));
        QCOMPARE(v.year, std::uint16_t(2008));
        QCOMPARE(v.accuracyClass, 1.0);
        QCOMPARE(v.constant, 1600u);
        QCOMPARE(v.uLineNom, 380.0);
        QCOMPARE(v.uPhaseNom, 220.0);
        QCOMPARE(v.iNom, 5.0);
        QCOMPARE(v.scheme, std::uint8_t(1));
        QCOMPARE(v.powerType, std::uint8_t(0));
        QCOMPARE(v.date, QDate(2009, 3, 15));
        QCOMPARE(v.time, QTime(9, 5, 7));
        QCOMPARE(v.bcdYear, std::uint16_t(0x2009));
        QCOMPARE(v.bcdMonth, std::uint8_t(0x03));
        QCOMPARE(v.bcdDay, std::uint8_t(0x15));
        QCOMPARE(v.bcdHour, std::uint8_t(0x09));
        QCOMPARE(v.bcdMinute, std::uint8_t(0x05));
        QCOMPARE(v.bcdSecond, std::uint8_t(0x07));
        QCOMPARE(v.i1, std::uint16_t(100));
        QCOMPARE(v.i2, std::uint16_t(5));
        QCOMPARE(v.points.size(), 1);

        const pcn::_datasample &p = v.points[0];
        QCOMPARE(p.I[0], 5.5);
        QCOMPARE(p.U[0], 220.25);
        QCOMPARE(p.Uline[0], 381.0);
        QCOMPARE(p.cosPhi[0], 0.5);
        QCOMPARE(p.S[0], 1211.375);
        QCOMPARE(p.P[0], 605.6875);
        QVERIFY(qAbs(p.Q[0] - 1049.0815235093744) < 1e-9);
        QCOMPARE(p.I[1], 1.0);
        QCOMPARE(p.U[1], 230.0);
        QCOMPARE(p.cosPhi[1], -0.5);
        QVERIFY(p.Q[1] < 0);
        QCOMPARE(p.U[2], 0.0);
        QCOMPARE(p.Ptotal, 1000.5);
        QCOMPARE(p.Stotal, 2001.0);
        QCOMPARE(p.QcrossTotal, -1.5);
        QCOMPARE(p.QshiftTotal, 10.25);
        QCOMPARE(p.QgeomTotal, 70000.0);
        QCOMPARE(p.pfTotal, 0.5);
        QCOMPARE(QByteArray(p.pfChar.data(), 4), QByteArray("LLCL"));
        QCOMPARE(p.errorPercent, -50.0);
        QCOMPARE(p.extraValue, -2.5);
        QCOMPARE(p.currentRangeCode, std::uint8_t(0));
        QCOMPARE(p.voltageRangeCode, std::uint8_t(0));
        QCOMPARE(p.range, (std::array<std::uint16_t, 6>{40, 0, 2, 250, 0, 0}));
        QCOMPARE(testsupport::rangeI(v, 0), QStringLiteral("10 C"));
        QCOMPARE(testsupport::rangeU(v, 0), QStringLiteral("250"));

        // The same file with Russian labels.
        QCOMPARE(testsupport::rangeI(v, 0, 0), QStringLiteral("10 К"));
    }

    void version23Type1FamilyB()
    {
        const MeterFileReadResult r = parse(fileHeader("1") + type1Block());
        QVERIFY(r.readable);
        QCOMPARE(instrumentName(r.meter.instrument.type, catalogTextLookup(1)), QStringLiteral("QS-75"));
        const pcn::_blockdata &v = r.meter.verifications[0];
        QCOMPARE(v.scheme, std::uint8_t(4));
        QCOMPARE(v.powerType, std::uint8_t(1));
        QCOMPARE(v.i1, std::uint16_t(1)); // i2 == i1
        QCOMPARE(v.i2, std::uint16_t(1));
        const pcn::_datasample &p = v.points[0];
        QCOMPARE(p.U[0], 230.5);
        QCOMPARE(p.I[0], 0.125);
        QCOMPARE(p.Uline[0], 400.0);
        QCOMPARE(p.cosPhi[0], 1.0);
        QCOMPARE(p.pfChar[0], 'L');
        QCOMPARE(p.Ptotal, 28.8125);
        QCOMPARE(p.errorPercent, 100.0);
        QCOMPARE(testsupport::rangeI(v, 0), QStringLiteral("0.05"));
        QCOMPARE(testsupport::rangeU(v, 0), QStringLiteral("220"));
    }

    void version22Type2ComputedRanges()
    {
        const QByteArray block = type2Block22();
        QCOMPARE(block.size(), 246);
        const MeterFileReadResult r = parse(fileHeader("987654") + block);
        QVERIFY(r.readable);
        QCOMPARE(r.bytesConsumed, qint64(246));
        QCOMPARE(r.meter.instrument.serial, std::uint16_t(0x1234));
        QCOMPARE(instrumentName(r.meter.instrument.type, catalogTextLookup(1)), QStringLiteral("QS-75"));
        const pcn::_blockdata &v = r.meter.verifications[0];
        QCOMPARE(v.points.size(), 2);
        QCOMPARE(v.points[0].U[0], 230.5);
        QCOMPARE(v.points[0].range, (std::array<std::uint16_t, 6>{0, 3277, 0, 60, 0, 0}));
        QCOMPARE(testsupport::rangeI(v, 0), QStringLiteral("0.05"));
        QCOMPARE(testsupport::rangeU(v, 0), QStringLiteral("60"));
        QCOMPARE(v.points[0].currentRangeCode, std::uint8_t(0));
        QCOMPARE(v.points[1].I[0], 2.5);
        QCOMPARE(testsupport::rangeI(v, 1), QStringLiteral("100"));
        QCOMPARE(testsupport::rangeU(v, 1), QStringLiteral("480"));
    }

    void version21HasNoInstrumentSerial()
    {
        Header h;
        h.version = 21;
        h.type = 0;
        h.instrumentSerial = 0x4321;
        QByteArray b = blockOld(h);
        b[52 + 94] = 5; // 10 A through clamps
        b[52 + 95] = 2; // 100 V
        sealOld(b);
        QCOMPARE(b.size(), 150);
        const MeterFileReadResult r = parse(fileHeader("7") + b);
        QVERIFY(r.readable);
        QCOMPARE(r.meter.instrument.serial, std::uint16_t(0));
        QCOMPARE(testsupport::rangeI(r.meter.verifications[0], 0), QStringLiteral("10 C"));
        QCOMPARE(testsupport::rangeU(r.meter.verifications[0], 0), QStringLiteral("100"));
    }

    void version23ExtensionBlocks()
    {
        QByteArray extension;
        const QByteArray block = type3Block11(&extension);
        const MeterFileReadResult r = parse(fileHeader("3") + block + extension);
        QVERIFY(r.readable);
        QCOMPARE(r.bytesConsumed, qint64(1134 + 110));
        QCOMPARE(instrumentName(r.meter.instrument.type, catalogTextLookup(1)), QStringLiteral("QT-77"));
        const pcn::_blockdata &v = r.meter.verifications[0];
        QCOMPARE(v.points.size(), 11);
        for (int k = 0; k < 10; ++k) {
            QCOMPARE(v.points[k].I[0], double(k + 1));
            QCOMPARE(testsupport::rangeI(v, k), QStringLiteral("%1 T").arg(k));
        }
        QCOMPARE(v.points[10].I[0], 11.5);
        QCOMPARE(testsupport::rangeI(v, 10), QStringLiteral("1 T"));
        QCOMPARE(testsupport::rangeU(v, 10), QStringLiteral("57.72"));
    }

    void tenPointsNeedNoExtension()
    {
        Header h;
        h.n = 10;
        QByteArray b = block23(h);
        seal23(b);
        const MeterFileReadResult r = parse(fileHeader("1") + b);
        QVERIFY(r.readable);
        QCOMPARE(r.meter.verifications[0].points.size(), 10);
        // Eleven counted points without the extension block: not readable.
        h.n = 11;
        QByteArray b11 = block23(h);
        seal23(b11);
        QVERIFY(!parse(fileHeader("1") + b11).readable);
    }

    void version22ExtensionBlocks()
    {
        Header h;
        h.version = 22;
        h.type = 1;
        h.n = 12;
        QByteArray b = blockOld(h);
        QCOMPARE(b.size(), 1014);
        sealOld(b);
        QByteArray e1 = extensionOld();
        put32hl(e1, 8, 0x0DC00000); // U 220 in 12.20
        e1[94] = 8; // 0.05 A
        sealExtensionOld(e1);
        QByteArray e2 = extensionOld();
        sealExtensionOld(e2);
        const MeterFileReadResult r = parse(fileHeader("1") + b + e1 + e2);
        QVERIFY(r.readable);
        QCOMPARE(r.bytesConsumed, qint64(1014 + 98 + 98));
        const pcn::_blockdata &v = r.meter.verifications[0];
        QCOMPARE(v.points.size(), 12);
        QCOMPARE(v.points[10].U[0], 220.0);
        QCOMPARE(testsupport::rangeI(v, 10), QStringLiteral("0.05"));
        QCOMPARE(testsupport::rangeI(v, 11), QStringLiteral("50"));
    }

    void familyC()
    {
        const MeterFileReadResult r5 = parse(fileHeader("5") + type5Block());
        QVERIFY(r5.readable);
        QCOMPARE(instrumentName(r5.meter.instrument.type, catalogTextLookup(1)), QStringLiteral("QK-76"));
        const pcn::_blockdata &v5 = r5.meter.verifications[0];
        QCOMPARE(v5.scheme, std::uint8_t(4));
        QCOMPARE(v5.powerType, std::uint8_t(3));
        QCOMPARE(v5.points[0].I[0], 2.5); // 16.16 through clamps
        QCOMPARE(v5.points[0].U[0], 230.5);
        QCOMPARE(v5.points[0].Ptotal, -1.5);
        QCOMPARE(testsupport::rangeI(v5, 0), QStringLiteral("2 C"));
        QCOMPARE(v5.points[1].I[0], 2.5); // 12.20 otherwise
        QCOMPARE(testsupport::rangeI(v5, 1), QStringLiteral("2"));

        const MeterFileReadResult r6 = parse(fileHeader("6") + type6Block());
        QVERIFY(r6.readable);
        const pcn::_blockdata &v6 = r6.meter.verifications[0];
        QCOMPARE(v6.powerType, std::uint8_t(1));
        QCOMPARE(v6.points[0].Ptotal, 1000.5);
        QCOMPARE(v6.points[0].Stotal, -70000.0);
    }

    void version22FamilyCHasZeroRanges()
    {
        Header h;
        h.version = 22;
        h.type = 6;
        h.b38 = 4;
        QByteArray b = blockOld(h);
        put32hl(b, 52, 0x00280000); // 2.5 A in 12.20
        b[52 + 94] = 2;
        b[52 + 95] = 1;
        sealOld(b);
        const MeterFileReadResult r = parse(fileHeader("1") + b);
        QVERIFY(r.readable);
        const pcn::_datasample &p = r.meter.verifications[0].points[0];
        QCOMPARE(p.I[0], 2.5);
        QCOMPARE(p.range, (std::array<std::uint16_t, 6>{}));
        QCOMPARE(testsupport::rangeI(r.meter.verifications[0], 0), QStringLiteral("0"));
        QCOMPARE(testsupport::rangeU(r.meter.verifications[0], 0), QStringLiteral("0"));
    }

    void severalVerifications()
    {
        Header second;
        second.instrumentSerial = 0x4321;
        second.serial = 555;
        second.day = 0x16;
        second.transformer = 0x0640; // i2 0: no transformer
        const QByteArray file = fileHeader("meter") + type0Block() + type0Block(second);
        const MeterFileReadResult r = parse(file);
        QVERIFY(r.readable);
        QCOMPARE(r.bytesConsumed, qint64(2 * 1134));
        QCOMPARE(r.meter.verifications.size(), 2);
        QCOMPARE(r.meter.verifications[1].serialText, QStringLiteral("meter"));
        QCOMPARE(r.meter.verifications[1].date, QDate(2009, 3, 16));
        QCOMPARE(r.meter.verifications[1].i1, std::uint16_t(1));
        QCOMPARE(r.meter.verifications[1].i2, std::uint16_t(1));
        // The instrument of the last block remains.
        QCOMPARE(r.meter.instrument.serial, std::uint16_t(0x4321));
        second.transformer = 0x0055; // 5/5: equal currents, shown as 1/1
        const pcn::_blockdata equal = parse(fileHeader("m") + type0Block(second)).meter.verifications.value(0);
        QCOMPARE(QPair(equal.i1, equal.i2), QPair(std::uint16_t(1), std::uint16_t(1)));
    }

    void headerlessTakesFirstSerial()
    {
        Header second;
        second.serial = 555;
        const MeterFileReadResult r = parse(type0Block() + type0Block(second));
        QVERIFY(r.readable);
        QVERIFY(r.headerless);
        QCOMPARE(r.bytesConsumed, qint64(2 * 1134));
        QCOMPARE(r.meter.verifications[0].serialText, QStringLiteral("123456789"));
        QCOMPARE(r.meter.verifications[1].serialText, QStringLiteral("123456789"));
        QCOMPARE(r.meter.verifications[1].serial, 555u);
    }

    void headerSerialTextIsWindows1251()
    {
        QByteArray text("\xCD\xEE\xEC\xE5\xF0 7"); // "Номер 7"
        const MeterFileReadResult r = parse(fileHeader(text) + type1Block());
        QVERIFY(r.readable);
        QCOMPARE(r.meter.verifications[0].serialText, QStringLiteral("Номер 7"));
        // 64 characters without a closing zero.
        const MeterFileReadResult full = parse(fileHeader(QByteArray(64, 'x')) + type1Block());
        QCOMPARE(full.meter.verifications[0].serialText, QString(64, QLatin1Char('x')));
    }

    void bcdFields()
    {
        Header h;
        h.bcdYear = 0x1999;
        h.month = 0x12;
        h.day = 0x31;
        h.hour = 0x23;
        h.minute = 0x59;
        h.second = 0x59;
        h.reserved = 0xAB; // ignored
        const MeterFileReadResult r = parse(fileHeader("1") + type0Block(h));
        QVERIFY(r.readable);
        QCOMPARE(r.meter.verifications[0].date, QDate(1999, 12, 31));
        QCOMPARE(r.meter.verifications[0].time, QTime(23, 59, 59));
        // A nibble above 9 counts as its value: day 0x1A is 20.
        h = Header();
        h.day = 0x1A;
        const MeterFileReadResult odd = parse(fileHeader("1") + type0Block(h));
        QVERIFY(odd.readable);
        QCOMPARE(odd.meter.verifications[0].date, QDate(2009, 3, 20));
    }
};

QTEST_GUILESS_MAIN(TestMeterFileRead)
#include "tst_meterfileread.moc"
