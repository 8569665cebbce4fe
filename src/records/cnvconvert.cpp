// The two converters of raw archive records: older instruments deliver the
// stored layout and need only their version, instrument and range table;
// newer ones deliver the date, time and transformer fields at other places,
// the range codes at other bytes and a checksum in each point block.
#include "records/cnvrecord.h"

#include "records/cnvranges.h"
#include "records/meterfile.h"
#include "records/metertype.h"
#include "records/pointcodec.h"

#include <algorithm>
#include <cstring>

using namespace pcn;

namespace {

// Raw layout of the newer records where it differs from the stored one.
namespace raw {
constexpr std::size_t bcdYear = 40;
constexpr std::size_t bcdDay = 42;
constexpr std::size_t bcdMonth = 43;
constexpr std::size_t bcdHour = 44;
constexpr std::size_t notInterpreted = 45;
constexpr std::size_t bcdSecond = 46;
constexpr std::size_t bcdMinute = 47;
constexpr std::size_t transformer = 48;
constexpr std::size_t pointCount = 50; // the header checksum, replaced by the storing loop
// In a point block.
constexpr std::size_t currentRangeCode = 92;
constexpr std::size_t voltageRangeCode = 93;
constexpr std::size_t pointChecksum = 94;
} // namespace raw

// Classes 5 and 6: bits 6-8 of the word of bytes 38 and 39 multiply the
// meter constant.
std::uint32_t constantFactor(unsigned multiplierCode)
{
    switch (multiplierCode) {
    case 1:
        return 2;
    case 2:
        return 64;
    case 3:
        return 1024;
    case 4:
        return 8192;
    default:
        return 1;
    }
}

int fromBcd(std::uint8_t b)
{
    return (b >> 4) * 10 + (b & 0xF);
}

// The BCD moment of a record, decoded as the file reader decodes it, so that
// a record accepted here is accepted there.
struct BcdMoment {
    std::uint16_t year = 0;
    std::uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;

    QDate date() const
    {
        return QDate(fromBcd(std::uint8_t(year >> 8)) * 100 + fromBcd(std::uint8_t(year & 0xFF)), fromBcd(month),
                     fromBcd(day));
    }
    QTime time() const { return QTime(fromBcd(hour), fromBcd(minute), fromBcd(second)); }
    bool isValid() const { return date().isValid() && time().isValid(); }
};

// Reactive power by cross-connection needs three phases.
bool impossibleCombination(std::uint8_t scheme, std::uint8_t powerType)
{
    return (scheme & SchemeSinglePhaseTwoWire) != 0 && powerType == PowerReactiveCross;
}

std::uint32_t getLong(const std::uint8_t *b, std::size_t highOffset, std::size_t lowOffset)
{
    return (std::uint32_t(getWord(b, highOffset)) << 16) | getWord(b, lowOffset);
}

void fillIdentity(pcn::_datacounter &summary, const std::uint8_t *b)
{
    summary.meterType =
        DecodeMeterType(QByteArrayView(reinterpret_cast<const char *>(b + rh::meterType), qsizetype(kMeterTypeBytes)));
    summary.serial = getLong(b, rh::serialHigh, rh::serialLow);
    summary.serialText = QString::number(summary.serial);
}

void fillMoment(pcn::_datacounter &summary, const BcdMoment &m)
{
    summary.bcdYear = m.year;
    summary.bcdMonth = m.month;
    summary.bcdDay = m.day;
    summary.bcdHour = m.hour;
    summary.bcdMinute = m.minute;
    summary.bcdSecond = m.second;
    summary.date = m.date();
    summary.time = m.time();
}

void markStored(std::uint8_t *b, const DeviceInfo &info)
{
    b[rh::version] = kCurrentVersion;
    b[rh::instrumentType] = info.modelClass;
    putWord(b, rh::instrumentSerial, info.serialNumber);
}

void fillHeader(CnvFileHeader &header, const QString &serialText)
{
    const QByteArray bytes = encodeFileHeader(serialText);
    std::copy_n(bytes.constData(), header.size(), reinterpret_cast<char *>(header.data()));
}

std::uint8_t *pointAt(std::uint8_t *b, int k)
{
    return b + kRecordHeaderSize + kPointSize * std::size_t(k);
}

std::uint8_t *rangeEntryAt(std::uint8_t *b, int k)
{
    return b + kRangeTableOffset + kRangeEntrySize * std::size_t(k);
}

} // namespace

pcn::_datacounter ArchiveSummaryDefaults()
{
    pcn::_datacounter summary;
    summary.meterType.clear();
    summary.serial = 0;
    summary.year = 1970;
    summary.scheme = 8;
    summary.powerType = 8;
    summary.date = QDate(1960, 1, 1);
    summary.time = QTime(0, 0, 0);
    return summary;
}

