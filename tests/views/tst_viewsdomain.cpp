// Rules of the record views without any window: cell and row texts, column
// configuration, sorting and the enabling of the record commands.
#include "base/appstate.h"
#include "base/stringcatalog.h"
#include "views/commandstate.h"
#include "views/gridcolumnkinds.h"
#include "views/gridconfig.h"
#include "views/listsort.h"
#include "views/listtexts.h"
#include "views/textlookup.h"

#include <QtTest>

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kRussian(QLocale::Russian, QLocale::Russia);

ListedMeter meter(const QString &type, const QString &serial)
{
    ListedMeter m;
    m.meterType = type;
    m.serialText = serial;
    m.verificationCount = 1;
    return m;
}

QVector<int> identity(int n)
{
    QVector<int> rows;
    for (int i = 0; i < n; ++i)
        rows << i;
    return rows;
}

GridColumns allHidden(GridKind grid)
{
    GridColumns c = defaultGridColumns(grid);
    for (int s = 2; s < c.visible.size(); ++s)
        c.visible[s] = false;
    return c;
}

} // namespace

class TestViewsDomain : public QObject {
    Q_OBJECT
private slots:
    void cellTexts();
    void columnKinds();
    void rowTexts();
    void layoutCounts();
    void moveColumnRules();
    void hiddenColumnKeepsPlace();
    void repairOfDamagedTables();
    void dialogPages();
    void meterSorting();
    void verificationSorting();
    void reportRule();
    void commandStates_data();
    void commandStates();
};

void TestViewsDomain::cellTexts()
{
    pcn::_datasample p;
    p.errorPercent = -0.1239;
    p.cosPhi = {0.8666, -0.5, 1.0};
    p.pfChar = {'L', 'C', 'L', 'C'};
    p.pfTotal = 0.999;
    p.U = {220.12345, 0, 0};
    p.Uline = {0, 380.5, 0};
    p.Ptotal = 1234.56789;
    p.QcrossTotal = -12.3456;
    p.range = {40, 0, RangeClamps, 250, 0, 0};

    // Truncation towards zero, not rounding, and the general number format.
    QCOMPARE(gridCellText(GridPhase34, 1, p, 0, kEnglish), QStringLiteral("-0.123"));
    QCOMPARE(gridCellText(GridPhase34, 1, p, 0, kRussian), QStringLiteral("-0,123"));
    QCOMPARE(gridCellText(GridPhase34, 11, p, 0, kEnglish), QStringLiteral("0.86L"));
    QCOMPARE(gridCellText(GridPhase34, 12, p, 0, kEnglish), QStringLiteral("-0.5C"));
    QCOMPARE(gridCellText(GridPhase34, 13, p, 0, kEnglish), QStringLiteral("1L"));
    QCOMPARE(gridCellText(GridPhase34, 14, p, 0, kEnglish), QStringLiteral("0.99C"));
    QCOMPARE(gridCellText(GridPhase34, 2, p, 0, kEnglish), QStringLiteral("220.123"));
    QCOMPARE(gridCellText(GridPhase34, 18, p, 0, kEnglish), QStringLiteral("1234.567"));
    QCOMPARE(gridCellText(GridPhase34, 25, p, 0, kEnglish), QStringLiteral("-12.345"));
    QCOMPARE(gridCellText(GridPhase34, 26, p, 0, kEnglish), QStringLiteral("250"));
    QCOMPARE(gridCellText(GridPhase34, 27, p, 0, kEnglish, {0, RangeLabels::from(catalogTextLookup(1))}),
             QStringLiteral("10 C"));
    QCOMPARE(gridCellText(GridPhase34, 27, p, 0, kEnglish, {1, RangeLabels::from(catalogTextLookup(1))}),
             QStringLiteral("40"));
    QCOMPARE(gridCellText(GridPhase34, 0, p, 6, kEnglish), QStringLiteral("7"));
    // Three-wire code 3 is the line voltage BC; single-phase code 4 the total factor.
    QCOMPARE(gridCellText(GridPhase33, 3, p, 0, kEnglish), QStringLiteral("380.5"));
    QCOMPARE(gridCellText(GridPhase12, 4, p, 0, kEnglish), QStringLiteral("0.99C"));
    QCOMPARE(gridCellText(GridPhase12, 2, p, 0, kEnglish), QStringLiteral("220.123"));
    // A point that was never derived shows the number without a character.
    QCOMPARE(powerFactorText(0.5, ' ', kEnglish), QStringLiteral("0.5"));
}

