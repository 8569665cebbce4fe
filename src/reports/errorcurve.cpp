#include "errorcurve.h"

#include "records/numberformat.h"
#include "reports/pagerender.h"

#include <QMap>

#include <algorithm>
#include <cmath>

namespace report {
namespace {

const QRgb kPalette[] = {qRgb(0, 90, 200),   qRgb(0, 150, 60),  qRgb(220, 120, 0),
                         qRgb(140, 60, 170), qRgb(0, 150, 160), qRgb(120, 90, 40)};
const QRgb kOverColor = qRgb(210, 0, 0);
const QRgb kGridColor = qRgb(200, 200, 200);

FontSpec labelFont()
{
    return FontSpec{QStringLiteral("Arial"), 7.0};
}

QRgb withAlpha(QRgb color, int alpha)
{
    return qRgba(qRed(color), qGreen(color), qBlue(color), alpha);
}

struct Conditions {
    limits::Load load = limits::Load::Balanced;
    double powerFactor = 1;
    char character = ' ';
    int phase = -1;
};

// Series key: power factor in hundredths (unity first), load, and the
// character where it means something.
QString seriesKey(const limits::PointConditions &c)
{
    const int pf = int(std::lround(c.powerFactor * 100)); // keys sort unity first
    const char ch = pf >= 100 ? ' ' : c.character;
    return QStringLiteral("%1|%2|%3|%4")
        .arg(100 - pf, 3, 10, QLatin1Char('0'))
        .arg(int(c.load))
        .arg(QLatin1Char(ch))
        .arg(c.phase);
}

// The scales of the plot box.
struct Scales {
    QRectF plot;
    double xMin = 1, xMax = 100; // per cent of the nominal current
    double yMax = 1; // per cent error, symmetric

