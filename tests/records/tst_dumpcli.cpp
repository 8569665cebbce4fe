#include "pcnsamples.h"
#include "records/meterfile.h"
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

    // vardosk-cli verdict: class 1 points of a single-phase load inside, on
    // and over the limit of 2 %, and a balanced point the shipped table has
    // no band for; then the same file with a limits file of the user's.
    void verdictOfClassOnePoints()
    {
        QTemporaryDir dir;
        pcn::_totalblockdata meter;
        pcn::_blockdata v;
        v.serialText = QStringLiteral("7");
        v.accuracyClass = 1.0;
        v.scheme = 1;
        v.iNom = 5.0;
        v.date = QDate(2024, 5, 6);
        v.time = QTime(10, 0);
        v.bcdYear = 0x2024;
        v.bcdMonth = 5;
        v.bcdDay = 6;
        v.bcdHour = 0x10;
        for (const double error : {1.5, 2.0, -2.25, 0.5}) {
            pcn::_datasample p;
            p.I = {2.5, 0.0, 0.0};
            p.U = {230, 230, 230};
            p.cosPhi = {1.0, 1.0, 1.0};
            p.Ptotal = p.Stotal = 575;
            p.errorPercent = error;
            v.points << p;
        }
        v.points.last().I = {2.5, 2.5, 2.5};
        meter.verifications << v;
        const QString file = dir.filePath(QStringLiteral("7.pcn"));
        QVERIFY(WriteMeterFile(file, meter));

        const testsupport::CliRun run = testsupport::runCli({QStringLiteral("verdict"), file});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject o = object(run.rawOut.trimmed());
        QVERIFY(o.value("limits").toString().endsWith(QLatin1String("/ErrorLimits.txt"))); // the shipped file
        const QJsonObject r = o.value("verifications").toArray().at(0).toObject();
        QCOMPARE(r.value("verdict").toString(), QStringLiteral("over"));
        QCOMPARE(r.value("overPoints").toArray(), (QJsonArray{3}));
        QCOMPARE(r.value("sources").toArray().at(0).toString(),
                 QStringLiteral("IEC 62053-21:2003 (ed. 1.0), Table 7, direct connected"));
        const QJsonArray points = r.value("points").toArray();
        const char *verdicts[] = {"within", "within", "over", "no-limit"};
        const double margins[] = {-0.5, 0.0004, 0.2507};
        for (int k = 0; k < 4; ++k) {
            const QJsonObject p = points.at(k).toObject();
            QCOMPARE(p.value("verdict").toString(), QString::fromLatin1(verdicts[k]));
            QCOMPARE(p.value("load").toString(), k < 3 ? QStringLiteral("single") : QStringLiteral("balanced"));
            QCOMPARE(p.value("currentPercent").toDouble(), 50.0);
            if (k < 3) {
                QCOMPARE(p.value("limit").toDouble(), 2.0);
                QVERIFY2(std::abs(p.value("margin").toDouble() - margins[k]) < 1e-3, qPrintable(QString::number(k)));
            } else {
                QVERIFY(p.value("limit").isNull());
            }
        }

        // A limits file of the user's with a balanced band: the last point is judged.
        const QString own = dir.filePath(QStringLiteral("own.txt"));
        QVERIFY(testsupport::writeAll(own, "source Own\nactive 1 balanced 1 0.1 max 1.0\n"));
        const testsupport::CliRun withOwn =
            testsupport::runCli({QStringLiteral("verdict"), file, QStringLiteral("--limits"), own});
        QCOMPARE(withOwn.exitCode, 0);
        const QJsonObject ownVerdict =
            object(withOwn.rawOut.trimmed()).value("verifications").toArray().at(0).toObject();
        QCOMPARE(ownVerdict.value("verdict").toString(), QStringLiteral("within"));
        QVERIFY(std::abs(ownVerdict.value("points").toArray().at(3).toObject().value("margin").toDouble() + 0.5)
                < 1e-3);

        // A malformed limits file is refused with its line.
        QVERIFY(testsupport::writeAll(own, "source Own\nactive 1 balanced 1 0.1 max\n"));
        const testsupport::CliRun refused =
            testsupport::runCli({QStringLiteral("verdict"), file, QStringLiteral("--limits"), own});
        QCOMPARE(refused.exitCode, 2);
        QVERIFY(refused.err.contains(QLatin1String("line 2")));
    }
};

QTEST_GUILESS_MAIN(TestDumpCli)
#include "tst_dumpcli.moc"
