#include "records/errorlimits.h"
#include "records/verdict.h"
#include "reports/errorcurve.h"

#include <QtTest>

using namespace limits;

namespace {

// Bands with every kind of edge: an exclusive and an inclusive upper end,
// inductive and capacitive power factors, a single-phase load, reactive.
const char kTestLimits[] = R"(format 1
class 0.5 0.5S
tolerance 0.05
source Test table A
active 1 balanced 1    0.05 <0.1 1.5
active 1 balanced 1    0.1  max  1.0
active 1 balanced 0.5L 0.1  <0.2 1.5
active 1 balanced 0.8C 0.1  <0.2 1.5
active 1 balanced 0.5L 0.2  max  1.0
source Test table B
active 1 single   1    0.1  1.2  2.0
active 0.5S balanced 1 0.01 max 0.5
reactive 2 balanced 1  0.05 max  2.0
)";

const Table &testTable()
{
    static const Table table = *parseLimits(QString::fromLatin1(kTestLimits)).table;
    return table;
}

// A verification with one point: `currents` of phases A, B, C in amperes at
// a nominal current of 5 A.
pcn::_blockdata verification(int scheme, int powerType, double accuracyClass, std::array<double, 3> currents,
                             double cosPhi, char character, double error)
{
    pcn::_blockdata v;
    v.scheme = std::uint8_t(scheme);
    v.powerType = std::uint8_t(powerType);
    v.accuracyClass = accuracyClass;
    v.iNom = 5.0;
    pcn::_datasample p;
    p.I = currents;
    p.cosPhi = {cosPhi, cosPhi, cosPhi};
    p.pfTotal = cosPhi;
    p.pfChar = {character, character, character, character};
    p.errorPercent = error;
    v.points << p;
    return v;
}

} // namespace

class TestVerdict : public QObject {
    Q_OBJECT
private slots:
    void points_data()
    {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<int>("powerType");
        QTest::addColumn<double>("accuracyClass");
        QTest::addColumn<double>("ia"); // phase B and C carry `ibc`
        QTest::addColumn<double>("ibc");
        QTest::addColumn<double>("cosPhi");
        QTest::addColumn<char>("character");
        QTest::addColumn<double>("error");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<double>("limit");

        const int in = int(PointOutcome::Within), over = int(PointOutcome::Over), none = int(PointOutcome::NoLimit);
        // 0.5 A of 5 A is 0.1: the lower band ends before it, the upper starts at it.
        QTest::newRow("edge 0.1 belongs to upper band")
            << 1 << 0 << 1.0 << 0.5 << 0.5 << 1.0 << 'L' << 1.2 << over << 1.0;
        QTest::newRow("just below 0.1: lower band")
            << 1 << 0 << 1.0 << 0.499 << 0.499 << 1.0 << 'L' << 1.2 << in << 1.5;
        QTest::newRow("error equal to limit is within")
            << 1 << 0 << 1.0 << 2.5 << 2.5 << 1.0 << 'L' << -1.0 << in << 1.0;
        QTest::newRow("stored step above limit is on it")
            << 1 << 0 << 1.0 << 2.5 << 2.5 << 1.0 << 'L' << 1.0007 << in << 1.0;
        QTest::newRow("two steps above limit is over")
            << 1 << 0 << 1.0 << 2.5 << 2.5 << 1.0 << 'L' << 1.0016 << over << 1.0;
        QTest::newRow("negative error over") << 1 << 0 << 1.0 << 2.5 << 2.5 << 1.0 << 'L' << -1.25 << over << 1.0;
        QTest::newRow("below lowest band") << 1 << 0 << 1.0 << 0.2 << 0.2 << 1.0 << 'L' << 0.0 << none << 0.0;
        QTest::newRow("0.5 inductive") << 1 << 0 << 1.0 << 0.75 << 0.75 << 0.5 << 'L' << 1.4 << in << 1.5;
        QTest::newRow("0.5 capacitive has no band")
            << 1 << 0 << 1.0 << 0.75 << 0.75 << 0.5 << 'C' << 0.1 << none << 0.0;
        QTest::newRow("0.8 capacitive") << 1 << 0 << 1.0 << 0.75 << 0.75 << -0.8 << 'C' << 1.6 << over << 1.5;
        QTest::newRow("0.8 inductive has no band") << 1 << 0 << 1.0 << 0.75 << 0.75 << 0.8 << 'L' << 0.1 << none << 0.0;
        QTest::newRow("0.7 matches nothing") << 1 << 0 << 1.0 << 2.5 << 2.5 << 0.7 << 'L' << 0.1 << none << 0.0;
        QTest::newRow("single-phase load") << 1 << 0 << 1.0 << 2.5 << 0.0 << 1.0 << 'L' << 1.8 << in << 2.0;
        QTest::newRow("single-phase load, inclusive end")
            << 1 << 0 << 1.0 << 6.0 << 0.0 << 1.0 << 'L' << 2.1 << over << 2.0;
        QTest::newRow("single-phase load above band")
            << 1 << 0 << 1.0 << 6.1 << 0.0 << 1.0 << 'L' << 0.0 << none << 0.0;
        QTest::newRow("single-phase meter is balanced")
            << 4 << 0 << 1.0 << 2.5 << 0.0 << 1.0 << 'L' << 0.9 << in << 1.0;
        QTest::newRow("class 0.5 takes 0.5S") << 1 << 0 << 0.5 << 2.5 << 2.5 << 1.0 << 'L' << 0.6 << over << 0.5;
        QTest::newRow("class 2 has no table") << 1 << 0 << 2.0 << 2.5 << 2.5 << 1.0 << 'L' << 0.0 << none << 0.0;
        QTest::newRow("reactive takes sin phi") << 1 << 3 << 2.0 << 2.5 << 2.5 << 0.0 << 'L' << 1.9 << in << 2.0;
        QTest::newRow("reactive at sin 0.87 has no band")
            << 1 << 3 << 2.0 << 2.5 << 2.5 << 0.5 << 'L' << 0.0 << none << 0.0;
    }

