#include "archivesession.h"

#include "deviceoutcome/status.h"

#include <chrono>
#include <thread>

namespace device {

namespace {

// The instrument is given a moment between the identify answer and the
// first content request.
constexpr std::chrono::milliseconds kAfterIdentifyPause{100};

} // namespace

SelectionCheck checkSelection(const QVector<int> &numbers, int archiveSize)
{
    if (numbers.size() > kMaxRecordsPerRun)
        return SelectionCheck::TooMany;
    for (int k : numbers) {
        if (k < 1 || k > archiveSize)
            return SelectionCheck::OutOfRange;
    }
    return SelectionCheck::Ok;
}

int recordPhasePercent(qint64 bytesReceived, qint64 maximum)
{
    if (maximum <= 0 || bytesReceived <= 0)
        return 0;
    return int((bytesReceived * 100 + maximum - 1) / maximum);
}

ArchiveSession::ArchiveSession(LinkMaker makeLink, ExchangeContext &context) : client_(std::move(makeLink), context) {}

Status ArchiveSession::identifyAndReadContent()
{
    clear();
    const Status rc = client_.identify(info_);
    if (rc != Status::Ok)
        return rc;
    std::this_thread::sleep_for(kAfterIdentifyPause);
    QVector<pcn::_datacounter> content;
    const Status read = client_.readContent(info_, content);
    if (read == Status::Ok)
        content_ = std::move(content);
    return read;
}

Status ArchiveSession::readRecords(const QVector<int> &numbers)
{
    slots_.clear();
    recordsComplete_ = false;
    if (checkSelection(numbers, client_.archiveSize()) != SelectionCheck::Ok)
        return Status::BadStatus;
    if (numbers.isEmpty()) {
        recordsComplete_ = true;
        return Status::Ok;
    }
    QVector<QByteArray> read;
    read.reserve(numbers.size());
    const Status rc = client_.readRecords(info_, numbers, read);
    if (rc != Status::Ok)
        return rc;
    slots_ = std::move(read);
    recordsComplete_ = true;
    return Status::Ok;
}

ArchiveStoreReport ArchiveSession::storeRecords(RecordStore &store) const
{
    if (!recordsComplete_ || slots_.isEmpty())
        return {};
    return StoreArchiveRecords(slots_, int(slots_.size()), info_, store);
}

void ArchiveSession::clear()
{
    content_.clear();
    slots_.clear();
    recordsComplete_ = false;
}

} // namespace device
