// What is stored below the data folder: the parts of a received file's name,
// locating archive entries (by name, renamed, merged, damaged) and finding
// meters by parts of their serial number and type.
#include "records/meterfile.h"
#include "records/recordstore.h"
#include "records/storedindex.h"
#include "samplerecords.h"
#include "testdir.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// A meter of `count` verifications with the serial number given.
pcn::_totalblockdata meterOf(const QString &type, std::uint32_t serial, int count)
{
    pcn::_totalblockdata meter = testsupport::sampleMeter(type, QString::number(serial), 1, count);
    for (pcn::_blockdata &v : meter.verifications)
        v.serial = serial;
    return meter;
}

// Writes a meter into a folder below the data folder, under the name its
// first verification gets from the instrument unless a name is given.
bool store(const QString &data, const QString &folder, const pcn::_totalblockdata &meter, QString name = QString())
{
    if (name.isEmpty())
        name = ReceivedRecordFileName(meter.verifications.first());
    const QString path = folder.isEmpty() ? data : data + QLatin1Char('/') + folder;
    return QDir().mkpath(path) && WriteMeterFile(path + QLatin1Char('/') + name, meter);
}

// A named pipe where the system has them; elsewhere nothing to make.
#ifdef Q_OS_UNIX
bool makePipe(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}
#else
bool makePipe(const QString &)
{
    return true;
}
#endif

} // namespace

