#include "records/numberformat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr int kSignificantDigits = 15;

} // namespace

QString formatGeneral(double x, const QLocale &locale)
{
    if (std::isnan(x))
        return QStringLiteral("NAN");
    if (std::isinf(x))
        return x < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (x == 0)
        return QStringLiteral("0");

    // Correctly rounded to 15 significant digits, independent of the C
    // locale: "d.dddddddddddddde[+-]xx".
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, kSignificantDigits - 1);
    const std::string text(buf, res.ptr);
    const std::size_t ePos = text.find('e');
    const bool negative = text[0] == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < ePos; ++i) {
        if (text[i] != '.')
            digits.push_back(text[i]);
    }
    const int exponent = std::atoi(text.c_str() + ePos + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    const QString point = locale.decimalPoint();
    QString out;
    if (negative)
        out += QLatin1Char('-');

    if (exponent >= kSignificantDigits || exponent < -5) {
        // Scientific: mantissa with the locale's separator, then E and the
        // exponent without leading zeros or plus sign.
        out += QLatin1Char(digits[0]);
        if (digits.size() > 1) {
            out += point;
            out += QString::fromLatin1(digits.data() + 1, qsizetype(digits.size() - 1));
        }
        out += QLatin1Char('E');
        out += QString::number(exponent);
        return out;
    }
    if (exponent < 0) {
        out += QLatin1Char('0');
        out += point;
        out += QString(-exponent - 1, QLatin1Char('0'));
        out += QString::fromLatin1(digits.data(), qsizetype(digits.size()));
        return out;
    }
    const std::size_t intDigits = std::size_t(exponent) + 1;
    if (digits.size() <= intDigits) {
        out += QString::fromLatin1(digits.data(), qsizetype(digits.size()));
        out += QString(qsizetype(intDigits - digits.size()), QLatin1Char('0'));
        return out;
    }
    out += QString::fromLatin1(digits.data(), qsizetype(intDigits));
    out += point;
    out += QString::fromLatin1(digits.data() + intDigits, qsizetype(digits.size() - intDigits));
    return out;
}

double truncateDecimals(double x, int k)
{
    const double scale = std::pow(10.0, k);
    return std::trunc(x * scale) / scale;
}

QString formatTruncated(double x, int k, const QLocale &locale)
{
    return formatGeneral(truncateDecimals(x, k), locale);
}

QString formatRounded(double x, int k, const QLocale &locale)
{
    const double scale = std::pow(10.0, k);
    return formatGeneral(std::round(x * scale) / scale, locale);
}
