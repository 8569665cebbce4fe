// The storing loop of archive records: files named from the converted
// records in the current folder, skipped records, repeated readings, and
// damaged or random input that must never crash nor leave an unreadable
// file.
#include "tst_cnvslots.h"

#include "records/cnvrecord.h"
#include "records/recordstore.h"
#include "base/platform.h"
#include "testdir.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace cnvtest;

namespace {

DeviceInfo class0Info()
{
    DeviceInfo info;
    info.modelClass = 0;
    info.serialNumber = 5;
    info.rangeDigits = {0, 6, 2, 0};
    info.rangeCount = 3;
    return info;
}

Slot class0Record(int minuteBcd)
{
    Slot s = olderSlot(1, 0, 1);
    putPointFamilyA(s, 0);
    olderCodes(s, 0, 1, 0);
    s.byte(51, minuteBcd);
    return s;
}

QStringList pcnFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.pcn")}, QDir::Files, QDir::Name);
}

// Random instrument descriptions around the real ones, with counts and
// values the instrument could never send.
DeviceInfo randomInfo(QRandomGenerator &rng)
{
    static const int classes[] = {0, 1, 2, 3, 5, 6, 0, 1, 2, 3, 5, 6, 0, 3, 4, 7};
    DeviceInfo info;
    info.modelClass = std::uint8_t(classes[rng.bounded(16)]);
    info.rangeCount = rng.bounded(3) ? 4 : rng.bounded(-3, 40);
    for (auto &d : info.rangeDigits)
        d = std::uint16_t(rng.bounded(4) ? rng.bounded(10) : rng.bounded(12));
    if (rng.bounded(2)) {
        for (std::size_t k = 0; k < info.rangeCode.size(); ++k) {
            info.rangeCode[k] = std::uint16_t(rng.bounded(7));
            info.rangeHigh[k] = std::uint16_t(rng.bounded(65536));
            info.rangeLow[k] = std::uint16_t(rng.bounded(65536));
        }
    }
    for (double &v : info.rangeValue)
        v = rng.bounded(6) == 0 ? -rng.generateDouble() * 1e6 : rng.generateDouble() * 3000;
    for (double &v : info.auxValue)
        v = rng.bounded(6) == 0 ? 1e9 : rng.generateDouble() * 500;
    info.kind1Count = rng.bounded(3) ? 2 : rng.bounded(-2, 30);
    info.kind2Count = rng.bounded(3) ? 2 : rng.bounded(-2, 30);
    return info;
}

// A range code: mostly one the lists hold, sometimes any byte.
int randomCode(QRandomGenerator &rng, int usual)
{
    return rng.bounded(8) ? rng.bounded(usual) : rng.bounded(256);
}

// A plausible record for the class, then damaged at random places; newer
// records are sometimes resealed so that the damage reaches the converter.
QByteArray randomSlot(QRandomGenerator &rng, const DeviceInfo &info)
{
    Slot s;
    const bool newer = info.modelClass == 3 || info.modelClass == 5 || info.modelClass == 6;
    const int points = rng.bounded(0, 14);
    if (newer) {
        s = newerSlot(rng.bounded(8) | (rng.bounded(8) << 3) | (rng.bounded(4) << 6), rng.bounded(4),
                      std::min(points, 10));
        for (int k = 0; k < std::min(points, 10); ++k) {
            putPointFamilyA(s, k);
            newerCodes(s, k, randomCode(rng, 3) | (rng.bounded(4) << 5), randomCode(rng, 3));
        }
    } else {
        s = olderSlot(rng.bounded(8), rng.bounded(6), points);
        for (int k = 0; k < 10; ++k) {
            putPointFamilyB(s, k);
            olderCodes(s, k, randomCode(rng, 3), randomCode(rng, 3));
        }
    }
    const int damage = rng.bounded(2) ? 0 : rng.bounded(1, 6);
    for (int i = 0; i < damage; ++i)
        s.byte(rng.bounded(1030), rng.bounded(256));
    if (newer && rng.bounded(2)) {
        s.seal(4, 46);
        for (int k = 0; k < 10; ++k)
            if (rng.bounded(3))
                s.seal(s.point(k), 94);
    }
    if (rng.bounded(40) == 0)
        return s.b.left(rng.bounded(1030));
    if (rng.bounded(40) == 0)
        return s.b + QByteArray(rng.bounded(1, 10), '\0');
    if (rng.bounded(20) == 0) {
        QByteArray noise(1030, '\0');
        for (char &c : noise)
            c = char(rng.bounded(256));
        return noise;
    }
    return s.b;
}

} // namespace

class TestCnvStore : public QObject {
    Q_OBJECT
private slots:
    void storesConvertedRecordsByName();
    void writesThatFailAreCounted_data();
    void writesThatFailAreCounted();
    void secondReadingReplacesFiles();
    void countLimitsTheSlots();
    void singlePhaseNewerNaming();
    void damagedInputNeverCrashesNorStoresUnreadableFiles();
    void hostileDesignationsStayInTheFolder_data();
    void hostileDesignationsStayInTheFolder();
};

