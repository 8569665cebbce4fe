// Meter database entries shared by the meter database tests.
#pragma once

#include "meterdb/meterentry.h"

namespace meterdbtest {

inline meterdb::MeterEntry entry(const QString &type, std::uint32_t serial, int year = 2020, double accuracy = 1.0,
                                 std::uint32_t constant = 1600, double uLine = 380, double uPhase = 220,
                                 double iNom = 5, int i1 = 1, int i2 = 1)
{
    meterdb::MeterEntry e;
    e.meterType = type;
    e.serial = serial;
    e.year = std::uint16_t(year);
    e.accuracyClass = accuracy;
    e.constant = constant;
    e.uLineNom = uLine;
    e.uPhaseNom = uPhase;
    e.iNom = iNom;
    e.i1 = std::uint16_t(i1);
    e.i2 = std::uint16_t(i2);
    return e;
}

// `count` different entries, with values as typing them gives.
inline meterdb::MeterList entries(int count)
{
    meterdb::MeterList list;
    for (int i = 0; i < count; ++i)
        list.append(entry(QStringLiteral("CE%1").arg(301 + i), std::uint32_t(1000 + i), 2000 + i, (50 + i) / 100.0,
                          std::uint32_t(800 * (i + 1)), (1001 + 10 * i) / 10.0, 57.7, 12.5, 1 + i, 5));
    return list;
}

} // namespace meterdbtest
