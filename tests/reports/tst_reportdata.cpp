// The data of a verification protocol: which verifications it takes, the
// texts of its header, groups and footer, and the cell texts of its tables.
#include "reports/protocoldocument.h"
#include "reports/protocollayout.h"
#include "samplerecords.h"
#include "views/textlookup.h"

#include <QtTest>

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kRussian(QLocale::Russian, QLocale::Russia);
const TextLookup kEnglishTexts = catalogTextLookup(1);
const TextLookup kRussianTexts = catalogTextLookup(0);

pcn::_totalblockdata meterOf(int scheme, int count, int points = 1)
{
    pcn::_totalblockdata m =
        testsupport::sampleMeter(QStringLiteral("CE301"), QStringLiteral("0012345"), scheme, count, points);
    for (int k = 0; k < m.verifications.size(); ++k)
        m.verifications[k].constant = 1000u + unsigned(k); // tells the groups apart
    m.instrument.type = 5; // the name comes from the lookup of the protocol's language
    m.instrument.serial = 512;
    return m;
}

ProtocolDocument build(const pcn::_totalblockdata &meter, const QVector<int> &selection,
                       const TextLookup &texts = kEnglishTexts, const QLocale &locale = kEnglish)
{
    const auto doc = buildProtocolDocument(meter, selection, {}, texts, locale, QDate(2026, 12, 7));
    if (!doc)
        qFatal("no protocol built");
    return *doc;
}

// A point whose quantity behind `field` is `value` (power factors with `pf`).
pcn::_datasample pointWith(RowField field, double value, char pf)
{
    pcn::_datasample p;
    switch (field) {
    case RowField::Ua:
        p.U[0] = value;
        break;
    case RowField::Ic:
        p.I[2] = value;
        break;
    case RowField::Uca:
        p.Uline[2] = value;
        break;
    case RowField::Kpa:
        p.cosPhi[0] = value;
        p.pfChar[0] = pf;
        break;
    case RowField::Kps:
        p.pfTotal = value;
        p.pfChar[3] = pf;
        break;
    case RowField::Ps:
        p.Ptotal = value;
        break;
    case RowField::Sb:
        p.S[1] = value;
        break;
    case RowField::Qp:
        p.QcrossTotal = value;
        break;
    case RowField::Er:
        p.errorPercent = value;
        break;
    default:
        qFatal("field not covered by the test");
    }
    return p;
}

// Every cell of the first table row of a point whose quantities differ
// (U 101.., Uline 201.., I 1.1.., power factors .51L.. and .54C, P 301,
// error 0.7) as "headings above it=value".
QString headedCells(pcn::_totalblockdata meter)
{
    pcn::_datasample &p = meter.verifications[0].points.first();
    for (std::size_t k = 0; k < 3; ++k)
        std::tie(p.U[k], p.Uline[k], p.I[k], p.cosPhi[k], p.pfChar[k]) =
            std::tuple(101.0 + k, 201.0 + k, 1.1 + 0.1 * k, 0.51 + 0.01 * k, 'L');
    std::tie(p.pfTotal, p.pfChar[3], p.Ptotal, p.errorPercent) = std::tuple(0.54, 'C', 301.0, 0.7);
    QList<report::PageItem> items = report::layoutProtocol(build(meter, {0})).pages.first().items, cells;
    for (const report::PageItem &i : items)
        if (i.font == report::FontSpec{"Times New Roman", 10} && i.box.left() > 30.4
            && (cells.isEmpty() || i.box.top() == cells[0].box.top()))
            cells << i;
    QStringList out;
    for (const report::PageItem &cell : cells) {
        out << QString();
        for (const report::PageItem &h : items)
            if (h.font.family == QLatin1String("Arial") && h.box.width() < 100 && h.box.top() < cell.box.top()
                && h.box.left() < cell.box.center().x() && h.box.right() > cell.box.center().x())
                out.last() += h.text + QLatin1Char(' ');
        out.last() += QLatin1Char('=') + cell.text;
    }
    return out.join(QLatin1Char('|'));
}

