// Answer frames of a made-up instrument for the device tests.
#pragma once

#include "base/checksum.h"
#include "records/metertype.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace devicetest {

inline void putWord(QByteArray &b, int offset, std::uint16_t v)
{
    b[offset] = char(v & 0xFF);
    b[offset + 1] = char(v >> 8);
}

// A successful answer frame around `payload`, its CRC in place.
inline QByteArray answerFrame(const QByteArray &payload, std::uint8_t status = 0)
{
    QByteArray f;
    f.append(char(0x02));
    f.append(char(status));
    f.append(char(payload.size() & 0xFF));
    f.append(char(payload.size() >> 8));
    f.append(payload);
    f.resize(f.size() + 2);
    StoreChecksum(reinterpret_cast<std::uint8_t *>(f.data()), std::size_t(f.size() - 2));
    return f;
}

// An identify payload of `size` bytes with type name, serial and version.
inline QByteArray identifyPayload(const QString &type, std::uint16_t w1, std::uint16_t w2, int size = 512)
{
    QByteArray p(size, '\0');
    const QByteArray name = EncodeMeterType(type).value_or(QByteArray(16, '\0'));
    p.replace(0, 16, name);
    putWord(p, 16, 4321);
    putWord(p, 18, w1);
    putWord(p, 20, w2);
    return p;
}

inline void putTriple(QByteArray &payload, int offset, int index, std::uint16_t code, std::uint16_t high,
                      std::uint16_t low)
{
    putWord(payload, offset + 6 * index, code);
    putWord(payload, offset + 6 * index + 2, high);
    putWord(payload, offset + 6 * index + 4, low);
}

} // namespace devicetest
