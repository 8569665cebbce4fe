// The exports opened where users open them: LibreOffice Calc (without its
// window) converts the files the command-line tool wrote to CSV, and every
// value it read is compared with the stored verification.
#include "export/exportcells.h"
#include "records/errorlimits.h"
#include "records/meterfile.h"
#include "samplerecords.h"
#include "sheetdocument.h"
#include "testdir.h"
#include "views/textlookup.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace sheettest;

namespace {

const int kSchemes[] = {SchemeThreePhaseFourWire, SchemeThreePhaseThreeWire, SchemeSinglePhaseTwoWire};

bool run(const QString &program, const QStringList &args, QString *output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool ok = p.waitForFinished(180000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return ok;
}

QVector<QStringList> readCsv(const QString &path)
{
    return parseCsv(QString::fromUtf8(testsupport::readAll(path)));
}

// A value Calc read: numbers compare as numbers (Calc writes them in its own
// shortest form), texts exactly.
bool sameValue(const QString &calc, const QString &expected, bool number)
{
    if (!number)
        return calc == expected;
    bool ok1 = false, ok2 = false;
    const double a = calc.toDouble(&ok1);
    const double b = expected.toDouble(&ok2);
    return ok1 && ok2 && std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
}

} // namespace

class TestExportCalc : public QObject {
    Q_OBJECT
private:
    QString m_soffice;
    QTemporaryDir m_dir;

    // Converts files with Calc into `outDir`, with a private profile.
    void convert(const QStringList &files, const QString &outDir, const QStringList &filter = {})
    {
        QString output;
        const QStringList args =
            QStringList{QStringLiteral("-env:UserInstallation=")
                            + QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("profile"))).toString(),
                        QStringLiteral("--headless"), QStringLiteral("--norestore")}
            + filter
            + QStringList{QStringLiteral("--convert-to"), QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1"),
                          QStringLiteral("--outdir"), outDir}
            + files;
        QVERIFY2(run(m_soffice, args, &output), qPrintable(output));
    }

    QString cli() const { return testsupport::binDir() + QStringLiteral("/vardosk-cli"); }
    QString records() const { return m_dir.filePath(QStringLiteral("records")); }

