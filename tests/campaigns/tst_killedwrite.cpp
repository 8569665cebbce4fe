// Killed mid-write: a child process stores received records, merges two
// meter files, pastes an element, writes config.cfg and saves the meter
// database file over and over, and
// is killed with SIGKILL at seeded random moments. Afterwards every file
// holds exactly one of the contents written to it (the old or the new one,
// never a mixture, never missing), and the folder scan takes no temporary
// file for a record. VARDOSK_KILL_ITERATIONS sets the number of kills
// (default 60), VARDOSK_KILL_SEED the seed.
#include "base/settingsfile.h"
#include "../meterdb/meterdbsamples.h"
#include "meterdb/bdcfile.h"
#include "records/meterfile.h"
#include "records/recordops.h"
#include "records/recordstore.h"
#include "samplerecords.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <thread>

namespace {

// What the writer stores, each file in turn with one of its contents.
struct Contents {
    pcn::_totalblockdata target, source, pasteBase;
    QByteArray targetMerged, pasteDone, received[2];
    AppSettings settings[2];
    meterdb::MeterList meterList[2];

    Contents()
    {
        target = testsupport::sampleMeter(QStringLiteral("CE301"), QStringLiteral("111"), 4, 1, 3);
        source = testsupport::sampleMeter(QStringLiteral("CE301"), QStringLiteral("111"), 4, 2, 3);
        source.verifications.removeFirst(); // another moment than the target's
        targetMerged = encodeMeterFile(MergeMeters(target, source));
        pasteBase = testsupport::sampleMeter(QStringLiteral("SO505"), QStringLiteral("222"), 4, 2, 5);
        pasteBase.verifications[1].powerType = pasteBase.verifications[0].powerType;
        const auto pasted = PasteElement(pasteBase, 0, 1);
        pasteDone = pasted ? encodeMeterFile(*pasted) : QByteArray();
        for (int i = 0; i < 2; ++i) {
            const auto meter =
                testsupport::sampleMeter(QStringLiteral("RX"), QString::number(900 + i), 4, 1, 2 + 7 * i);
            received[i] = encodeMeterFile(meter);
        }
        settings[0] = defaultSettings();
        settings[1] = defaultSettings();
        settings[1].language = 0;
        settings[1].layout.width = 1234;
        meterList[0] = meterdbtest::entries(3);
        meterList[1] = meterdbtest::entries(4);
    }
};

QString in(const QString &folder, const char *name)
{
    return folder + QLatin1Char('/') + QLatin1String(name);
}

// The child: every write of the program's kinds, as fast as it can go.
int runWriter(const QString &folder)
{
    const Contents c;
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (unsigned i = 0;; ++i) {
        const int k = int(i & 1);
        WriteMeterFile(in(folder, "target.pcn"), c.target);
        MergeMeterFiles(in(folder, "source.pcn"), in(folder, "target.pcn"), false);
        const auto pasted = PasteElement(c.pasteBase, 0, 1);
        WriteMeterFile(in(folder, "paste.pcn"), k && pasted ? *pasted : c.pasteBase);
        WriteRecordFile(in(folder, "received.pcn"), c.received[k].left(67), c.received[k].mid(67));
        saveSettingsFile(in(folder, "config.cfg"), c.settings[k]);
        meterdb::saveBdcFile(in(folder, "meters.bdc"), c.meterList[k]);
    }
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

} // namespace

class TestKilledWrite : public QObject {
    Q_OBJECT
private slots:
    void everyFileOldOrNew();
};

void TestKilledWrite::everyFileOldOrNew()
{
    const Contents c;
    QVERIFY(!c.pasteDone.isEmpty());
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path();
    QVERIFY(WriteMeterFile(in(folder, "target.pcn"), c.target));
    QVERIFY(WriteMeterFile(in(folder, "source.pcn"), c.source));
    QVERIFY(WriteMeterFile(in(folder, "paste.pcn"), c.pasteBase));
    QVERIFY(WriteRecordFile(in(folder, "received.pcn"), c.received[0].left(67), c.received[0].mid(67)));
    QVERIFY(saveSettingsFile(in(folder, "config.cfg"), c.settings[0]));
    QCOMPARE(meterdb::saveBdcFile(in(folder, "meters.bdc"), c.meterList[0]), meterdb::BdcSave::Ok);

    const QByteArray targetBytes = encodeMeterFile(c.target), sourceBytes = encodeMeterFile(c.source);
    const QByteArray pasteBytes = encodeMeterFile(c.pasteBase);
    const QByteArray settingsBytes[2] = {encodeSettings(c.settings[0]), encodeSettings(c.settings[1])};
    const QByteArray bdcBytes[2] = {meterdb::bdcFileBytes(c.meterList[0]), meterdb::bdcFileBytes(c.meterList[1])};
    QVERIFY(bdcBytes[0].size() == meterdb::kBdcFileBytes && bdcBytes[1].size() == meterdb::kBdcFileBytes);
    QVERIFY(bdcBytes[0] != bdcBytes[1]);

    const int iterations = qEnvironmentVariableIsSet("VARDOSK_KILL_ITERATIONS")
                               ? qEnvironmentVariableIntValue("VARDOSK_KILL_ITERATIONS")
                               : 60;
    const quint32 seed = qEnvironmentVariableIsSet("VARDOSK_KILL_SEED")
                             ? quint32(qEnvironmentVariableIntValue("VARDOSK_KILL_SEED"))
                             : 15u;
    QRandomGenerator rng(seed);
    int newContents = 0;
    int newBdc = 0;
    for (int i = 0; i < iterations; ++i) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--writer"), folder});
        QVERIFY(child.waitForReadyRead(20000));
        std::this_thread::sleep_for(std::chrono::microseconds(rng.bounded(30000)));
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        const QByteArray target = readAll(in(folder, "target.pcn"));
        QVERIFY2(target == targetBytes || target == c.targetMerged, qPrintable(QStringLiteral("kill %1").arg(i)));
        newContents += int(target == c.targetMerged);
        QCOMPARE(readAll(in(folder, "source.pcn")), sourceBytes);
        const QByteArray paste = readAll(in(folder, "paste.pcn"));
        QVERIFY2(paste == pasteBytes || paste == c.pasteDone, qPrintable(QStringLiteral("kill %1").arg(i)));
        const QByteArray received = readAll(in(folder, "received.pcn"));
        QVERIFY2(received == c.received[0] || received == c.received[1], qPrintable(QStringLiteral("kill %1").arg(i)));
        const QByteArray settings = readAll(in(folder, "config.cfg"));
        QVERIFY2(settings == settingsBytes[0] || settings == settingsBytes[1],
                 qPrintable(QStringLiteral("kill %1").arg(i)));
        const QByteArray bdc = readAll(in(folder, "meters.bdc"));
        QVERIFY2(bdc == bdcBytes[0] || bdc == bdcBytes[1], qPrintable(QStringLiteral("kill %1").arg(i)));
        newBdc += int(bdc == bdcBytes[1]);
        meterdb::MeterList loaded;
        QCOMPARE(meterdb::loadBdcFile(in(folder, "meters.bdc"), loaded), meterdb::BdcLoad::Ok);

        // The scan lists the four record files and nothing a killed write
        // left behind.
        const QVector<ListedMeter> meters = ScanFolder(folder);
        QCOMPARE(meters.size(), 4);
    }
    // Every temporary file left behind is a write the kill cut short.
    const int cut = int(QDir(folder).entryList(QDir::Files | QDir::Hidden).size()) - 6;
    qInfo("%d kills (seed %u), 6 files checked after each; %d writes cut short; target found merged %d times; meter"
          " database found with the second list %d times",
          iterations, seed, cut, newContents, newBdc);
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--writer") == 0) {
        QCoreApplication app(argc, argv);
        return runWriter(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestKilledWrite test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_killedwrite.moc"
