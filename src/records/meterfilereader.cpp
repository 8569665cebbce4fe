// Reading stored verification files. The byte parser is pure and checks
// every length before it touches a byte; ReadMeterFile adds the file access
// and the upgrade of old headerless files.
#include "records/meterfile.h"

#include "base/checksum.h"
#include "records/cp1251.h"
#include "records/metertype.h"
#include "records/numericcodec.h"
#include "records/pcnlayout.h"
#include "records/pointcodec.h"
#include "base/platform.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace pcn;

namespace {

int fromBcd(std::uint8_t b)
{
    return (b >> 4) * 10 + (b & 0xF);
}

QString headerSerialText(const std::uint8_t *header)
{
    const auto *text = reinterpret_cast<const char *>(header + kHeaderSerialOffset);
    const std::size_t length = std::find(text, text + kHeaderSerialSize, '\0') - text;
    return cp1251::decode(QByteArrayView(text, qsizetype(length)));
}

bool isKnownInstrument(int type, int version)
{
    if (type >= 0 && type <= 3)
        return true;
    return (type == 5 || type == 6) && version >= 22;
}

// The summary fields of a record header; false when its date or time is not
// valid.
bool decodeSummary(const std::uint8_t *h, int instrumentType, pcn::_blockdata &v)
{
    const QByteArrayView typeBytes(reinterpret_cast<const char *>(h + rh::meterType), kMeterTypeBytes);
    v.meterType = DecodeMeterType(typeBytes);
    v.meterTypeBytes = MeterTypeSlot(typeBytes);
    v.serial = (std::uint32_t(getWord(h, rh::serialHigh)) << 16) | getWord(h, rh::serialLow);
    v.year = getWord(h, rh::year);
    v.accuracyClass = getWord(h, rh::accuracyClass) * 0.01;
    v.constant = (std::uint32_t(getWord(h, rh::constantHigh)) << 16) | getWord(h, rh::constantLow);
    v.scheme = h[rh::scheme] & 7;
    if (instrumentType == 5 || instrumentType == 6)
        v.powerType = std::uint8_t((getWord(h, rh::scheme) >> 3) & 7);
    else
        v.powerType = h[rh::powerType];
    v.uLineNom = getWord(h, rh::uLineNom) * 0.1;
    v.uPhaseNom = getWord(h, rh::uPhaseNom) * 0.1;
    v.iNom = getWord(h, rh::iNom) * 0.1;

    v.bcdYear = getWord(h, rh::bcdYear);
    v.bcdDay = h[rh::bcdDay];
    v.bcdMonth = h[rh::bcdMonth];
    v.bcdHour = h[rh::bcdHour];
    v.bcdMinute = h[rh::bcdMinute];
    v.bcdSecond = h[rh::bcdSecond];
    const int year = fromBcd(std::uint8_t(v.bcdYear >> 8)) * 100 + fromBcd(std::uint8_t(v.bcdYear & 0xFF));
    v.date = QDate(year, fromBcd(v.bcdMonth), fromBcd(v.bcdDay));
    v.time = QTime(fromBcd(v.bcdHour), fromBcd(v.bcdMinute), fromBcd(v.bcdSecond));
    if (!v.date.isValid() || !v.time.isValid())
        return false;

    const std::uint16_t transformer = getWord(h, rh::transformer);
    v.i1 = transformer >> 4;
    v.i2 = transformer & 0xF;
    if (v.i2 == 0 || v.i2 == v.i1) {
        v.i1 = 1;
        v.i2 = 1;
    }
    return true;
}

// Parses one record block with its extension blocks at `pos`; advances pos.
bool parseVerification(const std::uint8_t *data, std::size_t size, std::size_t &pos, MeterRead what,
                       pcn::_totalblockdata &meter, pcn::_blockdata &v)
{
    if (size - pos < kRecordHeaderSize)
        return false;
    const std::uint8_t *h = data + pos;
    const int version = h[rh::version];
    const int n = getWord(h, rh::pointCount);
    if (n == 0 || version > kCurrentVersion)
        return false;
    const bool current = version == kCurrentVersion;
    const int inBlock = std::min(n, kPointsInBlock);
    const std::size_t blockSize = current ? kBlockSize : oldBlockSize(inBlock);
    if (size - pos < blockSize || !IsBlockValid(h, blockSize))
        return false;

    const int type = h[rh::instrumentType];
    if (!isKnownInstrument(type, version))
        return false;
    // Blocks of different instrument types may share a file: each is read
    // in its own type's encoding and remembers the type, so that a rewrite
    // keeps every block in it. The file's instrument is that of its last
    // block.
    v.instrumentType = type;
    meter.instrument.type = std::uint8_t(type);
    meter.instrument.serial = version >= 22 ? getWord(h, rh::instrumentSerial) : 0;

    if (!decodeSummary(h, type, v))
        return false;

    // All extension blocks must be there; checked before anything is
    // reserved for them, so that a damaged count cannot ask for memory.
    const std::size_t extensionSize = current ? kExtensionSize : kOldExtensionSize;
    const std::size_t extensions = std::size_t(n - inBlock);
    if ((size - pos - blockSize) / extensionSize < extensions)
        return false;
    const bool points = what == MeterRead::Points;
    if (points)
        v.points.reserve(n);
    for (int k = 0; points && k < inBlock; ++k) {
        const std::uint8_t *p = h + kRecordHeaderSize + kPointSize * std::size_t(k);
        const RangeEntry range = current ? readRangeEntry(h + kRangeTableOffset + kRangeEntrySize * std::size_t(k))
                                         : computedRangeEntry(type, p[pt::currentRangeCode], p[pt::voltageRangeCode]);
        v.points.append(decodePoint(p, type, range));
    }
    pos += blockSize;

    for (int k = kPointsInBlock; k < n; ++k) {
        if (size - pos < extensionSize || !IsBlockValid(data + pos, extensionSize))
            return false;
        if (points) {
            const std::uint8_t *p = data + pos;
            const RangeEntry range = current
                                         ? readRangeEntry(p + kPointSize)
                                         : computedRangeEntry(type, p[pt::currentRangeCode], p[pt::voltageRangeCode]);
            v.points.append(decodePoint(p, type, range));
        }
        pos += extensionSize;
    }
    return true;
}

} // namespace

