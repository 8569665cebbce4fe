// The instrument emulator answers the protocol like the instrument: frame
// layout and CRC, identify blocks of every model class, archive-content
// pages, record pages of both generations and the meter database.
#include "simclient.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace simtest;
using testsupport::hex;

namespace {

bool isBcd(int b)
{
    return (b >> 4) <= 9 && (b & 0xF) <= 9;
}
int bcd(int b)
{
    return (b >> 4) * 10 + (b & 0xF);
}

// Phase A voltage of a point block (16.16 or 12.20), high word first.
double fixedValue(const QByteArray &block, int offset, bool twelveTwenty)
{
    const quint32 raw = quint32(u16(block, offset)) << 16 | quint32(u16(block, offset + 2));
    return twelveTwenty ? (raw >> 20) + (raw & 0xFFFFF) / 1048576.0 : (raw >> 16) + (raw & 0xFFFF) / 65536.0;
}

// A meter database image of ten entries with recognisable serial numbers.
QByteArray testImage(int size)
{
    QByteArray area(size, '\0');
    for (int i = 0; i < 10; ++i) {
        const QByteArray type = QByteArray("ABCDEFGHIJKLMN").left(2 + i).leftJustified(14, ' ');
        for (int k = 0; k < 14; k += 2) {
            area[16 * i + k] = type[k + 1];
            area[16 * i + k + 1] = type[k];
        }
        area[160 + 24 * i + 2] = char(0x40 + i); // serial low word
        area[160 + 24 * i + 4] = char(0xE8); // year 2024
        area[160 + 24 * i + 5] = char(0x07);
    }
    return area;
}

} // namespace

class TestSimProtocol : public QObject {
    Q_OBJECT

private slots:
    void testCrcOfTheTest()
    {
        QCOMPARE(crcXmodem("123456789"), std::uint16_t(0x31C3));
        QCOMPARE(requestFrame(0x0F, {0, 256}), hex(kNewerIdentify));
    }

    void identifyPerClass_data()
    {
        QTest::addColumn<int>("modelClass");
        QTest::addColumn<QString>("request");
        QTest::addColumn<int>("payloadSize");
        QTest::addColumn<QString>("designation");
        QTest::addColumn<int>("version1");
        QTest::addColumn<int>("version2");
        QTest::addColumn<int>("sizeOffset");
        QTest::newRow("class 0") << 0 << kOlderIdentify << 1024 << "Q-Q" << 0x310 << 0x2376 << 274;
        QTest::newRow("class 1") << 1 << kOlderIdentify << 1024 << "Q-W" << 0x49 << 0x1 << 274;
        QTest::newRow("class 2") << 2 << kOlderIdentify << 1024 << "Q.W" << 0x51 << 0x1 << 274;
        QTest::newRow("class 3") << 3 << kNewerIdentify << 512 << "Q.Q" << 0x31 << 0xF001 << 274;
        QTest::newRow("class 5") << 5 << kNewerIdentify << 512 << "Q-W" << 0x70 << 0x15 << 378;
        QTest::newRow("class 6") << 6 << kNewerIdentify << 512 << "Q-W" << 0x72 << 0x1 << 378;
    }

    void identifyPerClass()
    {
        QFETCH(int, modelClass);
        QFETCH(QString, request);
        QFETCH(int, payloadSize);
        QFETCH(QString, designation);
        QFETCH(int, version1);
        QFETCH(int, version2);
        QFETCH(int, sizeOffset);
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", QString::number(modelClass), "--records", "17", "--serial", "4321"}));
        const QByteArray a = sim.exchange(hex(request.toLatin1().constData()));
        QCOMPARE(a.size(), payloadSize + 6);
        QCOMPARE(byteAt(a, 0), int(0x02));
        QCOMPARE(byteAt(a, 1), int(0x00));
        QCOMPARE(u16(a, 2), payloadSize);
        QVERIFY(crcZero(a));
        const QByteArray p = a.mid(4, payloadSize);
        QVERIFY2(typeText(p.left(16)).contains(designation), qPrintable(typeText(p.left(16))));
        QCOMPARE(u16(p, 16), 4321);
        QCOMPARE(u16(p, 18), version1);
        QCOMPARE(u16(p, 20), version2);
        QCOMPARE(u16(p, sizeOffset), 17);
        if (modelClass == 3) {
            // Six range triples (kind, current x 4, fraction), then code 0.
            QCOMPARE(u16(p, 44), 1);
            QCOMPARE(u16(p, 46), 4);
            QCOMPARE(u16(p, 44 + 5 * 6), 2);
            QCOMPARE(u16(p, 46 + 5 * 6), 4000);
            QCOMPARE(u16(p, 44 + 6 * 6), 0);
        }
        if (modelClass >= 5) {
            // Codes in the order 1, 2, 3, 4; the first voltage range is
            // 60 V = 3840 / 64; the list ends with code 0 before the size.
            QVector<int> codes;
            for (int off = 44; u16(p, off) != 0 && off < 44 + 37 * 6; off += 6)
                codes.append(u16(p, off));
            QVERIFY(std::is_sorted(codes.begin(), codes.end()));
            QCOMPARE(codes.count(1), 3);
            QVERIFY(codes.count(2) >= 1);
            QCOMPARE(u16(p, 46), 3840);
            // 0.05 A as code 2: high / 512 + low / 2^25, at least 0.05.
            const int first2 = 44 + 6 * codes.indexOf(2);
            const double v = u16(p, first2 + 2) / 512.0 + u16(p, first2 + 4) / 33554432.0;
            QCOMPARE(std::trunc(v * 1000) * 0.001, 0.05);
        }
        QVERIFY(sim.stop());
    }

