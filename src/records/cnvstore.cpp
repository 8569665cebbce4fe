// The storing loop of the archive records read in one session: check, convert
// and store each slot in reading order.
#include "records/cnvrecord.h"

#include "base/checksum.h"
#include "records/recordstore.h"

#include <algorithm>

using namespace pcn;

namespace {

// Bytes 4-51 of a newer record: the record header with its checksum.
constexpr std::size_t kRawHeaderOffset = 4;
constexpr std::size_t kRawHeaderSize = 48;
constexpr std::size_t kRawPointCountOffset = 50;

// The number of valid point blocks from the first on, stopping at the first
// damaged one: later points are not trusted.
int countValidPoints(const std::uint8_t *b)
{
    int count = 0;
    while (count < kPointsInBlock && IsBlockValid(b + kRecordHeaderSize + kPointSize * std::size_t(count), kPointSize))
        ++count;
    return count;
}

QByteArray toBytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace

std::optional<ConvertedArchiveRecord> ConvertArchiveSlot(QByteArrayView slot, const DeviceInfo &info)
{
    if (std::size_t(slot.size()) != kArchiveSlotSize)
        return std::nullopt;
    CnvWorkBuffer work{};
    std::copy_n(reinterpret_cast<const std::uint8_t *>(slot.data()), kArchiveSlotSize, work.begin());

    if (info.isNewer()) {
        if (!IsBlockValid(work.data() + kRawHeaderOffset, kRawHeaderSize))
            return std::nullopt;
        putWord(work.data(), kRawPointCountOffset, std::uint16_t(countValidPoints(work.data())));
    }

    CnvFileHeader header{};
    pcn::_datacounter summary = ArchiveSummaryDefaults();
    bool clamped = false;
    const int length = info.isNewer() ? ConvertNewer(work, header, summary, info, &clamped)
                                      : ConvertOlder(work, header, summary, info);
    if (length != kConvertedRecordLength)
        return std::nullopt;

    StoreChecksum(work.data(), std::size_t(length));
    StoreChecksum(header.data(), kFileHeaderSize - kChecksumSize);
    return ConvertedArchiveRecord{toBytes(header.data(), header.size()), toBytes(work.data(), work.size()),
                                  std::move(summary), clamped};
}

ArchiveStoreReport StoreArchiveRecords(const QVector<QByteArray> &rawSlots, int count, const DeviceInfo &info,
                                       RecordStore &store)
{
    ArchiveStoreReport report;
    const int available = std::clamp(count, 0, int(rawSlots.size()));
    for (int i = 0; i < available; ++i) {
        const auto record = ConvertArchiveSlot(rawSlots.at(i), info);
        if (!record) {
            ++report.skipped;
            continue;
        }
        bool changed = false;
        const auto path = store.StoreReceivedRecord(record->header, record->block, record->summary, &changed);
        if (!path) {
            ++report.notStored;
            report.changedMeanwhile += changed ? 1 : 0;
            continue;
        }
        report.written.append(*path);
        if (record->constantClamped)
            ++report.clampedConstants;
    }
    store.AnnounceStored();
    return report;
}
