#include "recordcodec.h"

#include "wire.h"

#include "base/checksum.h"

#include <cmath>

namespace sim {

namespace {

enum class Family { A, B, C };

Family familyOf(int modelClass)
{
    if (modelClass == 1 || modelClass == 2)
        return Family::B;
    if (modelClass == 5 || modelClass == 6)
        return Family::C;
    return Family::A;
}

bool isClampCode(const InstrumentProfile &profile, std::uint8_t code)
{
    for (const CurrentRange &r : profile.currentRanges)
        if (r.code == code)
            return r.clamp;
    return false;
}

std::uint32_t encodeQuantity(Family family, bool wide, double x)
{
    if (family == Family::A || wide)
        return fixed1616(x);
    return fixed1220(x);
}

// Bytes 0-91 of a point block: three phase groups, five totals, the error.
void encodePointValues(const InstrumentProfile &profile, const pcn::_datasample &pt, QByteArray &block)
{
    const Family family = familyOf(profile.modelClass);
    // Family C keeps currents of clamp ranges in 16.16, the others in 12.20.
    const bool wideCurrent = family == Family::C && isClampCode(profile, pt.currentRangeCode);
    for (int ph = 0; ph < 3; ++ph) {
        const int g = 16 * ph;
        putHighLow(block, g, encodeQuantity(family, wideCurrent, pt.I[ph]));
        putU16(block, g + 4, pt.Q[ph] < 0 ? 0xFFFF : 0); // reactive power of the phase is negative
        putU16(block, g + 6, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::trunc(pt.cosPhi[ph] * 4096.0))));
        putHighLow(block, g + 8, encodeQuantity(family, false, pt.U[ph]));
        putHighLow(block, g + 12, encodeQuantity(family, false, pt.Uline[ph]));
    }
    const double totals[] = {pt.Ptotal, pt.Stotal, pt.QcrossTotal, pt.QshiftTotal, pt.QgeomTotal};
    for (int t = 0; t < 5; ++t) {
        if (profile.modelClass == 6)
            putTotal2820(block, 48 + 8 * t, totals[t]);
        else
            putTotal3216(block, 48 + 8 * t, totals[t]);
    }
    const auto error = static_cast<std::int32_t>(std::lround(pt.errorPercent * 0.01 * 65536.0));
    putHighLow(block, 88, static_cast<std::uint32_t>(error));
}

std::uint16_t transformerWord(const pcn::_datacounter &d)
{
    return static_cast<std::uint16_t>((d.i1 << 4) | (d.i2 & 0xF));
}

std::uint16_t schemeWord(const InstrumentProfile &profile, const SimRecord &record)
{
    const pcn::_datacounter &d = record.data;
    if (profile.modelClass == 5 || profile.modelClass == 6)
        return static_cast<std::uint16_t>((d.scheme & 7) | ((d.powerType & 7) << 3)
                                          | ((record.multiplierCode & 7) << 6));
    return static_cast<std::uint16_t>((d.scheme & 7) | (d.powerType << 8));
}

// Payload offsets 0-35: meter type to nominal current, the same in both
// generations (record offsets 4-39).
void encodeCommonHeader(const InstrumentProfile &profile, const SimRecord &record, QByteArray &out)
{
    const pcn::_datacounter &d = record.data;
    QByteArray type;
    if (!encodeTypeText(d.meterType, type))
        encodeTypeText(QStringLiteral("?"), type);
    out.replace(0, 16, type);
    putHighLow(out, 16, d.serial);
    putU16(out, 20, d.year);
    putU16(out, 22, static_cast<std::uint16_t>(std::lround(d.accuracyClass * 100)));
    putHighLow(out, 24, d.constant);
    putU16(out, 28, static_cast<std::uint16_t>(std::lround(d.uLineNom * 10)));
    putU16(out, 30, static_cast<std::uint16_t>(std::lround(d.uPhaseNom * 10)));
    putU16(out, 32, static_cast<std::uint16_t>(std::lround(d.iNom * 10)));
    putU16(out, 34, schemeWord(profile, record));
}

} // namespace

QByteArray encodeRecord(const InstrumentProfile &profile, const SimRecord &record)
{
    const pcn::_blockdata &d = record.data;
    QByteArray out(1024, char(0xFF));
    encodeCommonHeader(profile, record, out);
    const int n = std::min<int>(d.points.size(), 10);
    if (!profile.newer) {
        putU16(out, 36, transformerWord(d));
        putU16(out, 38, static_cast<std::uint16_t>(n));
        putU16(out, 40, d.bcdYear);
        out[42] = char(d.bcdDay);
        out[43] = char(d.bcdMonth);
        out[44] = char(d.bcdHour);
        out[45] = char(record.reservedByte);
        out[46] = char(d.bcdSecond);
        out[47] = char(d.bcdMinute);
        for (int k = 0; k < n; ++k) {
            const pcn::_datasample &pt = d.points[k];
            QByteArray block(kPointBlockSize, '\0');
            encodePointValues(profile, pt, block);
            putU16(block, 92, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::trunc(pt.extraValue * 256))));
            block[94] = char(pt.currentRangeCode);
            block[95] = char(pt.voltageRangeCode);
            out.replace(kRecordPointBase + kPointBlockSize * k, kPointBlockSize, block);
        }
        return out;
    }
    putU16(out, 36, d.bcdYear);
    out[38] = char(d.bcdDay);
    out[39] = char(d.bcdMonth);
    out[40] = char(d.bcdHour);
    out[41] = char(record.reservedByte);
    out[42] = char(d.bcdSecond);
    out[43] = char(d.bcdMinute);
    putU16(out, 44, transformerWord(d));
    StoreChecksum(reinterpret_cast<std::uint8_t *>(out.data()), 46);
    for (int k = 0; k < n; ++k) {
        const pcn::_datasample &pt = d.points[k];
        QByteArray block(kPointBlockSize, '\0');
        encodePointValues(profile, pt, block);
        block[92] = char(pt.currentRangeCode);
        block[93] = char(pt.voltageRangeCode);
        StoreChecksum(reinterpret_cast<std::uint8_t *>(block.data()), 94);
        out.replace(kRecordPointBase + kPointBlockSize * k, kPointBlockSize, block);
    }
    return out;
}

QByteArray encodeContentEntry(const InstrumentProfile &profile, const SimRecord &record)
{
    const pcn::_blockdata &d = record.data;
    QByteArray e(32, '\0');
    QByteArray type;
    if (!encodeTypeText(d.meterType, type))
        encodeTypeText(QStringLiteral("?"), type);
    e.replace(0, 16, type);
    putHighLow(e, 16, d.serial);
    if (!profile.newer) {
        e[20] = char(d.scheme);
        e[21] = char(d.powerType);
        putU16(e, 22, static_cast<std::uint16_t>(std::min<int>(d.points.size(), 10)));
        putU16(e, 24, d.bcdYear);
        e[26] = char(d.bcdDay);
        e[27] = char(d.bcdMonth);
        e[28] = char(d.bcdHour);
        e[29] = char(record.reservedByte);
        e[30] = char(d.bcdSecond);
        e[31] = char(d.bcdMinute);
        return e;
    }
    putU16(e, 20, d.bcdYear);
    e[22] = char(d.bcdDay);
    e[23] = char(d.bcdMonth);
    e[24] = char(d.bcdHour);
    e[25] = char(record.reservedByte);
    e[26] = char(d.bcdSecond);
    e[27] = char(d.bcdMinute);
    putU16(e, 28, schemeWord(profile, record));
    StoreChecksum(reinterpret_cast<std::uint8_t *>(e.data()), 30);
    return e;
}

} // namespace sim
