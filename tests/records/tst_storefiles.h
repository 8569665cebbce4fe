// Hand-built stored-file bytes for the record store tests: a version-23
// record block laid out field by field, the 67-byte file header, and
// extension blocks, independent of the program's writer.
#pragma once

#include "base/checksum.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstring>

namespace storefiles {

inline void putWord(QByteArray &b, int offset, quint16 value)
{
    b[offset] = char(value & 0xFF);
    b[offset + 1] = char(value >> 8);
}

inline void seal(QByteArray &b, int length)
{
    StoreChecksum(reinterpret_cast<std::uint8_t *>(b.data()), std::size_t(length));
}

// Marker 24, serial text zero-padded to 64 bytes, checksum.
inline QByteArray fileHeader(const QByteArray &serialText)
{
    QByteArray h(67, '\0');
    h[0] = char(24);
    std::memcpy(h.data() + 1, serialText.constData(), std::size_t(qMin<qsizetype>(serialText.size(), 64)));
    seal(h, 65);
    return h;
}

// One version-23 record block of instrument type 0 for an ASCII meter type
// of up to 14 characters, with all point values zero, taken on 2009-06-15
// at 09:05:07 (second byte `second`), followed by the extension blocks of
// the points beyond ten.
inline QByteArray recordBlock(const QByteArray &meterType, quint32 serial, int points, quint8 powerType = 0,
                              quint8 bcdSecond = 0x07)
{
    QByteArray b(1134, '\0');
    b[0] = char(23);
    b[1] = char(0);
    putWord(b, 2, 0x0102); // instrument serial 258
    QByteArray type = meterType.leftJustified(14, ' ', true);
    for (int i = 0; i < 14; i += 2) { // stored with each pair of bytes swapped
        b[4 + i] = type[i + 1];
        b[4 + i + 1] = type[i];
    }
    putWord(b, 20, quint16(serial >> 16));
    putWord(b, 22, quint16(serial & 0xFFFF));
    putWord(b, 24, 2008); // year of manufacture
    putWord(b, 26, 100); // class 1.00
    putWord(b, 30, 1000); // constant
    putWord(b, 32, 4000); // 400.0 V
    putWord(b, 34, 2300); // 230.0 V
    putWord(b, 36, 50); // 5.0 A
    b[38] = char(1); // three-phase four-wire
    b[39] = char(powerType);
    putWord(b, 40, 0x0011); // i1 = 1, i2 = 1
    putWord(b, 42, quint16(points));
    putWord(b, 44, 0x2009);
    b[46] = char(0x15); // day
    b[47] = char(0x06); // month
    b[48] = char(0x09); // hour
    b[50] = char(bcdSecond);
    b[51] = char(0x05); // minute
    seal(b, 1132);
    for (int k = 10; k < points; ++k) {
        QByteArray ext(110, '\0');
        seal(ext, 108);
        b += ext;
    }
    return b;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A stored meter file: header and one block per entry of `pointCounts`.
inline bool writeMeter(const QString &path, const QByteArray &meterType, quint32 serial,
                       std::initializer_list<int> pointCounts)
{
    QByteArray bytes = fileHeader(QByteArray::number(serial));
    quint8 power = 0;
    for (int n : pointCounts)
        bytes += recordBlock(meterType, serial, n, power++);
    return writeFile(path, bytes);
}

} // namespace storefiles
