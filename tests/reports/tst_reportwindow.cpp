// The preview and the report commands: saving from the preview, loading a
// report file, the main window hidden while the preview is open, and the
// editor's cancel ending "New report" silently.
#include "protocolsample.h"
#include "fakeservices.h"
#include "records/recordstore.h"
#include "views/ui/recordviews.h"
#include "mainwindowfixture.h"
#include "processes.h"
#include "records/meterfile.h"
#include "reports/pagerender.h"
#include "reports/reportfile.h"
#include "reports/ui/reportcommands.h"
#include "reports/ui/reportpreview.h"
#include "reports/ui/titrepform.h"
#include "samplerecords.h"
#include "testdir.h"
#include "dialogwidgets.h"

#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::child;

namespace {

struct Messages {
    QStringList texts;
    MessageFn fn()
    {
        return [this](MessageKind, const QString &text) { texts << text; };
    }
};

// Services as the main window gives them, over a window that is shown, and
// the store and views that the report commands are wired with.
struct FakeServices {
    QWidget window;
    testsupport::FakeServices services;
    RecordStore store{QDir::tempPath()};
    RecordViews views{services.settings().columns(), &window};
    QStringList &texts = services.shown;

    explicit FakeServices(int language) : services(language, &window) { window.show(); }
};

report::ReportPages samplePages()
{
    return report::layoutProtocol(sampleProtocol(ProtocolScheme::ThreePhaseThreeWire, 2, 6));
}

} // namespace

class TestReportWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void previewSavesReportFileAndPdf();
    void previewPrintsThePages();
    void loadReport_data();
    void loadReport();
    void createReport_data();
    void createReport();
    void windowAndCliGiveTheSamePages();
};

void TestReportWindow::previewSavesReportFileAndPdf()
{
    QTemporaryDir dir;
    Messages messages;
    const report::ReportPages pages = samplePages();
    TReportPreview preview(pages, 1, QStringLiteral("Reports"), messages.fn());
    QCOMPARE(preview.windowTitle(), pages.title);
    QStringList filters, folders;
    QString answer = dir.filePath(QStringLiteral("saved"));
    preview.setSaveNameAsker([&](const QString &, const QString &filter, const QString &folder) {
        filters << filter;
        folders << folder;
        return answer;
    });

    child<QAction>(preview, "SaveReportAction")->trigger();
    report::ReportPages loaded;
    QCOMPARE(report::loadReportFile(answer + QStringLiteral(".QRP"), loaded), report::ReportFileError::None);
    QVERIFY(loaded == pages);
    child<QAction>(preview, "SavePdfAction")->trigger();
    QVERIFY(testsupport::readAll(answer + QStringLiteral(".pdf")).startsWith("%PDF"));
    QCOMPARE(filters, (QStringList{QStringLiteral("Reports (*.QRP *.qrp)"), QStringLiteral("PDF (*.pdf *.PDF)")}));
    QVERIFY(messages.texts.isEmpty());

    answer = dir.filePath(QStringLiteral("no/such/folder/x.QRP"));
    child<QAction>(preview, "SaveReportAction")->trigger();
    QCOMPARE(messages.texts, QStringList{programText(ProgramText::ReportCannotWrite, 1)});
    // Each kind starts where its last file went, else in the documents.
    const QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(folders, (QStringList{QDir(start).exists() ? start : QDir::homePath(), folders[0], dir.path()}));
}

void TestReportWindow::previewPrintsThePages()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    // What the print button hands to a printer, here one that writes a PDF
    // with margins of its own, which the pages must ignore.
    QTemporaryDir dir;
    const report::ReportPages pages = samplePages();
    TReportPreview preview(pages, 1, QStringLiteral("Reports"), {});
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    emit preview.paintRequested(&printer);
    preview.show();
    preview.accept(); // as printing ends: the preview stays
    QVERIFY(preview.isVisible());
    QVERIFY(testsupport::writeAll(dir.filePath(QStringLiteral("direct.pdf")), report::renderPdf(pages)));

    auto text = [&](const QString &name) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), dir.filePath(name), QStringLiteral("-")});
        p.waitForFinished(60000);
        // The words with their boxes on the page, to the point.
        QStringList words;
        for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            if (line.contains(QLatin1String("<word")))
                words << line.trimmed();
        }
        return words.join(QLatin1Char('\n'));
    };
    const QString printed = text(QStringLiteral("printed.pdf"));
    QVERIFY(printed.contains(QStringLiteral("Страница")));
    QCOMPARE(printed, text(QStringLiteral("direct.pdf")));
}

void TestReportWindow::loadReport_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("previewed");
    QTest::addColumn<int>("error");
    const QByteArray good = report::encodeReportFile(samplePages());
    QTest::newRow("report file") << good << true << int(report::ReportFileError::None);
    QTest::newRow("not a report file") << QByteArray("hello") << false << int(report::ReportFileError::NotReportFile);
    QTest::newRow("truncated") << good.left(100) << false << int(report::ReportFileError::Truncated);
}

