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

QByteArray resealed23(QByteArray block)
{
    seal23(block);
    return block;
}

} // namespace

class TestMeterFileUnreadable : public QObject {
    Q_OBJECT
private slots:
    void causes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = type0Block();
        const QByteArray header = fileHeader("1");

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header only") << header;
        QTest::newRow("short header") << header.left(40);
        QByteArray badHeader = header;
        badHeader[66] = char(badHeader[66] ^ 1);
        // First byte 24 with a wrong checksum is not taken as headerless.
        QTest::newRow("header checksum") << badHeader + good;
        QByteArray badText = header;
        badText[5] = 'Z';
        QTest::newRow("header text changed") << badText + good;
        QTest::newRow("record header short") << header + good + good.left(51);
        QTest::newRow("one stray byte") << header + good + QByteArray(1, '\0');
        Header h;
        h.n = 0;
        QTest::newRow("no points") << header + resealed23(block23(h));
        h = Header();
        h.version = 24;
        QTest::newRow("version above 23") << header + resealed23(block23(h));
        QTest::newRow("block short") << header + good.left(1133);
        QByteArray flipped = good;
        flipped[600] = char(flipped[600] ^ 0x10);
        QTest::newRow("block checksum") << header + flipped;
        QTest::newRow("damaged second block") << header + good + flipped;
        h = Header();
        h.type = 4;
        QTest::newRow("instrument type 4") << header + resealed23(block23(h));
        h.type = 7;
        QTest::newRow("instrument type 7") << header + resealed23(block23(h));
        h.type = 5;
        h.version = 21;
        QByteArray old = blockOld(h);
        sealOld(old);
        QTest::newRow("type 5 below version 22") << header + old;
        h = Header();
        h.month = 0x13;
        QTest::newRow("month 13") << header + resealed23(block23(h));
        h = Header();
        h.day = 0x00;
        QTest::newRow("day 0") << header + resealed23(block23(h));
        h = Header();
        h.bcdYear = 0x2009;
        h.month = 0x02;
        h.day = 0x30;
        QTest::newRow("february 30") << header + resealed23(block23(h));
        h = Header();
        h.hour = 0x24;
        QTest::newRow("hour 24") << header + resealed23(block23(h));
        h = Header();
        h.minute = 0x60;
        QTest::newRow("minute 60") << header + resealed23(block23(h));
        QByteArray extension;
        const QByteArray eleven = type3Block11(&extension);
        QTest::newRow("extension missing") << header + eleven;
        QTest::newRow("extension short") << header + eleven + extension.left(109);
        QByteArray badExtension = extension;
        badExtension[3] = char(badExtension[3] ^ 1);
        QTest::newRow("extension checksum") << header + eleven + badExtension;
        // A version-22 block is shorter: read as version 23 it is short.
        QByteArray v22 = type2Block22();
        v22[0] = 23;
        QTest::newRow("version 22 block marked 23") << header + v22;
        QTest::newRow("headerless damaged") << flipped;
    }

    void causes()
    {
        QFETCH(QByteArray, bytes);
        const MeterFileReadResult r = parse(bytes);
        QVERIFY(!r.readable);
        QVERIFY(r.meter.verifications.isEmpty());
        QCOMPARE(r.bytesConsumed, qint64(0));
    }

    void unreadableFileIsLeftAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.pcn"));
        QVERIFY(!ReadMeterFile(path).readable); // missing
        QByteArray damaged = type0Block();
        damaged[100] = char(damaged[100] ^ 1);
        QVERIFY(testsupport::writeAll(path, damaged));
        QVERIFY(!ReadMeterFile(path).readable);
        QCOMPARE(testsupport::readAll(path), damaged);
        QVERIFY(!ReadMeterFile(dir.path()).readable); // a folder
    }

    void headerlessVersion22IsUpgraded()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.pcn"));
        const QByteArray old = type2Block22(987654) + type2Block22(111);
        QVERIFY(testsupport::writeAll(path, old));

        const MeterFileReadResult r = ReadMeterFile(path);
        QVERIFY(r.readable);
        QVERIFY(r.headerless);
        QVERIFY(r.upgraded);
        QCOMPARE(r.meter.fileName, QStringLiteral("old.pcn"));
        QCOMPARE(r.bytesConsumed, qint64(2 * 246));
        QCOMPARE(testsupport::rangeI(r.meter.verifications[0], 0), QStringLiteral("0.05"));

        // Header with the first serial in decimal, then the old bytes as they were.
        const QByteArray expectedHeader = fileHeader("987654");
        QCOMPARE(testsupport::readAll(path), expectedHeader + old);
        QVERIFY(!(QFile::permissions(path) & QFileDevice::WriteOwner)); // read-only
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.pcn")});

        // Read again: it has its header now and stays in version 22.
        const MeterFileReadResult again = ReadMeterFile(path);
        QVERIFY(again.readable);
        QVERIFY(!again.headerless);
        QVERIFY(!again.upgraded);
        QCOMPARE(again.meter.verifications.size(), 2);
        QCOMPARE(again.meter.verifications[1].serialText, QStringLiteral("987654"));
        QCOMPARE(testsupport::readAll(path).at(67), char(22));

        // A later write converts it to version 23.
        QVERIFY(WriteMeterFile(path, again.meter));
        const QByteArray rewritten = testsupport::readAll(path);
        QCOMPARE(rewritten.size(), 67 + 2 * 1134);
        QCOMPARE(rewritten.at(67), char(23));
        QCOMPARE(rewritten.at(67 + 1134), char(23));
        const MeterFileReadResult v23 = ReadMeterFile(path);
        QVERIFY(v23.readable);
        QCOMPARE(v23.meter.verifications[0].points[0].range, again.meter.verifications[0].points[0].range);
        QCOMPARE(testsupport::rangeI(v23.meter.verifications[0], 0), QStringLiteral("0.05"));
        QCOMPARE(v23.meter.verifications[0].points[1].I[0], 2.5);
    }

    void failedUpgradeKeepsTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.pcn"));
        const QByteArray old = type0Block();
        QVERIFY(testsupport::writeAll(path, old));
        {
            platform::WriteFaultScope fault([](const QString &, qint64 written) { return written > 0; });
            const MeterFileReadResult r = ReadMeterFile(path);
            QVERIFY(r.readable); // the content is offered all the same
            QVERIFY(r.headerless);
            QVERIFY(!r.upgraded);
        }
        QCOMPARE(testsupport::readAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.pcn")});
    }
};

QTEST_GUILESS_MAIN(TestMeterFileUnreadable)
#include "tst_meterfileunreadable.moc"