    void points()
    {
        QFETCH(int, scheme);
        QFETCH(int, powerType);
        QFETCH(double, accuracyClass);
        QFETCH(double, ia);
        QFETCH(double, ibc);
        QFETCH(double, cosPhi);
        QFETCH(char, character);
        QFETCH(double, error);
        QFETCH(int, outcome);
        QFETCH(double, limit);
        const pcn::_blockdata v =
            verification(scheme, powerType, accuracyClass, {ia, ibc, ibc}, cosPhi, character, error);
        const PointVerdict p = judgePoint(testTable(), v, v.points[0]);
        QCOMPARE(int(p.outcome), outcome);
        QCOMPARE(p.limit, limit);
        if (outcome != int(PointOutcome::NoLimit))
            QCOMPARE(p.margin, std::abs(error) - limit);
    }

    void verifications_data()
    {
        QTest::addColumn<QList<double>>("errors"); // at 2.5 A, cos 1 (limit 1.0); NaN: at 0.1 A (no band)
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QList<int>>("overPoints");
        const double noBand = std::nan("");
        QTest::newRow("all within") << QList<double>{0.2, -1.0} << int(Outcome::Within) << QList<int>{};
        QTest::newRow("within and no limit") << QList<double>{0.2, noBand} << int(Outcome::Within) << QList<int>{};
        QTest::newRow("one over") << QList<double>{0.2, noBand, 1.01} << int(Outcome::Over) << QList<int>{3};
        QTest::newRow("no point has a limit")
            << QList<double>{noBand, noBand} << int(Outcome::NoVerdict) << QList<int>{};
        QTest::newRow("no points") << QList<double>{} << int(Outcome::NoVerdict) << QList<int>{};
    }

    void verifications()
    {
        QFETCH(QList<double>, errors);
        QFETCH(int, outcome);
        QFETCH(QList<int>, overPoints);
        pcn::_blockdata v = verification(1, 0, 1.0, {2.5, 2.5, 2.5}, 1.0, 'L', 0.0);
        v.points.clear();
        for (double e : errors) {
            pcn::_blockdata one = verification(1, 0, 1.0, {2.5, 2.5, 2.5}, 1.0, 'L', e);
            if (std::isnan(e)) {
                one.points[0].I = {0.1, 0.1, 0.1};
                one.points[0].errorPercent = 5.0;
            }
            v.points << one.points[0];
        }
        const VerificationVerdict r = judgeVerification(testTable(), v);
        QCOMPARE(int(r.outcome), outcome);
        QCOMPARE(r.overPoints, overPoints);
        QCOMPARE(r.className, QStringLiteral("1"));
        QCOMPARE(r.sources, outcome == int(Outcome::NoVerdict) ? QStringList{} : QStringList{"Test table A"});
    }

