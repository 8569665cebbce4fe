#include "records/meterfile.h"
#include "samplerecords.h"
#include "base/platform.h"
#include "pcnsamples.h"
#include "testdir.h"

#include <QtTest>

using namespace pcnsamples;

namespace {

MeterFileReadResult parse(const QByteArray &bytes)
{
    return parseMeterFile(bytes);
}

bool isWritable(const QString &path)
{
    return QFile::permissions(path) & QFileDevice::WriteOwner;
}

// The verification of type0Block, built in memory field by field.
pcn::_totalblockdata handMadeMeter()
{
    pcn::_blockdata v;
    v.meterType = QStringLiteral("CE301");
    v.serial = 123456789;
    v.serialText = QStringLiteral("SN 42");
    v.accuracyClass = 1.0;
    v.constant = 1600;
    v.year = 2008;
    v.scheme = 1;
    v.uLineNom = 380;
    v.uPhaseNom = 220;
    v.iNom = 5;
    v.powerType = 0;
    v.bcdYear = 0x2009;
    v.bcdMonth = 0x03;
    v.bcdDay = 0x15;
    v.bcdHour = 0x09;
    v.bcdMinute = 0x05;
    v.bcdSecond = 0x07;
    v.i1 = 100;
    v.i2 = 5;
    pcn::_datasample p;
    p.I = {5.5, 1, 0};
    p.U = {220.25, 230, 0};
    p.Uline = {381, 0, 0};
    p.cosPhi = {0.5, -0.5, 0};
    p.Q = {1049.08, -199.19, 0};
    p.Ptotal = 1000.5;
    p.Stotal = 2001;
    p.QcrossTotal = -1.5;
    p.QshiftTotal = 10.25;
    p.QgeomTotal = 70000;
    p.errorPercent = -50;
    p.extraValue = -2.5;
    p.range = {40, 0, 2, 250, 0, 0};
    v.points = {p};
    pcn::_totalblockdata meter;
    meter.verifications = {v};
    meter.instrument.type = 0;
    meter.instrument.serial = 0x1234;
    return meter;
}

// type0Block as the writer must produce it: range codes written as 0.
QByteArray type0BlockAsWritten()
{
    QByteArray b = type0Block();
    b[point23(0) + 94] = 0;
    b[point23(0) + 95] = 0;
    seal23(b);
    return b;
}

} // namespace

class TestMeterFileWrite : public QObject {
    Q_OBJECT
private slots:
    void exactBytesFromMemory()
    {
        const QByteArray bytes = encodeMeterFile(handMadeMeter());
        QCOMPARE(bytes.size(), 1201);
        QCOMPARE(bytes, fileHeader("SN 42") + type0BlockAsWritten());
    }

    void reactiveSignFollowsQ()
    {
        // Phase B has cos phi -0.5 and a negative Q: its sign word is written
        // set, so that reading it back gives the same Q and character.
        const QByteArray bytes = encodeMeterFile(handMadeMeter());
        QCOMPARE(bytes.mid(67 + 52 + 16 + 4, 2), QByteArray("\xFF\xFF", 2));
        QCOMPARE(bytes.mid(67 + 52 + 4, 2), QByteArray(2, '\0'));
        const MeterFileReadResult r = parse(bytes);
        QVERIFY(r.readable);
        QVERIFY(r.meter.verifications[0].points[0].Q[1] < 0);
        QCOMPARE(r.meter.verifications[0].points[0].pfChar[1], 'L');
    }