QVector<int> verificationIndices(const ProtocolDocument &doc)
{
    QVector<int> indices;
    for (const ResultGroup &g : doc.groups)
        indices << g.verificationIndex;
    return indices;
}

} // namespace

class TestReportData : public QObject {
    Q_OBJECT
private slots:
    void selection_data();
    void selection();
    void headerFromFirstVerification();
    void cellTexts_data();
    void cellTexts();
    void transformerLines_data();
    void transformerLines();
    void schemeKeys_data();
    void schemeKeys();
    void powerTypes_data();
    void powerTypes();
    void emptyVerification();
    void footerTexts();
    void refusedInput();
};

void TestReportData::selection_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QVector<int>>("displayOrder");
    QTest::addColumn<QVector<int>>("ticked");
    QTest::addColumn<QVector<int>>("expected");
    QTest::newRow("nothing ticked, 3") << 3 << QVector<int>{0, 1, 2} << QVector<int>{} << QVector<int>{0, 1, 2};
    QTest::newRow("nothing ticked, re-sorted") << 3 << QVector<int>{2, 0, 1} << QVector<int>{} << QVector<int>{2, 0, 1};
    QTest::newRow("2 of 7, display order")
        << 7 << QVector<int>{6, 5, 4, 3, 2, 1, 0} << QVector<int>{1, 4} << QVector<int>{4, 1};
    QTest::newRow("10 ticked of 12") << 12 << QVector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}
                                     << QVector<int>{11, 10, 9, 8, 7, 6, 5, 4, 3, 2}
                                     << QVector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    QTest::newRow("never more than 10") << 12 << QVector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11} << QVector<int>{}
                                        << QVector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
}

void TestReportData::selection()
{
    QFETCH(int, count);
    QFETCH(QVector<int>, displayOrder);
    QFETCH(QVector<int>, ticked);
    QFETCH(QVector<int>, expected);
    const QVector<int> taken = protocolSelection(displayOrder, ticked);
    QCOMPARE(taken, expected);
    const ProtocolDocument doc = build(meterOf(SchemeThreePhaseFourWire, count), taken);
    QCOMPARE(verificationIndices(doc), expected);
    // Each group describes its own verification.
    for (const ResultGroup &g : doc.groups)
        QCOMPARE(g.constantLine, QStringLiteral("Meter constant: %1").arg(1000 + g.verificationIndex));
}

void TestReportData::headerFromFirstVerification()
{
    pcn::_totalblockdata meter = meterOf(SchemeThreePhaseFourWire, 3);
    pcn::_blockdata &later = meter.verifications[2];
    later.meterType = QStringLiteral("OTHER");
    later.serialText = QStringLiteral("999");
    later.year = 2020;
    later.accuracyClass = 2;
    later.i1 = 100;
    later.i2 = 5;
    const ProtocolDocument doc = build(meter, {2});
    QCOMPARE(doc.typeLine, QStringLiteral("Meter type: CE301"));
    QCOMPARE(doc.serialLine, QStringLiteral("Serial number: 0012345"));
    QCOMPARE(doc.yearLine, QStringLiteral("Year of release: 2009"));
    QCOMPARE(doc.classLine, QStringLiteral("Accuracy class: 0.5"));
    QVERIFY(doc.transformerLines.isEmpty()); // the first verification has 1 / 1
    QCOMPARE(doc.groups.size(), 1);
    QCOMPARE(doc.groups[0].constantLine, QStringLiteral("Meter constant: 1002"));
}

