#include "listtexts.h"

#include "records/numberformat.h"
#include "records/metertype.h"
#include "views/rangetexts.h"

#include <QRegularExpression>

#include <bit>

namespace {

const std::array<const char *, kMeterListColumnCount> kMeterTitles{"DeviceType", "SerialNumber", "Class",       "Schem",
                                                                   "Year",       "TransRatio",   "EtalonDevice"};
const std::array<const char *, kPowerListColumnCount> kPowerTitles{"DateTime", "PowerType", "Const",
                                                                   "UphNom",   "UlineNom",  "IphNom"};
const std::array<const char *, 5> kPowerTypeKeys{"ActivePower", "ApparentPower", "ReactiveCrossPower",
                                                 "ReactiveShiftPower", "ReactiveGeomPower"};

const QString kRatioSeparator = QStringLiteral("    /    ");

QString mainSectionText(const TextLookup &lookup, const QString &path)
{
    return lookup ? lookup(kViewsMainSection, path) : QString();
}

} // namespace

QString meterListTitlePath(int column)
{
    return QStringLiteral("CalibrationMainTableTitles/") + QLatin1String(kMeterTitles.at(column));
}

QString powerListTitlePath(int column)
{
    return QStringLiteral("CalibrationTableTitles/") + QLatin1String(kPowerTitles.at(column));
}

QString schemeName(int scheme, const TextLookup &lookup)
{
    const char *key = nullptr;
    switch (scheme) {
    case SchemeThreePhaseFourWire:
        key = "ph3w4";
        break;
    case SchemeThreePhaseThreeWire:
        key = "ph3w3";
        break;
    case SchemeSinglePhaseTwoWire:
        key = "ph1w2";
        break;
    default:
        return {};
    }
    return mainSectionText(lookup, QStringLiteral("CalibrationMainTableTitles/Schem/") + QLatin1String(key));
}

QString powerTypeName(int powerType, const TextLookup &lookup)
{
    if (powerType < 0 || powerType >= int(kPowerTypeKeys.size()))
        return {};
    return mainSectionText(lookup, QStringLiteral("CalibrationTableTitles/PowerType/")
                                       + QLatin1String(kPowerTypeKeys[powerType]));
}

QString turnsRatioText(unsigned i1, unsigned i2, const QLocale &locale)
{
    if (i2 == 0)
        return QStringLiteral("0");
    const quint64 hundredths = quint64(i1) * 100u / i2;
    return formatGeneral(double(hundredths) / 100.0, locale);
}

QString transformerRatioText(unsigned i1, unsigned i2, const QLocale &locale)
{
    if (i2 == 0)
        return QStringLiteral("0") + kRatioSeparator + QStringLiteral("0") + kRatioSeparator + QStringLiteral("1");
    return QString::number(i1) + kRatioSeparator + QString::number(i2) + kRatioSeparator
           + turnsRatioText(i1, i2, locale);
}

QString referenceStandardText(const InstrumentIdentity &instrument, const QString &name)
{
    if (instrument.serial == 0)
        return {};
    return name + QStringLiteral("     ") + QString::number(instrument.serial);
}

QString referenceStandardText(const InstrumentIdentity &instrument, const TextLookup &lookup)
{
    return referenceStandardText(instrument, instrumentName(instrument.type, lookup));
}

QString verificationTimeText(const QTime &time, const QLocale &locale)
{
    // Long time formats may end in a time-zone field ("t"); a stored moment has none.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(zone);
    return locale.toString(time, timeFormat.trimmed());
}

QString verificationDateTimeText(const QDate &date, const QTime &time, const QLocale &locale)
{
    return locale.toString(date, QLocale::ShortFormat) + QStringLiteral("       ") + verificationTimeText(time, locale);
}

QStringList meterRowTexts(const ListedMeter &meter, const TextLookup &lookup, const QLocale &locale)
{
    return MeterRowTexts(lookup, locale).row(meter);
}

MeterRowTexts::MeterRowTexts(const TextLookup &lookup, const QLocale &locale)
    : m_schemes{schemeName(SchemeThreePhaseFourWire, lookup), schemeName(SchemeThreePhaseThreeWire, lookup),
                schemeName(SchemeSinglePhaseTwoWire, lookup)}
    , m_locale(locale)
{
    for (int type = 0; type < int(m_instruments.size()); ++type)
        m_instruments[std::size_t(type)] = instrumentName(type, lookup);
}

QString MeterRowTexts::schemeText(int scheme) const
{
    switch (scheme) {
    case SchemeThreePhaseFourWire:
        return m_schemes[0];
    case SchemeThreePhaseThreeWire:
        return m_schemes[1];
    case SchemeSinglePhaseTwoWire:
        return m_schemes[2];
    default:
        return {};
    }
}

QString MeterRowTexts::instrumentText(int type) const
{
    return type >= 0 && type < int(m_instruments.size()) ? m_instruments[std::size_t(type)] : QString();
}

QString MeterRowTexts::cell(const ListedMeter &meter, int column) const
{
    if (meter.verificationCount == 0)
        return {};
    switch (column) {
    case 0:
        return VisibleMeterType(meter.meterType);
    case 1:
        return meter.serialText;
    case 2:
        return formatGeneral(meter.accuracyClass, m_locale);
    case 3:
        return schemeText(meter.scheme);
    case 4:
        return QString::number(meter.year);
    case 5:
        return transformerRatioText(meter.i1, meter.i2, m_locale);
    case 6:
        return referenceStandardText(meter.instrument, instrumentText(meter.instrument.type));
    default:
        return {};
    }
}

QStringList MeterRowTexts::row(const ListedMeter &meter) const
{
    QStringList cells;
    cells.reserve(kMeterListColumnCount);
    for (int c = 0; c < kMeterListColumnCount; ++c)
        cells << cell(meter, c);
    return cells;
}

std::optional<MeterCellSource> MeterRowTexts::source(const ListedMeter &meter, int column) const
{
    if (meter.verificationCount == 0)
        return std::nullopt;
    switch (column) {
    case 2:
        return MeterCellSource{std::bit_cast<quint64>(meter.accuracyClass), 0};
    case 3:
        return MeterCellSource{meter.scheme, 0};
    case 4:
        return MeterCellSource{meter.year, 0};
    case 5:
        return MeterCellSource{meter.i1, meter.i2};
    case 6:
        return MeterCellSource{meter.instrument.serial, meter.instrument.type};
    default:
        return std::nullopt;
    }
}

QStringList verificationRowTexts(const pcn::_blockdata &verification, const TextLookup &lookup, const QLocale &locale)
{
    QStringList cells;
    cells << verificationDateTimeText(verification.date, verification.time, locale)
          << powerTypeName(verification.powerType, lookup) << QString::number(verification.constant);
    const QString blank = QStringLiteral(" ");
    switch (verification.scheme) {
    case SchemeThreePhaseFourWire:
        cells << formatGeneral(verification.uPhaseNom, locale) << formatGeneral(verification.uLineNom, locale);
        break;
    case SchemeThreePhaseThreeWire:
        cells << blank << formatGeneral(verification.uLineNom, locale);
        break;
    case SchemeSinglePhaseTwoWire:
        cells << formatGeneral(verification.uPhaseNom, locale) << blank;
        break;
    default:
        cells << QString() << QString() << QString();
        return cells;
    }
    cells << formatGeneral(verification.iNom, locale);
    return cells;
}