    void malformedFiles_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("line");
        const QString head = QStringLiteral("format 1\nsource S\n");
        QTest::newRow("unknown word") << head + "active 1 balanced 1 0.1 max 1\nlimit 3\n"
                                      << int(ParseError::UnknownKeyword) << 4;
        QTest::newRow("unknown load") << head + "active 1 both 1 0.1 max 1\n" << int(ParseError::UnknownKeyword) << 3;
        QTest::newRow("missing limit") << head + "# note\n\nactive 1 balanced 1 0.1 max\n"
                                       << int(ParseError::FieldCount) << 5;
        QTest::newRow("comma decimal") << head + "active 1 balanced 1 0,1 max 1\n" << int(ParseError::BadNumber) << 3;
        QTest::newRow("power factor above 1") << head + "active 1 balanced 1.5L 0.1 max 1\n"
                                              << int(ParseError::BadPowerFactor) << 3;
        QTest::newRow("range backwards") << head + "active 1 balanced 1 0.2 <0.1 1\n" << int(ParseError::BadRange) << 3;
        QTest::newRow("zero limit") << head + "active 1 balanced 1 0.1 max 0\n" << int(ParseError::BadNumber) << 3;
        QTest::newRow("band before source")
            << QStringLiteral("active 1 balanced 1 0.1 max 1\n") << int(ParseError::NoSource) << 1;
        QTest::newRow("other format") << QStringLiteral("format 2\n") << int(ParseError::BadFormat) << 1;
    }

    void malformedFiles()
    {
        QFETCH(QString, text);
        QFETCH(int, error);
        QFETCH(int, line);
        const ParseResult r = parseLimits(text);
        QVERIFY(!r.table);
        QCOMPARE(int(r.error), error);
        QCOMPARE(r.line, line);

        // From a file: refused with its line, the built-in table stays.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ErrorLimits.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
        f.close();
        const LoadedLimits loaded = loadLimitsFile(path);
        QCOMPARE(loaded.refusedPath, path);
        QCOMPARE(loaded.errorLine, line);
        QVERIFY(loaded.path.isEmpty());
        QCOMPARE(loaded.table, builtInLimits());
    }

    // The chart of one verification: a single-phase series at unity power
    // factor (10, 50 and 100 % of Inom, the last over its limit of 2 %) and
    // a balanced series at 0.5 inductive (one point at 50 %).
    void errorCurveItems()
    {
        pcn::_blockdata v = verification(1, 0, 1.0, {0.5, 0, 0}, 1.0, 'L', 1.0);
        v.points << verification(1, 0, 1.0, {5.0, 0, 0}, 1.0, 'L', -2.5).points[0];
        v.points << verification(1, 0, 1.0, {2.5, 0, 0}, 1.0, 'L', 1.5).points[0];
        v.points << verification(1, 0, 1.0, {2.5, 2.5, 2.5}, 0.5, 'L', 0.4).points[0];
        const auto text = [](const QString &path) { return path; };
        const QRectF box(10, 20, 170, 70);
        const report::ErrorCurveItems items = report::errorCurveItems(v, testTable(), box, text, QLocale::c());

        const auto kindOf = [](const QList<report::PageItem> &list, report::ItemKind kind) {
            return std::count_if(list.begin(), list.end(),
                                 [kind](const report::PageItem &i) { return i.kind == kind; });
        };
        // Axes: tick labels of the logarithmic current axis and both titles.
        QStringList labels;
        for (const report::PageItem &i : items.axes)
            labels << i.text;
        for (const char *tick : {"5", "10", "20", "50", "100", "200"})
            QVERIFY2(labels.contains(QLatin1String(tick)), tick);
        QVERIFY(labels.contains(QStringLiteral("Curve/CurrentAxis"))
                && labels.contains(QStringLiteral("Curve/ErrorAxis")));
        QCOMPARE(kindOf(items.frame, report::ItemKind::Rect), 1);

        // Series: unity first, by rising current, one line and a marker per point.
        const QList<report::CurveSeries> series =
            report::curveSeries(v, judgeVerification(testTable(), v), text, QLocale::c());
        QCOMPARE(series.size(), 2);
        QCOMPARE(series[0].label, QStringLiteral("cos φ = 1, Curve/SinglePhase A"));
        QCOMPARE(series[0].points, (QList<int>{0, 2, 1}));
        QCOMPARE(series[1].label, QStringLiteral("cos φ = 0.5 L"));
        const report::PageItem &line = items.series.first();
        QCOMPARE(line.points.size(), 3);
        QVERIFY(line.points[0].x() < line.points[1].x() && line.points[1].x() < line.points[2].x());
        QVERIFY(line.points[2].y() > line.points[1].y()); // -2.5 % lies below 1.5 %
        QCOMPARE(kindOf(items.series, report::ItemKind::Shape), 1 + 3 + 1); // one line, four markers

        // Bands: single-phase 0.1..1.2 (one), 0.5 L 0.1..<0.2 and 0.2..max
        // (two), each series with a dashed outline above and below.
        int filled = 0, outlines = 0;
        for (const report::PageItem &i : items.bands) {
            filled += i.closed && qAlpha(i.fillColor) > 0;
            outlines += !i.closed && i.lineStyle == report::LineStyle::Dash;
        }
        QCOMPARE(filled, 3);
        QCOMPARE(outlines, 4);
        // The single-phase band spans +-2 %: symmetric about the zero line.
        const report::PageItem &band = items.bands.first();
        QVERIFY(band.closed);
        double zeroY = 0;
        for (const report::PageItem &i : items.frame)
            if (i.kind == report::ItemKind::Shape && i.lineStyle == report::LineStyle::Solid)
                zeroY = i.points[0].y();
        QVERIFY(std::abs(band.box.center().y() - zeroY) < 1e-6);
        // The point at +1 % (10 % of Inom) lies inside the band, half way up.
        QVERIFY(std::abs((zeroY - line.points[0].y()) * 2 - band.box.height() / 2) < 1e-6);

        // Marks: one cross of two strokes, centred on the point over its limit.
        QCOMPARE(items.marks.size(), 2);
        QVERIFY(std::abs(items.marks[0].box.center().x() - line.points[2].x()) < 1e-6);
        QVERIFY(std::abs(items.marks[0].box.center().y() - line.points[2].y()) < 1e-6);
        // Everything inside the chart's box.
        for (const report::PageItem &i : items.all())
            QVERIFY(box.adjusted(-1, -1, 1, 1).contains(i.box.center()));
        // A narrow chart puts its legend in rows above the plot, none past its right edge.
        const QRectF narrow(10, 20, 60, 70);
        const report::ErrorCurveItems small = report::errorCurveItems(v, testTable(), narrow, text, QLocale::c());
        const double plotTop = small.frame.first().box.top();
        for (const report::PageItem &i : small.legend)
            QVERIFY(i.box.right() <= narrow.right() && i.box.bottom() <= plotTop);
        QVERIFY(small.legend.last().box.top() > small.legend.first().box.bottom());
    }

    void builtInTable()
    {
        // The shipped file parses, and it is what the program compiled in.
        const ParseResult r = parseLimits(builtInLimitsText());
        QVERIFY(r.table);
        QVERIFY(!builtInLimits().bands.isEmpty());
        QCOMPARE(tableClass(builtInLimits(), 0.2), QStringLiteral("0.2S"));
        QFile shipped(QString::fromLocal8Bit(qgetenv("VARDOSK_BIN_DIR")) + QStringLiteral("/ErrorLimits.txt"));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(shipped.readAll()), builtInLimitsText());
        for (const Band &b : builtInLimits().bands)
            QVERIFY2(b.source.contains(QLatin1String("Table")), qPrintable(b.source));
    }
};

QTEST_MAIN(TestVerdict)
#include "tst_verdict.moc"
