#include "instrument.h"

#include "frame.h"
#include "recordcodec.h"
#include "wire.h"

#include "base/checksum.h"

namespace sim {

namespace {

// Fixed addresses of the two generations.
constexpr int kOlderIdentifyPage = 8163;
constexpr int kOlderDatabasePage = 8177;
constexpr int kOlderRecordBase = 23; // record k on page 23 + k
constexpr int kOlderLastPage = 8191;
constexpr int kNewerRecordBase = 350; // record k on pages 350 + 2k, +1
constexpr int kNewerDatabaseWord = 896;
constexpr int kOlderBlockTarget = 28672;
constexpr int kNewerBlockTarget = 1472;
constexpr int kBlockWriteTag = 14;

QByteArray erased(int size)
{
    return QByteArray(size, char(0xFF));
}

QString hex2(int v)
{
    return QStringLiteral("0x%1").arg(v, 2, 16, QLatin1Char('0'));
}

} // namespace

Instrument::Instrument(InstrumentProfile profile, QVector<SimRecord> archive, FaultPlan faults, MeterDatabase database)
    : profile_(std::move(profile))
    , archive_(std::move(archive))
    , faults_(std::move(faults))
    , database_(std::move(database))
{}

Reply Instrument::handle(const QByteArray &request)
{
    const int index = ++requests_;
    Reply reply;
    QString what;
    QString warning;
    if (faults_.ignoresRequest(index)) {
        reply.silent = true;
        reply.description = QStringLiteral("#%1 cmd %2: no answer (fault)").arg(index).arg(hex2(quint8(request[1])));
        return reply;
    }
    if (faults_.answersWithStatusFF(index)) {
        reply.bytes = buildAnswer(kStatusError, {});
        what = QStringLiteral("status 0xFF (fault)");
    } else {
        reply.bytes = answerFor(request, what, warning);
    }
    if (faults_.corruptsCrc(index)) {
        reply.bytes[reply.bytes.size() - 1] = char(reply.bytes.back() ^ 0xFF);
        what += QStringLiteral(", CRC damaged (fault)");
    }
    if (const auto cut = faults_.breakAfter(index); cut && *cut < reply.bytes.size()) {
        reply.bytes.truncate(*cut);
        what += QStringLiteral(", broken off after %1 bytes (fault)").arg(*cut);
    }
    reply.description = QStringLiteral("#%1 cmd %2 %3 -> %4 bytes")
                            .arg(index)
                            .arg(hex2(quint8(request[1])), what)
                            .arg(reply.bytes.size());
    if (!warning.isEmpty())
        reply.description += QStringLiteral(" [%1]").arg(warning);
    return reply;
}

QByteArray Instrument::answerFor(const QByteArray &request, QString &what, QString &warning)
{
    if (!IsBlockValid(request)) {
        what = QStringLiteral("request CRC wrong");
        return buildAnswer(kStatusError, {});
    }
    const int command = quint8(request[1]);
    const QByteArray payload = request.mid(4, request.size() - 6);
    const auto word = [&](int i) { return payload.size() >= 2 * i + 2 ? int(getU16(payload, 2 * i)) : -1; };
    const auto refuse = [&](const QString &why) {
        what = why;
        return buildAnswer(kStatusRefused, {});
    };

    switch (command) {
    case 0x0B: { // read page, older numbering
        if (payload.size() != 6 || word(0) != 0 || word(2) != 1)
            return refuse(QStringLiteral("0x0B with unexpected arguments"));
        const int page = word(1);
        what = QStringLiteral("page %1").arg(page);
        if (profile_.newer) {
            // A newer instrument has no 1024-byte pages: it answers with
            // unprogrammed memory, which names no instrument.
            return buildAnswer(kStatusOk, erased(1024));
        }
        if (page > kOlderLastPage)
            return refuse(what + QStringLiteral(" beyond memory"));
        return buildAnswer(kStatusOk, olderPage(page));
    }
    case 0x0D: { // read 512-byte pages
        if (!profile_.newer)
            return refuse(QStringLiteral("0x0D on an older instrument"));
        if (payload.size() != 6 || word(0) != 0 || word(2) < 1 || word(2) > 2)
            return refuse(QStringLiteral("0x0D with unexpected arguments"));
        const int first = word(1);
        const int count = word(2);
        what = QStringLiteral("pages %1 count %2").arg(first).arg(count);
        QByteArray data;
        for (int i = 0; i < count; ++i)
            data.append(newerPage(first + i));
        return buildAnswer(kStatusOk, data);
    }
    case 0x0F: { // read words
        if (!profile_.newer)
            return refuse(QStringLiteral("0x0F on an older instrument"));
        if (payload.size() != 4 || word(1) < 1 || word(1) > 512)
            return refuse(QStringLiteral("0x0F with unexpected arguments"));
        what = QStringLiteral("words %1 count %2").arg(word(0)).arg(word(1));
        return buildAnswer(kStatusOk, newerWords(word(0), word(1)));
    }
    case 0x0A: { // write page, older
        if (profile_.newer)
            return refuse(QStringLiteral("0x0A on a newer instrument"));
        if (payload.size() != 6 + 1024 || word(0) != 0 || word(1) != kOlderDatabasePage || word(2) != 1)
            return refuse(QStringLiteral("0x0A with unexpected arguments"));
        what = QStringLiteral("meter database page written");
        if (!database_.write(payload.mid(6), warning))
            return buildAnswer(kStatusError, {});
        return buildAnswer(kStatusOk, {});
    }
    case 0x0E: { // write words, newer
        if (!profile_.newer)
            return refuse(QStringLiteral("0x0E on an older instrument"));
        if (payload.size() != 4 + 512 || word(0) != kNewerDatabaseWord || word(1) != 256)
            return refuse(QStringLiteral("0x0E with unexpected arguments"));
        const QByteArray block = payload.mid(4);
        if (!IsBlockValid(block)) {
            what = QStringLiteral("meter database block with a wrong CRC");
            return buildAnswer(kStatusError, {});
        }
        what = QStringLiteral("meter database block written");
        if (!database_.write(block, warning))
            return buildAnswer(kStatusError, {});
        return buildAnswer(kStatusOk, {});
    }
    case 0x08: { // write block to its place
        const int target = profile_.newer ? kNewerBlockTarget : kOlderBlockTarget;
        if (payload.size() != 6 + 512 || word(0) != kBlockWriteTag || word(1) != target || word(2) != 256)
            return refuse(QStringLiteral("0x08 with unexpected arguments"));
        const QByteArray block = payload.mid(6);
        if (!IsBlockValid(block)) {
            what = QStringLiteral("block with a wrong CRC");
            return buildAnswer(kStatusError, {});
        }
        what = QStringLiteral("meter database block stored");
        if (!database_.write(block, warning))
            return buildAnswer(kStatusError, {});
        return buildAnswer(kStatusOk, {});
    }
    default:
        return refuse(QStringLiteral("unknown command"));
    }
}

QByteArray Instrument::olderPage(int page) const
{
    if (page == kOlderIdentifyPage)
        return profile_.identifyBlock(archive_.size());
    if (page == kOlderDatabasePage)
        return database_.area();
    const int perPage = profile_.entriesPerContentPage();
    const int contentPages = (profile_.maxRecords() + perPage - 1) / perPage;
    if (page >= profile_.firstContentPage() && page < profile_.firstContentPage() + contentPages)
        return contentEntries((page - profile_.firstContentPage()) * perPage + 1, perPage);
    if (page > kOlderRecordBase && page <= kOlderRecordBase + profile_.maxRecords())
        return record(page - kOlderRecordBase);
    return erased(1024);
}

QByteArray Instrument::newerPage(int page) const
{
    const int perPage = profile_.entriesPerContentPage();
    const int contentPages = (profile_.maxRecords() + perPage - 1) / perPage;
    if (page >= profile_.firstContentPage() && page < profile_.firstContentPage() + contentPages)
        return contentEntries((page - profile_.firstContentPage()) * perPage + 1, perPage);
    if (page >= kNewerRecordBase + 2) {
        const int position = (page - kNewerRecordBase) / 2;
        const int half = (page - kNewerRecordBase) % 2;
        return record(position).mid(512 * half, 512);
    }
    return erased(512);
}

QByteArray Instrument::newerWords(int address, int count) const
{
    QByteArray out;
    out.reserve(2 * count);
    const QByteArray identify = profile_.identifyBlock(archive_.size());
    for (int w = address; w < address + count; ++w) {
        const QByteArray *area = nullptr;
        int offset = 0;
        if (w < 256) {
            area = &identify;
            offset = 2 * w;
        } else if (w >= kNewerDatabaseWord && w < kNewerDatabaseWord + 256) {
            area = &database_.area();
            offset = 2 * (w - kNewerDatabaseWord);
        }
        if (area)
            out.append(area->mid(offset, 2));
        else
            out.append(erased(2));
    }
    return out;
}

QByteArray Instrument::contentEntries(int firstPosition, int count) const
{
    QByteArray out;
    for (int position = firstPosition; position < firstPosition + count; ++position) {
        if (position > archive_.size()) {
            out.append(erased(32));
            continue;
        }
        QByteArray entry = encodeContentEntry(profile_, archive_[position - 1]);
        if (faults_.hasBadDate(position)) {
            // Month 0x13: not a calendar month. The entry's own CRC (newer
            // instruments) is made to fit, so only the date is wrong.
            entry[profile_.newer ? 23 : 27] = char(0x13);
            if (profile_.newer)
                StoreChecksum(reinterpret_cast<std::uint8_t *>(entry.data()), 30);
        }
        if (faults_.damagesContentEntry(position))
            entry[0] = char(entry[0] ^ 0x01); // one bit flipped, CRC kept
        out.append(entry);
    }
    return out;
}

QByteArray Instrument::record(int position) const
{
    if (position < 1 || position > archive_.size())
        return erased(1024);
    QByteArray bytes = encodeRecord(profile_, archive_[position - 1]);
    for (int point = 1; point <= 10; ++point) {
        if (!faults_.damagesPointBlock(position, point))
            continue;
        const int block = kRecordPointBase + kPointBlockSize * (point - 1);
        if (profile_.newer) {
            // The block's stored CRC no longer fits its data.
            bytes[block + 95] = char(bytes[block + 95] ^ 0xFF);
        } else {
            // Older blocks carry no CRC; the damage shows as range codes
            // that name no range.
            bytes[block + 94] = char(0xFF);
            bytes[block + 95] = char(0xFF);
        }
    }
    return bytes;
}

} // namespace sim
