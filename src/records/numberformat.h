// The program's one number formatter. Every value shown in a view, a report
// or an export goes through formatGeneral, usually after truncateDecimals.
#pragma once

#include <QLocale>
#include <QString>

// The shortest decimal text of x with at most 15 significant digits: no
// trailing zeros, no decimal separator for whole numbers, the locale's
// decimal separator otherwise. Fixed notation is used while the value has at
// most 15 integer digits and |x| >= 0.00001; smaller or larger values are
// written as mantissa, "E" and exponent ("1E-6", "1.5E20"). Negative zero is
// "0"; NaN and infinities give "NAN", "INF" and "-INF".
QString formatGeneral(double x, const QLocale &locale = QLocale());

// trunc(x * 10^k) / 10^k: x cut (not rounded) towards zero to k decimals.
double truncateDecimals(double x, int k);

// formatGeneral(truncateDecimals(x, k), locale).
QString formatTruncated(double x, int k, const QLocale &locale = QLocale());

// x rounded half away from zero to k decimals, shown by formatGeneral: for
// values that approximate a decimal nominal value in binary fractions (a
// range of 0.1 A kept as 6553/65536 reads "0.1").
QString formatRounded(double x, int k, const QLocale &locale = QLocale());