class tst_storedindex : public QObject {
    Q_OBJECT

private slots:
    void parsesReceivedNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("type");
        QTest::addColumn<qint64>("serial");
        QTest::newRow("padded type") << "CE 6803   ^10000000^2024-02-27^091530^2.pcn" << true << "CE 6803"
                                     << qint64(10000000);
        QTest::newRow("caret in type") << "A^B^4294967295^2001-12-31^235959^0.PCN" << true << "A^B"
                                       << qint64(4294967295);
        QTest::newRow("serial too large") << "A^4294967296^2001-12-31^235959^0.pcn" << false << "" << qint64(0);
        QTest::newRow("renamed") << "my meter.pcn" << false << "" << qint64(0);
        QTest::newRow("no date") << "A^1^2024-02-30^091530^0.pcn" << false << "" << qint64(0);
        QTest::newRow("letters in year") << "A^1^2O24-02-27^091530^0.pcn" << false << "" << qint64(0);
        QTest::newRow("letters in serial") << "A^1x^2024-02-27^091530^0.pcn" << false << "" << qint64(0);
        QTest::newRow("other extension") << "A^1^2024-02-27^091530^0.txt" << false << "" << qint64(0);
    }

    void parsesReceivedNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        QFETCH(QString, type);
        QFETCH(qint64, serial);
        const auto parts = ParseRecordFileName(name);
        QCOMPARE(bool(parts), valid);
        if (!valid)
            return;
        QCOMPARE(parts->meterType, type);
        QCOMPARE(qint64(parts->serial), serial);
    }

    // A name made by the store reads back into the key of its verification.
    void nameRoundTrip()
    {
        pcn::_blockdata v = meterOf(QStringLiteral("ЦЭ6803/В  "), 123456, 1).verifications.first();
        v.time = QTime(9, 5, 7);
        const auto parts = ParseRecordFileName(ReceivedRecordFileName(v));
        QVERIFY(parts);
        QCOMPARE(parts->serial, 123456u);
        QCOMPARE(parts->date, v.date);
        QCOMPARE(parts->time, v.time);
        QCOMPARE(parts->powerType, int(v.powerType));
    }

    void locatesByNameRenamedAndMerged()
    {
        QTemporaryDir dir;
        const QString data = dir.path() + QStringLiteral("/Data");
        const pcn::_totalblockdata four = meterOf(QStringLiteral("KVM"), 5001, 4);
        const QVector<pcn::_blockdata> &v = four.verifications;
        // 0 named as received in A; 1 in a file renamed by the user in B/C;
        // 2 and 3 merged into one file named after 2 in the data folder.
        pcn::_totalblockdata single = four;
        single.verifications = {v[0]};
        QVERIFY(store(data, QStringLiteral("A"), single));
        single.verifications = {v[1]};
        QVERIFY(store(data, QStringLiteral("B/C"), single, QStringLiteral("from the old PC.pcn")));
        pcn::_totalblockdata merged = four;
        merged.verifications = {v[2], v[3]};
        QVERIFY(store(data, QString(), merged));
        // A damaged file named like a wanted entry is not a stored copy.
        pcn::_blockdata fifth = v[0];
        fifth.time = fifth.time.addSecs(1);
        QVERIFY(testsupport::writeAll(data + QStringLiteral("/A/") + ReceivedRecordFileName(fifth), "broken"));
        // Another meter of the same serial with the same moments is not it.
        pcn::_blockdata otherType = v[0];
        otherType.meterType = QStringLiteral("OTHER");

        const QVector<pcn::_datacounter> entries = {v[0], v[1], v[2], v[3], fifth, otherType};
        const QVector<std::optional<QString>> folders = LocateStored(data, entries);
        const QVector<std::optional<QString>> expected = {QStringLiteral("A"), QStringLiteral("B/C"), QString(),
                                                          QString(),           std::nullopt,          std::nullopt};
        QCOMPARE(folders, expected);
        QCOMPARE(LocateStored(dir.path() + QStringLiteral("/missing"), entries),
                 QVector<std::optional<QString>>(entries.size()));
    }

    void findsMetersByParts_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("files"); // folder/file of each meter found
        QTest::newRow("serial part in three folders, in tree order")
            << "451"
            << "" << QStringList{"X/a.pcn", "X/W/w.pcn", "Y/b.pcn", "Y/Z/renamed.pcn"};
        QTest::newRow("type in any case") << ""
                                          << "цэ68" << QStringList{"X/a.pcn", "X/c.pcn"};
        QTest::newRow("both parts") << "451"
                                    << "kvm" << QStringList{"Y/Z/renamed.pcn"};
        QTest::newRow("nothing") << "999"
                                 << "" << QStringList{};
        QTest::newRow("hidden folder, as in the folder tree") << "31337"
                                                              << "" << QStringList{".H/h.pcn"};
    }

    void findsMetersByParts()
    {
        QFETCH(QString, serial);
        QFETCH(QString, type);
        QFETCH(QStringList, files);
        QTemporaryDir dir;
        const QString data = dir.path();
        pcn::_totalblockdata a = meterOf(QStringLiteral("ЦЭ6803В"), 4512345, 3);
        // One day, three times: the middle one (12:00) is the latest.
        const int hours[] = {10, 12, 11};
        for (int k = 0; k < 3; ++k)
            testsupport::setMoment(a.verifications[k], QDateTime(QDate(2010, 1, 1), QTime(hours[k], 0)));
        QVERIFY(store(data, QStringLiteral(".H"), meterOf(QStringLiteral("ZZ"), 31337, 1), QStringLiteral("h.pcn")));
        QVERIFY(store(data, QStringLiteral("X"), a, QStringLiteral("a.pcn")));
        QVERIFY(store(data, QStringLiteral("X"), meterOf(QStringLiteral("ЦЭ6827"), 777, 1), QStringLiteral("c.pcn")));
        QVERIFY(store(data, QStringLiteral("Y/Z"), meterOf(QStringLiteral("KVM-3"), 99451, 2),
                      QStringLiteral("renamed.pcn")));
        QVERIFY(store(data, QStringLiteral("X/W"), meterOf(QStringLiteral("MX"), 4519, 1), QStringLiteral("w.pcn")));
        QVERIFY(store(data, QStringLiteral("Y"), meterOf(QStringLiteral("MX"), 451, 1), QStringLiteral("b.pcn")));
        // A pipe is never opened: its opening would wait for a writer.
        QVERIFY(makePipe(data + QStringLiteral("/X/pipe.pcn")));
        // Named like a match, but its content is another meter.
        QVERIFY(store(data, QStringLiteral("Y"), meterOf(QStringLiteral("KVM-3"), 12, 1),
                      QStringLiteral("ЦЭ68^4510^2024-01-01^000000^0.pcn")));

        const QVector<FoundMeter> found = FindMeters(data, MeterQuery{serial, type});
        QStringList got;
        for (const FoundMeter &m : found)
            got << m.file.folder + QLatin1Char('/') + m.file.fileName;
        QCOMPARE(got, files);
        if (got.value(0) == QLatin1String("X/a.pcn")) {
            QCOMPARE(found.first().verifications, 3);
            QCOMPARE(found.first().serial, 4512345u);
            QCOMPARE(found.first().lastDate, QDate(2010, 1, 1));
            QCOMPARE(found.first().lastTime, QTime(12, 0)); // on one date the time decides
        }
    }
};

QTEST_GUILESS_MAIN(tst_storedindex)
#include "tst_storedindex.moc"
