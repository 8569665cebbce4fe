// Line faults: seeded random fault schedules through the instrument
// emulator (no answer, broken answer, bad CRC, status 0xFF, damaged point
// blocks, slow answers, the emulator vanishing mid-record as an unplugged
// cable does), each against one archive reading by vardosk-cli. Every run
// ends with a defined result code, nothing is stored from a failed run, and
// a clean run afterwards succeeds. VARDOSK_LINE_FAULT_RUNS sets the number
// of runs (default 14, two of each kind), VARDOSK_LINE_FAULT_SEED the seed.
#include "processes.h"
#include "testdir.h"
#include "records/recordstore.h"

#include <QDir>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

using testsupport::Emulator;

namespace {

const QStringList kKinds{QStringLiteral("no-answer"), QStringLiteral("break-after"),     QStringLiteral("status-ff"),
                         QStringLiteral("bad-crc"),   QStringLiteral("bad-point-block"), QStringLiteral("slow"),
                         QStringLiteral("unplugged")};

// The result codes of a reading (13: read, but not all stored as they
// came); a crash, a hang or any other exit status is a fault.
const QList<int> kDefinedCodes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 50};

QStringList recordFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.pcn")}, QDir::Files | QDir::Hidden);
}

QStringList readArchive(const QString &port, const QString &folder)
{
    return {QStringLiteral("read-archive"), QStringLiteral("--port"), port, QStringLiteral("--into"), folder,
            QStringLiteral("--records"),    QStringLiteral("all")};
}

} // namespace

class TestLineFaults : public QObject {
    Q_OBJECT
private slots:
    void everyRunEndsDefinedAndStoresNothingWhenFailed();
};

void TestLineFaults::everyRunEndsDefinedAndStoresNothingWhenFailed()
{
    if (!testsupport::emulatorBuilt())
        QSKIP("the instrument emulator is not built");
    const int runs = qEnvironmentVariableIsSet("VARDOSK_LINE_FAULT_RUNS")
                         ? qEnvironmentVariableIntValue("VARDOSK_LINE_FAULT_RUNS")
                         : 2 * int(kKinds.size());
    const quint32 seed = qEnvironmentVariableIsSet("VARDOSK_LINE_FAULT_SEED")
                             ? quint32(qEnvironmentVariableIntValue("VARDOSK_LINE_FAULT_SEED"))
                             : 15u;
    QRandomGenerator rng(seed);
    QMap<QString, QMap<int, int>> outcomes; // kind -> code -> runs
    const QStringList classes{QStringLiteral("0"), QStringLiteral("3"), QStringLiteral("5")};

    for (int i = 0; i < runs; ++i) {
        const QString kind = kKinds.at(i % kKinds.size());
        const int request = 1 + rng.bounded(6);
        QStringList arguments{QStringLiteral("--model-class"), classes.at(rng.bounded(int(classes.size()))),
                              QStringLiteral("--records"),     QStringLiteral("3"),
                              QStringLiteral("--points"),      QStringLiteral("2")};
        if (kind == QLatin1String("break-after"))
            arguments << QStringLiteral("--fault")
                      << QStringLiteral("break-after:%1:%2").arg(rng.bounded(1, 40)).arg(request);
        else if (kind == QLatin1String("bad-point-block"))
            arguments << QStringLiteral("--fault")
                      << QStringLiteral("bad-point-block:%1:%2").arg(1 + rng.bounded(3)).arg(1 + rng.bounded(2));
        else if (kind == QLatin1String("slow"))
            arguments << QStringLiteral("--fault") << QStringLiteral("slow:%1").arg(rng.bounded(5, 60));
        else if (kind == QLatin1String("unplugged"))
            arguments << QStringLiteral("--baud") << QStringLiteral("19200"); // a reading of about 2 s
        else
            arguments << QStringLiteral("--fault") << QStringLiteral("%1:%2").arg(kind).arg(request);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Emulator sim(arguments);
        QVERIFY(!sim.path.isEmpty());
        QProcess cli;
        cli.start(testsupport::binDir() + QStringLiteral("/vardosk-cli"), readArchive(sim.path, dir.path()));
        QVERIFY(cli.waitForStarted(10000));
        if (kind == QLatin1String("unplugged")) {
            std::this_thread::sleep_for(std::chrono::milliseconds(rng.bounded(100, 2500)));
            sim.stop();
        }
        QVERIFY2(cli.waitForFinished(60000), qPrintable(arguments.join(QLatin1Char(' '))));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        const int code = cli.exitCode();
        QVERIFY2(kDefinedCodes.contains(code),
                 qPrintable(QStringLiteral("code %1 for %2").arg(code).arg(arguments.join(QLatin1Char(' ')))));
        const QStringList stored = recordFiles(dir.path());
        if (code != 0 && code != 13)
            QVERIFY2(stored.isEmpty(), qPrintable(arguments.join(QLatin1Char(' '))));
        // Whatever was stored reads back whole.
        QCOMPARE(ScanFolder(dir.path()).size(), stored.size());
        ++outcomes[kind][code];
    }

    // The program stays usable: a clean reading afterwards stores the whole
    // archive.
    QTemporaryDir clean;
    Emulator sim({QStringLiteral("--records"), QStringLiteral("3")});
    const testsupport::CliRun run = testsupport::runCli(readArchive(sim.path, clean.path()));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(recordFiles(clean.path()).size(), 3);

    for (auto k = outcomes.cbegin(); k != outcomes.cend(); ++k) {
        QStringList codes;
        for (auto c = k.value().cbegin(); c != k.value().cend(); ++c)
            codes << QStringLiteral("%1 x%2").arg(c.key()).arg(c.value());
        qInfo("%s: %s", qPrintable(k.key()), qPrintable(codes.join(QStringLiteral(", "))));
    }
}

QTEST_GUILESS_MAIN(TestLineFaults)
#include "tst_linefaults.moc"