MeterFileReadResult parseMeterFile(QByteArrayView bytes, MeterRead what)
{
    MeterFileReadResult result;
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.data());
    const auto size = std::size_t(bytes.size());
    if (size == 0)
        return result;

    std::size_t pos = 0;
    QString serialText;
    bool serialKnown = false;
    if (data[0] == kFileHeaderMarker) {
        if (size < kFileHeaderSize || !IsBlockValid(data, kFileHeaderSize))
            return result;
        serialText = headerSerialText(data);
        serialKnown = true;
        pos = kFileHeaderSize;
        // A header without any verification block is no meter file; the
        // first block byte must not be read past the end.
        if (pos >= size)
            return result;
    }

    pcn::_totalblockdata meter;
    // Each verification takes at least one block of its version (files are
    // written in one version), so this bounds their number and spares the
    // list its growth steps.
    const std::size_t shortestBlock = data[pos] == kCurrentVersion ? kBlockSize : oldBlockSize(1);
    meter.verifications.reserve(qsizetype(std::min<std::size_t>((size - pos) / shortestBlock + 1, 64)));
    while (pos < size) {
        pcn::_blockdata v;
        if (!parseVerification(data, size, pos, what, meter, v))
            return result;
        if (!serialKnown) {
            serialText = QString::number(v.serial);
            serialKnown = true;
        }
        v.serialText = serialText;
        meter.verifications.append(std::move(v));
    }
    if (meter.verifications.isEmpty())
        return result;
    // The reservation above counts extension blocks as verifications; a
    // folder's list holds thousands of meters, so give back what is unused.
    meter.verifications.squeeze();

    result.readable = true;
    result.headerless = data[0] != kFileHeaderMarker;
    result.bytesConsumed = qint64(pos) - (result.headerless ? 0 : qint64(kFileHeaderSize));
    result.meter = std::move(meter);
    return result;
}

MeterFileReadResult ReadMeterFile(const QString &path, MeterRead what)
{
    qint64 modified = 0;
    const std::optional<QByteArray> content = platform::readWholeFile(path, kMaxMeterFileSize, &modified);
    if (!content)
        return {};
    const QByteArray &bytes = *content;

    MeterFileReadResult result = parseMeterFile(bytes, what);
    if (!result.readable)
        return {};
    result.meter.fileName = QFileInfo(path).fileName();
    result.meter.identity = identityOfBytes(bytes, modified);
    if (result.headerless) {
        // The old file gains a header; its record bytes stay as they are.
        // Another workstation may be upgrading it too: only the file as
        // read here is replaced.
        const QByteArray upgraded = encodeFileHeader(result.meter.verifications.first().serialText) + bytes;
        result.upgraded =
            bool(writeFileIfUnchanged(path, upgraded, true, result.meter.identity, &result.meter.identity));
    }
    return result;
}