private slots:
    void initTestCase()
    {
        m_soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (m_soffice.isEmpty())
            QSKIP("LibreOffice Calc (soffice) is not installed");
        QVERIFY(QDir().mkpath(records()));
        // One meter per scheme, two verifications of three points each.
        for (const int scheme : kSchemes) {
            pcn::_totalblockdata m = testsupport::sampleMeter(QStringLiteral("CE %1").arg(scheme),
                                                              QStringLiteral("%1001").arg(scheme), scheme, 2, 3);
            for (pcn::_blockdata &v : m.verifications) {
                v.i1 = 100;
                v.i2 = 3;
            }
            QVERIFY(WriteMeterFile(records() + QStringLiteral("/scheme%1.pcn").arg(scheme), m));
        }
    }

    void calcReadsTheSpreadsheetOfEveryScheme()
    {
        QStringList exported;
        for (const int scheme : kSchemes) {
            const QString out = m_dir.filePath(QStringLiteral("scheme%1.xml").arg(scheme));
            QVERIFY(run(cli(), {QStringLiteral("export"), records() + QStringLiteral("/scheme%1.pcn").arg(scheme),
                                QStringLiteral("--verification"), QStringLiteral("2"), QStringLiteral("--out"), out}));
            exported << out;
        }
        const QString outDir = m_dir.filePath(QStringLiteral("calc"));
        convert(exported, outDir);

        const TextLookup english = catalogTextLookup(LanguageEnglish);
        std::array<GridColumns, kGridCount> columns;
        for (int g = 0; g < kGridCount; ++g)
            columns[g] = defaultGridColumns(GridKind(g));
        for (const int scheme : kSchemes) {
            const MeterFileReadResult read = ReadMeterFile(records() + QStringLiteral("/scheme%1.pcn").arg(scheme));
            QVERIFY(read.readable);
            const pcn::_blockdata &v = read.meter.verifications[1];
            ShownGrid grid;
            // The command-line export writes the verdict column of the shipped limits.
            QVERIFY(shownGrid(v, columns, english, QLocale(), &grid, &limits::builtInLimits()));
            const QVector<ExportCell> details = exportDetailCells(v, english);
            const QStringList titles = exportDetailTitles(english) + grid.titles;

            const QVector<QStringList> csv = readCsv(outDir + QStringLiteral("/scheme%1.csv").arg(scheme));
            QCOMPARE(csv.size(), 2 + v.points.size()); // an empty first row, the header in row 2
            QCOMPARE(csv[1].mid(1), titles); // column A stays empty
            for (int j = 0; j < v.points.size(); ++j) {
                const QStringList &row = csv[2 + j];
                QCOMPARE(row.size(), 1 + titles.size());
                for (int k = 0; k < details.size(); ++k)
                    QVERIFY2(sameValue(row[1 + k], details[k].text, details[k].number),
                             qPrintable(QStringLiteral("%1: %2").arg(titles[k], row[1 + k])));
                for (int c = 0; c < grid.codes.size(); ++c) {
                    const QString shown = grid.rows[j][c];
                    QVERIFY2(sameValue(row[12 + c], shown, spreadsheetNumber(shown, QLocale(), nullptr)),
                             qPrintable(QStringLiteral("%1: %2 / %3").arg(grid.titles[c], row[12 + c], shown)));
                }
                // The record itself: point number, voltage of phase A, turns ratio 100 / 3.
                QCOMPARE(row[12].toInt(), j + 1);
                QCOMPARE(row[7], QStringLiteral("33"));
                const pcn::_datasample &p = v.points[j];
                const double firstVoltage = scheme == SchemeThreePhaseThreeWire ? p.Uline[0] : p.U[0];
                QCOMPARE(row[14].toDouble(), std::trunc(firstVoltage * 1000) / 1000);
            }
        }
    }

    void calcReadsTheFolderRegister()
    {
        const QString out = m_dir.filePath(QStringLiteral("register.csv"));
        QString output;
        QVERIFY2(run(cli(), {QStringLiteral("export-folder"), records(), QStringLiteral("--out"), out}, &output),
                 qPrintable(output));
        const QString outDir = m_dir.filePath(QStringLiteral("calc-register"));
        convert({out}, outDir, {QStringLiteral("--infilter=CSV:44,34,76,1")});

        const QVector<QStringList> written = readCsv(out);
        const QVector<QStringList> calc = readCsv(outDir + QStringLiteral("/register.csv"));
        QCOMPARE(written.size(), 1 + 3 * 2 * 3); // header, 3 meters x 2 verifications x 3 points
        QCOMPARE(calc.size(), written.size());
        QCOMPARE(calc[0], written[0]);
        for (int r = 1; r < written.size(); ++r) {
            QCOMPARE(calc[r].size(), written[r].size());
            for (int k = 0; k < written[r].size(); ++k) {
                bool number = false;
                written[r][k].toDouble(&number);
                QVERIFY2(sameValue(calc[r][k], written[r][k], number),
                         qPrintable(
                             QStringLiteral("row %1 field %2: %3 / %4").arg(r).arg(k).arg(calc[r][k], written[r][k])));
            }
        }
        // The rows carry the records: the first point of scheme 1's first verification.
        const MeterFileReadResult read = ReadMeterFile(records() + QStringLiteral("/scheme1.pcn"));
        QVERIFY(read.readable);
        const QStringList &first = calc[1];
        QCOMPARE(first[0], QStringLiteral("scheme1.pcn"));
        QCOMPARE(first[2], read.meter.verifications[0].meterType);
        QCOMPARE(first[14].toDouble(), read.meter.verifications[0].points[0].U[0]);
    }
};

QTEST_GUILESS_MAIN(TestExportCalc)
#include "tst_exportcalc.moc"