void TestViewsDomain::columnKinds()
{
    QCOMPARE(gridColumnCount(GridPhase34), 28);
    QCOMPARE(gridColumnCount(GridPhase33), 16);
    QCOMPARE(gridColumnCount(GridPhase12), 11);
    QCOMPARE(gridColumnTitlePath(GridPhase34, 6), QStringLiteral("ResultsTableTitles/Ib"));
    QCOMPARE(gridColumnTitlePath(GridPhase33, 2), QStringLiteral("ResultsTableTitles/Uab"));
    QCOMPARE(gridColumnTitlePath(GridPhase33, 8), QStringLiteral("ResultsTableTitles/Kps"));
    QCOMPARE(gridColumnTitlePath(GridPhase12, 3), QStringLiteral("ResultsTableTitles/Ia"));
    QCOMPARE(gridColumnTitlePath(GridPhase12, 8), QStringLiteral("ResultsTableTitles/ReactiveShiftPowerS"));
    QCOMPARE(gridColumnTitlePath(GridPhase12, 10), QStringLiteral("ResultsTableTitles/LimI"));

    QCOMPARE(gridColumnColour(GridPhase34, 2), QColor(255, 255, 185)); // Ua: phase A
    QCOMPARE(gridColumnColour(GridPhase34, 9), QColor(202, 247, 183)); // Ubc: phase B
    QCOMPARE(gridColumnColour(GridPhase34, 13), QColor(255, 155, 155)); // Kpc: phase C
    QCOMPARE(gridColumnColour(GridPhase34, 23), QColor(220, 220, 255)); // Q geometric: total
    QCOMPARE(gridColumnColour(GridPhase34, 26), QColor(202, 247, 183)); // U range: B
    QCOMPARE(gridColumnColour(GridPhase33, 4), QColor(255, 155, 155)); // Uca
    QCOMPARE(gridColumnColour(GridPhase12, 3), QColor(255, 255, 185)); // Ia
    QCOMPARE(gridColumnColour(GridPhase12, 0), QColor(255, 150, 255));
    QCOMPARE(currentCellColour(), QColor(255, 153, 0));

    GridKind grid = GridPhase12;
    QVERIFY(gridForScheme(1, &grid) && grid == GridPhase34);
    QVERIFY(gridForScheme(2, &grid) && grid == GridPhase33);
    QVERIFY(gridForScheme(4, &grid) && grid == GridPhase12);
    QVERIFY(!gridForScheme(3, &grid));
}

