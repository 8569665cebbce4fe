#include "deviceclient.h"

#include "comexc.h"
#include "contentdecoder.h"
#include "frame.h"
#include "identifydecoder.h"
#include "base/checksum.h"
#include "resultcodes.h"

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

} // namespace

QByteArray exchangeFrame(Link &link, const QByteArray &request, int capacity, int expectedLength)
{
    QByteArray answer;
    link.exchange(request, answer, capacity, expectedLength);
    // Verify the checksum of the whole answer, its own CRC included, and
    // that the answer is exactly the frame its header announces: bytes
    // gathered beyond it (or a frame cut short) are no answer, even when
    // they happen to keep the checksum, as two whole frames in a row do.
    const bool whole = answer.size() >= kFrameHeader && announcedLength(answer) + kFrameOverhead == answer.size();
    if (!whole || !IsBlockValid(answer)) {
        link.abort();
        throw ComExc(Status::DataError);
    }
    return answer;
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
    context_.diagnostic = {};
    std::unique_ptr<Link> link = makeLink_(timeouts);
    Status rc = link->begin();
    if (rc != Status::Ok)
        return rc;
    try {
        rc = body(*link);
    } catch (const ComExc &e) {
        link->abort();
        return e.status();
    } catch (...) {
        link->abort();
        return Status::BadStatus;
    }
    const Status closed = link->end();
    return closed != Status::Ok ? closed : rc;
}

LinkTraits DeviceClient::linkTraits() const
{
    // Making a link opens nothing, so it can be asked what it is.
    return makeLink_(kIdentifyTimeouts)->traits();
}

Status DeviceClient::takeIdentity(const QByteArray &answer, IdentifyOutcome outcome, const DeviceInfo &decoded,
                                  DeviceInfo &info)
{
    info = decoded;
    if (outcome == IdentifyOutcome::Malformed)
        throw ComExc(Status::BadStatus);
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
        const QByteArray answer = exchangeFrame(link, readPageLegacyRequest(address::kOlderIdentifyPage),
                                                kExchangeBufferSize, kExchangeBufferSize);
        DeviceInfo decoded;
        return takeIdentity(answer, decodeOlderIdentify(answer, decoded), decoded, info);
    });
}

Status DeviceClient::identifyNewer(DeviceInfo &info)
{
    startPhase(kRecordSlotSize);
    return run(kIdentifyTimeouts, [&](Link &link) {
        firstContentPage_ = address::kNewerFirstContentPage;
        const QByteArray answer =
            exchangeFrame(link, readWordsRequest(address::kNewerIdentifyWords), kExchangeBufferSize, kPageAnswer);
        DeviceInfo decoded;
        return takeIdentity(answer, decodeNewerIdentify(answer, decoded), decoded, info);
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
            const QByteArray answer = exchangeFrame(link, request, kExchangeBufferSize, kPageAnswer);
            const int entries = std::min(perPage, int(archiveSize_) - perPage * p);
            // The answer must hold the entries it is asked for.
            if (answer.size() < kFrameOverhead + entries * kContentEntrySize)
                throw ComExc(Status::DataError);
            if (newer) {
                for (int e = 0; e < entries; ++e) {
                    if (!IsBlockValid(answer.mid(kFrameHeader + e * kContentEntrySize, kContentEntrySize)))
                        throw ComExc(Status::EntryCrc);
                }
            }
            if (!decodeContentEntries(answer, kFrameHeader, entries, info.modelClass, decoded))
                throw ComExc(Status::BadStatus);
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
            const QByteArray answer =
                exchangeFrame(link, recordRequest(newer, numbers.at(i)), kRecordSlotSize, kRecordSlotSize);
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
        const QByteArray answer = exchangeFrame(link, request, kExchangeBufferSize, kPageAnswer);
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
        exchangeFrame(link, request, kExchangeBufferSize, kWriteAnswer);
        return Status::Ok;
    });
}

Status DeviceClient::writeMeterDatabaseStep2(const DeviceInfo &info, const QByteArray &image)
{
    startPhase(1036);
    return run(kWriteTimeouts, [&](Link &link) {
        const auto target =
            usesNewerCommands(link, info) ? address::kNewerWriteBlockTarget : address::kOlderWriteBlockTarget;
        exchangeFrame(link, writeBlockRequest(target, image), kExchangeBufferSize, kWriteAnswer);
        return Status::Ok;
    });
}

} // namespace device
