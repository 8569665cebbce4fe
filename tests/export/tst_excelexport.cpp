// The spreadsheet document of one verification read back element by
// element, and the CSV register of a folder.
#include "export/excelexport.h"
#include "export/exportcells.h"
#include "export/foldercsv.h"
#include "samplerecords.h"
#include "testdir.h"
#include "sheetdocument.h"
#include "views/gridcolumnkinds.h"
#include "views/textlookup.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace sheettest;

namespace {

const QStringList kEnglishDetailTitles{"Date, time",         "Device type",     "Serial number", "Accuracy class",
                                       "Circuit connection", "Year of release", "Turns ratio",   "Power type",
                                       "Meter constant",     "Unom., V",        "Inom., A"};
const QStringList kDetailTypes{"String", "String", "Number", "Number", "String", "Number",
                               "Number", "String", "Number", "Number", "Number"};

std::array<GridColumns, kGridCount> defaultColumns()
{
    std::array<GridColumns, kGridCount> c;
    for (int g = 0; g < kGridCount; ++g)
        c[g] = defaultGridColumns(GridKind(g));
    return c;
}

// The first `shown` positions visible, the others hidden.
GridColumns firstColumns(GridKind grid, int shown)
{
    GridColumns c = defaultGridColumns(grid);
    for (int s = 0; s < c.visible.size(); ++s)
        c.visible[s] = s < shown;
    return c;
}

// The second verification of a meter of three, with I1 = 100, I2 = 3.
pcn::_blockdata verification(int scheme, int points)
{
    pcn::_totalblockdata meter =
        testsupport::sampleMeter(QStringLiteral("CE 301"), QStringLiteral("777"), scheme, 3, points);
    pcn::_blockdata v = meter.verifications[1];
    v.i1 = 100;
    v.i2 = 3;
    for (pcn::_datasample &p : v.points) {
        p.pfTotal = 0.8666;
        p.pfChar[3] = 'L';
    }
    return v;
}

ExcelExportInput input(const pcn::_blockdata &v, const std::array<GridColumns, kGridCount> &columns,
                       const QLocale &locale = QLocale::c())
{
    ExcelExportInput in;
    in.verification = &v;
    in.columns = columns;
    in.lookup = catalogTextLookup(LanguageEnglish);
    in.locale = locale;
    in.created = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC);
    return in;
}

// The data cell of a row under a header title.
Cell cellUnder(const Sheet &s, int row, const QString &title)
{
    for (int k = 0; k < s.rows[0].size(); ++k)
        if (s.rows[0][k].text == title)
            return s.rows[row].value(k);
    return {};
}

} // namespace

class TestExcelExport : public QObject {
    Q_OBJECT
private slots:
    void documentStructure_data()
    {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("gridColumns"); // 0: default configuration, else the first n positions
        QTest::addColumn<int>("n");
        QTest::newRow("four-wire") << int(SchemeThreePhaseFourWire) << 3 << 0 << 16;
        QTest::newRow("three-wire") << int(SchemeThreePhaseThreeWire) << 2 << 0 << 14;
        QTest::newRow("single-phase") << int(SchemeSinglePhaseTwoWire) << 1 << 0 << 9;
        QTest::newRow("no points") << int(SchemeThreePhaseFourWire) << 0 << 0 << 16;
        QTest::newRow("7 columns") << int(SchemeThreePhaseFourWire) << 2 << 7 << 7;
        QTest::newRow("three-wire, all columns") << int(SchemeThreePhaseThreeWire) << 2 << 16 << 16;
    }