void TestViewsDomain::rowTexts()
{
    QCOMPARE(transformerRatioText(5, 1, kEnglish), QStringLiteral("5    /    1    /    5"));
    QCOMPARE(transformerRatioText(0, 0, kEnglish), QStringLiteral("0    /    0    /    1"));
    QCOMPARE(transformerRatioText(10, 3, kEnglish), QStringLiteral("10    /    3    /    3.33"));

    const TextLookup english = catalogTextLookup(1);
    const TextLookup russian = catalogTextLookup(0);
    pcn::_blockdata v;
    v.scheme = SchemeThreePhaseThreeWire;
    v.powerType = PowerReactiveShift;
    v.constant = 4000000000u;
    v.uPhaseNom = 57.7;
    v.uLineNom = 100;
    v.iNom = 0.7;
    v.date = QDate(2009, 3, 5);
    v.time = QTime(9, 5, 7);
    QStringList row = verificationRowTexts(v, russian, kRussian);
    QCOMPARE(row, (QStringList{QStringLiteral("05.03.2009       09:05:07"), QStringLiteral("реактивная сдвиговая"),
                               QStringLiteral("4000000000"), QStringLiteral(" "), QStringLiteral("100"),
                               QStringLiteral("0,7")}));
    v.scheme = SchemeSinglePhaseTwoWire;
    row = verificationRowTexts(v, english, kEnglish);
    QCOMPARE(row.mid(1), (QStringList{QStringLiteral("reactive (phase-shift method)"), QStringLiteral("4000000000"),
                                      QStringLiteral("57.7"), QStringLiteral(" "), QStringLiteral("0.7")}));
    QVERIFY(!row[0].contains(QStringLiteral("UTC")));
    QVERIFY(row[0].contains(QStringLiteral("       ")));
    v.scheme = 3;
    row = verificationRowTexts(v, english, kEnglish);
    QCOMPARE(row.mid(3), (QStringList{QString(), QString(), QString()}));

    ListedMeter m = meter(QStringLiteral("CE301         "), QStringLiteral("0123"));
    m.accuracyClass = 0.5;
    m.scheme = SchemeThreePhaseFourWire;
    m.year = 2009;
    m.i1 = 5;
    m.i2 = 1;
    m.instrument = {1234, 3};
    QCOMPARE(meterRowTexts(m, russian, kRussian),
             (QStringList{QStringLiteral("CE301         "), QStringLiteral("0123"), QStringLiteral("0,5"),
                          QStringLiteral("3-х фаз. 4-пров."), QStringLiteral("2009"),
                          QStringLiteral("5    /    1    /    5"), QStringLiteral("QT-77     1234")}));
    m.instrument.serial = 0;
    m.scheme = 7;
    const QStringList english7 = meterRowTexts(m, english, kEnglish);
    QCOMPARE(english7[3], QString());
    QCOMPARE(english7[6], QString());

    // A list makes its cells one at a time, looking its names up once; the
    // width of a column is taken once per source of its texts, so equal
    // sources must mean equal texts.
    QVector<ListedMeter> many;
    for (int i = 0; i < 3000; ++i) {
        ListedMeter each = i % 7 == 3 ? ListedMeter() : m;
        if (each.verificationCount > 0) {
            each.serialText = QString::number(i);
            each.scheme =
                QVector<int>{SchemeThreePhaseFourWire, SchemeThreePhaseThreeWire, SchemeSinglePhaseTwoWire, 0}[i % 4];
            // Runs of equal values, which a row may take over from the row before.
            each.accuracyClass = (i / 5) / 100.0;
            each.i1 = std::uint16_t(i / 3);
            each.i2 = std::uint16_t(1 + i / 2 % 3);
            each.year = std::uint16_t(2000 + i / 7);
            each.instrument.serial = std::uint16_t(i % 11 == 0 ? 0 : 1234 + i / 13);
        }
        many << each;
    }
    int lookups = 0;
    const TextLookup counted = [&](const QString &section, const QString &path) {
        ++lookups;
        return russian(section, path);
    };
    const MeterRowTexts texts(counted, kRussian);
    const int lookupsToMake = lookups;
    QHash<MeterCellSource, QString> textOfSource[kMeterListColumnCount];
    for (int i = 0; i < many.size(); ++i) {
        for (int c = 0; c < kMeterListColumnCount; ++c) {
            const std::optional<MeterCellSource> source = texts.source(many[i], c);
            QCOMPARE(source.has_value(), c >= 2 && many[i].verificationCount > 0);
            if (!source)
                continue;
            const QString text = texts.cell(many[i], c);
            const auto known = textOfSource[c].constFind(*source);
            if (known == textOfSource[c].constEnd())
                textOfSource[c].insert(*source, text);
            else
                QCOMPARE(*known, text);
        }
    }
    QCOMPARE(lookups, lookupsToMake);
    QCOMPARE(texts.cell(many[0], 3), QStringLiteral("3-х фаз. 4-пров."));
}