void TestCnvStore::storesConvertedRecordsByName()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RecordStore store(dir.path());
    Slot skipped = olderSlot(4, 2, 1); // single-phase, reactive by cross-connection
    const QVector<QByteArray> records{class0Record(0x30).b, skipped.b, class0Record(0x31).b};
    const QStringList written = StoreArchiveRecords(records, 3, class0Info(), store).written;
    QCOMPARE(written.size(), 2);

    const QString first = QStringLiteral("CE301         ^12345678^2009-03-15^143005^0.pcn");
    const QString second = QStringLiteral("CE301         ^12345678^2009-03-15^143105^0.pcn");
    QCOMPARE(pcnFiles(dir.path()), (QStringList{first, second}));
    QCOMPARE(QFileInfo(written[0]).fileName(), first);
    QCOMPARE(QFileInfo(written[1]).fileName(), second);

    const QString path = dir.filePath(first);
    const QByteArray bytes = testsupport::readAll(path);
    QCOMPARE(bytes.size(), 67 + 1134);
    const auto expected = ConvertArchiveSlot(records[0], class0Info());
    QVERIFY(expected);
    QCOMPARE(bytes, expected->header + expected->block);
    QVERIFY(!(QFile(path).permissions() & QFileDevice::WriteOwner));

    const MeterFileReadResult back = ReadMeterFile(path);
    QVERIFY(back.readable);
    QCOMPARE(back.meter.verifications.size(), 1);
    QCOMPARE(testsupport::rangeI(back.meter.verifications[0], 0, 0), QStringLiteral("100 К"));
    QCOMPARE(back.meter.verifications[0].time, QTime(14, 30, 5));
}

void TestCnvStore::writesThatFailAreCounted_data()
{
    QTest::addColumn<int>("failing"); // number of the write that fails, counted from 1; 0: every write
    QTest::addColumn<int>("stored");
    QTest::newRow("second of three") << 2 << 2;
    QTest::newRow("every write (read-only folder, full disk)") << 0 << 0;
}

void TestCnvStore::writesThatFailAreCounted()
{
    QFETCH(int, failing);
    QFETCH(int, stored);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RecordStore store(dir.path());
    Slot skipped = olderSlot(4, 2, 1); // not a record that gives a file
    const QVector<QByteArray> records{class0Record(0x30).b, class0Record(0x31).b, skipped.b, class0Record(0x32).b};
    int started = 0;
    const platform::WriteFaultScope fault([&](const QString &, qint64 bytesWritten) {
        if (bytesWritten == 0)
            ++started;
        return failing == 0 || started == failing;
    });
    const ArchiveStoreReport report = StoreArchiveRecords(records, 4, class0Info(), store);
    QCOMPARE(report.written.size(), stored);
    QCOMPARE(report.notStored, 3 - stored);
    QCOMPARE(report.skipped, 1);
    QCOMPARE(report.due(), 3);
    QVERIFY(!report.complete());
    // What was stored reads back whole; nothing else is in the folder.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), stored);
    for (const QString &path : report.written) {
        const MeterFileReadResult back = ReadMeterFile(path);
        QVERIFY(back.readable);
        QCOMPARE(back.meter.verifications.size(), 1);
    }
}

void TestCnvStore::secondReadingReplacesFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RecordStore store(dir.path());
    Slot record = class0Record(0x30);
    QCOMPARE(StoreArchiveRecords({record.b}, 1, class0Info(), store).written.size(), 1);
    const QString name = pcnFiles(dir.path()).value(0);
    QVERIFY(!name.isEmpty());

    // The same verification read again, with a different error value.
    record.highLow(record.point(0) + 88, 0x00010000); // +100 %
    QCOMPARE(StoreArchiveRecords({record.b}, 1, class0Info(), store).written.size(), 1);
    QCOMPARE(pcnFiles(dir.path()), QStringList{name});
    const MeterFileReadResult back = ReadMeterFile(dir.filePath(name));
    QVERIFY(back.readable);
    QCOMPARE(back.meter.verifications[0].points[0].errorPercent, 100.0);
    QVERIFY(!(QFile(dir.filePath(name)).permissions() & QFileDevice::WriteOwner));
}

void TestCnvStore::countLimitsTheSlots()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RecordStore store(dir.path());
    const QVector<QByteArray> records{class0Record(0x01).b, class0Record(0x02).b, class0Record(0x03).b};
    QVERIFY(StoreArchiveRecords(records, 0, class0Info(), store).written.isEmpty());
    QVERIFY(StoreArchiveRecords(records, -4, class0Info(), store).written.isEmpty());
    QVERIFY(pcnFiles(dir.path()).isEmpty());
    QCOMPARE(StoreArchiveRecords(records, 1, class0Info(), store).written.size(), 1);
    QCOMPARE(pcnFiles(dir.path()).size(), 1);
    QCOMPARE(StoreArchiveRecords(records, 200, class0Info(), store).written.size(), 3);
    QCOMPARE(pcnFiles(dir.path()).size(), 3);
}

