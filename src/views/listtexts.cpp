#include "listtexts.h"

#include "base/parallel.h"
#include "records/numberformat.h"
#include "records/metertype.h"
#include "views/rangetexts.h"

#include <QRegularExpression>

#include <array>
#include <vector>

namespace {

const std::array<const char *, kMeterListColumnCount> kMeterTitles{"DeviceType", "SerialNumber", "Class",       "Schem",
                                                                   "Year",       "TransRatio",   "EtalonDevice"};
const std::array<const char *, kPowerListColumnCount> kPowerTitles{"DateTime", "PowerType", "Const",
                                                                   "UphNom",   "UlineNom",  "IphNom"};
const std::array<const char *, 5> kPowerTypeKeys{"ActivePower", "ApparentPower", "ReactiveCrossPower",
                                                 "ReactiveShiftPower", "ReactiveGeomPower"};

// A row takes a few microseconds: threads pay off from a few hundred rows.
constexpr qsizetype kRowsPerThreadFrom = 512;
constexpr qsizetype kRowsPerClaim = 128;

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

namespace {

// The scheme and instrument names a meter row can show, looked up once.
class RowNames {
public:
    explicit RowNames(const TextLookup &lookup)
        : m_names{schemeName(SchemeThreePhaseFourWire, lookup), schemeName(SchemeThreePhaseThreeWire, lookup),
                  schemeName(SchemeSinglePhaseTwoWire, lookup)}
    {
        for (int type = 0; type < int(m_instruments.size()); ++type)
            m_instruments[std::size_t(type)] = instrumentName(type, lookup);
    }
    QString instrumentOf(int type) const
    {
        return type >= 0 && type < int(m_instruments.size()) ? m_instruments[std::size_t(type)] : QString();
    }
    QString of(int scheme) const
    {
        switch (scheme) {
        case SchemeThreePhaseFourWire:
            return m_names[0];
        case SchemeThreePhaseThreeWire:
            return m_names[1];
        case SchemeSinglePhaseTwoWire:
            return m_names[2];
        default:
            return {};
        }
    }

private:
    std::array<QString, 3> m_names;
    std::array<QString, 7> m_instruments; // instrument types 0 to 6
};

// The cells of the meter before, on the same thread: meters of one folder
// mostly share their class, year, transformer and reference standard, whose
// texts are then taken over (and shared) instead of formatted again.
struct PreviousRow {
    const pcn::_totalblockdata *meter = nullptr;
    QStringList cells;
};

QStringList meterRow(const pcn::_totalblockdata &meter, const RowNames &schemes, const QLocale &locale,
                     PreviousRow *previous = nullptr)
{
    QStringList cells;
    cells.reserve(kMeterListColumnCount);
    if (meter.verifications.isEmpty()) {
        for (int c = 0; c < kMeterListColumnCount; ++c)
            cells << QString();
        return cells;
    }
    const pcn::_blockdata &first = meter.verifications.first();
    const pcn::_blockdata *before = previous && previous->meter && !previous->meter->verifications.isEmpty()
                                        ? &previous->meter->verifications.first()
                                        : nullptr;
    const auto same = [&](bool equal, int column) { return before && equal ? previous->cells[column] : QString(); };
    QString classText = same(before && before->accuracyClass == first.accuracyClass, 2);
    if (classText.isNull())
        classText = formatGeneral(first.accuracyClass, locale);
    QString yearText = same(before && before->year == first.year, 4);
    if (yearText.isNull())
        yearText = QString::number(first.year);
    QString ratioText = same(before && before->i1 == first.i1 && before->i2 == first.i2, 5);
    if (ratioText.isNull())
        ratioText = transformerRatioText(first.i1, first.i2, locale);
    QString standardText = same(before && previous->meter->instrument.serial == meter.instrument.serial
                                    && previous->meter->instrument.type == meter.instrument.type,
                                6);
    if (standardText.isNull())
        standardText = referenceStandardText(meter.instrument, schemes.instrumentOf(meter.instrument.type));
    cells << VisibleMeterType(first.meterType) << first.serialText << classText << schemes.of(first.scheme) << yearText
          << ratioText << standardText;
    if (previous) {
        previous->meter = &meter;
        previous->cells = cells;
    }
    return cells;
}

} // namespace

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

QStringList meterRowTexts(const pcn::_totalblockdata &meter, const TextLookup &lookup, const QLocale &locale)
{
    return meterRow(meter, RowNames(lookup), locale);
}

QVector<QStringList> meterRowTexts(const QVector<pcn::_totalblockdata> &meters, const TextLookup &lookup,
                                   const QLocale &locale)
{
    const RowNames schemes(lookup);
    QVector<QStringList> rows(meters.size());
    // Each thread formats with a locale of its own and remembers the row it
    // made last.
    const int workers = parallel::workerCount(meters.size(), 0, kRowsPerThreadFrom, kRowsPerClaim);
    QVector<QLocale> locales(workers, locale);
    std::vector<PreviousRow> previous(static_cast<std::size_t>(workers));
    parallel::forEachIndex(
        meters.size(),
        [&](qsizetype i, int worker) {
            rows[i] = meterRow(meters[i], schemes, locales[worker], &previous[std::size_t(worker)]);
        },
        0, kRowsPerThreadFrom, kRowsPerClaim);
    return rows;
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
