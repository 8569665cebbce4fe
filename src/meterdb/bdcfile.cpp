#include "bdcfile.h"

#include "base/platform.h"
#include "base/checksum.h"

#include <QFile>

namespace meterdb {

namespace {

constexpr std::uint16_t kHeaderPage = 8163;

void putWord(QByteArray &b, int at, std::uint16_t v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

} // namespace

QByteArray bdcFileBytes(const MeterList &list, EncodedImage *encoded)
{
    EncodedImage image = encodeImage(list, false);
    if (encoded)
        *encoded = image;
    if (!image.ok())
        return {};
    QByteArray bytes(kBdcFileBytes, '\0');
    bytes[0] = 0x02;
    bytes[1] = 0x00;
    putWord(bytes, 2, std::uint16_t(list.size()));
    putWord(bytes, 4, 0);
    putWord(bytes, 6, kHeaderPage);
    putWord(bytes, 8, 1);
    bytes.replace(kBdcAreaOffset, kAreaBytes, image.area);
    StoreChecksum(reinterpret_cast<std::uint8_t *>(bytes.data()), kBdcFileBytes - 2);
    return bytes;
}

BdcLoad parseBdcFile(const QByteArray &bytes, MeterList &list)
{
    if (bytes.size() < kBdcFileBytes || !IsBlockValid(bytes.left(kBdcFileBytes)))
        return BdcLoad::ReadError;
    const auto word = [&bytes](int at) { return quint8(bytes[at]) | (quint8(bytes[at + 1]) << 8); };
    // The fixed words are what every saved file holds; other ones mean a
    // damaged file (or none of ours), however its checksum came out.
    if (word(0) != 0x0002 || word(4) != 0 || word(6) != kHeaderPage || word(8) != 1)
        return BdcLoad::DataError;
    const int count = word(2);
    MeterList decoded;
    if (!decodeImage(bytes.mid(kBdcAreaOffset, kAreaBytes), count, decoded))
        return BdcLoad::DataError;
    list = decoded;
    return BdcLoad::Ok;
}

BdcLoad loadBdcFile(const QString &path, MeterList &list)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return BdcLoad::CannotOpen;
    // Only the first 1036 bytes count, as the instrument's frame would.
    return parseBdcFile(file.read(kBdcFileBytes), list);
}

BdcSave saveBdcFile(const QString &path, const MeterList &list, EncodedImage *encoded)
{
    const QByteArray bytes = bdcFileBytes(list, encoded);
    if (bytes.isEmpty())
        return BdcSave::Unencodable;
    return platform::writeFileAtomically(path, bytes, false) ? BdcSave::Ok : BdcSave::CannotWrite;
}

} // namespace meterdb
