#include "pcnsamples.h"
#include "processes.h"
#include "testdir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace pcnsamples;

namespace {

struct Run {
    int exitCode = -1;
    QList<QByteArray> lines;
};

Run dump(const QStringList &args)
{
    const testsupport::CliRun cli = testsupport::runCli(QStringList{QStringLiteral("dump")} + args);
    Run run;
    run.exitCode = cli.exitCode;
    run.lines = cli.rawOut.split('\n');
    if (!run.lines.isEmpty() && run.lines.last().isEmpty())
        run.lines.removeLast();
    return run;
}

QJsonObject object(const QByteArray &line)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError)
        qWarning("not JSON: %s", line.constData());
    return doc.object();
}

} // namespace

class TestDumpCli : public QObject {
    Q_OBJECT
private slots:
    void dumpsReadableFiles()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.pcn"));
        QVERIFY(testsupport::writeAll(good, fileHeader("SN 42") + type0Block()));
        const Run run = dump({good});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.lines.size(), 1);
        // Keys in the documented order.
        QVERIFY(run.lines[0].startsWith("{\"file\": "));
        QVERIFY(run.lines[0].contains("\"readable\": true, \"bytesConsumed\": 1134, \"instrument\": "));

        const QJsonObject o = object(run.lines[0]);
        QCOMPARE(o.value("file").toString(), good);
        QCOMPARE(o.value("instrument").toObject().value("name").toString(), QStringLiteral("QS-77"));
        QCOMPARE(o.value("instrument").toObject().value("serial").toInt(), 0x1234);
        const QJsonObject v = o.value("verifications").toArray().at(0).toObject();
        QCOMPARE(v.value("meterType").toString(), QStringLiteral("CE301         "));
        QCOMPARE(v.value("serial").toInteger(), 123456789);
        QCOMPARE(v.value("serialText").toString(), QStringLiteral("SN 42"));
        QCOMPARE(v.value("date").toString(), QStringLiteral("2009-03-15"));
        QCOMPARE(v.value("time").toString(), QStringLiteral("09:05:07"));
        QCOMPARE(v.value("i1").toInt(), 100);
        QCOMPARE(v.value("iNom").toDouble(), 5.0);
        const QJsonObject p = v.value("points").toArray().at(0).toObject();
        QCOMPARE(p.value("U").toArray().at(0).toDouble(), 220.25);
        QCOMPARE(p.value("Q").toArray().at(0).toDouble(), 1049.0815235093744); // round-trip precision
        QCOMPARE(p.value("QcrossTotal").toDouble(), -1.5);
        QCOMPARE(p.value("pfTotal").toDouble(), 0.5);
        QCOMPARE(p.value("pfChar").toString(), QStringLiteral("LLCL"));
        QCOMPARE(p.value("errorPercent").toDouble(), -50.0);
        QCOMPARE(p.value("range").toArray(), (QJsonArray{40, 0, 2, 250, 0, 0}));
        QCOMPARE(p.value("rangeIText").toString(), QStringLiteral("10 C"));
        QCOMPARE(p.value("rangeUText").toString(), QStringLiteral("250"));

        const Run ru = dump({QStringLiteral("--language"), QStringLiteral("ru"), good});
        QCOMPARE(ru.exitCode, 0);
        const QJsonObject pr = object(ru.lines[0])
                                   .value("verifications")
                                   .toArray()
                                   .at(0)
                                   .toObject()
                                   .value("points")
                                   .toArray()
                                   .at(0)
                                   .toObject();
        QCOMPARE(pr.value("rangeIText").toString(), QStringLiteral("10 К"));
    }

    void pointAsDecimalSeparator()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("b.pcn"));
        QVERIFY(testsupport::writeAll(file, fileHeader("1") + type1Block()));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("ru_RU.UTF-8"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("ru_RU.UTF-8"));
        const testsupport::CliRun run = testsupport::runCli({QStringLiteral("dump"), file}, env);
        QVERIFY(run.exitCode >= 0);
        const QByteArray out = run.rawOut;
        QVERIFY(out.contains("\"rangeIText\": \"0.05\""));
        QVERIFY(out.contains("\"U\": [230.5,0,0]"));
    }

    void unreadableAndHeaderless()
    {
        QTemporaryDir dir;
        const QString bad = dir.filePath(QStringLiteral("bad.pcn"));
        const QString old = dir.filePath(QStringLiteral("old.pcn"));
        QByteArray damaged = type0Block();
        damaged[10] = char(damaged[10] ^ 1);
        QVERIFY(testsupport::writeAll(bad, damaged));
        QVERIFY(testsupport::writeAll(old, type2Block22(987654)));

        const Run run = dump({old, bad});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.lines.size(), 2);
        QCOMPARE(run.lines[1], QByteArray("{\"file\": \"") + bad.toUtf8() + "\", \"readable\": false}");
        const QJsonObject o = object(run.lines[0]);
        QCOMPARE(o.value("readable").toBool(), true);
        QCOMPARE(o.value("bytesConsumed").toInt(), 246);
        QCOMPARE(o.value("verifications").toArray().at(0).toObject().value("serialText").toString(),
                 QStringLiteral("987654"));
        // The headerless file was given its header, as the program does.
        QCOMPARE(testsupport::readAll(old), fileHeader("987654") + type2Block22(987654));
        QCOMPARE(testsupport::readAll(bad), damaged);

        QCOMPARE(dump({}).exitCode, 2);
        QCOMPARE(dump({QStringLiteral("--language"), QStringLiteral("de"), old}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestDumpCli)
#include "tst_dumpcli.moc"
