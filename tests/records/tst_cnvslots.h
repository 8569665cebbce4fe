// Hand-built raw archive record slots for the conversion tests, laid out
// byte by byte as the instrument sends them: 4 frame header bytes, the
// 1024-byte record, 2 frame checksum bytes. Record offsets are slot offsets.
#pragma once

#include "records/deviceinfo.h"
#include "base/checksum.h"
#include "records/meterfile.h"
#include "samplerecords.h"

#include <QByteArray>
#include <QLocale>

#include <cstdint>

namespace cnvtest {

struct Slot {
    QByteArray b = QByteArray(1030, '\0');

    void byte(int offset, int value) { b[offset] = char(value & 0xFF); }
    // Little-endian word.
    void word(int offset, int value)
    {
        byte(offset, value);
        byte(offset + 1, value >> 8);
    }
    // Two words, high word first.
    void highLow(int offset, std::uint32_t value)
    {
        word(offset, int(value >> 16));
        word(offset + 2, int(value & 0xFFFF));
    }
    void bytes(int offset, const char *data, int length)
    {
        for (int i = 0; i < length; ++i)
            b[offset + i] = data[i];
    }
    int point(int k) const { return 52 + 96 * k; }
    // CRC of [offset, offset + length) stored high byte first behind it.
    void seal(int offset, int length)
    {
        const std::uint16_t crc =
            RecordChecksum(reinterpret_cast<const std::uint8_t *>(b.constData()) + offset, std::size_t(length));
        byte(offset + length, crc >> 8);
        byte(offset + length + 1, crc);
    }
};

// "CE301" padded with spaces to 14 and pair-swapped, then two zero bytes.
inline const char kMeterTypeCE301[16] = {'E', 'C', '0', '3', ' ', '1', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 0, 0};
inline const QString kDecodedCE301 = QStringLiteral("CE301         ");

// Meter identity fields shared by both generations (slot bytes 4-37):
// serial 12345678 (0x00BC614E), made 2008, class 1.0, constant 1000,
// 380 / 220 V, 5 A.
inline void putIdentity(Slot &s)
{
    s.bytes(4, kMeterTypeCE301, 16);
    s.word(20, 0x00BC);
    s.word(22, 0x614E);
    s.word(24, 2008);
    s.word(26, 100);
    s.word(28, 0);
    s.word(30, 1000);
    s.word(32, 3800);
    s.word(34, 2200);
    s.word(36, 500 / 10);
}

// A point of family A (classes 0 and 3): phase A current 5 A (16.16),
// cos 0.5, voltage 230.5 V, line voltage 400 V; Ptotal 576.25 (32.16);
// error -50 % (raw 0xFFFF8000).
inline void putPointFamilyA(Slot &s, int k)
{
    const int p = s.point(k);
    s.highLow(p + 0, 0x00050000);
    s.word(p + 6, 0x0800);
    s.highLow(p + 8, 0x00E68000);
    s.highLow(p + 12, 0x01900000);
    s.word(p + 48, 0);
    s.word(p + 50, 0);
    s.word(p + 52, 576);
    s.word(p + 54, 0x4000);
    s.highLow(p + 88, 0xFFFF8000);
}

// A point of family B (classes 1 and 2): current 2.5 A and voltage 220 V in
// 12.20, cos 1.0 (4096).
inline void putPointFamilyB(Slot &s, int k)
{
    const int p = s.point(k);
    s.highLow(p + 0, 0x00280000);
    s.word(p + 6, 0x1000);
    s.highLow(p + 8, 0x0DC00000);
}

// Older record (classes 0, 1, 2): stored layout with date and time at 44-51
// (15 March 2009, 14:30:05), transformer 100/5, scheme and power type.
inline Slot olderSlot(int scheme, int powerType, int points)
{
    Slot s;
    putIdentity(s);
    s.byte(38, scheme);
    s.byte(39, powerType);
    s.word(40, (100 << 4) | 5);
    s.word(42, points);
    s.word(44, 0x2009);
    s.byte(46, 0x15);
    s.byte(47, 0x03);
    s.byte(48, 0x14);
    s.byte(49, 0x77);
    s.byte(50, 0x05);
    s.byte(51, 0x30);
    return s;
}

// Older point range codes: current at byte 94, voltage at 95.
inline void olderCodes(Slot &s, int k, int current, int voltage)
{
    s.byte(s.point(k) + 94, current);
    s.byte(s.point(k) + 95, voltage);
}

// Newer record header (classes 3, 5, 6): bytes 38 and 39 as given, date at
// 40-43 (2010-07-21), time at 44-47 (09:08:07, byte 45 = 0x5A), transformer
// word at 48 (200/5), checksum at 50 (reseal with seal(4, 46) after
// changes). The first `points` point blocks are zero, the others filled with
// 0xFF, as unused blocks whose checksum does not hold.
inline Slot newerSlot(int byte38, int byte39, int points)
{
    Slot s;
    for (int k = points; k < 10; ++k)
        s.b.replace(s.point(k), 96, QByteArray(96, char(0xFF)));
    putIdentity(s);
    s.byte(38, byte38);
    s.byte(39, byte39);
    s.word(40, 0x2010);
    s.byte(42, 0x21);
    s.byte(43, 0x07);
    s.byte(44, 0x09);
    s.byte(45, 0x5A);
    s.byte(46, 0x07);
    s.byte(47, 0x08);
    s.word(48, (200 << 4) | 5);
    s.seal(4, 46);
    return s;
}

// Newer point range codes at 92 and 93, then the point's checksum at 94.
inline void newerCodes(Slot &s, int k, int current, int voltage)
{
    s.byte(s.point(k) + 92, current);
    s.byte(s.point(k) + 93, voltage);
    s.seal(s.point(k), 94);
}

// The point's checksum as the extra value it becomes: the two bytes (high
// byte first) read as a little-endian signed word, divided by 256.
inline double checksumAsExtraValue(const Slot &s, int k)
{
    const int p = s.point(k);
    const auto hi = std::uint8_t(s.b[p + 94]);
    const auto lo = std::uint8_t(s.b[p + 95]);
    return std::int16_t(std::uint16_t(hi | (lo << 8))) / 256.0;
}

constexpr int english()
{
    return 1;
}
constexpr int russian()
{
    return 0;
}

inline std::uint16_t wordAt(const QByteArray &b, int offset)
{
    return std::uint16_t(std::uint8_t(b[offset]) | (std::uint8_t(b[offset + 1]) << 8));
}

// The stored range entry k of a block as six words.
inline QList<int> rangeEntry(const QByteArray &block, int k)
{
    QList<int> words;
    for (int w = 0; w < 6; ++w)
        words.append(wordAt(block, 1012 + 12 * k + 2 * w));
    return words;
}

} // namespace cnvtest
