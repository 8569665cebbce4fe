// The archive reading end to end through vardosk-cli read-archive against
// the instrument emulator on a pseudo-terminal: what is stored for every
// model class, damaged and special records, the user's selection, failures,
// and the helpers the program's session shares with the command.
#include "device/archivesession.h"
#include "deviceoutcome/outcometext.h"
#include "tst_sessionsupport.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

#include <unistd.h>

using sessiontest::CliRun;
using sessiontest::readFolder;
using sessiontest::runCli;
using sessiontest::Sim;

namespace {

CliRun readArchive(const QString &port, const QString &folder, const QStringList &extra = {})
{
    return runCli(
        QStringList{QStringLiteral("read-archive"), QStringLiteral("--port"), port, QStringLiteral("--into"), folder}
        + extra);
}

// The content entries as `vardosk-cli content` decodes them, keyed like the
// stored files: meter type, serial, date, time, power type.
QStringList contentKeys(const QString &port)
{
    const CliRun run = runCli({QStringLiteral("content"), QStringLiteral("--port"), port});
    QStringList keys;
    for (const QString &line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        if (!o.contains(QStringLiteral("number")))
            continue;
        keys << QStringLiteral("%1|%2|%3|%4|%5")
                    .arg(o.value(QStringLiteral("meterType")).toString().trimmed())
                    .arg(qint64(o.value(QStringLiteral("serial")).toDouble()))
                    .arg(o.value(QStringLiteral("date")).toString(), o.value(QStringLiteral("time")).toString())
                    .arg(o.value(QStringLiteral("powerType")).toInt());
    }
    return keys;
}

QString storedKey(const pcn::_blockdata &v)
{
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(v.meterType.trimmed())
        .arg(v.serial)
        .arg(v.date.toString(Qt::ISODate), v.time.toString(QStringLiteral("HH:mm:ss")))
        .arg(v.powerType);
}

} // namespace

