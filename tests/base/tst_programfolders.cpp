// Where the program keeps its data and settings: beside itself in a writable
// folder of its own (portable use, the build tree), in the per-user folders
// when it is installed, even when the installation's bin/ is writable.
#include "base/platform.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestProgramFolders : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void folders_data();
    void folders();
};

void TestProgramFolders::folders_data()
{
    QTest::addColumn<bool>("installed");
    QTest::newRow("portable folder") << false;
    QTest::newRow("bin/ of an installation") << true;
}

void TestProgramFolders::folders()
{
    QFETCH(bool, installed);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("bin")));
    if (installed)
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("share/vardosk")));
    const QString program = root.path() + QStringLiteral("/bin/");

    const QString data = platform::dataFolderFor(program);
    const QString config = platform::configFilePathFor(program);
    QCOMPARE(data.startsWith(program), !installed);
    QCOMPARE(config.startsWith(program), !installed);
    QVERIFY(data.endsWith(QStringLiteral("/Data/")));
    QVERIFY(config.endsWith(QStringLiteral("/config.cfg")));
}

QTEST_GUILESS_MAIN(TestProgramFolders)
#include "tst_programfolders.moc"