void TestViewsDomain::layoutCounts()
{
    QCOMPARE(layoutColumnCount(defaultGridColumns(GridPhase34)), 16);
    QCOMPARE(layoutColumnCount(defaultGridColumns(GridPhase33)), 14);
    QCOMPARE(layoutColumnCount(defaultGridColumns(GridPhase12)), 9);
    // With every optional column hidden: point number and error, one fixed.
    for (GridKind grid : {GridPhase12, GridPhase33, GridPhase34}) {
        const GridColumns c = allHidden(grid);
        QCOMPARE(layoutColumnCount(c), 2);
        QCOMPARE(displayedCodes(c), (QVector<int>{0, 1}));
    }
    QCOMPARE(frozenColumnCount(2), 1);
    QCOMPARE(frozenColumnCount(3), 2);
    QCOMPARE(frozenColumnCount(16), 2);
}

void TestViewsDomain::moveColumnRules()
{
    GridColumns c = defaultGridColumns(GridPhase34);
    // Displayed: 0 1 2(Ua) 3 4 5 6(Ib) ...; drag Ib (index 6) in front of Ua (index 2).
    QVERIFY(moveColumn(c, 6, 2));
    QCOMPARE(c.codes.mid(0, 8), (QVector<std::uint8_t>{0, 1, 6, 2, 3, 4, 5, 7}));
    QCOMPARE(displayedCodes(c).mid(0, 4), (QVector<int>{0, 1, 6, 2}));
    // And back to the right: Ib (now index 2) to index 6 restores the default.
    QVERIFY(moveColumn(c, 2, 6));
    QCOMPARE(c.codes, defaultGridColumns(GridPhase34).codes);

    // Fixed columns never move and never take a dragged column.
    QVERIFY(!moveColumn(c, 1, 4));
    QVERIFY(!moveColumn(c, 4, 0));
    QVERIFY(!moveColumn(c, 3, 3));
    QVERIFY(!moveColumn(c, 2, 99));
    QCOMPARE(c.codes, defaultGridColumns(GridPhase34).codes);

    // Moving right across hidden entries: they shift with the others.
    // Default four-wire: displayed 0..7, 11, 12, 13, 18, ...; index 8 shows code 11.
    c = defaultGridColumns(GridPhase34);
    QVERIFY(moveColumn(c, 2, 8)); // Ua behind Kpa
    QCOMPARE(c.codes.mid(0, 13), (QVector<std::uint8_t>{0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 2, 12}));
    QCOMPARE(c.visible[11], true); // Ua keeps its flag
    QCOMPARE(c.visible[7], false); // hidden Uab moved one place down
    QCOMPARE(displayedCodes(c).mid(0, 10), (QVector<int>{0, 1, 3, 4, 5, 6, 7, 11, 2, 12}));
}

void TestViewsDomain::hiddenColumnKeepsPlace()
{
    GridColumns c = defaultGridColumns(GridPhase33);
    QVERIFY(moveColumn(c, 6, 2)); // Ib to the front
    const QVector<std::uint8_t> order = c.codes;
    // Hide Ib through the dialog's check states, then show it again.
    QVector<bool> checks = checksFromColumns(c, 1);
    QCOMPARE(checks.size(), 14);
    checks[4] = false; // item 4 stands for code 6 (Ib)
    applyChecksToColumns(c, checks);
    QCOMPARE(displayedCodes(c).mid(0, 3), (QVector<int>{0, 1, 2}));
    QCOMPARE(c.codes, order);
    checks[4] = true;
    applyChecksToColumns(c, checks);
    QCOMPARE(displayedCodes(c).mid(0, 3), (QVector<int>{0, 1, 6}));
}

