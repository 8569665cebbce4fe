// The instrument emulator's injected faults, its handling of damaged
// requests, its command line and the archive built from stored files.
#include "simclient.h"

#include "records/meterfile.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace simtest;
using testsupport::hex;
using testsupport::runEmulatorToEnd;

namespace {} // namespace

class TestSimFaults : public QObject {
    Q_OBJECT

private slots:
    void commandLine()
    {
        QByteArray out;
        QCOMPARE(runEmulatorToEnd({"--help"}, &out), 0);
        QVERIFY(out.contains("--fault KIND[:ARG]"));
        QVERIFY(out.contains("bad-point-block"));
        QCOMPARE(runEmulatorToEnd({"--model-class", "4"}, &out), 2);
        QCOMPARE(runEmulatorToEnd({"--generation", "older", "--model-class", "5"}, &out), 2);
        QVERIFY(out.contains("newer generation"));
        QCOMPARE(runEmulatorToEnd({"--fault", "melt:3"}, &out), 2);
        QVERIFY(out.contains("unknown fault kind"));
        QCOMPARE(runEmulatorToEnd({"--fault", "no-answer:0"}), 2);
        QCOMPARE(runEmulatorToEnd({"--points", "11"}), 2);
        QCOMPARE(runEmulatorToEnd({"--model-class", "1", "--records", "201"}), 2);
        QCOMPARE(runEmulatorToEnd({"--bogus"}), 2);
    }

