// Meters built in memory for the record operation tests. Each test point
// carries a phase-A voltage chosen by the test, so that the order of joined
// points can be read back from a file.
#pragma once

#include "records/blockdata.h"
#include "samplerecords.h"

#include <QDateTime>

#include <initializer_list>

namespace opsdata {

using testsupport::bcd;
using testsupport::setMoment;

// A three-phase four-wire active verification of meter "CE301" with one
// point per given phase-A voltage.
inline pcn::_blockdata verification(const QDateTime &moment, std::initializer_list<double> voltages)
{
    pcn::_blockdata v = testsupport::sampleVerification(SchemeThreePhaseFourWire, PowerActive, moment, 0);
    v.meterType = QStringLiteral("CE301");
    v.serial = 4242;
    v.serialText = QStringLiteral("4242");
    v.accuracyClass = 0.5;
    v.year = 2009;
    v.uLineNom = 380;
    v.uPhaseNom = 220;
    v.i1 = 1;
    v.i2 = 1;
    for (double u : voltages) {
        pcn::_datasample p;
        p.U = {u, 221, 222};
        p.I = {5, 5, 5};
        p.Uline = {380, 380, 380};
        p.cosPhi = {1, 1, 1};
        p.Ptotal = 3000;
        p.Stotal = 3000;
        p.range = {40, 0, RangeClamps, 250, 0, 0};
        v.points << p;
    }
    return v;
}

inline QDateTime at(int month, int day, int hour = 10, int minute = 0)
{
    return QDateTime(QDate(2010, month, day), QTime(hour, minute, 0));
}

// A meter of instrument type 3, serial 777, with the given verifications.
inline pcn::_totalblockdata meter(std::initializer_list<pcn::_blockdata> verifications)
{
    pcn::_totalblockdata m;
    for (const pcn::_blockdata &v : verifications)
        m.verifications << v;
    m.instrument.type = 3;
    m.instrument.serial = 777;
    return m;
}

// Phase-A voltages of all points of a verification, in stored order.
inline QList<double> voltagesOf(const pcn::_blockdata &v)
{
    QList<double> u;
    for (const pcn::_datasample &p : v.points)
        u << p.U[0];
    return u;
}

} // namespace opsdata
