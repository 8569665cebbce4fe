#include "folderimport.h"

#include <QDir>
#include <QDirIterator>

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

std::uint8_t matchCurrentCode(const InstrumentProfile &profile, double amperes, bool clamp)
{
    for (const CurrentRange &r : profile.currentRanges)
        if (r.clamp == clamp && std::fabs(r.amperes - amperes) < 1e-6)
            return r.code;
    return pickCurrentCode(profile, amperes, clamp);
}

} // namespace

SimRecord recordFromVerification(const _blockdata &verification, int storedType, const InstrumentProfile &profile)
{
    SimRecord rec;
    rec.data = verification;
    if (rec.data.points.size() > 10)
        rec.data.points.resize(10);
    if (rec.data.bcdYear == 0 && rec.data.date.isValid())
        fillBcd(rec.data);
    // Current ranges of the older single-phase files are stored as plain
    // amperes, all others as quarter amperes.
    const bool plainIntegers = storedType == 1 || storedType == 2;
    for (_datasample &pt : rec.data.points) {
        const double amperes = (plainIntegers ? pt.range[0] : pt.range[0] / 4) + pt.range[1] / 65536.0;
        const double volts = pt.range[3] + pt.range[4] / 65536.0;
        pt.currentRangeCode = amperes > 0 ? matchCurrentCode(profile, amperes, pt.range[2] == 2)
                                          : pickCurrentCode(profile, pt.I[0], false);
        pt.voltageRangeCode = pickVoltageCode(profile, volts > 0 ? volts : pt.U[0]);
    }
    return rec;
}

} // namespace sim
