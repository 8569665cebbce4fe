// Several workstations, one data folder: two workstation processes (each
// with a home of its own) give random record commands on one folder while
// vardosk-cli stores the archives of two instrument emulators into it. The
// audit afterwards finds every verification as often as due, every file
// whole, no refused change on disk and no change lost. The campaign runs
// VARDOSK_SHARED_SECONDS seconds (default 4); VARDOSK_SHARED_DATA puts the
// data folder elsewhere, a network mount for instance.
#include "processes.h"
#include "records/meterfile.h"
#include "samplerecords.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString workstationProgram()
{
    return QFileInfo(testsupport::emulatorProgram()).path() + QStringLiteral("/vardosk-workstation-sim");
}

// Files of `meters` meters, `files` each, two verifications a file, all of
// one meter mergeable; serials from `serial` on, moments all different.
bool writeMeters(const QStringList &folders, int serial, int meters, int files)
{
    for (int m = 0; m < meters; ++m) {
        for (int f = 0; f < files; ++f) {
            pcn::_totalblockdata meter =
                testsupport::sampleMeter(QStringLiteral("CE301"), QString::number(serial + m), 1, 2, 2);
            for (int v = 0; v < 2; ++v) {
                pcn::_blockdata &b = meter.verifications[v];
                b.serial = std::uint32_t(serial + m);
                testsupport::setMoment(b, QDateTime(QDate(2011, 1 + m, 1 + f), QTime(9 + v, serial % 60, 0)));
            }
            for (const QString &folder : folders)
                if (!WriteMeterFile(QStringLiteral("%1/m%2-%3.pcn").arg(folder).arg(serial + m).arg(f), meter))
                    return false;
        }
    }
    return true;
}

QProcessEnvironment homeIn(const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    return env;
}

} // namespace

class TestSharedFolder : public QObject {
    Q_OBJECT
private slots:
    void twoWorkstationsLoseNothing();
};

