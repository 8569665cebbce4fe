// The command-line options of the program and of vardosk-cli, run as a user
// runs them, and the serial device chosen for one run only.
#include "base/appstate.h"
#include "base/settingsfile.h"
#include "mainwindow/korvelform.h"
#include "mainwindowfixture.h"
#include "testdir.h"

#include <QProcess>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runProgram(const QString &name, const QStringList &arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY")); // help and version need no window system
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(testsupport::binDir() + QLatin1Char('/') + name, arguments);
    Run run;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(p.readAllStandardError());
    return run;
}

} // namespace

class TestProgramOptions : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void wrongCallsFail_data();
    void wrongCallsFail();
    void runPortIsUsedButNotSaved();
};

void TestProgramOptions::answers_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected");
    const QString version = QString::fromLatin1(kVersionText);
    QTest::newRow("vardosk --help") << "vardosk" << QStringList{"--help"} << QStringList{"--port", "--version"};
    QTest::newRow("vardosk -h") << "vardosk" << QStringList{"-h"} << QStringList{"--port <DEVICE>", "--data <DIR>"};
    QTest::newRow("vardosk --version") << "vardosk" << QStringList{"--version"} << QStringList{"vardosk " + version};
    QTest::newRow("cli --help") << "vardosk-cli" << QStringList{"--help"}
                                << QStringList{"read-archive", "dump", "--version"};
    QTest::newRow("cli --version") << "vardosk-cli" << QStringList{"--version"}
                                   << QStringList{"vardosk-cli " + version};
}

void TestProgramOptions::answers()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    const Run run = runProgram(program, arguments);
    QCOMPARE(run.exitCode, 0);
    for (const QString &text : expected)
        QVERIFY2(run.out.contains(text), qPrintable(run.out));
}

void TestProgramOptions::wrongCallsFail_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("vardosk unknown option") << "vardosk" << QStringList{"--no-such-option"};
    QTest::newRow("vardosk --port without device") << "vardosk" << QStringList{"--port"};
    QTest::newRow("vardosk --data without folder") << "vardosk" << QStringList{"--data"};
    QTest::newRow("cli unknown command") << "vardosk-cli" << QStringList{"--no-such-option"};
}

void TestProgramOptions::wrongCallsFail()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    const Run run = runProgram(program, arguments);
    QVERIFY(run.exitCode > 0);
    QVERIFY(run.out.isEmpty());
    QVERIFY(!run.err.isEmpty());
}

void TestProgramOptions::runPortIsUsedButNotSaved()
{
    QTemporaryDir dir;
    StartupPaths paths = testsupport::programPathsIn(dir.path());
    paths.runPortPath = QStringLiteral("/dev/pts/77");
    {
        TKorvelForm form(paths, [](MessageKind, const QString &) {});
        QVERIFY(form.FormCreate());
        QVERIFY(form.FormActivate());
        QVERIFY(form.connectionStatusText().contains(QStringLiteral("/dev/pts/77")));
        form.close();
    }
    // The saved choice is still the default USB bridge.
    const AppSettings saved = loadSettingsFile(paths.configPath);
    QVERIFY(saved.takenFromFile);
    QCOMPARE(int(saved.interfaceType), int(InterfaceUsb));

    TKorvelForm again(testsupport::programPathsIn(dir.path()), [](MessageKind, const QString &) {});
    QVERIFY(again.FormCreate());
    QCOMPARE(again.connectionStatusText(), QStringLiteral(" USB"));
}

QTEST_MAIN(TestProgramOptions)
#include "tst_programoptions.moc"
