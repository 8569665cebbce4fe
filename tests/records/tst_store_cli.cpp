// vardosk-cli scan: the meter list of a folder as JSON lines.
#include "processes.h"
#include "testdir.h"
#include "tst_storefiles.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace storefiles;

class TestStoreCli : public QObject {
    Q_OBJECT
private:
    struct Run {
        int exitCode = -1;
        QByteArray out;
    };

    Run scan(const QStringList &args)
    {
        const testsupport::CliRun cli = testsupport::runCli(QStringList{"scan"} + args);
        return {cli.exitCode, cli.rawOut};
    }

private slots:
    void listsTheMetersOfAFolder()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString dir = tmp.path() + "/";
        QVERIFY(writeMeter(dir + "b.pcn", "CE301", 222, {3, 12}));
        QVERIFY(writeMeter(dir + "a \"q\".pcn", "MIR", 111, {1}));
        QVERIFY(writeFile(dir + "broken.pcn", "junk"));
        QVERIFY(QDir().mkpath(dir + "sub"));
        QVERIFY(writeMeter(dir + "sub/c.pcn", "X", 1, {1}));

        const Run r = scan({tmp.path()});
        QCOMPARE(r.exitCode, 0);
        // Exact text of each line: the key order and spacing are part of it.
        const QList<QByteArray> lines = r.out.split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QByteArray("{\"file\": \"a \\\"q\\\".pcn\", \"meterType\": \"MIR           \", "
                                      "\"serialText\": \"111\", \"verifications\": 1}"));
        QCOMPARE(lines[1], QByteArray("{\"file\": \"b.pcn\", \"meterType\": \"CE301         \", "
                                      "\"serialText\": \"222\", \"verifications\": 2}"));
        QVERIFY(lines[2].isEmpty());
        // Each line is JSON on its own.
        QJsonParseError error;
        const QJsonObject first = QJsonDocument::fromJson(lines[0], &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(first.value("file").toString(), QStringLiteral("a \"q\".pcn"));
    }

    void emptyFoldersAndBadArguments()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        QVERIFY(writeFile(tmp.path() + "/only.pcn", fileHeader("1")));
        Run r = scan({tmp.path()});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.isEmpty());

        QCOMPARE(scan({tmp.path() + "/missing"}).exitCode, 1);
        QCOMPARE(scan({tmp.path() + "/only.pcn"}).exitCode, 1);
        QCOMPARE(scan({}).exitCode, 2);
        QCOMPARE(scan({tmp.path(), tmp.path()}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestStoreCli)
#include "tst_store_cli.moc"