void TestSharedFolder::twoWorkstationsLoseNothing()
{
    if (!testsupport::emulatorBuilt() || !QFileInfo::exists(workstationProgram()))
        QSKIP("the instrument emulator or the workstation simulator is not built");
    const int seconds = qEnvironmentVariableIsSet("VARDOSK_SHARED_SECONDS")
                            ? qEnvironmentVariableIntValue("VARDOSK_SHARED_SECONDS")
                            : 4;
    QTemporaryDir dir;
    QTemporaryDir shared(qEnvironmentVariableIsSet("VARDOSK_SHARED_DATA")
                             ? qEnvironmentVariable("VARDOSK_SHARED_DATA") + QStringLiteral("/campaign-XXXXXX")
                             : QDir::tempPath() + QStringLiteral("/vardosk-shared-XXXXXX"));
    QVERIFY(dir.isValid() && shared.isValid());
    const auto at = [&](const QString &name) {
        const QString path = dir.filePath(name);
        QDir().mkpath(path);
        return path;
    };
    const QString data = shared.path();
    QVERIFY(QDir().mkpath(data + QStringLiteral("/A")) && QDir().mkpath(data + QStringLiteral("/B")));
    QVERIFY(writeMeters({data + QStringLiteral("/A"), at(QStringLiteral("ref-seed"))}, 4000, 4, 4));
    QVERIFY(writeMeters({at(QStringLiteral("archive1"))}, 5000, 2, 3));
    QVERIFY(writeMeters({at(QStringLiteral("archive2"))}, 6000, 2, 3));

    // Two instruments serving the archives written above, which are the
    // reference of the audit.
    testsupport::Emulator one({QStringLiteral("--from-folder"), at(QStringLiteral("archive1"))});
    testsupport::Emulator two({QStringLiteral("--from-folder"), at(QStringLiteral("archive2")),
                               QStringLiteral("--serial"), QStringLiteral("4321")});
    QVERIFY(!one.path.isEmpty() && !two.path.isEmpty());
    const auto readInto = [](const QString &port, const QString &folder, const QString &home) {
        return testsupport::runCli(
                   {QStringLiteral("read-archive"), QStringLiteral("--port"), port, QStringLiteral("--into"), folder},
                   homeIn(home))
            .exitCode;
    };

    // The workstations work until the test has stored both archives into
    // their folder and let them go on for a while.
    QProcess stations[2];
    for (int k = 0; k < 2; ++k) {
        stations[k].setProcessEnvironment(homeIn(at(QStringLiteral("home-%1").arg(k + 1))));
        stations[k].start(workstationProgram(),
                          {QStringLiteral("run"), data, QString::number(k + 1), QString::number(seconds + 300),
                           QString::number(20261207 + k), dir.filePath(QStringLiteral("journal-%1").arg(k + 1))});
        QVERIFY(stations[k].waitForStarted());
    }
    // The instruments' archives arrive while the workstations work.
    QTest::qWait(seconds * 1000 / 3);
    QCOMPARE(readInto(one.path, data + QStringLiteral("/A"), at(QStringLiteral("home-cli"))), 0);
    QTest::qWait(seconds * 1000 / 3);
    QCOMPARE(readInto(two.path, data + QStringLiteral("/A"), at(QStringLiteral("home-cli"))), 0);
    QTest::qWait(seconds * 1000 / 3);
    for (int k = 0; k < 2; ++k) {
        QFile stop(dir.filePath(QStringLiteral("journal-%1.stop").arg(k + 1)));
        QVERIFY(stop.open(QIODevice::WriteOnly));
    }
    int commands = 0;
    int refused = 0;
    int failed = 0;
    for (QProcess &station : stations) {
        QVERIFY(station.state() == QProcess::NotRunning || station.waitForFinished(60000));
        QCOMPARE(station.exitCode(), 0);
        const QList<QByteArray> counts = station.readAllStandardOutput().trimmed().split(' ');
        QCOMPARE(counts.size(), 4);
        commands += counts[0].toInt();
        refused += counts[2].toInt();
        failed += counts[3].toInt();
    }
    // A write may fail only as the journals say (a move onto a name the
    // other folder already holds); what failed changed nothing.
    QString failures;
    for (int k = 0; k < 2; ++k) {
        QFile journal(dir.filePath(QStringLiteral("journal-%1").arg(k + 1)));
        QVERIFY(journal.open(QIODevice::ReadOnly));
        for (const QByteArray &line : journal.readAll().split('\n'))
            if (line.startsWith("FAILED"))
                failures += QString::fromUtf8(line) + QLatin1Char('\n');
    }
    QCOMPARE(failures.count(QLatin1Char('\n')), failed);
    QVERIFY2(failures.count(QStringLiteral("FAILED\tmove")) == failed, qPrintable(failures));

    QProcess audit;
    audit.start(
        workstationProgram(),
        {QStringLiteral("audit"), data,
         QStringList{at(QStringLiteral("ref-seed")), at(QStringLiteral("archive1")), at(QStringLiteral("archive2"))}
             .join(QLatin1Char(',')),
         dir.filePath(QStringLiteral("journal-1")), dir.filePath(QStringLiteral("journal-2"))});
    QVERIFY(audit.waitForFinished(60000));
    const QString report = QString::fromUtf8(audit.readAllStandardOutput());
    qInfo("commands %d, refused %d, failed %d; audit (files verifications expected edits drops kept refused): %s",
          commands, refused, failed, qPrintable(report.trimmed()));
    QVERIFY2(audit.exitCode() == 0, qPrintable(report));
    QVERIFY(commands > 0);
    QCOMPARE(report.section(QLatin1Char(' '), 6, 6).section(QLatin1Char('\n'), 0, 0).toInt(), refused);
}

QTEST_GUILESS_MAIN(TestSharedFolder)
#include "tst_sharedfolder.moc"
