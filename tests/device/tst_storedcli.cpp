// What is already stored, through vardosk-cli against the instrument
// emulator: content --data marks the stored entries with their folder,
// read-archive --records new reads only the others, and find lists the
// meter files matching parts of serial numbers and types.
#include "tst_sessionsupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using sessiontest::CliRun;
using sessiontest::runCli;
using sessiontest::Sim;

namespace {

// The JSON objects of the output; the final status line is not one.
QList<QJsonObject> jsonLines(const QString &text)
{
    QList<QJsonObject> lines;
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8());
        if (document.isObject())
            lines << document.object();
    }
    return lines;
}

// The "storedIn" of each content entry: its folder, or "-" for null.
QStringList storedIn(const QString &port, const QString &data)
{
    const CliRun run = runCli({"content", "--port", port, "--data", data});
    QStringList folders;
    for (const QJsonObject &o : jsonLines(run.out)) {
        if (o.contains(QStringLiteral("number"))) {
            const QJsonValue v = o.value(QStringLiteral("storedIn"));
            folders << (v.isNull() ? QStringLiteral("-") : v.toString());
        }
    }
    return folders;
}

} // namespace

class tst_storedcli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFile::exists(testsupport::binDir() + QStringLiteral("/vardosk-instrument-sim")))
            QSKIP("the instrument emulator is not built");
    }

    void contentReadNewAndFind()
    {
        Sim sim({"--model-class", "5", "--records", "5", "--points", "1"});
        QVERIFY(!sim.path.isEmpty());
        QTemporaryDir dir;
        const QString data = dir.path();
        QVERIFY(QDir(data).mkpath(QStringLiteral("old/2023")));

        QCOMPARE(storedIn(sim.path, data), QStringList(5, QStringLiteral("-")));
        QCOMPARE(
            runCli({"read-archive", "--port", sim.path, "--into", data + "/old/2023", "--records", "2,5"}).exitCode, 0);
        QCOMPARE(runCli({"read-archive", "--port", sim.path, "--into", data, "--records", "1"}).exitCode, 0);
        QCOMPARE(storedIn(sim.path, data), (QStringList{".", "old/2023", "-", "-", "old/2023"}));

        // Only 3 and 4 are new; they go into the folder given, and a second
        // run finds nothing new and stores nothing.
        const QString into = data + QStringLiteral("/new");
        QVERIFY(QDir().mkpath(into));
        CliRun run = runCli({"read-archive", "--port", sim.path, "--into", into, "--records", "new", "--data", data});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(jsonLines(run.out).size(), 2);
        QCOMPARE(sessiontest::readFolder(into).size(), 2);
        QCOMPARE(storedIn(sim.path, data), (QStringList{".", "old/2023", "new", "new", "old/2023"}));
        run = runCli({"read-archive", "--port", sim.path, "--into", into, "--records", "new", "--data", data});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(!run.out.contains(QStringLiteral("\"file\"")));

        // A part of the serial finds all five files, in folder order; with a
        // part of the type (any letter case) the fifth, another meter of the
        // emulator's archive, drops out.
        const auto find = [&data](const QStringList &query) {
            const CliRun found = runCli(QStringList{"find"} + query + QStringList{data});
            QStringList folders;
            for (const QJsonObject &o : jsonLines(found.out)) {
                folders << o.value(QStringLiteral("folder")).toString();
                if (o.value(QStringLiteral("verifications")).toInt() != 1
                    || !o.value(QStringLiteral("file")).toString().endsWith(QStringLiteral(".pcn")))
                    folders << QStringLiteral("bad line");
            }
            return found.exitCode == 0 ? folders : QStringList{QStringLiteral("failed")};
        };
        QCOMPARE(find({"--serial", "000"}), (QStringList{".", "new", "new", "old/2023", "old/2023"}));
        QCOMPARE(find({"--serial", "000", "--type", "фаз"}), (QStringList{".", "new", "new", "old/2023"}));
        QCOMPARE(runCli({"find", "--serial", "4242", data}).out, QString());
    }

    void findRefusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no query") << QStringList{"find", "."};
        QTest::newRow("no folder") << QStringList{"find", "--serial", "1"};
        QTest::newRow("not a folder") << QStringList{"find", "--serial", "1", "/nonexistent/folder"};
        QTest::newRow("unknown option") << QStringList{"find", "--owner", "x", "."};
    }

    void findRefusesBadArguments()
    {
        QFETCH(QStringList, arguments);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains(QStringLiteral("usage: vardosk-cli find")));
    }
};

QTEST_GUILESS_MAIN(tst_storedcli)
#include "tst_storedcli.moc"
