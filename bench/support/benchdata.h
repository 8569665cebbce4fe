// Stored meter files of realistic sizes for the benchmarks: 1 to 3
// verifications a meter, mostly 3 to 10 points, every seventh verification
// 11 to 20, written in the program's own encoding.
#pragma once

#include "records/blockdata.h"

#include <QDate>
#include <QRandomGenerator>
#include <QString>

namespace bench {

// Sets the verification's date and time together with their stored BCD
// form.
void setMoment(pcn::_datacounter &v, const QDate &date, const QTime &time);

// One meter (index picks its type, serial, moment and number of
// verifications).
pcn::_totalblockdata makeMeter(int index, QRandomGenerator &rng);

// Writes `count` meter files m00000.pcn ... into the folder (created when
// missing), without the flush to disk of the program's atomic write so that
// setting up takes seconds. Returns the bytes written, -1 on failure. A
// folder written so before (same count and seed) is kept as it is: a mark
// file beside the meter files tells.
qint64 writeMeterFolder(const QString &folder, int count, quint32 seed = 20090615);

} // namespace bench
