#include "views/rangetexts.h"

#include "records/numberformat.h"
#include "records/numericcodec.h"

namespace {

QString mainText(const TextLookup &lookup, const QString &path)
{
    return lookup ? lookup(kViewsMainSection, path) : QString();
}

} // namespace

RangeLabels RangeLabels::from(const TextLookup &lookup)
{
    return {mainText(lookup, QStringLiteral("ResultsTableTitles/TransDescription")),
            mainText(lookup, QStringLiteral("ResultsTableTitles/ClampDescription"))};
}

QString rangeVoltageText(const std::array<std::uint16_t, 6> &range, const QLocale &locale)
{
    if (range[4] != 0)
        return formatRounded(range[3] + range[4] / 65536.0, 2, locale);
    return QString::number(range[3]);
}

QString rangeCurrentText(const std::array<std::uint16_t, 6> &range, const RangeTextContext &context,
                         const QLocale &locale)
{
    const pcn::EncodingFamily family = pcn::encodingFamily(context.instrumentType).value_or(pcn::EncodingFamily::A);
    const bool timesFour = family != pcn::EncodingFamily::B;
    const unsigned whole = timesFour ? range[0] / 4u : range[0];
    QString text = range[1] != 0 ? formatRounded(whole + range[1] / 65536.0, 3, locale) : QString::number(whole);
    if (timesFour) {
        if (range[2] == RangeTransformer)
            text += QLatin1Char(' ') + context.labels.transformer;
        else if (range[2] == RangeClamps)
            text += QLatin1Char(' ') + context.labels.clamps;
    }
    return text;
}

QString instrumentName(int instrumentType, const TextLookup &lookup)
{
    const char *key = nullptr;
    switch (instrumentType) {
    case 0:
        key = "QS77";
        break;
    case 1:
    case 2:
        key = "QS75";
        break;
    case 3:
        key = "QT77";
        break;
    case 5:
    case 6:
        key = "QK76";
        break;
    default:
        return QString();
    }
    return mainText(lookup, QStringLiteral("CalibrationMainTableTitles/") + QLatin1String(key));
}
