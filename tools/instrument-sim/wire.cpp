#include "wire.h"

#include "base/checksum.h"

#include <cmath>

namespace sim {

void putU16(QByteArray &bytes, int offset, std::uint16_t value)
{
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8);
}

std::uint16_t getU16(const QByteArray &bytes, int offset)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[offset])
                                      | (static_cast<std::uint8_t>(bytes[offset + 1]) << 8));
}

void putHighLow(QByteArray &bytes, int offset, std::uint32_t value)
{
    putU16(bytes, offset, static_cast<std::uint16_t>(value >> 16));
    putU16(bytes, offset + 2, static_cast<std::uint16_t>(value & 0xFFFF));
}

std::uint8_t bcdByte(int value)
{
    return static_cast<std::uint8_t>(((value / 10) % 10) << 4 | (value % 10));
}

std::uint16_t bcdYear(int year)
{
    return static_cast<std::uint16_t>(bcdByte(year / 100) << 8 | bcdByte(year % 100));
}

bool encodeTypeText(const QString &text, QByteArray &out16)
{
    if (text.size() > 14)
        return false;
    QByteArray plain(14, ' ');
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x20 && c < 0x7F)
            plain[i] = static_cast<char>(c);
        else if (c >= 0x0410 && c <= 0x044F) // А..я: code page 192..255, stored 32 lower
            plain[i] = static_cast<char>(c - 0x0410 + 192 - 32);
        else
            return false;
    }
    out16 = QByteArray(16, '\0');
    for (int i = 0; i < 14; i += 2) {
        out16[i] = plain[i + 1];
        out16[i + 1] = plain[i];
    }
    return true;
}

std::uint32_t fixed1616(double x)
{
    return static_cast<std::uint32_t>(std::trunc(std::fabs(x) * 65536.0));
}

std::uint32_t fixed1220(double x)
{
    return static_cast<std::uint32_t>(std::trunc(std::fabs(x) * 1048576.0));
}

void putTotal3216(QByteArray &bytes, int offset, double x)
{
    const double a = std::fabs(x);
    const double whole = std::trunc(a);
    const auto m = static_cast<std::uint32_t>(whole);
    putU16(bytes, offset, x < 0 ? 0xFFFF : 0);
    putU16(bytes, offset + 2, static_cast<std::uint16_t>(m >> 16));
    putU16(bytes, offset + 4, static_cast<std::uint16_t>(m & 0xFFFF));
    putU16(bytes, offset + 6, static_cast<std::uint16_t>(std::trunc((a - whole) * 65536.0)));
}

void putTotal2820(QByteArray &bytes, int offset, double x)
{
    const double a = std::fabs(x);
    const double whole = std::trunc(a);
    const auto m = static_cast<std::uint32_t>(whole);
    const auto f = static_cast<std::uint32_t>(std::trunc((a - whole) * 1048576.0));
    putU16(bytes, offset, x < 0 ? 0xFFFF : 0);
    putU16(bytes, offset + 2, static_cast<std::uint16_t>(m >> 12));
    putU16(bytes, offset + 4, static_cast<std::uint16_t>(((m << 4) | (f >> 16)) & 0xFFFF));
    putU16(bytes, offset + 6, static_cast<std::uint16_t>(f & 0xFFFF));
}

void appendCrc(QByteArray &frame)
{
    const std::uint16_t crc = RecordChecksum(frame);
    frame.append(static_cast<char>(crc >> 8));
    frame.append(static_cast<char>(crc & 0xFF));
}

} // namespace sim
