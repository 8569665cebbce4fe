#include "contentdecoder.h"

#include "bytereader.h"
#include "records/metertype.h"

namespace device {

namespace {

struct EntryOffsets {
    int year;
    int day;
    int month;
    int hour;
    int second;
    int minute;
};

constexpr EntryOffsets kOlderOffsets{24, 26, 27, 28, 30, 31};
constexpr EntryOffsets kNewerOffsets{20, 22, 23, 24, 26, 27};

int bcdYear(std::uint16_t word)
{
    return ((word >> 12) & 0xF) * 1000 + ((word >> 8) & 0xF) * 100 + ((word >> 4) & 0xF) * 10 + (word & 0xF);
}

} // namespace

int bcdValue(std::uint8_t b)
{
    return (b >> 4) * 10 + (b & 0xF);
}

ContentLayout contentLayoutFor(std::uint8_t modelClass)
{
    switch (modelClass) {
    case 3:
        return ContentLayout::NewerThree;
    case 5:
    case 6:
        return ContentLayout::NewerSingle;
    default:
        return ContentLayout::Older;
    }
}

bool decodeContentEntry(const QByteArray &entry, ContentLayout layout, pcn::_datacounter &out)
{
    out = pcn::_datacounter{};
    out.meterType = DecodeMeterType(bytesAt(entry, 0, 16));
    out.serial = (static_cast<std::uint32_t>(wordAt(entry, 16)) << 16) | wordAt(entry, 18);
    switch (layout) {
    case ContentLayout::Older:
        out.powerType = byteAt(entry, 21);
        break;
    case ContentLayout::NewerThree:
        out.powerType = byteAt(entry, 29);
        break;
    case ContentLayout::NewerSingle:
        out.powerType = static_cast<std::uint8_t>((wordAt(entry, 28) >> 3) & 7);
        break;
    }
    const EntryOffsets &o = layout == ContentLayout::Older ? kOlderOffsets : kNewerOffsets;
    const QDate date(bcdYear(wordAt(entry, o.year)), bcdValue(byteAt(entry, o.month)), bcdValue(byteAt(entry, o.day)));
    const int hour = bcdValue(byteAt(entry, o.hour));
    const int minute = bcdValue(byteAt(entry, o.minute));
    const int second = bcdValue(byteAt(entry, o.second));
    if (!date.isValid() || !QTime::isValid(hour, minute, second, 0))
        return false;
    out.date = date;
    out.time = QTime(hour, minute, second);
    return true;
}

bool decodeContentEntries(const QByteArray &page, qsizetype offset, int count, std::uint8_t modelClass,
                          QVector<pcn::_datacounter> &list)
{
    if (offset < 0 || count < 0 || offset + qsizetype(count) * kContentEntrySize > page.size())
        return false;
    const ContentLayout layout = contentLayoutFor(modelClass);
    QVector<pcn::_datacounter> decoded;
    decoded.reserve(count);
    for (int k = 0; k < count; ++k) {
        pcn::_datacounter entry;
        if (!decodeContentEntry(page.mid(offset + qsizetype(k) * kContentEntrySize, kContentEntrySize), layout, entry))
            return false;
        decoded.append(entry);
    }
    list += decoded;
    return true;
}

} // namespace device