void TestViewsDomain::repairOfDamagedTables()
{
    // A table of zeros (an all-zero settings file): not a permutation.
    GridColumns zeros{QVector<std::uint8_t>(28, 0), QVector<bool>(28, false)};
    QVERIFY(!isValidGridColumns(zeros, GridPhase34));
    QVERIFY(repairGridColumns(zeros, GridPhase34));
    QCOMPARE(zeros.codes, defaultGridColumns(GridPhase34).codes);
    QCOMPARE(zeros.visible, defaultGridColumns(GridPhase34).visible);

    GridColumns twice = defaultGridColumns(GridPhase12);
    twice.codes[5] = 4;
    QVERIFY(repairGridColumns(twice, GridPhase12));
    QCOMPARE(twice.codes, defaultGridColumns(GridPhase12).codes);

    GridColumns moved = defaultGridColumns(GridPhase12);
    std::swap(moved.codes[1], moved.codes[2]); // error column out of its place
    QVERIFY(!isValidGridColumns(moved, GridPhase12));

    // A valid order is kept; only the fixed entries are made visible.
    GridColumns hiddenFixed = defaultGridColumns(GridPhase33);
    std::swap(hiddenFixed.codes[3], hiddenFixed.codes[9]);
    hiddenFixed.visible[1] = false;
    const QVector<std::uint8_t> order = hiddenFixed.codes;
    QVERIFY(repairGridColumns(hiddenFixed, GridPhase33));
    QCOMPARE(hiddenFixed.codes, order);
    QVERIFY(hiddenFixed.visible[1]);
    QVERIFY(!repairGridColumns(hiddenFixed, GridPhase33));
}

void TestViewsDomain::dialogPages()
{
    QCOMPARE(gridForDialogPage(0), GridPhase34);
    QCOMPARE(gridForDialogPage(1), GridPhase33);
    QCOMPARE(gridForDialogPage(2), GridPhase12);
    QCOMPARE(gridForDialogPage(7), GridPhase34);
    QCOMPARE(gridForDialogPage(-1), GridPhase34);
    QCOMPARE(dialogItemCount(0), 26);
    QCOMPARE(dialogItemCount(1), 14);
    QCOMPARE(dialogItemCount(2), 9);

    // Items left unchecked by the default button, page by page.
    const QVector<QVector<int>> unchecked{{6, 7, 8, 12, 13, 14, 15, 17, 18, 19, 24, 25}, {12, 13}, {7, 8}};
    for (int page = 0; page < 3; ++page) {
        const QVector<bool> checks = dialogDefaultChecks(page);
        for (int item = 0; item < checks.size(); ++item)
            QCOMPARE(checks[item], !unchecked[page].contains(item));
    }

    const QString list = QStringLiteral("ViewParametersFormLabels/ViewParametersList/");
    QCOMPARE(dialogItemTextPath(0, 0), list + QStringLiteral("Ua"));
    QCOMPARE(dialogItemTextPath(0, 25), list + QStringLiteral("Ilim"));
    QCOMPARE(dialogItemTextPath(1, 6), list + QStringLiteral("Kps"));
    QCOMPARE(dialogItemTextPath(2, 0), list + QStringLiteral("Ua12"));
    QCOMPARE(dialogItemTextPath(2, 6), list + QStringLiteral("ReactiveShiftPowerS12"));
    QCOMPARE(catalogDefault(QStringLiteral("ViewParametersForm"), dialogItemTextPath(0, 12), 0),
             QStringLiteral("Суммарный коэффициент мощности"));
}