int ConvertOlder(CnvWorkBuffer &work, CnvFileHeader &header, pcn::_datacounter &summary, const DeviceInfo &info)
{
    if (info.modelClass > 2)
        return 0;
    CnvWorkBuffer out = work;
    std::uint8_t *b = out.data();
    pcn::_datacounter s = summary;
    fillIdentity(s, b);
    s.powerType = b[rh::powerType];
    s.scheme = b[rh::scheme] & 7;

    const BcdMoment moment{getWord(b, rh::bcdYear), b[rh::bcdMonth],  b[rh::bcdDay],
                           b[rh::bcdHour],          b[rh::bcdMinute], b[rh::bcdSecond]};
    if (impossibleCombination(b[rh::scheme], s.powerType) || !moment.isValid())
        return 0;

    // A record without points would make an unreadable file. The raw record
    // holds ten point blocks and nothing beyond, so a larger count is cut to
    // the points that are there.
    int n = getWord(b, rh::pointCount);
    if (n == 0)
        return 0;
    if (n > kPointsInBlock) {
        n = kPointsInBlock;
        putWord(b, rh::pointCount, std::uint16_t(n));
    }
    markStored(b, info);

    for (int k = 0; k < n; ++k) {
        std::uint8_t *p = pointAt(b, k);
        const auto range = cnv::olderPointRange(info, p[pt::currentRangeCode], p[pt::voltageRangeCode]);
        if (!range)
            return 0;
        p[pt::currentRangeCode] = range->currentCode;
        writeRangeEntry(rangeEntryAt(b, k), range->entry);
    }

    fillMoment(s, moment);
    fillHeader(header, s.serialText);
    summary = s;
    work = out;
    return kConvertedRecordLength;
}

int ConvertNewer(CnvWorkBuffer &work, CnvFileHeader &header, pcn::_datacounter &summary, const DeviceInfo &info,
                 bool *constantClamped)
{
    if (!info.isNewer())
        return 0;
    const CnvWorkBuffer rawCopy = work;
    const std::uint8_t *r = rawCopy.data();
    CnvWorkBuffer out = work;
    std::uint8_t *b = out.data();
    pcn::_datacounter s = summary;
    fillIdentity(s, r);
    bool clamped = false;

    if (info.modelClass == 3) {
        s.scheme = r[rh::scheme] & 7;
        s.powerType = r[rh::powerType] & 7;
    } else {
        const std::uint16_t w = getWord(r, rh::scheme);
        s.scheme = w & 7;
        s.powerType = (w >> 3) & 7;
        // The instrument keeps large constants divided; the stored constant
        // is the real one. One that does not fit in 32 bits is kept as the
        // largest the file holds, so that the verification is not lost.
        std::uint64_t constant =
            std::uint64_t(getLong(r, rh::constantHigh, rh::constantLow)) * constantFactor((w >> 6) & 7);
        clamped = constant > 0xFFFFFFFFu;
        if (clamped)
            constant = 0xFFFFFFFFu;
        putWord(b, rh::constantHigh, std::uint16_t(constant >> 16));
        putWord(b, rh::constantLow, std::uint16_t(constant & 0xFFFF));
    }

    const BcdMoment moment{getWord(r, raw::bcdYear), r[raw::bcdMonth],  r[raw::bcdDay],
                           r[raw::bcdHour],          r[raw::bcdMinute], r[raw::bcdSecond]};
    if (impossibleCombination(s.scheme, s.powerType) || !moment.isValid())
        return 0;

    // Only the valid point blocks are stored; without one the file could not
    // be read, so the record is dropped.
    const int n = getWord(r, raw::pointCount);
    if (n == 0 || n > kPointsInBlock)
        return 0;

    putWord(b, rh::transformer, getWord(r, raw::transformer));
    putWord(b, rh::pointCount, std::uint16_t(n));
    putWord(b, rh::bcdYear, getWord(r, raw::bcdYear));
    b[rh::bcdDay] = r[raw::bcdDay];
    b[rh::bcdMonth] = r[raw::bcdMonth];
    b[rh::bcdHour] = r[raw::bcdHour];
    b[rh::reserved] = r[raw::notInterpreted];
    b[rh::bcdSecond] = r[raw::bcdSecond];
    b[rh::bcdMinute] = r[raw::bcdMinute];
    markStored(b, info);

    for (int k = 0; k < n; ++k) {
        const std::uint8_t *rp = r + kRecordHeaderSize + kPointSize * std::size_t(k);
        const std::uint8_t currentCode = rp[raw::currentRangeCode];
        const std::uint8_t voltageCode = rp[raw::voltageRangeCode];
        const auto range = cnv::newerPointRange(info, currentCode, voltageCode);
        if (!range)
            return 0;
        std::uint8_t *p = pointAt(b, k);
        // The point's checksum becomes the carried extra value word.
        p[pt::extraValue] = rp[raw::pointChecksum];
        p[pt::extraValue + 1] = rp[raw::pointChecksum + 1];
        p[pt::currentRangeCode] = range->currentCode;
        p[pt::voltageRangeCode] = voltageCode;
        writeRangeEntry(rangeEntryAt(b, k), range->entry);
    }

    fillMoment(s, moment);
    fillHeader(header, s.serialText);
    summary = s;
    work = out;
    if (constantClamped)
        *constantClamped = clamped;
    return kConvertedRecordLength;
}