    void generationAloneChoosesItsThreePhaseModel()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--generation", "older"}));
        // An older instrument refuses the newer identify.
        QCOMPARE(byteAt(sim.exchange(hex(kNewerIdentify)), 1), int(0x01));
        const QByteArray a = sim.exchange(requestFrame(0x0B, {0, 8163, 1}));
        QVERIFY(typeText(a.mid(4, 16)).contains("Q-Q"));
        QVERIFY(sim.stop());
    }

    void emptyArchive()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "6", "--records", "0"}));
        const QByteArray id = sim.exchange(hex(kNewerIdentify));
        QCOMPARE(id.size(), 518);
        QCOMPARE(u16(id, 4 + 378), 0);
        QCOMPARE(sim.exchange(hex(kNewerPage320)).mid(4, 512), QByteArray(512, char(0xFF)));
    }

    void damagedRequestsAndNoise()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "3"}));
        // A request whose CRC is wrong gets status 0xFF.
        QByteArray bad = hex(kNewerIdentify);
        bad[9] = char(bad[9] ^ 1);
        QCOMPARE(sim.exchange(bad), hex(kStatusFF));
        // Noise and an impossible length before a request are skipped.
        const QByteArray noise = hex("00 FF 13 02 0F FF FF 41");
        const QByteArray a = sim.exchange(noise + hex(kNewerIdentify));
        QCOMPARE(a.size(), 518);
        QVERIFY(crcZero(a));
        // An unknown command and unexpected arguments are not carried out.
        QCOMPARE(sim.exchange(requestFrame(0x33, {1})), hex("02 01 00 00 DA 58"));
        QCOMPARE(sim.exchange(requestFrame(0x0D, {0, 320, 3})), hex("02 01 00 00 DA 58"));
        QVERIFY(sim.stop());
    }

    void noAnswer()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "3", "--fault", "no-answer:2"}));
        QCOMPARE(sim.exchange(hex(kNewerIdentify)).size(), 518);
        sim.send(hex(kNewerIdentify));
        QCOMPARE(sim.readFor(600), QByteArray());
        QCOMPARE(sim.exchange(hex(kNewerIdentify)).size(), 518);
    }

    void breakAfter()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "3", "--fault", "break-after:1", "--fault", "break-after:300:3"}));
        sim.send(hex(kNewerIdentify));
        QCOMPARE(sim.readFor(600), hex("02"));
        QCOMPARE(sim.exchange(hex(kNewerIdentify)).size(), 518);
        sim.send(hex(kNewerIdentify));
        const QByteArray cut = sim.readFor(600);
        QCOMPARE(cut.size(), 300);
        QCOMPARE(cut.left(4), hex("02 00 00 02"));
    }

    void statusFF()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "0", "--fault", "status-ff:2"}));
        QCOMPARE(sim.exchange(requestFrame(0x0B, {0, 8163, 1})).size(), 1030);
        QCOMPARE(sim.exchange(requestFrame(0x0B, {0, 8163, 1})), hex(kStatusFF));
    }

    void badCrc()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "5", "--fault", "bad-crc:1"}));
        QByteArray a = sim.exchange(hex(kNewerIdentify));
        QCOMPARE(a.size(), 518);
        QVERIFY(!crcZero(a));
        a[517] = char(a[517] ^ 0xFF); // only the last CRC byte was inverted
        QVERIFY(crcZero(a));
        QVERIFY(crcZero(sim.exchange(hex(kNewerIdentify))));
    }

    void badContentEntry()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "3", "--records", "5", "--fault", "bad-content-entry:2"}));
        const QByteArray page = sim.exchange(hex(kNewerPage320));
        QVERIFY(crcZero(page));
        QVERIFY(crcZero(page.mid(4, 32)));
        QVERIFY(!crcZero(page.mid(4 + 32, 32)));
        QVERIFY(crcZero(page.mid(4 + 64, 32)));
        // The record itself is intact.
        const QByteArray record = sim.exchange(requestFrame(0x0D, {0, 354, 2}));
        QVERIFY(crcZero(record.mid(4, 48)));
    }

    void badDate()
    {
        {
            SimProcess sim;
            QVERIFY(sim.start({"--model-class", "6", "--records", "5", "--fault", "bad-date:3"}));
            const QByteArray page = sim.exchange(hex(kNewerPage320));
            const QByteArray entry = page.mid(4 + 64, 32);
            QCOMPARE(byteAt(entry, 23), int(0x13));
            QVERIFY(crcZero(entry)); // only the date is wrong
            QCOMPARE(byteAt(page, 4 + 23), int(0x02));
        }
        SimProcess older;
        QVERIFY(older.start({"--model-class", "2", "--records", "5", "--fault", "bad-date:1"}));
        const QByteArray page = older.exchange(hex(kOlderPage224));
        QCOMPARE(byteAt(page, 4 + 27), int(0x13));
        QCOMPARE(byteAt(page, 4 + 32 + 27), int(0x02));
    }

    void badPointBlock()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "3", "--records", "2", "--points", "6", "--fault", "bad-point-block:1:4"}));
        const QByteArray r = sim.exchange(hex(kNewerRecord1));
        QCOMPARE(r.size(), 1030);
        QVERIFY(crcZero(r)); // the frame is sound; the block inside is not
        for (int k = 0; k < 6; ++k)
            QCOMPARE(crcZero(r.mid(52 + 96 * k, 96)), k != 3);
        const QByteArray r2 = sim.exchange(requestFrame(0x0D, {0, 354, 2}));
        QVERIFY(crcZero(r2.mid(52 + 96 * 3, 96)));

        SimProcess older;
        QVERIFY(
            older.start({"--model-class", "0", "--records", "2", "--points", "3", "--fault", "bad-point-block:1:2"}));
        const QByteArray o = older.exchange(hex(kOlderRecord1));
        QCOMPARE(byteAt(o, 52 + 96 + 94), int(0xFF));
        QCOMPARE(byteAt(o, 52 + 96 + 95), int(0xFF));
        QVERIFY(byteAt(o, 52 + 94) < 4);
    }

    void slowAndPacedAnswersArriveWhole()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "3", "--fault", "slow:200", "--baud", "19200"}));
        const QByteArray a = sim.exchange(hex(kNewerRecord1), 5000);
        QCOMPARE(a.size(), 1030);
        QVERIFY(crcZero(a));
        QVERIFY(sim.stop());
    }

    void archiveFromStoredFiles()
    {
        QTemporaryDir dir;
        pcn::_totalblockdata meter;
        meter.instrument.type = 3;
        meter.instrument.serial = 77;
        pcn::_blockdata v;
        v.meterType = QStringLiteral("FOLDER-METER");
        v.serial = 4242;
        v.serialText = QStringLiteral("4242");
        v.accuracyClass = 0.5;
        v.constant = 1000;
        v.year = 2020;
        v.scheme = 1;
        v.uLineNom = 100;
        v.uPhaseNom = 57.7;
        v.iNom = 5;
        v.powerType = 3;
        v.date = QDate(2023, 11, 5);
        v.time = QTime(14, 2, 9);
        v.bcdYear = 0x2023;
        v.bcdMonth = 0x11;
        v.bcdDay = 0x05;
        v.bcdHour = 0x14;
        v.bcdMinute = 0x02;
        v.bcdSecond = 0x09;
        for (int k = 0; k < 12; ++k) {
            pcn::_datasample pt;
            pt.U = {57.7, 57.7, 57.7};
            pt.I = {1.0 + k, 1.0 + k, 1.0 + k};
            pt.cosPhi = {1, 1, 1};
            pt.range = {40, 0, 1, 240, 0, 0}; // 10 A through a transformer, 240 V
            v.points.append(pt);
        }
        meter.verifications.append(v);
        QVERIFY(QDir(dir.path()).mkpath("sub"));
        QVERIFY(WriteMeterFile(dir.filePath("sub/meter.pcn"), meter));

        SimProcess sim;
        QVERIFY(sim.start({"--model-class", "3", "--from-folder", dir.path()}));
        const QByteArray id = sim.exchange(hex(kNewerIdentify));
        QCOMPARE(u16(id, 4 + 274), 1);
        const QByteArray page = sim.exchange(hex(kNewerPage320));
        const QByteArray entry = page.mid(4, 32);
        QVERIFY(crcZero(entry));
        QCOMPARE(typeText(entry.left(16)), QStringLiteral("FOLDER-METER  "));
        QCOMPARE(u16(entry, 18), 4242);
        QCOMPARE(u16(entry, 20), 0x2023);
        QCOMPARE(byteAt(entry, 23), int(0x11));
        QCOMPARE(byteAt(entry, 29), int(3));
        const QByteArray r = sim.exchange(hex(kNewerRecord1));
        // Twelve stored points: the instrument's record holds ten.
        for (int k = 0; k < 10; ++k)
            QVERIFY(crcZero(r.mid(52 + 96 * k, 96)));
        // The stored range (10 A transformer) maps to the instrument's code 1;
        // 240 V to voltage code 0.
        QCOMPARE(byteAt(r, 52 + 92), int(1));
        QCOMPARE(byteAt(r, 52 + 93), int(0));

        QByteArray out;
        QTemporaryDir empty;
        QCOMPARE(runEmulatorToEnd({"--from-folder", empty.path()}, &out), 2);
        QVERIFY(out.contains("no readable .pcn file"));
    }
};

QTEST_GUILESS_MAIN(TestSimFaults)
#include "tst_simfaults.moc"