    void documentStructure()
    {
        QFETCH(int, scheme);
        QFETCH(int, points);
        QFETCH(int, gridColumns);
        QFETCH(int, n);
        const pcn::_blockdata v = verification(scheme, points);
        std::array<GridColumns, kGridCount> columns = defaultColumns();
        GridKind grid = GridPhase34;
        QVERIFY(gridForScheme(scheme, &grid));
        if (gridColumns > 0)
            columns[grid] = firstColumns(grid, gridColumns);
        const QByteArray bytes = excelDocument(input(v, columns));
        const Sheet s = parseSheet(bytes);
        QVERIFY(s.parsed);

        QCOMPARE(s.declaration, QStringLiteral("<?xml version=\"1.0\"?>"));
        QVERIFY(bytes.contains("<?mso-application progid=\"Excel.Sheet\"?>"));
        QVERIFY(bytes.contains("<Created>2026-03-04T05:06:07Z</Created>"));
        QCOMPARE(s.workbookChildren,
                 (QStringList{"DocumentProperties", "ExcelWorkbook", "Styles", "Worksheet", "Worksheet", "Worksheet"}));
        QCOMPARE(s.sheetNames, (QStringList{"Лист1", "Лист2", "Лист3"}));
        QCOMPARE(s.columnCount, QString::number(n + 12));
        QCOMPARE(s.rowCount, QString::number(points + 2));

        // Header from B2: the detail titles, then the grid's titles.
        QCOMPARE(s.headerRowIndex, QStringLiteral("2"));
        QCOMPARE(s.rows.size(), points + 1);
        QCOMPARE(s.rows[0].size(), 11 + n);
        QCOMPARE(s.rows[0][0].index, QStringLiteral("2"));
        for (int k = 0; k < s.rows[0].size(); ++k) {
            QCOMPARE(s.rows[0][k].type, QStringLiteral("String"));
            if (k < 11)
                QCOMPARE(s.rows[0][k].text, kEnglishDetailTitles[k]);
        }
        if (gridColumns == 7) {
            const QStringList expected{"№", "Error, %", "Ua, V", "Ub, V", "Uc, V", "Ia, A", "Ib, A"};
            for (int k = 0; k < 7; ++k)
                QCOMPARE(s.rows[0][11 + k].text, expected[k]);
        }

        // Every data row repeats the same details of the exported verification.
        const QString date = QLocale::c().toString(v.date, QLocale::ShortFormat);
        for (int r = 1; r < s.rows.size(); ++r) {
            const QVector<Cell> &row = s.rows[r];
            QCOMPARE(row.size(), 11 + n);
            QCOMPARE(row[0].index, QStringLiteral("2"));
            QCOMPARE(row[0].style, QStringLiteral("s21"));
            for (int k = 0; k < 11; ++k) {
                QCOMPARE(row[k].type, kDetailTypes[k]);
                QCOMPARE(row[k].text, s.rows[1][k].text);
            }
            QVERIFY(row[0].text.startsWith(date + QStringLiteral("  08:30:01")));
            QCOMPARE(row[1].text, QStringLiteral("CE 301"));
            QCOMPARE(row[3].text, QStringLiteral("0.5"));
            QCOMPARE(row[6].text, QStringLiteral("33"));
            QCOMPARE(row[7].text, QStringLiteral("apparent")); // the second verification's power type
            QCOMPARE(row[9].text, scheme == SchemeThreePhaseThreeWire ? QStringLiteral("100") : QStringLiteral("57.7"));

            QCOMPARE(cellUnder(s, r, "№").text, QString::number(r));
            QCOMPARE(cellUnder(s, r, "№").type, QStringLiteral("Number"));
            QCOMPARE(cellUnder(s, r, "Error, %").text, r == 1 ? QStringLiteral("-0.123") : QStringLiteral("0.25"));
            QCOMPARE(cellUnder(s, r, "Error, %").type, QStringLiteral("Number"));
            if (scheme == SchemeThreePhaseThreeWire && gridColumns == 16) {
                QCOMPARE(cellUnder(s, r, "PF").text, QStringLiteral("0.86L"));
                QCOMPARE(cellUnder(s, r, "PF").type, QStringLiteral("String"));
                QCOMPARE(cellUnder(s, r, "I range, A").type, QStringLiteral("String"));
                QCOMPARE(cellUnder(s, r, "U range, V").type, QStringLiteral("Number"));
            }
        }
    }