void TestReportData::cellTexts_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<double>("value");
    QTest::addColumn<char>("pf");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    auto row = [](const char *name, RowField f, double v, char pf, const QLocale &l, const char *text) {
        QTest::newRow(name) << int(f) << v << pf << l << QString::fromUtf8(text);
    };
    row("voltage cut to 5", RowField::Ua, 57.735, ' ', kEnglish, "57.73");
    row("whole voltage", RowField::Ua, 230, ' ', kEnglish, "230");
    row("decimals cut, not rounded", RowField::Uca, 230.25, ' ', kEnglish, "230.2");
    row("error cut to 6", RowField::Er, -0.12345, ' ', kEnglish, "-0.123");
    row("power factor L", RowField::Kpa, 0.8666, 'L', kEnglish, "0.86L");
    row("power factor, Russian", RowField::Kpa, 0.8666, 'L', kRussian, "0,86L");
    row("total power factor C", RowField::Kps, -0.999, 'C', kEnglish, "-0.99C");
    row("voltage, Russian separator", RowField::Ua, 57.735, ' ', kRussian, "57,73");
    row("power cut to 8", RowField::Ps, 3000.123456, ' ', kEnglish, "3000.123");
    row("integer part kept whole", RowField::Ic, 123456.7, ' ', kEnglish, "123456");
    row("negative integer part kept whole", RowField::Sb, -123456789.5, ' ', kEnglish, "-123456789");
    row("exponent kept whole", RowField::Er, 1.2345e-7, ' ', kEnglish, "1.2345E-7");
    row("cross power", RowField::Qp, -1500.5, ' ', kEnglish, "-1500.5");
}

void TestReportData::cellTexts()
{
    QFETCH(int, field);
    QFETCH(double, value);
    QFETCH(char, pf);
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    const ResultRow row = makeResultRow(pointWith(RowField(field), value, pf), 6, locale);
    QCOMPARE(row.text(RowField(field)), expected);
    QCOMPARE(row.text(RowField::NumIzm), QStringLiteral("7"));
    QVERIFY(row.text(RowField::Ul).isEmpty());
    QVERIFY(row.text(RowField::Il).isEmpty());
}

void TestReportData::transformerLines_data()
{
    QTest::addColumn<int>("i1");
    QTest::addColumn<int>("i2");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("ratioLine"); // empty: no transformer lines
    QTest::newRow("equal currents") << 5 << 5 << kEnglish << QString();
    QTest::newRow("no secondary") << 100 << 0 << kEnglish << QString();
    QTest::newRow("1000/5") << 1000 << 5 << kEnglish << QStringLiteral("Turns ratio:  200");
    QTest::newRow("100/3 truncated") << 100 << 3 << kEnglish << QStringLiteral("Turns ratio:  33.33");
    QTest::newRow("200/3 truncated") << 200 << 3 << kEnglish << QStringLiteral("Turns ratio:  66.66");
    QTest::newRow("115/100 exact") << 115 << 100 << kEnglish << QStringLiteral("Turns ratio:  1.15");
    QTest::newRow("100/3 Russian") << 100 << 3 << kRussian << QStringLiteral("Turns ratio:  33,33");
}

void TestReportData::transformerLines()
{
    QFETCH(int, i1);
    QFETCH(int, i2);
    QFETCH(QLocale, locale);
    QFETCH(QString, ratioLine);
    pcn::_totalblockdata meter = meterOf(SchemeThreePhaseFourWire, 1);
    meter.verifications[0].i1 = std::uint16_t(i1);
    meter.verifications[0].i2 = std::uint16_t(i2);
    const ProtocolDocument doc = build(meter, {0}, kEnglishTexts, locale);
    if (ratioLine.isEmpty()) {
        QVERIFY(doc.transformerLines.isEmpty());
        return;
    }
    const QStringList expected{QStringLiteral("I1 nom., A:  %1").arg(i1), QStringLiteral("I2 nom., A:  %1").arg(i2),
                               ratioLine};
    QCOMPARE(doc.transformerLines, expected);
}