class tst_sessioncli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFile::exists(testsupport::binDir() + QStringLiteral("/vardosk-instrument-sim")))
            QSKIP("the instrument emulator is not built");
    }

    void sharedHelpers()
    {
        // Percentage of the record phase, rounded up.
        QCOMPARE(device::recordPhasePercent(0, 1030), 0);
        QCOMPARE(device::recordPhasePercent(1, 1030), 1);
        QCOMPARE(device::recordPhasePercent(515, 1030), 50);
        QCOMPARE(device::recordPhasePercent(516, 1030), 51);
        QCOMPARE(device::recordPhasePercent(1030, 1030), 100);
        QCOMPARE(device::recordPhasePercent(5, 0), 0);

        QVector<int> twoHundred;
        for (int k = 1; k <= 200; ++k)
            twoHundred << k;
        QCOMPARE(device::checkSelection(twoHundred, 300), device::SelectionCheck::Ok);
        QCOMPARE(device::checkSelection(twoHundred + QVector<int>{201}, 300), device::SelectionCheck::TooMany);
        QCOMPARE(device::checkSelection({0}, 5), device::SelectionCheck::OutOfRange);
        QCOMPARE(device::checkSelection({6}, 5), device::SelectionCheck::OutOfRange);
        QCOMPARE(device::checkSelection({}, 0), device::SelectionCheck::Ok);

        // The words of an outcome, as the window and the CLI give them.
        const auto words = [](device::Status status, const QString &port, device::PortFailure::Kind why, int language) {
            device::PortFailure failure;
            failure.kind = why;
            const deviceoutcome::OutcomeText text =
                deviceoutcome::outcomeText(status, port, failure, deviceoutcome::builtInTexts(language));
            return QStringList{text.dialog, text.status};
        };
        const auto none = device::PortFailure::Kind::None;
        const QString port = QStringLiteral("/dev/ttyUSB3");
        QCOMPARE(words(device::Status::PortUnavailable, port, device::PortFailure::Kind::InUse, 1),
                 QStringList({{}, " COM Port unavailable /dev/ttyUSB3 (the port is in use by another program)"}));
        QCOMPARE(words(device::Status::PortUnavailable, port, device::PortFailure::Kind::NotPresent, 0),
                 QStringList({{}, " Нет доступа к порту. /dev/ttyUSB3 (порт не найден; подключён ли кабель?)"}));
        // Settings that cannot be applied: the message without a port name.
        QCOMPARE(words(device::Status::SettingsFailed, port, none, 1), QStringList({{}, " COM Port unavailable "}));
        QCOMPARE(words(device::Status::ArchiveEmpty, {}, none, 1), QStringList({{}, " Log is empty."}));
        QCOMPARE(words(device::Status::Cancelled, {}, none, 1), QStringList({{}, " Reading canceled."}));
        QCOMPARE(words(device::Status::UsbLibraryMissing, {}, none, 1),
                 QStringList({"Unable to load USB-device driver.", " Reading canceled."}));
        QCOMPARE(words(device::Status::NotRecognised, {}, none, 1), QStringList({{}, " Unspecified error."}));
        QCOMPARE(words(device::Status::Ok, port, none, 1), QStringList({{}, {}}));
    }

    void everyModelClass_data() { sessiontest::addModelClasses(); }
    void everyModelClass()
    {
        QFETCH(int, modelClass);
        QFETCH(QString, voltageText);
        QFETCH(QStringList, currentTexts);
        Sim sim(sessiontest::modelClassSim(modelClass));
        QVERIFY(!sim.path.isEmpty());
        QTemporaryDir dir;
        const CliRun run = readArchive(sim.path, dir.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.endsWith(QStringLiteral(" Reading has been successfully completed.\n")), qPrintable(run.out));
        QCOMPARE(run.out.count(QStringLiteral("{\"file\":")), sessiontest::kClassRecords);
        sessiontest::checkModelClassFiles(dir.path(), modelClass, voltageText, currentTexts);
        if (QTest::currentTestFailed())
            return;

        // Every verification of the archive became a file named after it.
        const auto files = readFolder(dir.path());
        QStringList stored;
        for (const MeterFileReadResult &file : files)
            stored << storedKey(file.meter.verifications.first());
        QStringList listed = contentKeys(sim.path);
        listed.sort();
        stored.sort();
        QCOMPARE(stored, listed);
        const pcn::_blockdata &first = files.first().meter.verifications.first();
        if (modelClass == 0) {
            // Instrument range code 1 holds range digit 6: current clamps
            // (kind 2), 100 A as the quarter-ampere word 400, "100 К".
            const pcn::_datasample &clamp = first.points.at(2);
            QCOMPARE(int(clamp.range[2]), 2);
            QCOMPARE(int(clamp.range[0]), 400);
            QCOMPARE(int(clamp.range[1]), 0);
            // The stored point keeps the range digit as its current code:
            // file header 67 bytes, point 2 at record offset 52 + 2 × 96,
            // its byte 94.
            const QByteArray bytes = testsupport::readAll(QDir(dir.path()).filePath(files.firstKey()));
            QCOMPARE(int(quint8(bytes.at(67 + 52 + 2 * 96 + 94))), 6);
            QCOMPARE(testsupport::rangeI(first, 2, 0), QStringLiteral("100 К"));
        }
    }

    void damagedFourthPointBlock_data()
    {
        QTest::addColumn<int>("modelClass");
        QTest::newRow("class 3") << 3;
        QTest::newRow("class 6") << 6;
    }

    void damagedFourthPointBlock()
    {
        QFETCH(int, modelClass);
        Sim sim({"--model-class", QString::number(modelClass), "--records", "2", "--points", "6", "--fault",
                 "bad-point-block:1:4"});
        QVERIFY(!sim.path.isEmpty());
        QTemporaryDir dir;
        QCOMPARE(readArchive(sim.path, dir.path()).exitCode, 0);
        const auto files = readFolder(dir.path());
        QCOMPARE(files.size(), 2);
        QList<int> counts;
        for (const MeterFileReadResult &file : files) {
            QVERIFY(file.readable);
            counts << int(file.meter.verifications.first().points.size());
        }
        std::sort(counts.begin(), counts.end());
        QCOMPARE(counts, (QList<int>{3, 6}));
    }

    void constantMultiplier()
    {
        // Single-phase archive: meters cycle through four types, each with
        // power types 0, 1, 3, 4; the multiplier code is the record's index
        // modulo 5. Record 11 (code 0) and record 28 (code 2) are both of the
        // meter with constant 100.
        Sim sim({"--model-class", "5", "--records", "28"});
        QVERIFY(!sim.path.isEmpty());
        QTemporaryDir dir;
        QCOMPARE(readArchive(sim.path, dir.path(), {"--records", "11,28"}).exitCode, 0);
        const auto files = readFolder(dir.path());
        QCOMPARE(files.size(), 2);
        QList<quint32> constants;
        for (const MeterFileReadResult &file : files) {
            QVERIFY(file.meter.verifications.first().meterType.startsWith(QStringLiteral("NEVA-101 AS")));
            constants << file.meter.verifications.first().constant;
        }
        std::sort(constants.begin(), constants.end());
        QCOMPARE(constants, (QList<quint32>{100, 6400}));
    }

    void singlePhaseCrossReactiveIsNotStored()
    {
        // Five three-phase-instrument meters, the fifth single-phase, each
        // with power types 0 and 2: the single-phase type-2 record is skipped.
        Sim sim({"--model-class", "3", "--records", "10", "--power-types", "0,2", "--points", "2"});
        QVERIFY(!sim.path.isEmpty());
        QTemporaryDir dir;
        const CliRun run = readArchive(sim.path, dir.path());
        QCOMPARE(run.exitCode, 0);
        const auto files = readFolder(dir.path());
        QCOMPARE(files.size(), 9);
        for (const MeterFileReadResult &file : files) {
            const pcn::_blockdata &v = file.meter.verifications.first();
            QVERIFY(!(v.scheme == 4 && v.powerType == 2));
        }
    }

    void endedReadings_data() { sessiontest::addEndedReadings(); }
    void endedReadings()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(int, code);
        QFETCH(QString, status);
        QTemporaryDir dir;
        std::optional<Sim> sim;
        QString port = dir.filePath(QStringLiteral("no-such-tty"));
        if (!simArgs.isEmpty()) {
            sim.emplace(simArgs);
            QVERIFY(!sim->path.isEmpty());
            port = sim->path;
        }
        const CliRun run = readArchive(port, dir.path());
        QCOMPARE(run.exitCode, code);
        QCOMPARE(run.err, status.replace(QLatin1String("%1"), port) + QLatin1Char('\n'));
        QVERIFY(run.out.isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void secondReadingReplacesFiles_data() { sessiontest::addSecondReadings(); }
    void secondReadingReplacesFiles()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(QByteArray, spoil);
        Sim sim(simArgs);
        QVERIFY(!sim.path.isEmpty());
        QTemporaryDir dir;
        QCOMPARE(readArchive(sim.path, dir.path()).exitCode, 0);
        const QStringList first = sessiontest::spoilFirst(dir.path(), spoil);
        QCOMPARE(readArchive(sim.path, dir.path()).exitCode, 0);
        sessiontest::checkReplaced(first, dir.path());
    }

    void selection()
    {
        Sim sim({"--model-class", "3", "--records", "201", "--points", "1"});
        QVERIFY(!sim.path.isEmpty());
        QTemporaryDir dir;
        // More than one run can read: refused before any record is read.
        CliRun run = readArchive(sim.path, dir.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains(QStringLiteral("at most 200")));
        QVERIFY(QDir(dir.path()).isEmpty());
        run = readArchive(sim.path, dir.path(), {"--records", "202"});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains(QStringLiteral("1 to 201")));
        run = readArchive(sim.path, dir.path(), {"--records", "1,x"});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(QDir(dir.path()).isEmpty());

        // The numbers given, in any order.
        run = readArchive(sim.path, dir.path(), {"--records", "201,1"});
        QCOMPARE(run.exitCode, 0);
        const auto files = readFolder(dir.path());
        QCOMPARE(files.size(), 2);
        const QStringList keys = contentKeys(sim.path);
        QStringList stored;
        for (const MeterFileReadResult &file : files)
            stored << storedKey(file.meter.verifications.first());
        stored.sort();
        QStringList expected{keys.first(), keys.last()};
        expected.sort();
        QCOMPARE(stored, expected);
    }

    // The message of a storing run, in both languages.
    void storeReportTexts_data()
    {
        QTest::addColumn<int>("notStored");
        QTest::addColumn<int>("clamped");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::newRow("complete") << 0 << 0 << 1 << QString();
        QTest::newRow("not stored, English")
            << 2 << 0 << 1 << "Unable to create file. Verifications not stored: 2 of 5.";
        QTest::newRow("not stored, Russian") << 2 << 0 << 0 << "Не удается создать файл. Не сохранено поверок: 2 из 5.";
        QTest::newRow("clamped, English")
            << 0 << 1 << 1 << "Meter constant above 4294967295 stored as 4294967295, verifications: 1.";
        QTest::newRow("both, Russian") << 1 << 1 << 0
                                       << "Не удается создать файл. Не сохранено поверок: 1 из 4. Постоянная счётчика "
                                          "больше 4294967295 и сохранена как 4294967295, поверок: 1.";
    }

    void storeReportTexts()
    {
        QFETCH(int, notStored);
        QFETCH(int, clamped);
        QFETCH(int, language);
        QFETCH(QString, text);
        ArchiveStoreReport report;
        report.written = QStringList(3, QStringLiteral("x.pcn"));
        report.notStored = notStored;
        report.clampedConstants = clamped;
        QCOMPARE(deviceoutcome::storeReportText(report, deviceoutcome::builtInTexts(language)), text);
        QCOMPARE(report.complete(), text.isEmpty());
    }

    // Verifications that cannot be stored: the message on stderr and a
    // non-zero exit.
    void unstoredRecordsAreReported_data() { sessiontest::addUnstoredRecords(); }
    void unstoredRecordsAreReported()
    {
        QFETCH(QList<int>, blocked);
        QFETCH(bool, readOnly);
        QFETCH(int, stored);
        if (readOnly && ::geteuid() == 0)
            QSKIP("the superuser writes into read-only folders");
        Sim sim(sessiontest::kUnstoredSim);
        QVERIFY(!sim.path.isEmpty());
        QTemporaryDir dir;
        QVERIFY(sessiontest::blockNames(sim.path, dir.path(), blocked, readOnly));
        const CliRun run = readArchive(sim.path, dir.path());
        sessiontest::checkUnstoredFiles(dir.path(), stored);
        QCOMPARE(run.exitCode, 13);
        QCOMPARE(run.err, sessiontest::unstoredMessage(stored) + QLatin1Char('\n'));
    }

    void failures()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("no-such-tty"));
        CliRun run = runCli({"read-archive", "--port", missing});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains(QStringLiteral("--into")));
        run = runCli({"read-archive", "--port", missing, "--into", dir.filePath(QStringLiteral("nowhere"))});
        QCOMPARE(run.exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(tst_sessioncli)
#include "tst_sessioncli.moc"
