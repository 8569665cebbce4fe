// vardosk-cli export and export-folder refuse bad arguments and files with a
// reason on stderr, a non-zero status and no file written. (What they write is
// checked through LibreOffice Calc in tst_exportcalc.)
#include "records/meterfile.h"
#include "samplerecords.h"
#include "testdir.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestExportCli : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    int run(QStringList args, QByteArray *err = nullptr)
    {
        for (QString &a : args)
            a.replace(QStringLiteral("$D"), m_dir.path());
        QProcess p;
        p.start(testsupport::binDir() + QStringLiteral("/vardosk-cli"), args);
        if (!p.waitForFinished(30000))
            return -1;
        if (err)
            *err = p.readAllStandardError();
        return p.exitCode();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(path(QStringLiteral("folder"))));
        QVERIFY(WriteMeterFile(
            path(QStringLiteral("folder/m.pcn")),
            testsupport::sampleMeter(QStringLiteral("CE"), QStringLiteral("5"), SchemeThreePhaseThreeWire, 2, 1)));
        QVERIFY(testsupport::writeAll(path(QStringLiteral("bad.pcn")), "not a record"));
    }

    void refusesWithAReason_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::newRow("no output") << QStringList{"export", "$D/folder/m.pcn"} << 2;
        QTest::newRow("verification 0") << QStringList{"export", "$D/folder/m.pcn", "--verification",
                                                       "0",      "--out",           "$D/x.xml"}
                                        << 2;
        QTest::newRow("unknown language")
            << QStringList{"export", "$D/folder/m.pcn", "--language", "de", "--out", "$D/x.xml"} << 2;
        QTest::newRow("beyond the last") << QStringList{"export", "$D/folder/m.pcn", "--verification",
                                                        "3",      "--out",           "$D/x.xml"}
                                         << 1;
        QTest::newRow("unreadable record") << QStringList{"export", "$D/bad.pcn", "--out", "$D/x.xml"} << 1;
        QTest::newRow("missing record") << QStringList{"export", "$D/none.pcn", "--out", "$D/x.xml"} << 1;
        QTest::newRow("output folder missing") << QStringList{"export", "$D/folder/m.pcn", "--out", "$D/no/x.xml"} << 1;
        QTest::newRow("not a folder") << QStringList{"export-folder", "$D/bad.pcn", "--out", "$D/x.csv"} << 1;
        QTest::newRow("register folder missing")
            << QStringList{"export-folder", "$D/folder", "--out", "$D/no/x.csv"} << 1;
    }

    void refusesWithAReason()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QByteArray err;
        QCOMPARE(run(args, &err), status);
        QVERIFY(err.startsWith("vardosk-cli export"));
        if (args.last().startsWith(QStringLiteral("$D/no/"))) // the program's own text, with the path
            QVERIFY(err.contains("Unable to create file. " + m_dir.path().toUtf8() + "/no/x."));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("x.xml"))));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("x.csv"))));
    }
};

QTEST_GUILESS_MAIN(TestExportCli)
#include "tst_exportcli.moc"
