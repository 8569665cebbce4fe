#include "deviceclient.h"

#include "contentdecoder.h"
#include "frame.h"
#include "identifydecoder.h"
#include "base/checksum.h"
#include "deviceoutcome/status.h"

#include <algorithm>

namespace device {

namespace {

constexpr int kPageAnswer = 512 + kFrameOverhead; // 518: one 512-byte page or 256 words
constexpr int kWriteAnswer = kFrameOverhead; // 6: empty payload
constexpr std::chrono::milliseconds kOlderRecordPause{100};
constexpr std::chrono::milliseconds kNewerRecordPause{500};

bool usesNewerCommands(const Link &link, const DeviceInfo &info)
{
    return link.traits().newerInstrumentsOnly || info.isNewer();
}

// A failure found in an answer ends the operation at once: the line is closed
// without restoring anything, as after a failed exchange.
Status fail(Link &link, Status status)
{
    link.abort();
    return status;
}

} // namespace

Status exchangeFrame(Link &link, const QByteArray &request, QByteArray &answer, int capacity, int expectedLength)
{
    const Status rc = link.exchange(request, answer, capacity, expectedLength);
    if (rc != Status::Ok)
        return rc;
    // Verify the checksum of the whole answer, its own CRC included, and
    // that the answer is exactly the frame its header announces: bytes
    // gathered beyond it (or a frame cut short) are no answer, even when
    // they happen to keep the checksum, as two whole frames in a row do.
    const bool whole = answer.size() >= kFrameHeader && announcedLength(answer) + kFrameOverhead == answer.size();
    if (!whole || !IsBlockValid(answer))
        return fail(link, Status::DataError);
    return Status::Ok;
}

DeviceClient::DeviceClient(LinkMaker makeLink, ExchangeContext &context)
    : makeLink_(std::move(makeLink)), context_(context)
{}

void DeviceClient::startPhase(qint64 maximum)
{
    context_.bytesReceived = 0;
    context_.progressMaximum = maximum;
}

Status DeviceClient::run(Timeouts timeouts, const std::function<Status(Link &)> &body)
{
    context_.portFailure = {};
    std::unique_ptr<Link> link = makeLink_(timeouts);
    Status rc = link->begin();
    if (rc != Status::Ok)
        return rc;
    try {
        rc = body(*link);
    } catch (...) {
        // Nothing the operations call throws on purpose: whatever does (no
        // memory) ends the operation like a bad answer.
        link->abort();
        return Status::BadStatus;
    }
    // A failed body has closed the line already; end() is then a no-op.
    const Status closed = link->end();
    return closed != Status::Ok ? closed : rc;
}

LinkTraits DeviceClient::linkTraits() const
{
    // Making a link opens nothing, so it can be asked what it is.
    return makeLink_(kIdentifyTimeouts)->traits();
}

Status DeviceClient::takeIdentity(Link &link, const QByteArray &answer, IdentifyOutcome outcome,
                                  const DeviceInfo &decoded, DeviceInfo &info)
{
    info = decoded;
    if (outcome == IdentifyOutcome::Malformed)
        return fail(link, Status::BadStatus);
    if (outcome == IdentifyOutcome::NotRecognised)
        return Status::NotRecognised;
    archiveSize_ = device::archiveSize(answer, info.modelClass);
    return archiveSize_ == 0 ? Status::ArchiveEmpty : Status::Ok;
}

Status DeviceClient::identifyOlder(DeviceInfo &info)
{
    // A link that serves newer instruments only: nothing is sent.
    if (linkTraits().newerInstrumentsOnly)
        return Status::NotRecognised;
    startPhase(kRecordSlotSize);
    return run(kIdentifyTimeouts, [&](Link &link) {
        firstContentPage_ = address::kOlderFirstContentPage;
        QByteArray answer;
        const Status rc = exchangeFrame(link, readPageLegacyRequest(address::kOlderIdentifyPage), answer,
                                        kExchangeBufferSize, kExchangeBufferSize);
        if (rc != Status::Ok)
            return rc;
        DeviceInfo decoded;
        return takeIdentity(link, answer, decodeOlderIdentify(answer, decoded), decoded, info);
    });
}

Status DeviceClient::identifyNewer(DeviceInfo &info)
{
    startPhase(kRecordSlotSize);
    return run(kIdentifyTimeouts, [&](Link &link) {
        firstContentPage_ = address::kNewerFirstContentPage;
        QByteArray answer;
        const Status rc = exchangeFrame(link, readWordsRequest(address::kNewerIdentifyWords), answer,
                                        kExchangeBufferSize, kPageAnswer);
        if (rc != Status::Ok)
            return rc;
        DeviceInfo decoded;
        return takeIdentity(link, answer, decodeNewerIdentify(answer, decoded), decoded, info);
    });
}

Status DeviceClient::identify(DeviceInfo &info)
{
    if (linkTraits().newerInstrumentsOnly)
        return identifyNewer(info);
    const Status rc = identifyOlder(info);
    if (rc != Status::NotRecognised)
        return rc;
    return identifyNewer(info);
}

int DeviceClient::contentPageCount(const DeviceInfo &info, bool newerCommands) const
{
    const int perPage = newerCommands ? address::kNewerEntriesPerPage : address::kOlderEntriesPerPage;
    return (archiveSize_ + perPage - 1) / perPage;
}

qint64 DeviceClient::contentAnswerBytes(const DeviceInfo &info, bool newerCommands) const
{
    return qint64(contentPageCount(info, newerCommands)) * (info.pageFactor * 512 + kFrameOverhead);
}

Status DeviceClient::readContent(const DeviceInfo &info, QVector<pcn::_datacounter> &content)
{
    return run(kIdentifyTimeouts, [&](Link &link) {
        const bool newer = usesNewerCommands(link, info);
        const int perPage = newer ? address::kNewerEntriesPerPage : address::kOlderEntriesPerPage;
        const int pages = contentPageCount(info, newer);
        startPhase(contentAnswerBytes(info, newer));
        QVector<pcn::_datacounter> decoded;
        for (int p = 0; p < pages; ++p) {
            const auto page = static_cast<std::uint16_t>(firstContentPage_ + p);
            const QByteArray request = newer ? readPagesRequest(page, 1) : readPageLegacyRequest(page);
            QByteArray answer;
            const Status rc = exchangeFrame(link, request, answer, kExchangeBufferSize, kPageAnswer);
            if (rc != Status::Ok)
                return rc;
            const int entries = std::min(perPage, int(archiveSize_) - perPage * p);
            // The answer must hold the entries it is asked for.
            if (answer.size() < kFrameOverhead + entries * kContentEntrySize)
                return fail(link, Status::DataError);
            if (newer) {
                for (int e = 0; e < entries; ++e) {
                    if (!IsBlockValid(answer.mid(kFrameHeader + e * kContentEntrySize, kContentEntrySize)))
                        return fail(link, Status::EntryCrc);
                }
            }
            if (!decodeContentEntries(answer, kFrameHeader, entries, info.modelClass, decoded))
                return fail(link, Status::BadStatus);
        }
        content += decoded;
        return Status::Ok;
    });
}

Status DeviceClient::readRecords(const DeviceInfo &info, const QVector<int> &numbers, QVector<QByteArray> &recordSlots)
{
    const int count = std::min(int(numbers.size()), kMaxRecords);
    if (count == 0)
        return Status::Ok;
    return run(kRecordTimeouts, [&](Link &link) {
        const bool newer = usesNewerCommands(link, info);
        const LinkTraits traits = link.traits();
        const auto pause =
            traits.recordPause.count() > 0 ? traits.recordPause : (newer ? kNewerRecordPause : kOlderRecordPause);
        startPhase(traits.progressByFrame ? count : qint64(count) * kRecordSlotSize);
        for (int i = 0; i < count; ++i) {
            link.pause(pause);
            QByteArray answer;
            const Status rc =
                exchangeFrame(link, recordRequest(newer, numbers.at(i)), answer, kRecordSlotSize, kRecordSlotSize);
            if (rc != Status::Ok)
                return rc;
            recordSlots.append(answer);
            if (traits.progressByFrame) {
                context_.bytesReceived = i + 1;
                if (context_.progress)
                    context_.progress(context_.bytesReceived, context_.progressMaximum);
            }
            if (context_.recordRead)
                context_.recordRead(i + 1, count);
        }
        return Status::Ok;
    });
}

Status DeviceClient::readMeterDatabase(const DeviceInfo &info, const std::function<bool(const QByteArray &)> &decode)
{
    startPhase(info.pageFactor * 512 + kFrameOverhead);
    return run(kIdentifyTimeouts, [&](Link &link) {
        const bool newer = usesNewerCommands(link, info);
        const QByteArray request =
            newer ? readWordsRequest(address::kNewerMeterDbWords) : readPageLegacyRequest(address::kOlderMeterDbPage);
        QByteArray answer;
        const Status rc = exchangeFrame(link, request, answer, kExchangeBufferSize, kPageAnswer);
        if (rc != Status::Ok)
            return rc;
        const QByteArray payload = answer.mid(kFrameHeader, answer.size() - kFrameOverhead);
        if (!decode || !decode(payload))
            return Status::DataError;
        return Status::Ok;
    });
}

Status DeviceClient::writeMeterDatabaseStep1(const DeviceInfo &info, const QByteArray &image)
{
    startPhase(1036);
    return run(kWriteTimeouts, [&](Link &link) {
        const QByteArray request = usesNewerCommands(link, info)
                                       ? writeWordsRequest(address::kNewerMeterDbWords, image)
                                       : writePageLegacyRequest(address::kOlderMeterDbPage, image);
        QByteArray answer;
        return exchangeFrame(link, request, answer, kExchangeBufferSize, kWriteAnswer);
    });
}

Status DeviceClient::writeMeterDatabaseStep2(const DeviceInfo &info, const QByteArray &image)
{
    startPhase(1036);
    return run(kWriteTimeouts, [&](Link &link) {
        const auto target =
            usesNewerCommands(link, info) ? address::kNewerWriteBlockTarget : address::kOlderWriteBlockTarget;
        QByteArray answer;
        return exchangeFrame(link, writeBlockRequest(target, image), answer, kExchangeBufferSize, kWriteAnswer);
    });
}

} // namespace device
