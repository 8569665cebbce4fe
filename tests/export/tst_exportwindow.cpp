// The export commands as the user runs them: the save dialog's outcome,
// overwriting, the message when the file cannot be written, the request to
// open the spreadsheet, and their place and enabling in the main window.
#include "base/platform.h"
#include "export/ui/exportcommands.h"
#include "fakeservices.h"
#include "mainwindow/korvelform.h"
#include "records/meterfile.h"
#include "records/recordstore.h"
#include "records/ui/folderpanel.h"
#include "samplerecords.h"
#include "sheetdocument.h"
#include "testdir.h"
#include "views/ui/recordviews.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Recorder {
    QString filter, suffix;
    QStringList opened, shown;
    int dialogs = 0;
};

} // namespace

class TestExportWindow : public QObject {
    Q_OBJECT
private:
    pcn::_totalblockdata m_meter =
        testsupport::sampleMeter(QStringLiteral("CE 301"), QStringLiteral("42"), SchemeThreePhaseFourWire, 2, 2);

    // The services and a folder holding the meter, its second verification
    // shown (none shown: an empty folder), as the main window gives them.
    struct Rig {
        QTemporaryDir dir;
        QWidget host;
        testsupport::FakeServices services{LanguageEnglish, &host};
        RecordStore store{dir.path() + QStringLiteral("/")};
        RecordViews views{services.settings().columns(), &host};
    };
    std::vector<std::unique_ptr<Rig>> m_rigs;