    double x(double percent) const
    {
        const double t = (std::log10(percent) - std::log10(xMin)) / (std::log10(xMax) - std::log10(xMin));
        return plot.left() + t * plot.width();
    }
    double y(double error) const { return plot.center().y() - error / yMax * plot.height() / 2.0; }
};

// The nearest of 1, 2, 5 times a power of ten at or below (above) x > 0.
double niceBelow(double x)
{
    const double decade = std::pow(10.0, std::floor(std::log10(x)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * decade <= x * 1.0000001)
            return m * decade;
    return decade;
}

double niceAbove(double x)
{
    const double decade = std::pow(10.0, std::floor(std::log10(x)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * decade >= x * 0.9999999)
            return m * decade;
    return 10 * decade;
}

double niceStep(double range)
{
    static const double steps[] = {0.05, 0.1, 0.2, 0.25, 0.5, 1, 2, 2.5, 5, 10, 20, 25, 50, 100, 200, 500};
    for (double s : steps)
        if (range / s <= 4.0)
            return s;
    return 1000;
}

// The bands of the table that hold a series, by rising current.
QList<limits::Band> seriesBands(const limits::Table &table, const pcn::_blockdata &v, const limits::PointConditions &c)
{
    QList<limits::Band> bands;
    const limits::Energy energy = limits::energyOfPowerType(v.powerType);
    const QString className = limits::tableClass(table, v.accuracyClass);
    for (const limits::Band &b : table.bands) {
        if (b.energy != energy || b.className != className || b.load != c.load)
            continue;
        if (std::abs(c.powerFactor - b.powerFactor) > table.tolerance + 1e-9)
            continue;
        if (b.character != 0 && b.powerFactor < 1.0 && c.character != b.character)
            continue;
        bands << b;
    }
    std::sort(bands.begin(), bands.end(), [](const limits::Band &a, const limits::Band &b) { return a.from < b.from; });
    return bands;
}

QList<QPointF> square(const QPointF &c, double half)
{
    return {c + QPointF(-half, -half), c + QPointF(half, -half), c + QPointF(half, half), c + QPointF(-half, half)};
}

} // namespace

QList<PageItem> ErrorCurveItems::all() const
{
    return frame + bands + series + marks + axes + legend;
}

QList<CurveSeries> curveSeries(const pcn::_blockdata &verification, const limits::VerificationVerdict &verdict,
                               const CurveTexts &text, const QLocale &locale)
{
    QMap<QString, CurveSeries> byKey;
    const bool active = limits::energyOfPowerType(verification.powerType) == limits::Energy::Active;
    for (int k = 0; k < verdict.points.size(); ++k) {
        const limits::PointConditions &c = verdict.points[k].conditions;
        if (!std::isfinite(c.currentFraction) || c.currentFraction <= 0 || !std::isfinite(verdict.points[k].error))
            continue;
        const QString key = seriesKey(c);
        CurveSeries &s = byKey[key];
        if (s.points.isEmpty()) {
            const double pf = std::round(c.powerFactor * 100) / 100;
            QString label =
                (active ? QStringLiteral("cos φ = ") : QStringLiteral("sin φ = ")) + formatGeneral(pf, locale);
            if (pf < 1.0 && (c.character == 'L' || c.character == 'C'))
                label += QStringLiteral(" ") + QLatin1Char(c.character);
            if (c.load == limits::Load::SinglePhase)
                label += QStringLiteral(", ") + text(QStringLiteral("Curve/SinglePhase")) + QLatin1Char(' ')
                         + QLatin1Char(char('A' + c.phase));
            s.label = label;
        }
        s.points << k;
    }
    QList<CurveSeries> out;
    for (auto it = byKey.begin(); it != byKey.end(); ++it) {
        CurveSeries s = *it;
        std::stable_sort(s.points.begin(), s.points.end(), [&verdict](int a, int b) {
            return verdict.points[a].conditions.currentFraction < verdict.points[b].conditions.currentFraction;
        });
        s.color = kPalette[out.size() % std::size(kPalette)];
        out << s;
    }
    return out;
}

ErrorCurveItems errorCurveItems(const pcn::_blockdata &verification, const limits::Table &table, const QRectF &box,
                                const CurveTexts &text, const QLocale &locale)
{
    ErrorCurveItems items;
    const limits::VerificationVerdict verdict = limits::judgeVerification(table, verification);
    const QList<CurveSeries> series = curveSeries(verification, verdict, text, locale);
    const double line = lineHeightMm(labelFont());

    // Ranges: every point and the bands of its series.
    double lo = 1e9, hi = 0, yAbs = 0;
    QList<QList<limits::Band>> bandsOf;
    for (const CurveSeries &s : series) {
        for (int k : s.points) {
            const limits::PointVerdict &p = verdict.points[k];
            lo = std::min(lo, p.conditions.currentFraction * 100);
            hi = std::max(hi, p.conditions.currentFraction * 100);
            yAbs = std::max(yAbs, std::abs(p.error));
        }
        bandsOf << seriesBands(table, verification, verdict.points[s.points.first()].conditions);
        for (const limits::Band &b : bandsOf.last()) {
            yAbs = std::max(yAbs, b.limit);
            if (b.from > 0)
                lo = std::min(lo, b.from * 100);
        }
    }
    Scales sc;
    if (hi > 0) {
        sc.xMin = niceBelow(lo / 1.2);
        sc.xMax = niceAbove(hi * 1.2);
        if (sc.xMax <= sc.xMin)
            sc.xMax = sc.xMin * 10;
    }
    const double step = niceStep(std::max(yAbs * 1.15, 0.2));
    sc.yMax = std::ceil(std::max(yAbs * 1.15, 0.2) / step) * step;
    // The part of a band that the current axis shows; empty when none.
    const auto bandSpan = [&sc](const limits::Band &b) {
        const double from = std::max(b.from * 100, sc.xMin);
        const double to = std::min(std::isfinite(b.to) ? b.to * 100 : sc.xMax, sc.xMax);
        return std::pair{from, to};
    };

    // The legend: a sample and the label of each series, the limit band,
    // the over mark; in rows as wide as the plot, above it.
    struct LegendEntry {
        enum Kind { Series, Band, Over } kind;
        QString label;
        QRgb color = 0;
        QPointF at; // the sample's left edge, the row's top
        double width = 0;
    };
    QList<LegendEntry> legend;
    bool anyBand = false, anyOver = false;
    for (int s = 0; s < series.size(); ++s) {
        legend << LegendEntry{LegendEntry::Series, series[s].label, series[s].color, {}, 0};
        for (const limits::Band &b : bandsOf[s])
            anyBand = anyBand || bandSpan(b).second > bandSpan(b).first;
        for (int k : series[s].points)
            anyOver = anyOver || verdict.points[k].outcome == limits::PointOutcome::Over;
    }
    if (anyBand)
        legend << LegendEntry{LegendEntry::Band, text(QStringLiteral("Curve/Limit")), 0, {}, 0};
    if (anyOver)
        legend << LegendEntry{LegendEntry::Over, text(QStringLiteral("Curve/Over")), 0, {}, 0};
    const double plotLeft = box.left() + 12.0, plotRight = box.right() - 3.0;
    double x = plotLeft;
    int rows = 1;
    for (LegendEntry &e : legend) {
        e.width = std::max(8.0, e.label.size() * 1.35);
        if (x > plotLeft && x + 5.0 + e.width > plotRight) {
            x = plotLeft;
            ++rows;
        }
        e.at = QPointF(x, box.top() + rows * line + 0.5);
        x += 5.0 + e.width + 2.0;
    }

    sc.plot = QRectF(plotLeft, box.top() + (rows + 1) * line + 2.0, plotRight - plotLeft,
                     box.height() - (rows + 3) * line - 4.0);
    const QRectF &plot = sc.plot;

    // Frame, grid and ticks.
    items.frame << rectItem(plot, 0.25);
    QList<double> xTicks;
    for (double d = std::pow(10.0, std::floor(std::log10(sc.xMin))); d <= sc.xMax * 1.0001; d *= 10)
        for (double m : {1.0, 2.0, 5.0})
            if (d * m >= sc.xMin * 0.9999 && d * m <= sc.xMax * 1.0001)
                xTicks << d * m;
    for (double t : xTicks) {
        const double x = sc.x(t);
        items.frame << polylineItem({QPointF(x, plot.top()), QPointF(x, plot.bottom())}, 0.1, kGridColor,
                                    LineStyle::Dot);
        items.axes << textItem(QRectF(x - 8, plot.bottom() + 0.5, 16, line), formatGeneral(t, locale), labelFont(),
                               Qt::AlignHCenter | Qt::AlignTop);
    }
    for (double e = -sc.yMax; e <= sc.yMax + step / 2; e += step) {
        const double y = sc.y(e);
        const bool zero = std::abs(e) < step / 2;
        items.frame << polylineItem({QPointF(plot.left(), y), QPointF(plot.right(), y)}, zero ? 0.2 : 0.1,
                                    zero ? qRgb(120, 120, 120) : kGridColor, zero ? LineStyle::Solid : LineStyle::Dot);
        items.axes << textItem(QRectF(box.left(), y - line / 2, 11.0, line),
                               formatGeneral(zero ? 0.0 : std::round(e * 1000) / 1000, locale), labelFont(),
                               Qt::AlignRight | Qt::AlignVCenter);
    }
    items.axes << textItem(QRectF(plot.left(), plot.bottom() + line + 0.5, plot.width(), line),
                           text(QStringLiteral("Curve/CurrentAxis")), labelFont(), Qt::AlignHCenter | Qt::AlignTop);
    items.axes << textItem(QRectF(box.left(), box.top(), 40.0, line), text(QStringLiteral("Curve/ErrorAxis")),
                           labelFont(), Qt::AlignLeft | Qt::AlignTop);

    // Bands: shaded, with a dashed step outline above and below.
    for (int s = 0; s < series.size(); ++s) {
        QList<QPointF> upper, lower;
        for (const limits::Band &b : bandsOf[s]) {
            const auto [from, to] = bandSpan(b);
            if (to <= from)
                continue;
            const QRectF r(QPointF(sc.x(from), sc.y(b.limit)), QPointF(sc.x(to), sc.y(-b.limit)));
            items.bands << clipped(polygonItem({r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()},
                                               withAlpha(series[s].color, 40)),
                                   plot);
            upper << r.topLeft() << r.topRight();
            lower << r.bottomLeft() << r.bottomRight();
        }
        if (!upper.isEmpty()) {
            items.bands << clipped(polylineItem(upper, 0.3, series[s].color, LineStyle::Dash), plot);
            items.bands << clipped(polylineItem(lower, 0.3, series[s].color, LineStyle::Dash), plot);
        }
    }

    // Series and their markers; crosses on the points over their limit.
    for (const CurveSeries &s : series) {
        QList<QPointF> path;
        for (int k : s.points) {
            const limits::PointVerdict &p = verdict.points[k];
            path << QPointF(sc.x(p.conditions.currentFraction * 100), sc.y(p.error));
        }
        if (path.size() > 1)
            items.series << clipped(polylineItem(path, 0.35, s.color), plot);
        for (const QPointF &c : path)
            items.series << clipped(polygonItem(square(c, 0.6), s.color), plot);
        for (int i = 0; i < s.points.size(); ++i) {
            if (verdict.points[s.points[i]].outcome != limits::PointOutcome::Over)
                continue;
            const QPointF c = path[i];
            const double d = 1.4;
            items.marks << clipped(polylineItem({c + QPointF(-d, -d), c + QPointF(d, d)}, 0.45, kOverColor), plot);
            items.marks << clipped(polylineItem({c + QPointF(-d, d), c + QPointF(d, -d)}, 0.45, kOverColor), plot);
        }
    }

    for (const LegendEntry &e : legend) {
        const double mid = e.at.y() + line / 2;
        switch (e.kind) {
        case LegendEntry::Series:
            items.legend << polylineItem({QPointF(e.at.x(), mid), QPointF(e.at.x() + 4.0, mid)}, 0.35, e.color);
            items.legend << polygonItem(square(QPointF(e.at.x() + 2.0, mid), 0.6), e.color);
            break;
        case LegendEntry::Band: {
            const QRectF r(e.at.x(), e.at.y() + line * 0.2, 4.0, line * 0.6);
            items.legend << polygonItem({r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()},
                                        qRgba(120, 120, 120, 60));
            break;
        }
        case LegendEntry::Over: {
            const QPointF c(e.at.x() + 2.0, mid);
            items.legend << polylineItem({c + QPointF(-1, -1), c + QPointF(1, 1)}, 0.45, kOverColor);
            items.legend << polylineItem({c + QPointF(-1, 1), c + QPointF(1, -1)}, 0.45, kOverColor);
            break;
        }
        }
        items.legend << textItem(QRectF(e.at.x() + 5.0, e.at.y(), e.width, line), e.label, labelFont(),
                                 Qt::AlignLeft | Qt::AlignVCenter);
    }
    return items;
}

ReportPages errorCurvePage(const pcn::_blockdata &verification, const limits::Table &table, const QSizeF &sizeMm,
                           const CurveTexts &text, const QLocale &locale)
{
    ReportPages pages;
    pages.title = text(QStringLiteral("Curve/Title"));
    pages.paperMm = sizeMm;
    ReportPage page;
    page.items = errorCurveItems(verification, table, QRectF(QPointF(1, 1), sizeMm - QSizeF(2, 2)), text, locale).all();
    pages.pages << page;
    return pages;
}

} // namespace report
