#include "meterbaseimage.h"

#include "records/metertype.h"
#include "records/recordops.h"

#include <cmath>

namespace meterdb {

namespace {

void putWord(QByteArray &b, int at, std::uint16_t v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

std::uint16_t wordAt(const QByteArray &b, int at)
{
    return std::uint16_t(quint8(b[at]) | (quint8(b[at + 1]) << 8));
}

std::uint16_t scaled(double value, int factor)
{
    return std::uint16_t(std::lround(value * factor));
}

// The type without its trailing blanks; at least one character is kept.
QString withoutTrailingBlanks(QString text)
{
    while (text.size() > 1 && text.endsWith(u' '))
        text.chop(1);
    return text;
}

// The 16 bytes of an entry's type: those it was read from while it is
// still their text (bytes 224..255, which decode to control characters, and
// an all-zero slot come back as they were), else its encoding.
std::optional<QByteArray> storedType(const MeterEntry &e)
{
    if (e.meterTypeBytes) {
        const QByteArrayView kept(reinterpret_cast<const char *>(e.meterTypeBytes->data()), kTypeSlotBytes);
        if (withoutTrailingBlanks(DecodeMeterType(kept)) == e.meterType)
            return kept.toByteArray();
    }
    return EncodeMeterType(e.meterType);
}

} // namespace

EncodedImage encodeImage(const MeterList &list, bool exact)
{
    EncodedImage out;
    if (list.size() > kMaxEntries) {
        out.failure = EncodeFailure::TooManyEntries;
        return out;
    }
    if (exact && list.size() != kMaxEntries) {
        out.failure = EncodeFailure::NotTenEntries;
        return out;
    }
    QByteArray area(kAreaBytes, '\0');
    for (int i = 0; i < list.size(); ++i) {
        const MeterEntry &e = list[i];
        const QString bad = MeterTypeCharactersNotKept(e.meterType);
        const std::optional<QByteArray> type = storedType(e);
        if (!type || !bad.isEmpty()) {
            out.failure = EncodeFailure::MeterType;
            out.entryIndex = i;
            out.badCharacters = bad;
            return out;
        }
        area.replace(kTypeSlotBytes * i, kTypeSlotBytes, *type);
        const int r = kNumbersOffset + kNumbersBytes * i;
        putWord(area, r, std::uint16_t(e.serial >> 16));
        putWord(area, r + 2, std::uint16_t(e.serial & 0xFFFF));
        putWord(area, r + 4, e.year);
        putWord(area, r + 6, scaled(e.accuracyClass, 100));
        putWord(area, r + 8, std::uint16_t(e.constant >> 16));
        putWord(area, r + 10, std::uint16_t(e.constant & 0xFFFF));
        putWord(area, r + 12, scaled(e.uLineNom, 10));
        putWord(area, r + 14, scaled(e.uPhaseNom, 10));
        putWord(area, r + 16, scaled(e.iNom, 10));
        putWord(area, r + 18, e.i1);
        putWord(area, r + 20, e.i2);
    }
    out.area = area;
    return out;
}

bool decodeImage(const QByteArray &bytes, int count, MeterList &list)
{
    if (count < 0 || count > kMaxEntries || bytes.size() < kImageBytes)
        return false;
    for (int i = 0; i < count; ++i) {
        MeterEntry e;
        const QByteArrayView slot(bytes.constData() + kTypeSlotBytes * i, kTypeSlotBytes);
        e.meterType = withoutTrailingBlanks(DecodeMeterType(slot));
        e.meterTypeBytes = MeterTypeSlot(slot);
        const int r = kNumbersOffset + kNumbersBytes * i;
        e.serial = (std::uint32_t(wordAt(bytes, r)) << 16) | wordAt(bytes, r + 2);
        e.year = wordAt(bytes, r + 4);
        // Dividing gives the double nearest to the decimal value, the same a
        // typed "1.15" becomes; multiplying by 0.01 would not always.
        e.accuracyClass = wordAt(bytes, r + 6) / 100.0;
        e.constant = (std::uint32_t(wordAt(bytes, r + 8)) << 16) | wordAt(bytes, r + 10);
        e.uLineNom = wordAt(bytes, r + 12) / 10.0;
        e.uPhaseNom = wordAt(bytes, r + 14) / 10.0;
        e.iNom = wordAt(bytes, r + 16) / 10.0;
        e.i1 = wordAt(bytes, r + 18);
        e.i2 = wordAt(bytes, r + 20);
        list.append(e);
    }
    return true;
}

} // namespace meterdb