void TestCnvStore::singlePhaseNewerNaming()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RecordStore store(dir.path());
    QVERIFY(store.NewFolder(store.rootFolder(), QStringLiteral("Meters")));
    store.SelectFolder(dir.filePath(QStringLiteral("Meters")));

    DeviceInfo info;
    info.modelClass = 6;
    info.auxValue = {230};
    info.rangeValue = {5};
    info.rangeCount = 1;
    info.kind1Count = 1;
    Slot s = newerSlot(4 | (3 << 3), 0, 1); // single-phase, reactive by phase shift
    newerCodes(s, 0, 0, 0);
    const QStringList written = StoreArchiveRecords({s.b}, 1, info, store).written;
    QCOMPARE(written.size(), 1);
    QCOMPARE(pcnFiles(dir.filePath(QStringLiteral("Meters"))),
             QStringList{QStringLiteral("CE301         ^12345678^2010-07-21^090807^3.pcn")});
    QVERIFY(pcnFiles(dir.path()).isEmpty());
    QVERIFY(ReadMeterFile(written[0]).readable);
}

void TestCnvStore::damagedInputNeverCrashesNorStoresUnreadableFiles()
{
    QRandomGenerator rng(20240611);
    int converted = 0;
    int tried = 0;
    for (int i = 0; i < 6000; ++i) {
        const DeviceInfo info = randomInfo(rng);
        const QByteArray slot = randomSlot(rng, info);
        ++tried;
        const auto r = ConvertArchiveSlot(slot, info);
        if (!r)
            continue;
        ++converted;
        QCOMPARE(slot.size(), 1030);
        QCOMPARE(r->header.size(), 67);
        QCOMPARE(r->block.size(), 1134);
        const MeterFileReadResult back = parseMeterFile(r->header + r->block);
        QVERIFY2(back.readable, qPrintable(QStringLiteral("case %1").arg(i)));
        const pcn::_blockdata &v = back.meter.verifications.first();
        const int n = wordAt(r->block, 42);
        QVERIFY(n >= 1 && n <= 10);
        QCOMPARE(v.points.size(), n);
        QCOMPARE(v.serial, r->summary.serial);
        QCOMPARE(v.date, r->summary.date);
        QCOMPARE(v.time, r->summary.time);
        QCOMPARE(v.meterType, r->summary.meterType);
        QCOMPARE(back.meter.instrument.type, info.modelClass);
    }
    qInfo("%d of %d random records converted", converted, tried);
    // The damage must leave enough records intact to test the converted ones.
    QVERIFY2(converted > tried / 20, qPrintable(QStringLiteral("%1 of %2").arg(converted).arg(tried)));
}

// Designations an instrument could send (stored bytes, pairs already
// swapped as on the line) that would climb out of the folder, hide the file
// or carry control characters; the serial is the largest the record holds.
void TestCnvStore::hostileDesignationsStayInTheFolder_data()
{
    QTest::addColumn<QByteArray>("stored");
    // Text up to 16 bytes, the rest zero.
    const auto text = [](const char *t) { return QByteArray(t).leftJustified(16, '\0', true); };
    QTest::newRow("parent folders") << text("../../../etc/pa");
    QTest::newRow("backslashes") << text("..\\..\\x\\y\\z\\");
    QTest::newRow("dot dot only") << text("..");
    QTest::newRow("control bytes") << QByteArray::fromHex("010a0d091b7f1f08616263646566672f");
    QTest::newRow("wrapped bytes 224..255") << QByteArray::fromHex("e0e1eaedffefe02fe0e0e0e0e0e0e0e0");
}

void TestCnvStore::hostileDesignationsStayInTheFolder()
{
    QFETCH(QByteArray, stored);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("chosen"));
    QVERIFY(QDir().mkpath(folder));
    RecordStore store(folder);
    Slot s = class0Record(0x30);
    QByteArray swapped = stored;
    for (int i = 0; i + 1 < 14; i += 2)
        std::swap(swapped[i], swapped[i + 1]);
    s.bytes(4, swapped.constData(), 16);
    s.highLow(20, 0xFFFFFFFFu);
    const QStringList written = StoreArchiveRecords({s.b}, 1, class0Info(), store).written;
    QCOMPARE(written.size(), 1);
    const QFileInfo file(written[0]);
    QCOMPARE(file.absolutePath(), QFileInfo(folder).absoluteFilePath());
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
             QStringList{file.fileName()});
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("chosen")});
    const QString name = file.fileName();
    for (QChar c : name)
        QVERIFY2(c.unicode() >= 0x20 && c.unicode() != 0x7F && c != QLatin1Char('/') && c != QLatin1Char('\\'),
                 qPrintable(name));
    QVERIFY(name.contains(QStringLiteral("^4294967295^")));
}

QTEST_GUILESS_MAIN(TestCnvStore)
#include "tst_cnvstore.moc"
