// Verifications and meters built in memory for tests that need stored files
// (written with WriteMeterFile) rather than exact bytes.
#pragma once

#include "records/blockdata.h"

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

} // namespace testsupport