void TestReportWindow::loadReport()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, previewed);
    QFETCH(int, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.QRP"));
    QVERIFY(testsupport::writeAll(path, bytes));

    FakeServices fake(0);
    QWidget &window = fake.window;
    ReportCommands commands(fake.services, fake.store, fake.views);
    QString filter;
    commands.setOpenNameAsker([&](const QString &f) {
        filter = f;
        return path;
    });
    int shown = 0;
    bool hiddenMeanwhile = false;
    commands.setPreviewRunner([&](const report::ReportPages &pages) {
        ++shown;
        hiddenMeanwhile = !window.isVisible();
        QVERIFY(pages == samplePages());
    });
    commands.LoadReportActionExecute();
    QCOMPARE(filter, QStringLiteral("Отчеты (*.QRP *.qrp)"));
    QCOMPARE(shown, previewed ? 1 : 0);
    QCOMPARE(hiddenMeanwhile, previewed);
    QVERIFY(window.isVisible());
    if (previewed)
        QVERIFY(fake.texts.isEmpty());
    else
        QCOMPARE(fake.texts, QStringList{programText(report::reportFileText(report::ReportFileError(error)), 0)});

    // A cancelled file dialog does nothing.
    commands.setOpenNameAsker([](const QString &) { return QString(); });
    commands.LoadReportActionExecute();
    QCOMPARE(shown, previewed ? 1 : 0);
}

void TestReportWindow::createReport_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<bool>("previewed");
    QTest::newRow("confirmed") << 1 << true << true;
    QTest::newRow("cancelled") << 1 << false << false;
    QTest::newRow("unknown scheme") << 3 << true << false;
}

void TestReportWindow::createReport()
{
    QFETCH(int, scheme);
    QFETCH(bool, confirm);
    QFETCH(bool, previewed);
    const pcn::_totalblockdata meter =
        testsupport::sampleMeter(QStringLiteral("CE 301"), QStringLiteral("777"), scheme, 3, 4);
    FakeServices fake(1);
    QWidget &window = fake.window;
    TTitRepForm editor;
    ReportSelection selection;
    selection.meter = [&] { return &meter; };
    selection.verifications = [] { return QVector<int>{2, 0}; };
    ReportCommands commands(fake.services, fake.store, fake.views);
    commands.setSelection(selection);
    commands.setEditor(&editor);
    report::ReportPages shown;
    bool hiddenMeanwhile = false;
    commands.setPreviewRunner([&](const report::ReportPages &pages) {
        shown = pages;
        hiddenMeanwhile = !window.isVisible();
    });
    // The editor is modal: answer it once it is open.
    QTimer::singleShot(0, &editor, [&] { child<QPushButton>(editor, confirm ? "OkButton" : "CancelButton")->click(); });
    commands.CreateReportActionExecute();
    QCOMPARE(!shown.pages.isEmpty(), previewed);
    QCOMPARE(hiddenMeanwhile, previewed);
    QVERIFY(window.isVisible());
    QVERIFY(fake.texts.isEmpty());
    if (previewed)
        QCOMPARE(shown.title,
                 catalogTextLookup(1)(kReportSection, kReportLabelsGroup + QStringLiteral("/ReportTitle")));
}

// "New report" in the main window, with the texts it loaded, and
// `vardosk-cli report` on the same file and verifications. The window's
// pages come from the meter it shows, after a language switch made with the
// data folder unreadable: nothing is read again.
void TestReportWindow::windowAndCliGiveTheSamePages()
{
    testsupport::MainWindowFixture fixture;
    QVERIFY(fixture.open());
    const QString data = fixture.dataFolder();
    const QString file = data + "/m.pcn", out = fixture.folder + "/m.qrp";
    RecordStore &store = fixture.form->store();
    RecordViews &views = *fixture.form->views();
    for (int scheme : {4, 2, 1}) {
        QVERIFY(WriteMeterFile(file, testsupport::sampleMeter("CE 102", "4711", scheme, 3, 2)));
        store.SelectFolder(data);
        views.SelectMeter(views.MeterRowOf(0));
        for (int language : {0, 1}) {
            const QString lang = language ? "en" : "ru";
            const auto cli =
                testsupport::runCli({"report", file, "--verifications", "3,1", "--out", out, "--language", lang});
            report::ReportPages fromCli, fromWindow;
            QCOMPARE(report::loadReportFile(out, fromCli), report::ReportFileError::None);
            const QList<int> reads{store.scanCount(), store.pointReads()};
            QVERIFY(QFile::setPermissions(data, {}));
            language == 0 ? fixture.form->action(Command::RussianLanguage)->trigger()
                          : fixture.form->action(Command::EnglishLanguage)->trigger();
            TTitRepForm editor;
            child<QTextEdit>(editor, "RichEdit1")->clear();
            child<QTextEdit>(editor, "RichEdit2")->clear();
            const std::function<QVector<int>()> verifications = [] { return QVector{2, 0}; };
            ReportCommands commands(fixture.form->services(), store, views);
            commands.setSelection({[&] { return views.selectedMeter(); }, verifications, {}});
            commands.setEditor(&editor);
            commands.setPreviewRunner([&](const report::ReportPages &pages) { fromWindow = pages; });
            QTimer::singleShot(0, &editor, [&] { child<QPushButton>(editor, "OkButton")->click(); });
            commands.CreateReportActionExecute();
            QVERIFY(QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            QVERIFY2(!fromWindow.pages.isEmpty() && fromWindow == fromCli, qPrintable(cli.err));
            QCOMPARE(QList<int>({store.scanCount(), store.pointReads()}), reads);
        }
    }
}

QTEST_MAIN(TestReportWindow)
#include "tst_reportwindow.moc"