    void newerInstrumentAnswersOlderIdentifyWithNothingItNames()
    {
        for (const char *cls : {"3", "5"}) {
            SimProcess sim;
            QVERIFY(sim.start({"--model-class", cls}));
            const QByteArray a = sim.exchange(hex(kOlderIdentify));
            QCOMPARE(a.size(), 1030);
            QCOMPARE(byteAt(a, 1), int(0x00));
            QVERIFY(crcZero(a));
            QCOMPARE(a.mid(4, 1024), QByteArray(1024, char(0xFF)));
        }
    }

    void olderInstrumentRefusesNewerCommands()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "0"}));
        QCOMPARE(sim.exchange(hex(kNewerIdentify)), hex("02 01 00 00 DA 58"));
        QCOMPARE(sim.exchange(hex(kNewerPage320)), hex("02 01 00 00 DA 58"));
    }

    void newerContentPages()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "3", "--records", "17"}));
        const QByteArray first = sim.exchange(hex(kNewerPage320));
        QCOMPARE(first.size(), 518);
        QVERIFY(crcZero(first));
        for (int e = 0; e < 16; ++e) {
            const QByteArray entry = first.mid(4 + 32 * e, 32);
            QVERIFY2(crcZero(entry), qPrintable(QString::number(e)));
            for (int off : {22, 23, 24, 26, 27})
                QVERIFY(isBcd(byteAt(entry, off)));
            QVERIFY(bcd(byteAt(entry, 23)) >= 1 && bcd(byteAt(entry, 23)) <= 12);
        }
        const QByteArray e1 = first.mid(4, 32);
        QCOMPARE(typeText(e1.left(16)), QString::fromUtf8("ЦЭ6803В-М     "));
        QCOMPARE(quint32(u16(e1, 16)) << 16 | quint32(u16(e1, 18)), 10000000u);
        QCOMPARE(u16(e1, 20), 0x2024);
        QCOMPARE(byteAt(e1, 22), int(0x27)); // day
        QCOMPARE(byteAt(e1, 23), int(0x02)); // month
        QCOMPARE(byteAt(e1, 24), int(0x09)); // hour
        QCOMPARE(byteAt(e1, 26), int(0x30)); // second
        QCOMPARE(byteAt(e1, 27), int(0x15)); // minute
        QCOMPARE(byteAt(e1, 28), int(1)); // scheme
        QCOMPARE(byteAt(e1, 29), int(0)); // power type
        // The second entry is the same meter with the next power type.
        QCOMPARE(byteAt(first, 4 + 32 + 29), int(1));

        const QByteArray second = sim.exchange(hex(kNewerPage321));
        QCOMPARE(second.size(), 518);
        QVERIFY(crcZero(second.mid(4, 32)));
        QCOMPARE(second.mid(4 + 32, 15 * 32), QByteArray(15 * 32, char(0xFF)));
        QVERIFY(sim.stop());
    }

    void olderContentPages()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "0", "--records", "33"}));
        const QByteArray first = sim.exchange(hex(kOlderPage224));
        QCOMPARE(first.size(), 1030);
        QVERIFY(crcZero(first));
        const QByteArray e1 = first.mid(4, 32);
        QCOMPARE(typeText(e1.left(16)), QString::fromUtf8("ЦЭ6803В-М     "));
        QCOMPARE(byteAt(e1, 21), int(0)); // power type
        QCOMPARE(u16(e1, 24), 0x2024);
        QCOMPARE(byteAt(e1, 26), int(0x27));
        QCOMPARE(byteAt(e1, 27), int(0x02));
        QCOMPARE(byteAt(e1, 28), int(0x09));
        QCOMPARE(byteAt(e1, 30), int(0x30));
        QCOMPARE(byteAt(e1, 31), int(0x15));
        // The 14-character Cyrillic type appears among the meters.
        bool fullLength = false;
        for (int e = 0; e < 32; ++e)
            fullLength |= typeText(first.mid(4 + 32 * e, 16)) == QString::fromUtf8("ТРИФАЗА 3Ф-100");
        QVERIFY(fullLength);
        const QByteArray second = sim.exchange(hex(kOlderPage225));
        QCOMPARE(second.size(), 1030);
        QVERIFY(isBcd(byteAt(second, 4 + 27)));
        QCOMPARE(second.mid(4 + 32, 31 * 32), QByteArray(31 * 32, char(0xFF)));
    }

    void newerRecordPage()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "3", "--records", "6", "--points", "4"}));
        const QByteArray entryPage = sim.exchange(hex(kNewerPage320));
        const QByteArray r = sim.exchange(hex(kNewerRecord1));
        QCOMPARE(r.size(), 1030);
        QVERIFY(crcZero(r));
        // Slot offsets: header block 4..51 with its CRC, points from 52.
        QVERIFY(crcZero(r.mid(4, 48)));
        for (int k = 0; k < 10; ++k)
            QCOMPARE(crcZero(r.mid(52 + 96 * k, 96)), k < 4);
        // Meter type and serial as in content entry 1; the date fields.
        QCOMPARE(r.mid(4, 20), entryPage.mid(4, 20));
        QCOMPARE(r.mid(40, 8), entryPage.mid(4 + 20, 8));
        QCOMPARE(byteAt(r, 38), int(1)); // scheme
        QCOMPARE(byteAt(r, 39), int(0)); // power type
        // Phase A voltage of point 1 in 16.16, about 220 V; its range codes
        // name an installed current range (0..5) and voltage range (0..2).
        const QByteArray point = r.mid(52, 96);
        const double u = fixedValue(point, 8, false);
        QVERIFY2(u > 215 && u < 225, qPrintable(QString::number(u)));
        QVERIFY(byteAt(point, 92) <= 5);
        QVERIFY(byteAt(point, 93) <= 2);
        const QByteArray r5 = sim.exchange(hex(kNewerRecord5));
        QCOMPARE(r5.size(), 1030);
        QVERIFY(crcZero(r5.mid(4, 48)));
        QCOMPARE(byteAt(r5, 39), int(4)); // fifth power type of the first meter
    }

    void singlePhaseNewerRecords()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "6", "--records", "5", "--points", "2"}));
        for (int k = 1; k <= 5; ++k) {
            const QByteArray r = sim.exchange(requestFrame(0x0D, {0, 350 + 2 * k, 2}));
            QCOMPARE(r.size(), 1030);
            const int w = u16(r, 38);
            QCOMPARE(w & 7, 4); // single-phase scheme
            QVERIFY(((w >> 3) & 7) <= 4); // power type
            QCOMPARE((w >> 6) & 7, (k - 1) % 5); // multiplier code cycles
            QVERIFY(((w >> 3) & 7) != 2);
            // Point 1: U in 12.20 about 220 V; S total in 28.20 is U x I.
            const QByteArray point = r.mid(52, 96);
            const double uA = fixedValue(point, 8, true);
            QVERIFY(uA > 215 && uA < 225);
            const bool clamp = byteAt(point, 92) >= 32;
            const double iA = fixedValue(point, 0, !clamp);
            const quint32 w1 = u16(point, 58), w2 = u16(point, 60), w3 = u16(point, 62);
            const double s = ((w1 << 16 | w2) >> 4) + (((w2 & 0xF) << 16) | w3) / 1048576.0;
            QVERIFY2(std::fabs(s - uA * iA) < 0.01, qPrintable(QStringLiteral("%1 vs %2").arg(s).arg(uA * iA)));
        }
    }

    void olderRecordPage()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "1", "--records", "3", "--points", "3"}));
        const QByteArray r = sim.exchange(hex(kOlderRecord1));
        QCOMPARE(r.size(), 1030);
        QVERIFY(crcZero(r));
        QCOMPARE(byteAt(r, 38), int(4)); // single-phase
        QCOMPARE(u16(r, 42), 3); // point count
        QCOMPARE(u16(r, 44), 0x2024); // BCD year at the stored position
        QCOMPARE(byteAt(r, 46), int(0x27));
        QCOMPARE(byteAt(r, 47), int(0x02));
        for (int k = 0; k < 3; ++k) {
            const QByteArray point = r.mid(52 + 96 * k, 96);
            const double u = fixedValue(point, 8, true);
            QVERIFY(u > 215 && u < 225);
            QVERIFY(byteAt(point, 94) < 9); // class 1 current ranges
            QVERIFY(byteAt(point, 95) < 3); // class 1 voltage ranges
        }
    }

    void scenarioIsDeterministic()
    {
        QByteArray first;
        for (int run = 0; run < 2; ++run) {
            SimProcess sim;
            QVERIFY(sim.start({"--model-class", "5", "--records", "9"}));
            QByteArray all;
            for (int k = 1; k <= 9; ++k)
                all += sim.exchange(requestFrame(0x0D, {0, 350 + 2 * k, 2}));
            QCOMPARE(all.size(), 9 * 1030);
            if (run == 0)
                first = all;
            else
                QCOMPARE(all, first);
        }
    }

    void powerTypesOption()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "3", "--records", "4", "--power-types", "3,1"}));
        const QByteArray page = sim.exchange(hex(kNewerPage320));
        QCOMPARE(byteAt(page, 4 + 29), int(3));
        QCOMPARE(byteAt(page, 4 + 32 + 29), int(1));
        QCOMPARE(byteAt(page, 4 + 64 + 29), int(3));
        // A new meter starts with the third entry.
        QVERIFY(page.mid(4 + 16, 4) != page.mid(4 + 64 + 16, 4));
    }

    void newerMeterDatabaseWriteAndReadBack()
    {
        QTemporaryDir dir;
        const QString dbFile = dir.filePath("db.bin");
        QByteArray block = testImage(510);
        block = withCrc(block);
        {
            SimProcess sim;
            QVERIFY(sim.start({"--model-class", "5", "--db-file", dbFile}));
            // A fresh instrument holds ten meters in a block with a valid CRC.
            const QByteArray fresh = sim.exchange(hex(kNewerDatabase));
            QCOMPARE(fresh.size(), 518);
            QVERIFY(crcZero(fresh.mid(4, 512)));
            QCOMPARE(typeText(fresh.mid(4, 16)), QString::fromUtf8("ЦЭ6803В-М     "));

            QCOMPARE(sim.exchange(requestFrame(0x0E, {896, 256}, block)), hex(kWriteAccepted));
            QCOMPARE(sim.exchange(requestFrame(0x08, {14, 1472, 256}, block)), hex(kWriteAccepted));
            QCOMPARE(sim.exchange(hex(kNewerDatabase)).mid(4, 512), block);
            // A block whose own CRC is wrong is refused with status 0xFF and
            // changes nothing; so is the older target.
            QByteArray damaged = block;
            damaged[5] = char(damaged[5] ^ 0x10);
            QCOMPARE(sim.exchange(requestFrame(0x0E, {896, 256}, damaged)), hex("02 FF 00 00 22 0B"));
            QCOMPARE(sim.exchange(requestFrame(0x08, {14, 28672, 256}, block)), hex("02 01 00 00 DA 58"));
            QCOMPARE(sim.exchange(hex(kNewerDatabase)).mid(4, 512), block);
            QVERIFY(sim.stop());
        }
        SimProcess again;
        QVERIFY(again.start({"--model-class", "5", "--db-file", dbFile}));
        QCOMPARE(again.exchange(hex(kNewerDatabase)).mid(4, 512), block);
    }

    void olderMeterDatabaseWriteAndReadBack()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "0"}));
        const QByteArray page = testImage(1024);
        QCOMPARE(sim.exchange(requestFrame(0x0A, {0, 8177, 1}, page)), hex(kWriteAccepted));
        const QByteArray block = withCrc(page.left(510));
        QCOMPARE(sim.exchange(requestFrame(0x08, {14, 28672, 256}, block)), hex(kWriteAccepted));
        const QByteArray read = sim.exchange(hex(kOlderDatabase));
        QCOMPARE(read.size(), 1030);
        QCOMPARE(read.mid(4, 510), page.left(510));
        QCOMPARE(read.mid(4 + 512, 512), page.mid(512));
    }
};

QTEST_GUILESS_MAIN(TestSimProtocol)
#include "tst_simprotocol.moc"
