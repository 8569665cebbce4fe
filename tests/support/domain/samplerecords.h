// Verifications and meters built in memory for tests that need stored files
// (written with WriteMeterFile) rather than exact bytes.
#pragma once

#include "records/blockdata.h"
#include "views/rangetexts.h"

#include <QDateTime>

namespace testsupport {

std::uint8_t bcd(int value);

// Sets the moment of a verification together with its stored BCD form.
void setMoment(pcn::_datacounter &v, const QDateTime &moment);

// One verification of the scheme and power type at the moment, with
// `points` test points (10 A clamps range, 250 V).
pcn::_blockdata sampleVerification(int scheme, int powerType, const QDateTime &moment, int points);

// A meter of `count` verifications, one day apart, power types 0..4 in turn,
// instrument type 3, serial 777, class 0.5, year 2009.
pcn::_totalblockdata sampleMeter(const QString &type, const QString &serialText, int scheme, int count, int points = 1);

// The range texts of point k of a verification as shown in a language (0
// Russian, 1 English), with a point as decimal separator by default.
inline QString rangeU(const pcn::_blockdata &v, int k, const QLocale &locale = QLocale::c())
{
    return rangeVoltageText(v.points.at(k).range, locale);
}
inline QString rangeI(const pcn::_blockdata &v, int k, int language = 1, const QLocale &locale = QLocale::c())
{
    return rangeCurrentText(v.points.at(k).range, {v.instrumentType, RangeLabels::from(catalogTextLookup(language))},
                            locale);
}

} // namespace testsupport
