// Bounds-checked little-endian reads from an answer held in a QByteArray.
// Reads past the end give 0, so a short or damaged answer can never make a
// decoder read outside its buffer.
#pragma once

#include <QByteArray>

#include <cstdint>

namespace device {

inline std::uint8_t byteAt(const QByteArray &bytes, qsizetype offset)
{
    if (offset < 0 || offset >= bytes.size())
        return 0;
    return static_cast<std::uint8_t>(bytes.at(offset));
}

inline std::uint16_t wordAt(const QByteArray &bytes, qsizetype offset)
{
    return static_cast<std::uint16_t>(byteAt(bytes, offset) | (byteAt(bytes, offset + 1) << 8));
}

// `count` bytes at `offset`, zero-filled where the answer is shorter.
inline QByteArray bytesAt(const QByteArray &bytes, qsizetype offset, qsizetype count)
{
    QByteArray out(count, '\0');
    for (qsizetype i = 0; i < count; ++i)
        out[i] = static_cast<char>(byteAt(bytes, offset + i));
    return out;
}

} // namespace device
