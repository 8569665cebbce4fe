// Texts of the meter list and the power (verification) list rows, and the
// localized names they use. Shared with the reports and the export.
#pragma once

#include "records/blockdata.h"
#include "records/listedmeter.h"
#include "views/textlookup.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>

constexpr int kMeterListColumnCount = 7;
constexpr int kPowerListColumnCount = 6;

// Paths of the column captions in the main window's section.
QString meterListTitlePath(int column); // "CalibrationMainTableTitles/DeviceType" ...
QString powerListTitlePath(int column); // "CalibrationTableTitles/DateTime" ...

// Localized name of a connection scheme; empty for an unknown code.
QString schemeName(int scheme, const TextLookup &lookup);
// Localized name of a power type (0..4); empty for an unknown code.
QString powerTypeName(int powerType, const TextLookup &lookup);

// Turns ratio of a current transformer: i1 * 100 / i2 cut to an integer,
// divided by 100, in the general number format (100 / 3 gives 33.33, 115 /
// 100 gives 1.15). Whole-number arithmetic, so no binary fraction loses a
// hundredth. "0" when i2 is 0.
QString turnsRatioText(unsigned i1, unsigned i2, const QLocale &locale = QLocale());

// "5    /    1    /    5" for i1 = 5, i2 = 1 (ratio truncated to 2
// decimals); "0    /    0    /    1" when i2 is 0.
QString transformerRatioText(unsigned i1, unsigned i2, const QLocale &locale = QLocale());

// Reference-standard text: the display name of the instrument type (given,
// or from the lookup), five spaces, the serial; empty when the serial is 0.
QString referenceStandardText(const InstrumentIdentity &instrument, const QString &name);
QString referenceStandardText(const InstrumentIdentity &instrument, const TextLookup &lookup);

// "date       time": the locale's short date, seven spaces, the locale's
// long time (without a time zone, which a verification does not have).
// A verification's time in the locale's long time format, without a time zone.
QString verificationTimeText(const QTime &time, const QLocale &locale = QLocale());

QString verificationDateTimeText(const QDate &date, const QTime &time, const QLocale &locale = QLocale());

// The seven cells of a meter's row, from its first verification; all empty
// for a meter without verifications.
QStringList meterRowTexts(const ListedMeter &meter, const TextLookup &lookup, const QLocale &locale = QLocale());

// What a meter-list cell's text is made from, as two numbers (see
// MeterRowTexts::source).
using MeterCellSource = std::pair<quint64, quint64>;

// The cells of meter rows made one at a time, when a row is shown: a list of
// many meters holds no texts of its own. The names a row can show are looked
// up once, when made.
class MeterRowTexts {
public:
    MeterRowTexts() = default; // no names: the scheme and instrument cells are empty
    MeterRowTexts(const TextLookup &lookup, const QLocale &locale);

    QString cell(const ListedMeter &meter, int column) const;
    QStringList row(const ListedMeter &meter) const;
    // The values a formatted cell's text is made from: two meters whose
    // sources of a column are equal show the same text in it. Nothing for
    // the type and serial columns, which show texts the meter holds, and
    // for a meter without verifications.
    std::optional<MeterCellSource> source(const ListedMeter &meter, int column) const;

private:
    QString schemeText(int scheme) const;
    QString instrumentText(int type) const;

    std::array<QString, 3> m_schemes; // four-wire, three-wire, two-wire
    std::array<QString, 7> m_instruments; // instrument types 0 to 6
    QLocale m_locale;
};

// The six cells of a verification's row. For an unknown scheme only the
// first three are filled.
QStringList verificationRowTexts(const pcn::_blockdata &verification, const TextLookup &lookup,
                                 const QLocale &locale = QLocale());
