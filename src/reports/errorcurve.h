// The error curve of one verification as page-model items: the error in per
// cent against the current in per cent of the nominal current (logarithmic
// axis), one series per power factor and load, the permissible band of each
// series as a shaded step outline, and the points over their limit marked.
// The protocol places the items on its pages, the window draws the same
// items on screen, and the image export renders them.
#pragma once

#include "records/blockdata.h"
#include "records/errorlimits.h"
#include "records/verdict.h"
#include "reports/pagemodel.h"

#include <QLocale>
#include <QString>

#include <functional>

namespace report {

// The texts of the chart (section "Verdicts", paths "Curve/...").
using CurveTexts = std::function<QString(const QString &path)>;

// The chart's items by what they show, for drawing (in this order) and for
// the tests.
struct ErrorCurveItems {
    QList<PageItem> frame; // plot frame and grid lines
    QList<PageItem> axes; // tick labels and axis titles
    QList<PageItem> bands; // one shaded step band per series with limits
    QList<PageItem> series; // one line per series, and its point markers
    QList<PageItem> marks; // a cross on every point over its limit
    QList<PageItem> legend;

    QList<PageItem> all() const;
};

// One series: points of one power factor (rounded to 0.01), character and
// load, in order of current.
struct CurveSeries {
    QString label; // "cos φ = 0.5 L", "sin φ = 1, one phase"
    QRgb color = 0;
    QList<int> points; // 0-based point indices, by rising current
};

// The series of a verification.
QList<CurveSeries> curveSeries(const pcn::_blockdata &verification, const limits::VerificationVerdict &verdict,
                               const CurveTexts &text, const QLocale &locale = QLocale());

// The chart of `verification` filling `box` (millimetres).
ErrorCurveItems errorCurveItems(const pcn::_blockdata &verification, const limits::Table &table, const QRectF &box,
                                const CurveTexts &text, const QLocale &locale = QLocale());

// The chart alone on a page of its own size (for the window and the image
// export): paper `sizeMm`, the chart filling it.
ReportPages errorCurvePage(const pcn::_blockdata &verification, const limits::Table &table, const QSizeF &sizeMm,
                           const CurveTexts &text, const QLocale &locale = QLocale());

} // namespace report
