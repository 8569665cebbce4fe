// Hand-assembly of stored verification files for the tests: every offset is
// typed here from the file layout, independently of the code under test.
#pragma once

#include "base/checksum.h"

#include <QByteArray>
#include <cstdint>

namespace pcnbytes {

inline void put16(QByteArray &b, int offset, std::uint16_t v)
{
    b[offset] = char(v & 0xFF);
    b[offset + 1] = char(v >> 8);
}

// Two words, high word first (each little-endian).
inline void put32hl(QByteArray &b, int offset, std::uint32_t v)
{
    put16(b, offset, std::uint16_t(v >> 16));
    put16(b, offset + 2, std::uint16_t(v & 0xFFFF));
}

inline void put64words(QByteArray &b, int offset, std::uint16_t s, std::uint16_t w1, std::uint16_t w2, std::uint16_t w3)
{
    put16(b, offset, s);
    put16(b, offset + 2, w1);
    put16(b, offset + 4, w2);
    put16(b, offset + 6, w3);
}

// Checksum of bytes [from, from + length) stored high byte first behind them.
inline void seal(QByteArray &b, int from, int length)
{
    const std::uint16_t crc =
        RecordChecksum(reinterpret_cast<const std::uint8_t *>(b.constData()) + from, std::size_t(length));
    b[from + length] = char(crc >> 8);
    b[from + length + 1] = char(crc & 0xFF);
}

// 67-byte file header with the given serial text.
inline QByteArray fileHeader(const QByteArray &serialText)
{
    QByteArray h(67, '\0');
    h[0] = 24;
    for (int i = 0; i < serialText.size() && i < 64; ++i)
        h[1 + i] = serialText[i];
    seal(h, 0, 65);
    return h;
}

// The fields of a 52-byte record header, with sensible defaults.
struct Header {
    std::uint8_t version = 23;
    std::uint8_t type = 0;
    std::uint16_t instrumentSerial = 0x1234;
    QByteArray meterType = QByteArray::fromHex("45433033203120202020202020200000"); // "CE301" swapped and padded
    std::uint32_t serial = 123456789;
    std::uint16_t year = 2008;
    std::uint16_t class100 = 100;
    std::uint32_t constant = 1600;
    std::uint16_t uLine10 = 3800;
    std::uint16_t uPhase10 = 2200;
    std::uint16_t iNom10 = 50;
    std::uint8_t b38 = 1;
    std::uint8_t b39 = 0;
    std::uint16_t transformer = (100 << 4) | 5;
    std::uint16_t n = 1;
    std::uint16_t bcdYear = 0x2009;
    std::uint8_t day = 0x15, month = 0x03, hour = 0x09, reserved = 0, second = 0x07, minute = 0x05;
};

inline void putHeader(QByteArray &b, int at, const Header &h)
{
    b[at + 0] = char(h.version);
    b[at + 1] = char(h.type);
    put16(b, at + 2, h.instrumentSerial);
    for (int i = 0; i < 16; ++i)
        b[at + 4 + i] = i < h.meterType.size() ? h.meterType[i] : '\0';
    put16(b, at + 20, std::uint16_t(h.serial >> 16));
    put16(b, at + 22, std::uint16_t(h.serial & 0xFFFF));
    put16(b, at + 24, h.year);
    put16(b, at + 26, h.class100);
    put16(b, at + 28, std::uint16_t(h.constant >> 16));
    put16(b, at + 30, std::uint16_t(h.constant & 0xFFFF));
    put16(b, at + 32, h.uLine10);
    put16(b, at + 34, h.uPhase10);
    put16(b, at + 36, h.iNom10);
    b[at + 38] = char(h.b38);
    b[at + 39] = char(h.b39);
    put16(b, at + 40, h.transformer);
    put16(b, at + 42, h.n);
    put16(b, at + 44, h.bcdYear);
    b[at + 46] = char(h.day);
    b[at + 47] = char(h.month);
    b[at + 48] = char(h.hour);
    b[at + 49] = char(h.reserved);
    b[at + 50] = char(h.second);
    b[at + 51] = char(h.minute);
}

// A version-23 block of 1134 bytes: header, ten point slots, range table.
// Points and range entries are filled by the caller, then `seal23`.
inline QByteArray block23(const Header &h)
{
    QByteArray b(1134, '\0');
    putHeader(b, 0, h);
    return b;
}
inline int point23(int k)
{
    return 52 + 96 * k;
}
inline int range23(int k)
{
    return 1012 + 12 * k;
}
inline void seal23(QByteArray &b)
{
    seal(b, 0, 1132);
}

inline void putRange(QByteArray &b, int at, std::uint16_t w0, std::uint16_t w1, std::uint16_t w2, std::uint16_t w3,
                     std::uint16_t w4)
{
    put16(b, at, w0);
    put16(b, at + 2, w1);
    put16(b, at + 4, w2);
    put16(b, at + 6, w3);
    put16(b, at + 8, w4);
    put16(b, at + 10, 0);
}

// An older block: header and min(n, 10) point slots, checksum behind them.
inline QByteArray blockOld(const Header &h)
{
    const int inBlock = h.n < 10 ? h.n : 10;
    QByteArray b(52 + 96 * inBlock + 2, '\0');
    putHeader(b, 0, h);
    return b;
}
inline void sealOld(QByteArray &b)
{
    seal(b, 0, int(b.size()) - 2);
}

// Extension blocks: 110 bytes (point, range entry, checksum) in version 23,
// 98 bytes (point, checksum) below.
inline QByteArray extension23()
{
    return QByteArray(110, '\0');
}
inline void sealExtension23(QByteArray &b)
{
    seal(b, 0, 108);
}
inline QByteArray extensionOld()
{
    return QByteArray(98, '\0');
}
inline void sealExtensionOld(QByteArray &b)
{
    seal(b, 0, 96);
}

} // namespace pcnbytes
