#include "exportcells.h"

#include "views/verdicttext.h"

#include "views/gridcolumnkinds.h"
#include "views/gridconfig.h"
#include "views/listtexts.h"
#include "records/metertype.h"

#include <cmath>

namespace {

const std::array<const char *, kExportDetailCount> kDetailKeys{
    "DateTimeCalibration", "DeviceType", "SerialNumber", "Class", "Schem", "Year",
    "TurnsRatio",          "PowerType",  "Const",        "Unom",  "Inom"};

bool isPlainDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

QString exportDetailTitlePath(int detail)
{
    return QStringLiteral("MainMenu/Utilities/ExportExcel/") + QLatin1String(kDetailKeys.at(detail));
}

QStringList exportDetailTitles(const TextLookup &lookup)
{
    QStringList titles;
    for (int k = 0; k < kExportDetailCount; ++k)
        titles << (lookup ? lookup(kViewsMainSection, exportDetailTitlePath(k)) : QString());
    return titles;
}

QString printfGeneral(double value)
{
    // QString::asprintf formats numbers in the C locale.
    return QString::asprintf("%g", value);
}

QVector<ExportCell> exportDetailCells(const pcn::_blockdata &v, const TextLookup &lookup, const QLocale &locale)
{
    const double uNom = v.scheme == SchemeThreePhaseThreeWire ? v.uLineNom : v.uPhaseNom;
    // The stored ratio's divisor is never 0; a damaged one gives 0, not a crash.
    const int ratio = v.i2 != 0 ? int(v.i1) / int(v.i2) : 0;
    return {
        {locale.toString(v.date, QLocale::ShortFormat) + QStringLiteral("  ") + verificationTimeText(v.time, locale),
         false},
        {VisibleMeterType(v.meterType), false},
        {v.serialText, isPlainDigits(v.serialText)},
        {printfGeneral(v.accuracyClass), std::isfinite(v.accuracyClass)},
        {schemeName(v.scheme, lookup), false},
        {QString::number(v.year), true},
        {QString::number(ratio), true},
        {powerTypeName(v.powerType, lookup), false},
        {QString::number(v.constant), true},
        {printfGeneral(uNom), std::isfinite(uNom)},
        {printfGeneral(v.iNom), std::isfinite(v.iNom)},
    };
}

bool shownGrid(const pcn::_blockdata &verification, const std::array<GridColumns, kGridCount> &columns,
               const TextLookup &lookup, const QLocale &locale, ShownGrid *out, const limits::Table *limits)
{
    *out = ShownGrid{};
    if (!gridForScheme(verification.scheme, &out->grid))
        return false;
    const int codeCount = gridColumnCount(out->grid);
    for (const int code : displayedCodes(columns[out->grid]))
        if (code < codeCount)
            out->codes << code;
    for (const int code : std::as_const(out->codes))
        out->titles << (lookup ? lookup(kViewsMainSection, gridColumnTitlePath(out->grid, code)) : QString());
    const RangeTextContext ranges{verification.instrumentType, RangeLabels::from(lookup)};
    for (int j = 0; j < verification.points.size(); ++j) {
        QStringList row;
        for (const int code : std::as_const(out->codes))
            row << gridCellText(out->grid, code, verification.points[j], j, locale, ranges);
        out->rows << row;
    }
    if (limits) {
        const auto text = [&lookup](const QString &path) {
            return lookup ? lookup(limits::kVerdictSection, path) : QString();
        };
        const limits::VerificationVerdict verdict = limits::judgeVerification(*limits, verification);
        out->titles << text(QStringLiteral("Column"));
        for (int j = 0; j < out->rows.size(); ++j)
            out->rows[j] << limits::pointMark(verdict.points.value(j), text, locale);
    }
    return true;
}

bool spreadsheetNumber(const QString &text, const QLocale &locale, QString *canonical)
{
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    // "NAN" and "INF" convert as well, but no spreadsheet reads them as numbers.
    if (!ok || !std::isfinite(value))
        return false;
    if (canonical)
        *canonical = QString::number(value, 'g', QLocale::FloatingPointShortest);
    return true;
}

QString xmlSafeText(const QString &text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t c = out[i].unicode();
        const bool allowedControl = c == 0x9 || c == 0xA || c == 0xD;
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        bool pairedSurrogate = false;
        if (surrogate && QChar::isHighSurrogate(c) && i + 1 < out.size() && out[i + 1].isLowSurrogate()) {
            pairedSurrogate = true;
            ++i;
        }
        if ((c < 0x20 && !allowedControl) || c == 0xFFFE || c == 0xFFFF || (surrogate && !pairedSurrogate))
            out[i] = QChar(QChar::ReplacementCharacter);
    }
    return out;
}
