#include "frame.h"

#include "bytereader.h"
#include "base/checksum.h"

namespace device {

namespace {

void appendWord(QByteArray &out, std::uint16_t value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

QByteArray words(std::initializer_list<std::uint16_t> values)
{
    QByteArray out;
    for (std::uint16_t v : values)
        appendWord(out, v);
    return out;
}

QByteArray fitted(const QByteArray &data, int size)
{
    QByteArray out = data.left(size);
    out.resize(size, '\0');
    return out;
}

} // namespace

QByteArray buildFrame(std::uint8_t command, const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + kFrameOverhead);
    frame.append(static_cast<char>(kFrameStart));
    frame.append(static_cast<char>(command));
    appendWord(frame, static_cast<std::uint16_t>(payload.size()));
    frame.append(payload);
    frame.resize(frame.size() + 2);
    StoreChecksum(reinterpret_cast<std::uint8_t *>(frame.data()), static_cast<std::size_t>(frame.size() - 2));
    return frame;
}

QByteArray readPageLegacyRequest(std::uint16_t page)
{
    return buildFrame(ReadPageLegacy, words({0, page, 1}));
}

QByteArray readPagesRequest(std::uint16_t firstPage, std::uint16_t count)
{
    return buildFrame(ReadPages, words({0, firstPage, count}));
}

QByteArray readWordsRequest(std::uint16_t wordAddress)
{
    return buildFrame(ReadWords, words({wordAddress, address::kWordCount}));
}

QByteArray writePageLegacyRequest(std::uint16_t pageNumber, const QByteArray &page)
{
    return buildFrame(WritePageLegacy, words({0, pageNumber, 1}) + fitted(page, 1024));
}

QByteArray sealedBlock(const QByteArray &block)
{
    QByteArray out = fitted(block, 512);
    StoreChecksum(reinterpret_cast<std::uint8_t *>(out.data()), 510);
    return out;
}

QByteArray writeWordsRequest(std::uint16_t wordAddress, const QByteArray &block)
{
    return buildFrame(WriteWords, words({wordAddress, address::kWordCount}) + sealedBlock(block));
}

QByteArray writeBlockRequest(std::uint16_t target, const QByteArray &block)
{
    return buildFrame(WriteBlock,
                      words({address::kWriteBlockSelector, target, address::kWordCount}) + sealedBlock(block));
}

int announcedLength(const QByteArray &answer)
{
    return wordAt(answer, 2);
}

std::uint16_t archiveSize(const QByteArray &identifyAnswer, std::uint8_t modelClass)
{
    const bool single = modelClass == 5 || modelClass == 6;
    return wordAt(identifyAnswer, single ? address::kArchiveSizeOffsetSingle : address::kArchiveSizeOffset);
}

QByteArray recordRequest(bool newer, int k)
{
    if (newer)
        return readPagesRequest(static_cast<std::uint16_t>(address::kNewerRecordBase + 2 * k), 2);
    return readPageLegacyRequest(static_cast<std::uint16_t>(address::kOlderRecordBase + k));
}

} // namespace device