    void gridNumbersFollowTheLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("written");
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        QTest::newRow("point") << QLocale::c() << "220.01"
                               << "Number"
                               << "220.01";
        QTest::newRow("comma in a comma locale") << russian << "220,01"
                                                 << "Number"
                                                 << "220.01";
        QTest::newRow("point in a comma locale") << russian << "220.01"
                                                 << "String"
                                                 << "220.01";
        QTest::newRow("power factor") << russian << "0,86L"
                                      << "String"
                                      << "0,86L";
        QTest::newRow("exponent") << russian << "1E-6"
                                  << "Number"
                                  << "1e-06";
        QTest::newRow("not a number") << QLocale::c() << "NAN"
                                      << "String"
                                      << "NAN";
        QTest::newRow("empty") << QLocale::c() << ""
                               << "String"
                               << "";
    }

    void gridNumbersFollowTheLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, shown);
        QFETCH(QString, type);
        QFETCH(QString, written);
        QString canonical;
        const bool number = spreadsheetNumber(shown, locale, &canonical);
        QCOMPARE(number ? QStringLiteral("Number") : QStringLiteral("String"), type);
        QCOMPARE(number ? canonical : shown, written);
    }

    void decimalCommaUserLocale()
    {
        // The user's locale writes 220,01 in the grid; the document holds 220.01.
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        pcn::_blockdata v = verification(SchemeSinglePhaseTwoWire, 1);
        v.uPhaseNom = 57.5;
        v.points[0].U = {220.01, 0, 0};
        const Sheet s = parseSheet(excelDocument(input(v, defaultColumns(), QLocale())));
        const QString shown = gridCellText(GridPhase12, 2, v.points[0], 0);
        QLocale::setDefault(saved);
        QCOMPARE(shown, QStringLiteral("220,01"));
        QVERIFY(s.parsed);
        QCOMPARE(cellUnder(s, 1, "Ua, V").type, QStringLiteral("Number"));
        QCOMPARE(cellUnder(s, 1, "Ua, V").text, QStringLiteral("220.01"));
        QCOMPARE(s.rows[1][9].text, QStringLiteral("57.5")); // "%g" keeps its point
    }

    void oddDetailsStayReadable_data()
    {
        QTest::addColumn<QString>("serialText");
        QTest::addColumn<QString>("serialType");
        QTest::addColumn<QString>("meterType");
        QTest::newRow("digits") << "0012345"
                                << "Number"
                                << "CE 301";
        QTest::newRow("letters in the serial") << "12-A"
                                               << "String"
                                               << "CE 301";
        QTest::newRow("control byte in the type") << "1"
                                                  << "Number" << QStringLiteral("CE\x01 301");
    }

    void oddDetailsStayReadable()
    {
        QFETCH(QString, serialText);
        QFETCH(QString, serialType);
        QFETCH(QString, meterType);
        pcn::_blockdata v = verification(SchemeThreePhaseFourWire, 1);
        v.serialText = serialText;
        v.meterType = meterType;
        const Sheet s = parseSheet(excelDocument(input(v, defaultColumns())));
        QVERIFY(s.parsed); // the document stays well-formed
        QCOMPARE(s.rows[1][2].type, serialType);
        QCOMPARE(s.rows[1][2].text, serialText);
        QCOMPARE(s.rows[1][1].text, QString(meterType).replace(QChar(1), QChar(QChar::ReplacementCharacter)));
    }

    void xmlSafeTextReplacesWhatXmlCannotHold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("safe");
        const QString r(QChar::ReplacementCharacter);
        QTest::newRow("plain") << "CE 301"
                               << "CE 301";
        QTest::newRow("tab, line feed, return") << "a\tb\nc\rd"
                                                << "a\tb\nc\rd";
        QTest::newRow("first control byte") << QStringLiteral("a\x01"
                                                              "b")
                                            << "a" + r + "b";
        QTest::newRow("last control byte") << QStringLiteral("a\x1F") << "a" + r;
        QTest::newRow("zero") << QString(QChar(0)) << r;
        QTest::newRow("blank after controls") << QStringLiteral("\x20") << " ";
        QTest::newRow("U+FFFE, U+FFFF") << (QString(QChar(0xFFFE)) + QChar(0xFFFF)) << r + r;
        QTest::newRow("lone high surrogate") << (QString(QChar(0xD83D)) + 'x') << r + "x";
        QTest::newRow("lone low surrogate") << QString(QChar(0xDE00)) << r;
        QTest::newRow("surrogate pair") << QString::fromUtf8("\xF0\x9F\x98\x80")
                                        << QString::fromUtf8("\xF0\x9F\x98\x80");
    }

    void xmlSafeTextReplacesWhatXmlCannotHold()
    {
        QFETCH(QString, text);
        QFETCH(QString, safe);
        QCOMPARE(xmlSafeText(text), safe);
    }

    void csvFieldQuotesWhereNeeded_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "CE 301"
                               << "CE 301";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("comma") << "A, B"
                               << "\"A, B\"";
        QTest::newRow("quote") << "A \"B\""
                               << "\"A \"\"B\"\"\"";
        QTest::newRow("line feed") << "A\nB"
                                   << "\"A\nB\"";
        QTest::newRow("carriage return") << "A\rB"
                                         << "\"A\rB\"";
        QTest::newRow("semicolon and blanks") << " A;B "
                                              << " A;B ";
    }

    void csvFieldQuotesWhereNeeded()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(csvField(text), field);
    }

    void writesAtomicallyAndReportsFailure()
    {
        QTemporaryDir dir;
        const pcn::_blockdata v = verification(SchemeThreePhaseFourWire, 2);
        const QString path = dir.filePath(QStringLiteral("with blanks.xml"));
        QVERIFY(testsupport::writeAll(path, "old content"));
        QVERIFY(ExportExcel(path, input(v, defaultColumns())));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(parseSheet(f.readAll()).parsed);
        QVERIFY(!ExportExcel(dir.filePath(QStringLiteral("missing/folder.xml")), input(v, defaultColumns())));
    }

    void folderRegister()
    {
        QVector<pcn::_totalblockdata> meters{
            testsupport::sampleMeter(QStringLiteral("A, \"B\""), QStringLiteral("1"), SchemeThreePhaseFourWire, 2, 2),
            testsupport::sampleMeter(QStringLiteral("C"), QStringLiteral("2"), SchemeSinglePhaseTwoWire, 1, 1)};
        // A range with fractions: its texts are written with a point.
        for (pcn::_datasample &p : meters[1].verifications[0].points)
            p.range = {42, 0x8000, RangeClamps, 250, 0x8000, 0};
        meters[0].fileName = QStringLiteral("a.pcn");
        meters[1].fileName = QStringLiteral("b.pcn");
        const QByteArray bytes = folderCsv(meters, catalogTextLookup(LanguageEnglish));
        QVERIFY(bytes.endsWith("\r\n"));
        const QVector<QStringList> rows = parseCsv(QString::fromUtf8(bytes));
        QCOMPARE(rows.size(), 1 + 2 * 2 + 1);
        for (const QStringList &row : rows)
            QCOMPARE(row.size(), 1 + 11 + 28);
        QCOMPARE(rows[0].mid(0, 3), (QStringList{"File", "Date, time", "Device type"}));
        QCOMPARE(rows[0].last(), QStringLiteral("I range, A"));
        const QStringList first{"a.pcn",    "2010-01-01 08:30:00",
                                "A, \"B\"", "1",
                                "0.5",      "3 phase, 4 wire",
                                "2009",     "1",
                                "active",   "1600",
                                "57.7",     "5",
                                "1",        "-0.123",
                                "220.5",    "221",
                                "222",      "5",
                                "4.5",      "4"};
        QCOMPARE(rows[1].mid(0, first.size()), first);
        QCOMPARE(rows[4][8], QStringLiteral("apparent")); // the second verification, second point
        QCOMPARE(rows[4][12], QStringLiteral("2"));
        // A single-phase row fills only the quantities of its grid.
        const QStringList single = rows[5].mid(12);
        QCOMPARE(single.mid(0, 8), (QStringList{"1", "-0.123", "220.5", "", "", "5", "", ""}));
        QCOMPARE(single[14], QStringLiteral("0")); // total power factor, never derived here
        QCOMPARE(single[18], QStringLiteral("3000"));
        QCOMPARE(single.mid(26), (QStringList{"250.5", "10.5 C"}));
    }
};

QTEST_GUILESS_MAIN(TestExcelExport)
#include "tst_excelexport.moc"
