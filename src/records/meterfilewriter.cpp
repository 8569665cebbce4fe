// Writing stored verification files, always in version 23.
#include "records/meterfile.h"

#include "base/checksum.h"
#include "records/cp1251.h"
#include "records/metertype.h"
#include "records/numericcodec.h"
#include "records/pcnlayout.h"
#include "records/pointcodec.h"
#include "base/platform.h"

#include <cmath>
#include <limits>

using namespace pcn;

namespace {

// x rounded to the nearest integer and held within a 16-bit word.
std::uint16_t roundedWord(double x)
{
    if (!(x > 0))
        return 0;
    const double r = std::round(x);
    return r >= 65535.0 ? std::uint16_t(65535) : std::uint16_t(r);
}

// The stored meter type. A designation that is still the text of the bytes
// it was read from is stored as those bytes, so that a rewrite keeps them
// (an early zero byte, a letter that wrapped around to a control character).
// Another designation read from a file always fits and is stored whole (up
// to 16 characters); one that does not (longer, or holding a letter the
// instrument cannot show) is cut to 14 characters with "+" for such
// letters, as the decoder shows characters that cannot stand in a file name.
QByteArray storedMeterType(const pcn::_datacounter &v)
{
    const QString &meterType = v.meterType;
    if (v.meterTypeBytes) {
        const QByteArrayView kept(reinterpret_cast<const char *>(v.meterTypeBytes->data()), kMeterTypeBytes);
        if (DecodeMeterType(kept) == meterType)
            return kept.toByteArray();
    }
    if (const std::optional<QByteArray> stored = EncodeDecodedMeterType(meterType))
        return *stored;
    QString fitted = meterType.left(kMeterTypeMaxLength);
    for (QChar &c : fitted) {
        if (!EncodeMeterType(QString(c)))
            c = QLatin1Char('+');
    }
    return EncodeMeterType(fitted).value_or(QByteArray(kMeterTypeBytes, '\0'));
}

void encodeRecordHeader(const pcn::_blockdata &v, int type, std::uint16_t instrumentSerial, std::uint8_t *h)
{
    h[rh::version] = kCurrentVersion;
    h[rh::instrumentType] = std::uint8_t(type);
    putWord(h, rh::instrumentSerial, instrumentSerial);
    const QByteArray meterType = storedMeterType(v);
    std::copy(meterType.begin(), meterType.end(), h + rh::meterType);
    putWord(h, rh::serialHigh, std::uint16_t(v.serial >> 16));
    putWord(h, rh::serialLow, std::uint16_t(v.serial & 0xFFFF));
    putWord(h, rh::year, v.year);
    putWord(h, rh::accuracyClass, roundedWord(v.accuracyClass * 100));
    putWord(h, rh::constantHigh, std::uint16_t(v.constant >> 16));
    putWord(h, rh::constantLow, std::uint16_t(v.constant & 0xFFFF));
    putWord(h, rh::uLineNom, roundedWord(v.uLineNom * 10));
    putWord(h, rh::uPhaseNom, roundedWord(v.uPhaseNom * 10));
    putWord(h, rh::iNom, roundedWord(v.iNom * 10));
    if (type == 5 || type == 6) {
        putWord(h, rh::scheme, std::uint16_t(((v.powerType & 7) << 3) | (v.scheme & 7)));
    } else {
        h[rh::scheme] = v.scheme;
        h[rh::powerType] = v.powerType;
    }
    putWord(h, rh::transformer, std::uint16_t((v.i1 << 4) | (v.i2 & 0xF)));
    putWord(h, rh::pointCount, std::uint16_t(v.points.size()));
    putWord(h, rh::bcdYear, v.bcdYear);
    h[rh::bcdDay] = v.bcdDay;
    h[rh::bcdMonth] = v.bcdMonth;
    h[rh::bcdHour] = v.bcdHour;
    h[rh::reserved] = 0;
    h[rh::bcdSecond] = v.bcdSecond;
    h[rh::bcdMinute] = v.bcdMinute;
}

// Appends the record block and extension blocks of one verification, in
// the encoding of the instrument type it is stored in.
void appendVerification(QByteArray &out, const pcn::_blockdata &v, int type, std::uint16_t instrumentSerial)
{
    const qsizetype start = out.size();
    out.append(QByteArray(qsizetype(kBlockSize), '\0'));
    auto *block = reinterpret_cast<std::uint8_t *>(out.data() + start);
    encodeRecordHeader(v, type, instrumentSerial, block);
    const int inBlock = std::min<int>(int(v.points.size()), kPointsInBlock);
    for (int k = 0; k < inBlock; ++k) {
        encodePoint(v.points[k], type, block + kRecordHeaderSize + kPointSize * std::size_t(k));
        writeRangeEntry(block + kRangeTableOffset + kRangeEntrySize * std::size_t(k), v.points[k].range);
    }
    StoreChecksum(block, kBlockSize - kChecksumSize);

    for (qsizetype k = kPointsInBlock; k < v.points.size(); ++k) {
        const qsizetype at = out.size();
        out.append(QByteArray(qsizetype(kExtensionSize), '\0'));
        auto *ext = reinterpret_cast<std::uint8_t *>(out.data() + at);
        encodePoint(v.points[k], type, ext);
        writeRangeEntry(ext + kPointSize, v.points[k].range);
        StoreChecksum(ext, kExtensionSize - kChecksumSize);
    }
}

} // namespace

QByteArray encodeFileHeader(const QString &serialText)
{
    QByteArray header(qsizetype(kFileHeaderSize), '\0');
    header[0] = char(kFileHeaderMarker);
    const QByteArray text = cp1251::encodeLossy(serialText).left(qsizetype(kHeaderSerialSize));
    std::copy(text.begin(), text.end(), header.begin() + kHeaderSerialOffset);
    StoreChecksum(reinterpret_cast<std::uint8_t *>(header.data()), kFileHeaderSize - kChecksumSize);
    return header;
}

QByteArray encodeMeterFile(const pcn::_totalblockdata &meter)
{
    if (meter.verifications.isEmpty())
        return {};
    qsizetype total = qsizetype(kFileHeaderSize);
    for (const pcn::_blockdata &v : meter.verifications) {
        if (v.points.isEmpty() || v.points.size() > std::numeric_limits<std::uint16_t>::max()
            || !encodingFamily(storedInstrumentType(meter, v)))
            return {};
        total += qsizetype(kBlockSize)
                 + std::max<qsizetype>(0, v.points.size() - kPointsInBlock) * qsizetype(kExtensionSize);
    }
    QByteArray out = encodeFileHeader(meter.verifications.first().serialText);
    out.reserve(total);
    for (const pcn::_blockdata &v : meter.verifications)
        appendVerification(out, v, storedInstrumentType(meter, v), meter.instrument.serial);
    return out;
}

bool WriteMeterFile(const QString &path, const pcn::_totalblockdata &meter)
{
    const QByteArray bytes = encodeMeterFile(meter);
    if (bytes.isEmpty())
        return false;
    return platform::writeFileAtomically(path, bytes, true);
}

bool WriteRecordFile(const QString &path, const QByteArray &header, const QByteArray &block)
{
    return platform::writeFileAtomically(path, header + block, true);
}
