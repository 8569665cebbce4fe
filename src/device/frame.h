// Request and answer frames of the instrument's protocol: start byte 0x02,
// command (request) or status (answer), 16-bit little-endian payload length,
// payload, and the CRC-16 over everything before it, high byte first.
#pragma once

#include <QByteArray>

#include <cstdint>

namespace device {

constexpr std::uint8_t kFrameStart = 0x02;
constexpr int kFrameHeader = 4; // start, command/status, length
constexpr int kFrameOverhead = 6; // header and CRC
constexpr std::uint8_t kStatusOk = 0x00;
constexpr std::uint8_t kStatusError = 0xFF;

enum Command : std::uint8_t {
    ReadPageLegacy = 0x0B, // u16 0, page, count 1: one 1024-byte page
    ReadPages = 0x0D, // u16 0, first page, count 1 or 2: 512-byte pages
    ReadWords = 0x0F, // word address, word count 256
    WritePageLegacy = 0x0A, // u16 0, page, 1, 1024 data bytes
    WriteWords = 0x0E, // word address, word count 256, 512 data bytes
    WriteBlock = 0x08, // 14, target, 256, 512 data bytes
};

// Fixed addresses inside the instrument.
namespace address {
constexpr std::uint16_t kOlderIdentifyPage = 8163;
constexpr std::uint16_t kNewerIdentifyWords = 0;
constexpr std::uint16_t kOlderFirstContentPage = 224;
constexpr std::uint16_t kNewerFirstContentPage = 320;
constexpr int kOlderEntriesPerPage = 32;
constexpr int kNewerEntriesPerPage = 16;
constexpr std::uint16_t kOlderRecordBase = 23; // record k: page 23 + k
constexpr std::uint16_t kNewerRecordBase = 350; // record k: pages 350 + 2k and the next
constexpr std::uint16_t kOlderMeterDbPage = 8177;
constexpr std::uint16_t kNewerMeterDbWords = 896;
constexpr std::uint16_t kWordCount = 256;
constexpr std::uint16_t kWriteBlockSelector = 14;
constexpr std::uint16_t kOlderWriteBlockTarget = 28672;
constexpr std::uint16_t kNewerWriteBlockTarget = 1472;
// Archive size in the identify answer (answer offsets).
constexpr int kArchiveSizeOffset = 278; // older instruments and model class 3
constexpr int kArchiveSizeOffsetSingle = 382; // model classes 5 and 6
} // namespace address

constexpr int kRecordSlotSize = 1030; // one record answer: header, 1024 bytes, CRC
constexpr int kExchangeBufferSize = 1214; // answer buffer for identify, content, meter database

// A whole frame: header, payload and CRC.
QByteArray buildFrame(std::uint8_t command, const QByteArray &payload);

QByteArray readPageLegacyRequest(std::uint16_t page);
QByteArray readPagesRequest(std::uint16_t firstPage, std::uint16_t count);
QByteArray readWordsRequest(std::uint16_t wordAddress);
// `page` is padded with zero bytes (or cut) to 1024 bytes.
QByteArray writePageLegacyRequest(std::uint16_t pageNumber, const QByteArray &page);
// `block` is padded (or cut) to 512 bytes; its last two bytes receive the CRC
// of its first 510 bytes, high byte first.
QByteArray writeWordsRequest(std::uint16_t wordAddress, const QByteArray &block);
QByteArray writeBlockRequest(std::uint16_t target, const QByteArray &block);

// The 512-byte block as sent: padded or cut to 512 bytes, its own CRC in the
// last two bytes.
QByteArray sealedBlock(const QByteArray &block);

// Payload length announced by an answer header (bytes 2 and 3).
int announcedLength(const QByteArray &answer);

// Number of verifications stored, from the identify answer.
std::uint16_t archiveSize(const QByteArray &identifyAnswer, std::uint8_t modelClass);

// Request of verification record k (counted from 1).
QByteArray recordRequest(bool newer, int k);

} // namespace device