void TestViewsDomain::meterSorting()
{
    QVector<ListedMeter> meters{
        meter(QStringLiteral("beta"), QStringLiteral("2")), meter(QStringLiteral("Alpha"), QStringLiteral("9")),
        meter(QStringLiteral("ALPHA"), QStringLiteral("1")), meter(QStringLiteral("gamma"), QStringLiteral("5"))};
    QCOMPARE(compareMeters(meter(QStringLiteral("Abc"), QStringLiteral("x1")),
                           meter(QStringLiteral("aBC"), QStringLiteral("X1")), true, kEnglish),
             0);

    ListSortState state{0, true};
    QVector<int> rows = identity(4);
    // First click on the serial column: descending by type, serial ascending.
    QVERIFY(SortMeters(rows, meters, state, 1, kEnglish));
    QCOMPARE(state.column, 1);
    QCOMPARE(state.ascending, false);
    QCOMPARE(rows, (QVector<int>{3, 0, 2, 1}));
    // Second click: ascending; the serial still ascending among equal types.
    QVERIFY(SortMeters(rows, meters, state, 0, kEnglish));
    QCOMPARE(rows, (QVector<int>{2, 1, 0, 3}));
    // Other columns record the click but do not sort.
    QVERIFY(!SortMeters(rows, meters, state, 4, kEnglish));
    QCOMPARE(state.column, 4);
    QCOMPARE(rows, (QVector<int>{2, 1, 0, 3}));
    QVERIFY(!ResortMeters(rows, meters, state, kEnglish));

    // Resort repeats the last direction.
    state = {0, true};
    rows = identity(4);
    QVERIFY(SortMeters(rows, meters, state, 0, kEnglish)); // descending
    std::reverse(rows.begin(), rows.end());
    QVERIFY(ResortMeters(rows, meters, state, kEnglish));
    QCOMPARE(state.ascending, false);
    QCOMPARE(rows, (QVector<int>{3, 0, 2, 1}));

    QVector<int> none;
    QVERIFY(!SortMeters(none, meters, state, 0, kEnglish));
}

void TestViewsDomain::verificationSorting()
{
    QVector<pcn::_blockdata> list(4);
    list[0].date = QDate(2010, 1, 2);
    list[0].time = QTime(10, 0);
    list[0].powerType = 2;
    list[1].date = QDate(2009, 5, 1);
    list[1].time = QTime(12, 0);
    list[1].powerType = 0;
    list[2].date = QDate(2010, 1, 2);
    list[2].time = QTime(9, 59, 59);
    list[2].powerType = 4;
    list[3].date = QDate(2011, 1, 1);
    list[3].time = QTime(0, 0);
    list[3].powerType = 1;

    ListSortState state;
    QVector<int> rows = identity(4);
    QVERIFY(SortVerifications(rows, list, state, 0)); // first click: latest first
    QCOMPARE(rows, (QVector<int>{3, 0, 2, 1}));
    QVERIFY(SortVerifications(rows, list, state, 0));
    QCOMPARE(rows, (QVector<int>{1, 2, 0, 3}));
    QVERIFY(SortVerifications(rows, list, state, 1)); // descending power type
    QCOMPARE(rows, (QVector<int>{2, 0, 3, 1}));
    QVERIFY(!SortVerifications(rows, list, state, 3));
    QCOMPARE(state.column, 3);
}

void TestViewsDomain::reportRule()
{
    QVERIFY(reportAllowed(0, 10));
    QVERIFY(!reportAllowed(0, 11));
    QVERIFY(reportAllowed(1, 11));
    QVERIFY(reportAllowed(10, 11));
    QVERIFY(!reportAllowed(11, 11));
}

namespace {

// The names of the enabled commands, in a fixed order.
QString enabledNames(const RecordCommands &c)
{
    const QList<QPair<const char *, bool>> all = {
        {"copy", c.copy},
        {"paste", c.paste},
        {"merge", c.merge},
        {"cut", c.cut},
        {"remove", c.remove},
        {"report", c.report},
        {"export", c.exportSheet},
        {"elementCopy", c.elementCopy},
        {"elementPaste", c.elementPaste},
        {"elementDelete", c.elementDelete},
        {"changeMeter", c.changeMeter},
        {"changeConstant", c.changeConstant},
        {"idle", c.idle},
    };
    QStringList names;
    for (const auto &[name, on] : all)
        if (on)
            names << QLatin1String(name);
    return names.join(QLatin1Char(' '));
}

// Inputs from a compact description: meters/verifications/checked counts and
// the flags that are set.
CommandInputs inputs(int meters, int verifications, int checked, const QString &flags)
{
    CommandInputs in;
    in.meterCount = meters;
    in.meterSelected = meters > 0;
    in.verificationCount = verifications;
    in.verificationSelected = verifications > 0;
    in.checkedCount = checked;
    const QStringList set = flags.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    in.meterListActive = set.contains(QStringLiteral("active"));
    in.clipboardFilled = set.contains(QStringLiteral("clipboard"));
    in.mergeableAtPress = set.contains(QStringLiteral("mergeable"));
    in.elementPasteFits = set.contains(QStringLiteral("markFits"));
    in.busy = set.contains(QStringLiteral("busy"));
    return in;
}

} // namespace