    void readWriteKeepsTheBytes_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("type 0") << fileHeader("SN 42") + type0Block() << fileHeader("SN 42") + type0BlockAsWritten();
        QTest::newRow("type 1") << fileHeader("1") + type1Block() << fileHeader("1") + type1Block();
        QByteArray extension;
        const QByteArray eleven = fileHeader("3") + type3Block11(&extension) + extension;
        QTest::newRow("type 3, 11 points") << eleven << eleven;
        // Word 38 of types 5 and 6 keeps scheme and power type only.
        Header h;
        QByteArray five = type5Block();
        five[38] = char(0x1C);
        five[39] = 0;
        seal23(five);
        QTest::newRow("type 5") << fileHeader("5") + type5Block() << fileHeader("5") + five;
        QTest::newRow("type 6") << fileHeader("6") + type6Block() << fileHeader("6") + type6Block();
        // Blocks of two instrument types: each keeps its own type and encoding.
        QTest::newRow("types 0 and 6") << fileHeader("SN 42") + type0Block() + type6Block()
                                       << fileHeader("SN 42") + type0BlockAsWritten() + type6Block();
        // A designation ended by a zero byte before its 14th character
        // ("CE301 ", then 0) keeps its bytes.
        Header early;
        early.meterType = QByteArray::fromHex("45433033203120002020202020200000");
        QByteArray earlyWritten = type0Block(early);
        earlyWritten[point23(0) + 94] = earlyWritten[point23(0) + 95] = 0;
        seal23(earlyWritten);
        QTest::newRow("early zero byte") << fileHeader("8") + type0Block(early) << fileHeader("8") + earlyWritten;
        // Byte 49 is written as 0.
        h.reserved = 0x77;
        QTest::newRow("reserved byte") << fileHeader("7") + type0Block(h) << fileHeader("7") + type0BlockAsWritten();
    }

    void readWriteKeepsTheBytes()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, expected);
        const MeterFileReadResult r = parse(stored);
        QVERIFY(r.readable);
        QCOMPARE(encodeMeterFile(r.meter), expected);
    }

    void oldVersionsBecomeVersion23()
    {
        // Version 22, two points, written as one 1134-byte block with its
        // computed range table.
        const MeterFileReadResult r = parse(fileHeader("1") + type2Block22());
        QVERIFY(r.readable);
        const QByteArray bytes = encodeMeterFile(r.meter);
        QCOMPARE(bytes.size(), 1201);
        const auto *b = reinterpret_cast<const std::uint8_t *>(bytes.constData()) + 67;
        QCOMPARE(int(b[0]), 23);
        // Range entry 0: 0.05 A (3277), 60 V; the range codes are 0.
        QCOMPARE(bytes.mid(67 + 1012, 12), testsupport::hex("00 00 CD 0C 00 00 3C 00 00 00 00 00"));
        QCOMPARE(int(b[52 + 94]), 0);
        QCOMPARE(int(b[52 + 95]), 0);
        const MeterFileReadResult back = parse(bytes);
        QVERIFY(back.readable);
        QCOMPARE(testsupport::rangeI(back.meter.verifications[0], 0), QStringLiteral("0.05"));
        QCOMPARE(back.meter.verifications[0].points[1].I[0], 2.5);
        QCOMPARE(back.meter.verifications[0].points[0].U[0], 230.5);
    }

    void sizesAndExtensionBlocks()
    {
        pcn::_totalblockdata meter = handMadeMeter();
        meter.verifications[0].points.resize(12, pcn::_datasample(meter.verifications[0].points[0]));
        QByteArray bytes = encodeMeterFile(meter);
        QCOMPARE(bytes.size(), 1421);
        QCOMPARE(int(std::uint8_t(bytes[67 + 42])), 12); // full number of points
        meter.verifications[0].points.resize(10);
        QCOMPARE(encodeMeterFile(meter).size(), 1201);
        meter.verifications[0].points.resize(11, pcn::_datasample(meter.verifications[0].points[0]));
        bytes = encodeMeterFile(meter);
        QCOMPARE(bytes.size(), 1311);
        // The extension block: point, range entry, checksum of those 108 bytes.
        const QByteArray ext = bytes.mid(1201);
        QVERIFY(IsBlockValid(ext));
        QCOMPARE(ext.mid(96, 12), testsupport::hex("28 00 00 00 02 00 FA 00 00 00 00 00"));
        QCOMPARE(ext.left(96), bytes.mid(67 + 52, 96));
        const MeterFileReadResult r = parse(bytes);
        QVERIFY(r.readable);
        QCOMPARE(r.meter.verifications[0].points.size(), 11);
        QCOMPARE(testsupport::rangeI(r.meter.verifications[0], 10), QStringLiteral("10 C"));
        // Two verifications follow each other.
        meter.verifications.append(meter.verifications[0]);
        QCOMPARE(encodeMeterFile(meter).size(), 67 + 2 * 1244);
    }

    void nominalValuesAreRounded()
    {
        Header h;
        h.iNom10 = 7; // 0.7 A
        h.class100 = 29; // 0.29
        h.uLine10 = 1; // 0.1 V
        h.uPhase10 = 577; // 57.7 V
        const MeterFileReadResult r = parse(fileHeader("1") + type0Block(h));
        QVERIFY(r.readable);
        const QByteArray bytes = encodeMeterFile(r.meter);
        const auto word = [&](int offset) {
            return int(std::uint8_t(bytes[67 + offset])) | int(std::uint8_t(bytes[67 + offset + 1])) << 8;
        };
        QCOMPARE(word(36), 7);
        QCOMPARE(word(26), 29);
        QCOMPARE(word(32), 1);
        QCOMPARE(word(34), 577);
        pcn::_totalblockdata big = handMadeMeter();
        big.verifications[0].iNom = 7000; // 70000 tenths: held at 65535
        QCOMPARE(encodeMeterFile(big).mid(67 + 36, 2), QByteArray("\xFF\xFF", 2));
    }

    void meterTypeAndSerialTextLimits()
    {
        pcn::_totalblockdata meter = handMadeMeter();
        meter.verifications[0].meterType = QStringLiteral("Ёлка/2");
        meter.verifications[0].serialText = QString(70, QLatin1Char('9'));
        const QByteArray bytes = encodeMeterFile(meter);
        QCOMPARE(bytes.mid(1, 64), QByteArray(64, '9'));
        const MeterFileReadResult r = parse(bytes);
        QVERIFY(r.readable);
        // Ё cannot be stored: it becomes "+"; the slash comes back as "+".
        QCOMPARE(r.meter.verifications[0].meterType, QStringLiteral("+лка+2        "));
        QCOMPARE(r.meter.verifications[0].serialText, QString(64, QLatin1Char('9')));
        // 16 characters can only come from a file whose bytes 14 and 15 held
        // letters: written back whole, where they were. Longer ones are cut.
        meter.verifications[0].meterType = QStringLiteral("ABCDEFGHIJKLMNOP");
        QCOMPARE(parse(encodeMeterFile(meter)).meter.verifications[0].meterType, QStringLiteral("ABCDEFGHIJKLMNOP"));
        meter.verifications[0].meterType = QStringLiteral("ABCDEFGHIJKLMNOPQ");
        QCOMPARE(parse(encodeMeterFile(meter)).meter.verifications[0].meterType, QStringLiteral("ABCDEFGHIJKLMN"));
    }

    void refusesWhatCannotBeRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.pcn"));
        pcn::_totalblockdata empty;
        QVERIFY(encodeMeterFile(empty).isEmpty());
        QVERIFY(!WriteMeterFile(path, empty));
        pcn::_totalblockdata noPoints = handMadeMeter();
        noPoints.verifications[0].points.clear();
        QVERIFY(!WriteMeterFile(path, noPoints));
        pcn::_totalblockdata badType = handMadeMeter();
        badType.instrument.type = 4;
        QVERIFY(!WriteMeterFile(path, badType));
        QVERIFY(!QFile::exists(path));
    }

    void writesReadOnlyAndReplaces()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("m.pcn"));
        QVERIFY(WriteMeterFile(path, handMadeMeter()));
        QVERIFY(!isWritable(path));
        QCOMPARE(testsupport::readAll(path), fileHeader("SN 42") + type0BlockAsWritten());
        // A read-only file is replaced by the next write.
        pcn::_totalblockdata changed = handMadeMeter();
        changed.verifications[0].constant = 3200;
        QVERIFY(WriteMeterFile(path, changed));
        QVERIFY(!isWritable(path));
        const MeterFileReadResult r = ReadMeterFile(path);
        QVERIFY(r.readable);
        QCOMPARE(r.meter.verifications[0].constant, 3200u);
        QCOMPARE(r.meter.fileName, QStringLiteral("m.pcn"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void failedWriteKeepsThePreviousFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("m.pcn"));
        QVERIFY(WriteMeterFile(path, handMadeMeter()));
        const QByteArray before = testsupport::readAll(path);
        pcn::_totalblockdata bigger = handMadeMeter();
        bigger.verifications[0].points.resize(40, pcn::_datasample(bigger.verifications[0].points[0]));
        // Failures before the first byte, inside the first chunk, at a chunk
        // boundary and after every byte was written but before the rename.
        for (const qint64 failAt : {qint64(0), qint64(1000), qint64(4096), qint64(67 + 1134 + 30 * 110)}) {
            platform::WriteFaultScope fault([failAt](const QString &, qint64 written) { return written >= failAt; });
            QVERIFY(!WriteMeterFile(path, bigger));
            if (failAt <= 1201)
                QVERIFY(!WriteRecordFile(path, fileHeader("2"), type1Block()));
        }
        QCOMPARE(testsupport::readAll(path), before);
        QVERIFY(!isWritable(path));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("m.pcn")});
    }

    void recordFileIsWrittenAsGiven()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.pcn"));
        const QByteArray header = fileHeader("123456789");
        const QByteArray block = type0Block();
        QVERIFY(WriteRecordFile(path, header, block));
        QCOMPARE(testsupport::readAll(path), header + block);
        QVERIFY(!isWritable(path));
        QVERIFY(WriteRecordFile(path, header, type1Block())); // over the read-only file
        QCOMPARE(testsupport::readAll(path), header + type1Block());
        const MeterFileReadResult r = ReadMeterFile(path);
        QVERIFY(r.readable);
        QCOMPARE(r.meter.verifications[0].serialText, QStringLiteral("123456789"));
    }

    void roundTripKeepsValues()
    {
        QByteArray extension;
        const QByteArray files[] = {
            fileHeader("a") + type0Block() + type0Block(Header{.version = 23, .type = 0, .instrumentSerial = 9}),
            fileHeader("a") + type1Block(),
            fileHeader("b") + type3Block11(&extension) + extension,
            fileHeader("c") + type5Block(),
            fileHeader("d") + type6Block(),
            type2Block22(),
        };
        for (const QByteArray &file : files) {
            const MeterFileReadResult first = parse(file);
            QVERIFY(first.readable);
            const MeterFileReadResult second = parse(encodeMeterFile(first.meter));
            QVERIFY(second.readable);
            QCOMPARE(second.meter.verifications.size(), first.meter.verifications.size());
            for (qsizetype k = 0; k < first.meter.verifications.size(); ++k) {
                const pcn::_blockdata &a = first.meter.verifications[k];
                const pcn::_blockdata &b = second.meter.verifications[k];
                QCOMPARE(b.meterType, a.meterType);
                QCOMPARE(b.serialText, a.serialText);
                QCOMPARE(b.date, a.date);
                QCOMPARE(b.time, a.time);
                QCOMPARE(b.iNom, a.iNom);
                QCOMPARE(b.points.size(), a.points.size());
                for (qsizetype i = 0; i < a.points.size(); ++i) {
                    QCOMPARE(b.points[i].U, a.points[i].U);
                    QCOMPARE(b.points[i].I, a.points[i].I);
                    QCOMPARE(b.points[i].Q, a.points[i].Q);
                    QCOMPARE(b.points[i].Ptotal, a.points[i].Ptotal);
                    QCOMPARE(b.points[i].errorPercent, a.points[i].errorPercent);
                    QCOMPARE(b.points[i].pfChar, a.points[i].pfChar);
                    QCOMPARE(testsupport::rangeI(b, i), testsupport::rangeI(a, i));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestMeterFileWrite)
#include "tst_meterfilewrite.moc"
