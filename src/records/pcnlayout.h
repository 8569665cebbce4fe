// Sizes and offsets of the stored verification file (*.pcn) and the
// little-endian word access used by its reader and writer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pcn {

// File header: marker, 64 bytes of serial text, checksum.
constexpr std::size_t kFileHeaderSize = 67;
constexpr std::uint8_t kFileHeaderMarker = 24;
constexpr std::size_t kHeaderSerialOffset = 1;
constexpr std::size_t kHeaderSerialSize = 64;

// Record blocks.
constexpr std::uint8_t kCurrentVersion = 23;
constexpr std::size_t kRecordHeaderSize = 52;
constexpr std::size_t kPointSize = 96;
constexpr std::size_t kRangeEntrySize = 12;
constexpr std::size_t kChecksumSize = 2;
constexpr int kPointsInBlock = 10;
constexpr std::size_t kRangeTableOffset = kRecordHeaderSize + kPointsInBlock * kPointSize; // 1012
constexpr std::size_t kBlockSize = kRangeTableOffset + kPointsInBlock * kRangeEntrySize + kChecksumSize; // 1134
constexpr std::size_t kExtensionSize = kPointSize + kRangeEntrySize + kChecksumSize; // 110
// Versions below 23: no range table.
constexpr std::size_t kOldExtensionSize = kPointSize + kChecksumSize; // 98
constexpr std::size_t oldBlockSize(int pointsInBlock)
{
    return kRecordHeaderSize + kPointSize * std::size_t(pointsInBlock) + kChecksumSize;
}

// Record header offsets.
namespace rh {
constexpr std::size_t version = 0;
constexpr std::size_t instrumentType = 1;
constexpr std::size_t instrumentSerial = 2;
constexpr std::size_t meterType = 4;
constexpr std::size_t serialHigh = 20;
constexpr std::size_t serialLow = 22;
constexpr std::size_t year = 24;
constexpr std::size_t accuracyClass = 26;
constexpr std::size_t constantHigh = 28;
constexpr std::size_t constantLow = 30;
constexpr std::size_t uLineNom = 32;
constexpr std::size_t uPhaseNom = 34;
constexpr std::size_t iNom = 36;
constexpr std::size_t scheme = 38;
constexpr std::size_t powerType = 39;
constexpr std::size_t transformer = 40;
constexpr std::size_t pointCount = 42;
constexpr std::size_t bcdYear = 44;
constexpr std::size_t bcdDay = 46;
constexpr std::size_t bcdMonth = 47;
constexpr std::size_t bcdHour = 48;
constexpr std::size_t reserved = 49;
constexpr std::size_t bcdSecond = 50;
constexpr std::size_t bcdMinute = 51;
} // namespace rh

// Point block offsets: three 16-byte phase groups, then the totals.
namespace pt {
constexpr std::size_t phaseGroupSize = 16;
constexpr std::size_t current = 0; // in a phase group, high word first
constexpr std::size_t reactiveSign = 4; // in a phase group
constexpr std::size_t cosPhi = 6; // in a phase group
constexpr std::size_t voltage = 8; // in a phase group, high word first
constexpr std::size_t lineVoltage = 12; // in a phase group, high word first
constexpr std::size_t Ptotal = 48;
constexpr std::size_t Stotal = 56;
constexpr std::size_t QcrossTotal = 64;
constexpr std::size_t QshiftTotal = 72;
constexpr std::size_t QgeomTotal = 80;
constexpr std::size_t error = 88; // high word, then low word
constexpr std::size_t extraValue = 92;
constexpr std::size_t currentRangeCode = 94;
constexpr std::size_t voltageRangeCode = 95;
} // namespace pt

inline std::uint16_t getWord(const std::uint8_t *p, std::size_t offset)
{
    return std::uint16_t(p[offset] | (p[offset + 1] << 8));
}

inline void putWord(std::uint8_t *p, std::size_t offset, std::uint16_t value)
{
    p[offset] = std::uint8_t(value & 0xFF);
    p[offset + 1] = std::uint8_t(value >> 8);
}

} // namespace pcn
