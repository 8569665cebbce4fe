// The device operations: identify, archive content, verification records,
// meter database read and the two write steps. Each operation makes its own
// link (opened, used for its frames, closed) and returns its status
// (deviceoutcome/status.h); the operation never knows which transport it runs on.
#pragma once

#include "records/deviceinfo.h"
#include "identifydecoder.h"
#include "exchangecontext.h"
#include "link.h"
#include "deviceoutcome/status.h"
#include "records/blockdata.h"

#include <QByteArray>
#include <QVector>

#include <functional>
#include <memory>

namespace device {

using LinkMaker = std::function<std::unique_ptr<Link>(Timeouts)>;

class DeviceClient {
public:
    DeviceClient(LinkMaker makeLink, ExchangeContext &context);
    DeviceClient(const DeviceClient &) = delete;
    DeviceClient &operator=(const DeviceClient &) = delete;

    static constexpr int kMaxRecords = 200;

    // Older identify (serial only): 0, 11 (empty archive), 50 (not
    // recognised) or a failure code.
    Status identifyOlder(DeviceInfo &info);
    // Newer identify: same results.
    Status identifyNewer(DeviceInfo &info);
    // The identify step of a session: on a serial port the older request and,
    // when that gives 50, the newer one; on USB the newer one only.
    Status identify(DeviceInfo &info);

    // Reads the archive-content pages (archive size from identify) and
    // appends one summary per verification to `content`.
    Status readContent(const DeviceInfo &info, QVector<pcn::_datacounter> &content);

    // Reads verification records k (counted from 1), each answer frame into
    // one slot of at most 1030 bytes. At most 200 records are read; further
    // numbers are ignored.
    Status readRecords(const DeviceInfo &info, const QVector<int> &numbers, QVector<QByteArray> &recordSlots);

    // Reads the meter database; `decode` gets the answer payload and returns
    // false when it cannot be decoded (result 7).
    Status readMeterDatabase(const DeviceInfo &info, const std::function<bool(const QByteArray &)> &decode);

    // Writes the meter database image: step 1 puts the page (older) or the
    // 512-byte block (newer), step 2 the 512-byte block. The block's CRC is
    // computed just before each frame that carries it.
    Status writeMeterDatabaseStep1(const DeviceInfo &info, const QByteArray &image);
    Status writeMeterDatabaseStep2(const DeviceInfo &info, const QByteArray &image);

    // Values carried from identify to the content reading.
    quint16 archiveSize() const { return archiveSize_; }
    int firstContentPage() const { return firstContentPage_; }
    void setArchive(quint16 size, int firstContentPage)
    {
        archiveSize_ = size;
        firstContentPage_ = firstContentPage;
    }

    // Content pages of the archive and the answer bytes they bring, asked
    // with the newer (512-byte page) commands or the older ones.
    int contentPageCount(const DeviceInfo &info, bool newerCommands) const;
    qint64 contentAnswerBytes(const DeviceInfo &info, bool newerCommands) const;

private:
    // What the link of this client is (asked without opening anything).
    LinkTraits linkTraits() const;
    Status run(Timeouts timeouts, const std::function<Status(Link &)> &body);
    // The outcome of an identify answer: the decoded identity and the archive
    // size it announces, or why it cannot be used.
    Status takeIdentity(Link &link, const QByteArray &answer, IdentifyOutcome outcome, const DeviceInfo &decoded,
                        DeviceInfo &info);
    void startPhase(qint64 maximum);

    LinkMaker makeLink_;
    ExchangeContext &context_;
    quint16 archiveSize_ = 0;
    int firstContentPage_ = 320;
};

// Sends one request and receives the answer whose CRC has been checked and
// whose size is the one its header announces. Ok, or the status of the
// failure (DataError for a wrong CRC or size) with the line closed.
Status exchangeFrame(Link &link, const QByteArray &request, QByteArray &answer, int capacity, int expectedLength);

} // namespace device