void TestReportData::schemeKeys_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QString>("schemeLine");
    QTest::addColumn<QString>("currentCaption");
    QTest::addColumn<QString>("powerFactorCaption");
    QTest::addColumn<bool>("phaseVoltage");
    QTest::addColumn<bool>("lineVoltage");
    QTest::addColumn<QString>("columns"); // see headedCells
    QTest::newRow("four-wire") << int(SchemeThreePhaseFourWire) << "Connection: 3 phase, 4 wire"
                               << "Current, A"
                               << "Power factor" << true << true
                               << "№ =1|Voltage, V A =101|Voltage, V B =102|Voltage, V C =103|Current, A A =1.1|"
                                  "Current, A B =1.2|Current, A C =1.3|Power factor A =0.51L|Power factor B =0.52L|"
                                  "Power factor C =0.53L|Power, W =301|Error, % =0.7";
    QTest::newRow("three-wire") << int(SchemeThreePhaseThreeWire) << "Connection: 3 phase, 3 wire"
                                << "Current, A"
                                << "Total power factor" << false << true
                                << "№ =1|Voltage, V AB =201|Voltage, V BC =202|Voltage, V CA =203|Current, A A =1.1|"
                                   "Current, A B =1.2|Current, A C =1.3|Total power factor =0.54C|Power, W =301|"
                                   "Error, % =0.7";
    QTest::newRow("single-phase") << int(SchemeSinglePhaseTwoWire) << "Connection: 1 phase, 2 wire"
                                  << "I, A"
                                  << "Power factor" << true << false
                                  << "№ =1|Voltage, V =101|I, A =1.1|Power factor =0.54C|Power, W =301|Error, % =0.7";
}

void TestReportData::schemeKeys()
{
    QFETCH(int, scheme);
    QFETCH(QString, schemeLine);
    QFETCH(QString, currentCaption);
    QFETCH(QString, powerFactorCaption);
    QFETCH(bool, phaseVoltage);
    QFETCH(bool, lineVoltage);
    QFETCH(QString, columns);
    const ProtocolDocument doc = build(meterOf(scheme, 1), {0});
    QCOMPARE(headedCells(meterOf(scheme, 1)), columns);
    QCOMPARE(int(doc.scheme), int(*protocolSchemeForCode(scheme)));
    QCOMPARE(doc.schemeLine, schemeLine);
    QCOMPARE(doc.currentCaption, currentCaption);
    QCOMPARE(doc.powerFactorCaption, powerFactorCaption);
    QCOMPARE(doc.voltageCaption, QStringLiteral("Voltage, V"));
    QCOMPARE(doc.errorCaption, QStringLiteral("Error, %"));
    const ResultGroup &g = doc.groups.at(0);
    QCOMPARE(g.phaseVoltageLine, phaseVoltage ? QStringLiteral("Unom. phase, V: 57.7") : QString());
    QCOMPARE(g.lineVoltageLine, lineVoltage ? QStringLiteral("Unom. line, V: 100") : QString());
    QCOMPARE(g.currentLine, QStringLiteral("Inom., A: 5"));
}

void TestReportData::powerTypes_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<int>("powerType");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("fieldText");
    QTest::newRow("active") << int(SchemeThreePhaseFourWire) << 0 << "Active power" << int(RowField::Ps) << "3000";
    QTest::newRow("apparent") << int(SchemeThreePhaseThreeWire) << 1 << "Apparent power" << int(RowField::Ss) << "3500";
    QTest::newRow("cross") << int(SchemeThreePhaseFourWire) << 2 << "Reactive power (cross-connection)"
                           << int(RowField::Qp) << "-12.5";
    QTest::newRow("cross, single-phase") << int(SchemeSinglePhaseTwoWire) << 2 << "Reactive power (cross-connection)"
                                         << int(RowField::Qp) << "-12.5";
    QTest::newRow("shift") << int(SchemeSinglePhaseTwoWire) << 3 << "Reactive power (phase-shift method)"
                           << int(RowField::Qs) << "7";
    QTest::newRow("geometric") << int(SchemeThreePhaseFourWire) << 4 << "Reactive power (geometrical method)"
                               << int(RowField::Qg) << "8.25";
}