    ExportCommands *commands(Recorder &r, const QString &answer, bool withVerification = true)
    {
        Rig &rig = *m_rigs.emplace_back(std::make_unique<Rig>());
        rig.services.setMessageSink([&r](MessageKind, const QString &text) { r.shown << text; });
        if (withVerification)
            WriteMeterFile(rig.dir.filePath(QStringLiteral("m.pcn")), m_meter);
        rig.views.FollowStore(rig.store);
        rig.store.SelectFolder(rig.dir.path());
        if (withVerification)
            rig.views.SelectVerification(rig.views.PowerRowOf(1));
        auto *c = new ExportCommands(rig.services, rig.store, rig.views, this);
        c->setFileChooser([&r, answer](QWidget *, const QString &filter, const QString &suffix) {
            ++r.dialogs;
            r.filter = filter;
            r.suffix = suffix;
            return answer;
        });
        c->setDocumentOpener([&r](const QString &path) { r.opened << path; });
        return c;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void spreadsheetExport_data()
    {
        QTest::addColumn<QString>("answer"); // the dialog's answer, relative to a fresh folder
        QTest::addColumn<QString>("written"); // the file expected, "" for none
        QTest::addColumn<bool>("existing"); // a read-only file of that name exists
        QTest::addColumn<bool>("error"); // Error36 is shown
        QTest::newRow("cancelled") << ""
                                   << "" << false << false;
        QTest::newRow("default extension") << "with blanks"
                                           << "with blanks.XML" << false << false;
        QTest::newRow("overwritten without a question") << "old.xml"
                                                        << "old.xml" << true << false;
        QTest::newRow("cannot be created") << "missing/out.xml"
                                           << "" << false << true;
    }

    void spreadsheetExport()
    {
        QFETCH(QString, answer);
        QFETCH(QString, written);
        QFETCH(bool, existing);
        QFETCH(bool, error);
        QTemporaryDir dir;
        Recorder r;
        if (existing) {
            QVERIFY(testsupport::writeAll(dir.filePath(answer), "old"));
            QVERIFY(platform::setReadOnly(dir.filePath(answer), true));
        }
        commands(r, answer.isEmpty() ? QString() : dir.filePath(answer))->ExportExcelExecute();

        QCOMPARE(r.dialogs, 1);
        QCOMPARE(r.filter, QStringLiteral("File xml (*.xml)"));
        QCOMPARE(r.suffix, QStringLiteral("XML"));
        QCOMPARE(r.shown, error ? QStringList{QStringLiteral("Unable to create file.")} : QStringList{});
        if (written.isEmpty()) {
            QVERIFY(r.opened.isEmpty());
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), existing ? QStringList{answer} : QStringList{});
            return;
        }
        const QString path = dir.filePath(written);
        QCOMPARE(r.opened, QStringList{path});
        const sheettest::Sheet s = sheettest::parseSheet(testsupport::readAll(path));
        QVERIFY(s.parsed);
        QCOMPARE(s.rows.size(), 1 + 2);
        QCOMPARE(s.rows[1][7].text, QStringLiteral("apparent")); // the shown verification, the meter's second
    }

    void nothingShownNothingAsked()
    {
        Recorder r;
        commands(r, QStringLiteral("/tmp/never.xml"), false)->ExportExcelExecute();
        QCOMPARE(r.dialogs, 0);
    }

    void folderExport()
    {
        QTemporaryDir dir;
        Recorder r;
        commands(r, dir.filePath(QStringLiteral("register")))->ExportFolderExecute();
        QCOMPARE(r.suffix, QStringLiteral("csv"));
        const QVector<QStringList> rows =
            sheettest::parseCsv(QString::fromUtf8(testsupport::readAll(dir.filePath(QStringLiteral("register.csv")))));
        QCOMPARE(rows.size(), 1 + 2 * 2);
        QVERIFY(r.opened.isEmpty());
        commands(r, dir.filePath(QStringLiteral("missing/register.csv")))->ExportFolderExecute();
        QCOMPARE(r.shown, QStringList{QStringLiteral("Unable to create file.")});
    }

    void mainWindowPlacesAndEnablesTheExports()
    {
        QTemporaryDir dir;
        StartupPaths p;
        p.programFolder = dir.path() + QLatin1Char('/');
        p.dataFolder = p.programFolder + QStringLiteral("Data/");
        p.configPath = p.programFolder + QStringLiteral("config.cfg");
        p.stringsPath = testsupport::binDir() + QStringLiteral("/DataStrings.xml");
        QVERIFY(QDir().mkpath(p.dataFolder + QStringLiteral("empty")));
        QVERIFY(WriteMeterFile(p.dataFolder + QStringLiteral("meter.pcn"), m_meter));
        TKorvelForm window(p, [](MessageKind, const QString &) {});
        QVERIFY(window.FormCreate());
        QVERIFY(window.FormActivate());

        QAction *excel = window.action(Command::ExportExcel);
        QAction *folder = window.action(Command::ExportFolder);
        QVERIFY(excel && folder);
        QCOMPARE(folder->text(), QStringLiteral("Export folder…"));
        auto *file = window.findChild<QMenu *>(QStringLiteral("MainMenu/File"));
        const QList<QAction *> items = file->actions();
        QCOMPARE(items.indexOf(folder), items.indexOf(window.action(Command::Exit)) - 2); // then the separator
        QVERIFY(excel->isEnabled());
        QVERIFY(folder->isEnabled());

        // The shown verification is exported; selecting the second one exports that one.
        window.views()->SelectVerification(window.views()->PowerRowOf(1));
        QString opened;
        auto *commands = window.findChild<ExportCommands *>();
        commands->setFileChooser(
            [&](QWidget *, const QString &, const QString &) { return dir.filePath(QStringLiteral("x.xml")); });
        commands->setDocumentOpener([&](const QString &path) { opened = path; });
        excel->trigger();
        QCOMPARE(opened, dir.filePath(QStringLiteral("x.xml")));
        const sheettest::Sheet s = sheettest::parseSheet(testsupport::readAll(opened));
        QCOMPARE(s.rows.value(1).value(7).text, QStringLiteral("apparent"));

        // A folder without meters disables both.
        QVERIFY(window.folderPanel()->selectFolder(window.store().folderPath({QStringLiteral("empty")})));
        QVERIFY(!excel->isEnabled());
        QVERIFY(!folder->isEnabled());
    }
};

QTEST_MAIN(TestExportWindow)
#include "tst_exportwindow.moc"