void TestViewsDomain::commandStates_data()
{
    QTest::addColumn<int>("meters");
    QTest::addColumn<int>("verifications");
    QTest::addColumn<int>("checked");
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QString>("enabled");

    const QString base = QStringLiteral("copy report export changeMeter");
    QTest::newRow("empty folder") << 0 << 0 << 0 << ""
                                  << "idle";
    QTest::newRow("empty folder, clipboard") << 0 << 0 << 0 << "clipboard active mergeable"
                                             << "paste idle";
    QTest::newRow("one verification") << 2 << 1 << 0 << "" << base + " changeConstant idle";
    QTest::newRow("two verifications: element copy and delete")
        << 2 << 2 << 0 << ""
        << "copy report export elementCopy elementDelete changeMeter changeConstant idle";
    QTest::newRow("eleven unticked: no report")
        << 2 << 11 << 0 << ""
        << "copy export elementCopy elementDelete changeMeter changeConstant idle";
    QTest::newRow("eleven, ten ticked")
        << 2 << 11 << 10 << ""
        << "copy report export elementCopy elementDelete changeMeter changeConstant idle";
    QTest::newRow("eleven, all ticked") << 2 << 11 << 11 << ""
                                        << "copy export elementCopy elementDelete changeMeter changeConstant idle";
    QTest::newRow("pressed meter list: cut and delete")
        << 2 << 1 << 0 << "active"
        << "copy cut remove report export changeMeter changeConstant idle";
    QTest::newRow("clipboard: paste") << 2 << 1 << 0 << "clipboard"
                                      << "copy paste report export changeMeter changeConstant idle";
    QTest::newRow("mergeable without press: no merge") << 2 << 1 << 0 << "clipboard mergeable"
                                                       << "copy paste report export changeMeter changeConstant idle";
    QTest::newRow("pressed, not mergeable") << 2 << 1 << 0 << "active clipboard"
                                            << "copy paste cut remove report export changeMeter changeConstant idle";
    QTest::newRow("pressed and mergeable: merge")
        << 2 << 1 << 0 << "active clipboard mergeable"
        << "copy paste merge cut remove report export changeMeter changeConstant idle";
    QTest::newRow("mark fits: element paste")
        << 2 << 2 << 0 << "markFits"
        << "copy report export elementCopy elementPaste elementDelete changeMeter changeConstant idle";
    QTest::newRow("mark fits, nothing selected") << 0 << 0 << 0 << "markFits"
                                                 << "idle";
    QTest::newRow("device run: everything off") << 2 << 2 << 1 << "active clipboard mergeable markFits busy"
                                                << "";
    QTest::newRow("device run, empty folder") << 0 << 0 << 0 << "busy"
                                              << "";
}

void TestViewsDomain::commandStates()
{
    QFETCH(int, meters);
    QFETCH(int, verifications);
    QFETCH(int, checked);
    QFETCH(QString, flags);
    QFETCH(QString, enabled);
    QCOMPARE(enabledNames(::commandStates(inputs(meters, verifications, checked, flags))), enabled);
}

QTEST_GUILESS_MAIN(TestViewsDomain)
#include "tst_viewsdomain.moc"
