#include "archive.h"

#include "wire.h"

#include <QDateTime>

#include <cmath>

namespace sim {

namespace {

struct MeterModel {
    const char16_t *type;
    std::uint8_t scheme;
    double uLine;
    double uPhase;
    double iNom;
    double accuracy;
    std::uint32_t constant;
    std::uint16_t year;
    std::uint16_t i1;
    std::uint16_t i2;
};

// Meters a workshop verifies with a three-phase instrument (including a
// single-phase meter) and with a single-phase one. One Cyrillic type of the
// full 14 characters.
const MeterModel kThreePhaseMeters[] = {
    {u"ЦЭ6803В-М", 1, 380, 220, 5, 1.0, 1600, 2019, 1, 1},
    {u"KVM-3T.05", 1, 100, 57.7, 5, 0.5, 5000, 2020, 100, 5},
    {u"ALFA A3-R", 2, 100, 57.7, 1, 0.2, 20000, 2018, 50, 5},
    {u"ТРИФАЗА 3Ф-100", 1, 380, 220, 10, 2.0, 800, 2021, 1000, 5},
    {u"SM-102", 4, 220, 220, 10, 1.0, 3200, 2022, 1, 1},
};

const MeterModel kSinglePhaseMeters[] = {
    {u"ОДНОФАЗ-1", 4, 220, 220, 5, 1.0, 6400, 2021, 1, 1},
    {u"SM-102", 4, 220, 220, 10, 1.0, 3200, 2022, 1, 1},
    {u"NEVA-101 AS", 4, 230, 230, 5, 1.0, 100, 2023, 1, 1},
    {u"ЦЭ6807П", 4, 220, 220, 10, 2.0, 1000, 2017, 100, 5},
};

const double kLoad[] = {0.05, 0.1, 0.2, 0.5, 1.0, 1.2, 0.01, 0.02, 0.75, 1.5};
// Power factor and whether the load is capacitive, per point.
const double kCos[] = {1.0, 0.5, 0.8, 0.5, 0.25, 1.0, 0.866, 0.8, 0.5, 0.0};
const bool kCapacitive[] = {false, false, true, true, false, false, false, true, false, false};
const int kPointPattern[] = {10, 3, 7, 1, 10, 5, 8, 2, 10, 4};

pcn::_datasample makePoint(const InstrumentProfile &profile, const MeterModel &meter, int record, int j)
{
    pcn::_datasample pt;
    const int phases = meter.scheme == 4 ? 1 : 3;
    const double cosPhi = kCos[j % 10];
    const double sinPhi = std::sqrt(std::max(0.0, 1.0 - cosPhi * cosPhi));
    const double sign = kCapacitive[j % 10] ? -1.0 : 1.0;
    double p = 0, s = 0, q = 0;
    for (int ph = 0; ph < phases; ++ph) {
        if (meter.scheme == 2 && ph == 1)
            continue; // a three-wire connection has no phase B current
        const double u = meter.uPhase * (1.0 + 0.002 * ((j + ph) % 3)) + 0.013 * record;
        const double i = meter.iNom * kLoad[j % 10] * (1.0 + 0.001 * (ph + 1));
        pt.U[ph] = u;
        pt.I[ph] = i;
        pt.Uline[ph] = phases == 3 ? u * std::sqrt(3.0) : 0.0;
        pt.cosPhi[ph] = cosPhi;
        pt.P[ph] = u * i * cosPhi;
        pt.S[ph] = u * i;
        pt.Q[ph] = sign * u * i * sinPhi;
        p += pt.P[ph];
        s += pt.S[ph];
        q += pt.Q[ph];
    }
    pt.Ptotal = p;
    pt.Stotal = s;
    pt.QshiftTotal = q;
    pt.QcrossTotal = q * 1.0007;
    pt.QgeomTotal = (q < 0 ? -1.0 : 1.0) * std::sqrt(std::max(0.0, s * s - p * p));
    pt.errorPercent = ((record * 7 + j * 13) % 41 - 20) * 0.013;
    pt.extraValue = 20.0 + (j % 5) * 0.5;
    pt.currentRangeCode = pickCurrentCode(profile, pt.I[0], j % 3 == 2);
    pt.voltageRangeCode = pickVoltageCode(profile, pt.U[0]);
    return pt;
}

} // namespace

std::uint8_t pickCurrentCode(const InstrumentProfile &profile, double amperes, bool preferClamp)
{
    const CurrentRange *best = nullptr;
    for (int pass = 0; pass < 2 && !best; ++pass) {
        const bool wantClamp = (pass == 0) == preferClamp;
        for (const CurrentRange &r : profile.currentRanges) {
            if (r.clamp != wantClamp || r.amperes < amperes)
                continue;
            if (!best || r.amperes < best->amperes)
                best = &r;
        }
    }
    if (!best) {
        for (const CurrentRange &r : profile.currentRanges)
            if (!best || r.amperes > best->amperes)
                best = &r;
    }
    return best ? best->code : 0;
}

std::uint8_t pickVoltageCode(const InstrumentProfile &profile, double volts)
{
    int best = -1;
    int largest = 0;
    for (int k = 0; k < profile.voltageRanges.size(); ++k) {
        const double v = profile.voltageRanges[k];
        if (v >= volts && (best < 0 || v < profile.voltageRanges[best]))
            best = k;
        if (v > profile.voltageRanges[largest])
            largest = k;
    }
    return static_cast<std::uint8_t>(best >= 0 ? best : largest);
}

void fillBcd(pcn::_datacounter &summary)
{
    summary.bcdYear = bcdYear(summary.date.year());
    summary.bcdMonth = bcdByte(summary.date.month());
    summary.bcdDay = bcdByte(summary.date.day());
    summary.bcdHour = bcdByte(summary.time.hour());
    summary.bcdMinute = bcdByte(summary.time.minute());
    summary.bcdSecond = bcdByte(summary.time.second());
}

QVector<SimRecord> generateArchive(const InstrumentProfile &profile, const ScenarioOptions &options)
{
    QVector<SimRecord> archive;
    const MeterModel *meters = profile.threePhase ? kThreePhaseMeters : kSinglePhaseMeters;
    const int meterCount = profile.threePhase ? int(std::size(kThreePhaseMeters)) : int(std::size(kSinglePhaseMeters));
    QDateTime moment(QDate(2024, 2, 27), QTime(9, 15, 30), Qt::UTC);

    for (int m = 0; archive.size() < options.records; ++m) {
        const MeterModel &meter = meters[m % meterCount];
        QVector<int> powerTypes = options.powerTypes;
        if (powerTypes.isEmpty()) {
            // A single-phase connection cannot measure reactive power by
            // cross-connection; the default list leaves that type out there.
            powerTypes = meter.scheme == 4 ? QVector<int>{0, 1, 3, 4} : QVector<int>{0, 1, 2, 3, 4};
        }
        for (int k = 0; k < powerTypes.size() && archive.size() < options.records; ++k) {
            const int index = archive.size();
            SimRecord rec;
            pcn::_blockdata &d = rec.data;
            d.meterType = QString::fromUtf16(meter.type);
            d.serial = 10000000u + 7919u * static_cast<std::uint32_t>(m);
            d.accuracyClass = meter.accuracy;
            d.constant = meter.constant;
            d.year = meter.year;
            d.scheme = meter.scheme;
            d.uLineNom = meter.uLine;
            d.uPhaseNom = meter.uPhase;
            d.iNom = meter.iNom;
            d.powerType = static_cast<std::uint8_t>(powerTypes[k]);
            d.date = moment.date();
            d.time = moment.time();
            fillBcd(d);
            d.i1 = meter.i1;
            d.i2 = meter.i2;
            const int n = options.points > 0 ? std::min(options.points, 10) : kPointPattern[index % 10];
            for (int j = 0; j < n; ++j)
                d.points.append(makePoint(profile, meter, index, j));
            if (profile.modelClass == 5 || profile.modelClass == 6)
                rec.multiplierCode = static_cast<std::uint8_t>(index % 5);
            rec.reservedByte = static_cast<std::uint8_t>(index & 0xFF);
            archive.append(rec);
            moment = moment.addSecs(11 * 60 + 23);
        }
        moment = moment.addSecs(24 * 3600 + 3 * 3600 + 7 * 60);
    }
    return archive;
}

} // namespace sim