void TestReportData::powerTypes()
{
    QFETCH(int, scheme);
    QFETCH(int, powerType);
    QFETCH(QString, title);
    QFETCH(int, field);
    QFETCH(QString, fieldText);
    pcn::_totalblockdata meter = meterOf(scheme, 1);
    pcn::_blockdata &v = meter.verifications[0];
    v.powerType = std::uint8_t(powerType);
    v.points[0].QcrossTotal = -12.5;
    v.points[0].QshiftTotal = 7;
    v.points[0].QgeomTotal = 8.25;
    const ResultGroup g = build(meter, {0}).groups.at(0);
    QCOMPARE(g.powerTitle, title);
    QVERIFY(!g.powerCaption.isEmpty());
    QCOMPARE(int(g.powerField), field);
    QCOMPARE(g.rows.at(0).text(g.powerField), fieldText);
}

void TestReportData::emptyVerification()
{
    pcn::_totalblockdata meter = meterOf(SchemeThreePhaseThreeWire, 2, 3);
    meter.verifications[1].points.clear();
    const ProtocolDocument doc = build(meter, {1, 0});
    QCOMPARE(doc.groups.size(), 2);
    QVERIFY(doc.groups[0].rows.isEmpty());
    QCOMPARE(doc.groups[0].dateLine, QStringLiteral("Verification date: 1/2/10"));
    QCOMPARE(doc.groups[1].rows.size(), 3);
    QCOMPARE(doc.groups[1].rows[2].text(RowField::NumIzm), QStringLiteral("3"));
}

void TestReportData::footerTexts()
{
    const ReportTexts texts{QStringLiteral("<p>T</p>"), QStringLiteral("<p>E</p>")};
    const auto doc = buildProtocolDocument(meterOf(SchemeThreePhaseFourWire, 1), {0}, texts, kRussianTexts, kRussian,
                                           QDate(2026, 12, 7));
    QVERIFY(doc);
    QCOMPARE(doc->documentTitle, QStringLiteral("Протокол поверки"));
    QCOMPARE(doc->titleHtml, texts.titleHtml);
    QCOMPARE(doc->endingHtml, texts.endingHtml);
    QCOMPARE(doc->referenceLine, QStringLiteral("Эталон: QK-76, зав. № 512"));
    QCOMPARE(doc->pageCaption, QStringLiteral("Страница"));
    ProtocolDocument counted = *doc;
    counted.pageCount = 3;
    QCOMPARE(counted.pageOfCaption(), QStringLiteral("из 3"));
    QCOMPARE(doc->yearSuffix, QStringLiteral("г."));
    QCOMPARE(doc->printDate, kRussian.toString(QDate(2026, 12, 7), QLocale::ShortFormat));
    QCOMPARE(doc->groups[0].currentLine, QStringLiteral("Iном., А: 5"));
}

void TestReportData::refusedInput()
{
    const pcn::_totalblockdata good = meterOf(SchemeThreePhaseFourWire, 2);
    pcn::_totalblockdata unknownScheme = good;
    unknownScheme.verifications[0].scheme = 3; // later verifications do not count
    QVERIFY(!buildProtocolDocument(unknownScheme, {1}, {}, kEnglishTexts, kEnglish));
    QVERIFY(!buildProtocolDocument(good, {}, {}, kEnglishTexts, kEnglish));
    QVERIFY(!buildProtocolDocument(good, {2}, {}, kEnglishTexts, kEnglish));
    QVERIFY(!buildProtocolDocument(pcn::_totalblockdata{}, {0}, {}, kEnglishTexts, kEnglish));
    // A missing text leaves the value part.
    const auto bare = buildProtocolDocument(good, {0}, {}, TextLookup{}, kEnglish);
    QVERIFY(bare);
    QCOMPARE(bare->typeLine, QStringLiteral("CE301"));
}

QTEST_MAIN(TestReportData)
#include "tst_reportdata.moc"
