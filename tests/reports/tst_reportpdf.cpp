// The protocol as a PDF through the command line: A4 pages whose text reads
// back (Cyrillic included), a report file that renders to the same text, and
// clear refusals of wrong arguments and files.
#include "records/meterfile.h"
#include "processes.h"
#include "samplerecords.h"
#include "testdir.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

testsupport::CliRun cli(const QStringList &args)
{
    return testsupport::runCli(QStringList{QStringLiteral("report")} + args);
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfInfo(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestReportPdf : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void protocolReadsBack_data();
    void protocolReadsBack();
    void reportFileRendersTheSameText();
    void refusesWrongInput_data();
    void refusesWrongInput();

private:
    QTemporaryDir m_dir;
    QString pcnPath(int scheme) const { return m_dir.filePath(QStringLiteral("scheme%1.pcn").arg(scheme)); }
};

void TestReportPdf::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    for (int scheme : {1, 2, 4}) {
        QVERIFY(WriteMeterFile(pcnPath(scheme), testsupport::sampleMeter(QStringLiteral("CE 301"),
                                                                         QStringLiteral("0091234"), scheme, 12, 14)));
    }
}

void TestReportPdf::protocolReadsBack_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("expected");
    const QStringList ru = {QStringLiteral("Протокол поверки № 7"), QStringLiteral("Поверитель: Иванов"),
                            QStringLiteral("Страница"), QStringLiteral("Активная мощность"), QStringLiteral("0091234")};
    QTest::newRow("4-wire, ru") << 1 << QStringLiteral("ru") << ru;
    QTest::newRow("3-wire, ru") << 2 << QStringLiteral("ru") << ru;
    QTest::newRow("1-phase, en") << 4 << QStringLiteral("en")
                                 << QStringList{QStringLiteral("Протокол поверки № 7"), QStringLiteral("Page"),
                                                QStringLiteral("Active power"), QStringLiteral("0091234")};
}

void TestReportPdf::protocolReadsBack()
{
    QFETCH(int, scheme);
    QFETCH(QString, language);
    QFETCH(QStringList, expected);
    const QString pdf = m_dir.filePath(QStringLiteral("p%1%2.pdf").arg(scheme).arg(language));
    const testsupport::CliRun r =
        cli({pcnPath(scheme), QStringLiteral("--verifications"), QStringLiteral("1,2,3,4,5,6,7,8,9,10"),
             QStringLiteral("--out"), pdf, QStringLiteral("--title"), QStringLiteral("Протокол поверки № 7"),
             QStringLiteral("--ending"), QStringLiteral("Поверитель: Иванов"), QStringLiteral("--language"), language});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QString text = pdfText(pdf);
    for (const QString &e : expected)
        QVERIFY2(text.contains(e), qPrintable(e));
    const QString info = pdfInfo(pdf);
    QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));
    // Ten groups of 14 points take several pages; every footer counts them.
    const int pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
    QVERIFY(pages > 1);
    const QString of = language == QLatin1String("ru") ? QStringLiteral("из %1") : QStringLiteral("of %1");
    QCOMPARE(int(text.count(of.arg(pages))), pages);
}

void TestReportPdf::reportFileRendersTheSameText()
{
    const QString qrp = m_dir.filePath(QStringLiteral("saved.QRP"));
    const QString direct = m_dir.filePath(QStringLiteral("direct.pdf"));
    const QString again = m_dir.filePath(QStringLiteral("again.pdf"));
    const QStringList common = {pcnPath(1), QStringLiteral("--verifications"), QStringLiteral("3,1"),
                                QStringLiteral("--title"), QStringLiteral("Протокол")};
    QCOMPARE(cli(common + QStringList{QStringLiteral("--out"), qrp}).exitCode, 0);
    QCOMPARE(cli(common + QStringList{QStringLiteral("--out"), direct}).exitCode, 0);
    QCOMPARE(cli({QStringLiteral("--from"), qrp, QStringLiteral("--out"), again}).exitCode, 0);
    QVERIFY(!pdfText(again).isEmpty());
    QCOMPARE(pdfText(again), pdfText(direct));
}

void TestReportPdf::refusesWrongInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QString pcn = QStringLiteral("@scheme1.pcn");
    const QString out = QStringLiteral("@out.pdf");
    QTest::newRow("no output") << QStringList{pcn} << 2 << "--out is missing";
    QTest::newRow("other output kind") << QStringList{pcn, "--out", "@out.txt"} << 2 << ".pdf or .qrp";
    QTest::newRow("unknown option") << QStringList{pcn, "--out", out, "--colour"} << 2 << "unknown option";
    QTest::newRow("language") << QStringList{pcn, "--out", out, "--language", "de"} << 2 << "ru or en";
    QTest::newRow("verification 0") << QStringList{pcn, "--out", out, "--verifications", "0"} << 2 << "does not exist";
    QTest::newRow("verification 13") << QStringList{pcn, "--out", out, "--verifications", "1,13"} << 2
                                     << "does not exist";
    QTest::newRow("named twice") << QStringList{pcn, "--out", out, "--verifications", "2,2"} << 2 << "named twice";
    QTest::newRow("more than 10 stored") << QStringList{pcn, "--out", out} << 2 << "at most 10";
    QTest::newRow("missing file") << QStringList{"@none.pcn", "--out", out} << 1 << "cannot read";
    QTest::newRow("not a record file") << QStringList{"@junk.bin", "--out", out} << 1 << "not a readable";
    QTest::newRow("not a report file") << QStringList{"--from", "@junk.bin", "--out", out} << 1 << "not a report file";
    QTest::newRow("report file to report file")
        << QStringList{"--from", "@junk.bin", "--out", "@x.qrp"} << 2 << "--from";
}

void TestReportPdf::refusesWrongInput()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QVERIFY(testsupport::writeAll(m_dir.filePath(QStringLiteral("junk.bin")), QByteArray(300, 'j')));
    for (QString &a : args)
        if (a.startsWith(QLatin1Char('@')))
            a = m_dir.filePath(a.mid(1));
    const testsupport::CliRun r = cli(args);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("out.pdf"))));
}

QTEST_MAIN(TestReportPdf)
#include "tst_reportpdf.moc"
