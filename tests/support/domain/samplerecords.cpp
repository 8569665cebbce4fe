#include "samplerecords.h"

namespace testsupport {

std::uint8_t bcd(int value)
{
    return std::uint8_t(((value / 10) << 4) | (value % 10));
}

void setMoment(pcn::_datacounter &v, const QDateTime &moment)
{
    v.date = moment.date();
    v.time = moment.time();
    v.bcdYear = std::uint16_t((bcd(v.date.year() / 100) << 8) | bcd(v.date.year() % 100));
    v.bcdMonth = bcd(v.date.month());
    v.bcdDay = bcd(v.date.day());
    v.bcdHour = bcd(v.time.hour());
    v.bcdMinute = bcd(v.time.minute());
    v.bcdSecond = bcd(v.time.second());
}

pcn::_blockdata sampleVerification(int scheme, int powerType, const QDateTime &moment, int points)
{
    pcn::_blockdata v;
    v.scheme = std::uint8_t(scheme);
    v.powerType = std::uint8_t(powerType);
    v.constant = 1600;
    v.uPhaseNom = 57.7;
    v.uLineNom = 100;
    v.iNom = 5;
    setMoment(v, moment);
    for (int j = 0; j < points; ++j) {
        pcn::_datasample p;
        p.U = {220.5 + j, 221, 222};
        p.I = {5, 4.5, 4};
        p.Uline = {380, 381, 382};
        p.cosPhi = {0.8666, 0.5, 1};
        p.Ptotal = 3000;
        p.Stotal = 3500;
        p.errorPercent = j == 0 ? -0.1239 : 0.25;
        p.range = {40, 0, RangeClamps, 250, 0, 0}; // 10 A through clamps, 250 V
        v.points << p;
    }
    return v;
}

pcn::_totalblockdata sampleMeter(const QString &type, const QString &serialText, int scheme, int count, int points)
{
    pcn::_totalblockdata m;
    for (int k = 0; k < count; ++k) {
        pcn::_blockdata v =
            sampleVerification(scheme, k % 5, QDateTime(QDate(2010, 1, 1 + k), QTime(8, 30, k)), points);
        v.meterType = type;
        v.serial = 777;
        v.serialText = serialText;
        v.accuracyClass = 0.5;
        v.year = 2009;
        m.verifications << v;
    }
    m.instrument.type = 3;
    return m;
}

} // namespace testsupport
