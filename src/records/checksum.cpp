#include "checksum.h"

namespace crc16 {

std::uint16_t shiftByte(std::uint16_t reg, std::uint8_t byte)
{
    for (int k = 7; k >= 0; --k) {
        const bool top = (reg & 0x8000u) != 0;
        reg = static_cast<std::uint16_t>((reg << 1) | ((byte >> k) & 1u));
        if (top)
            reg ^= 0x1021u;
    }
    return reg;
}

std::uint16_t compute(const std::uint8_t *data, std::size_t length)
{
    std::uint16_t reg = 0;
    for (std::size_t i = 0; i < length; ++i)
        reg = shiftByte(reg, data[i]);
    reg = shiftByte(reg, 0);
    return shiftByte(reg, 0);
}

} // namespace crc16

std::uint16_t RecordChecksum(const std::uint8_t *data, std::size_t length)
{
    return crc16::compute(data, length);
}

std::uint16_t RecordChecksum(const QByteArray &data)
{
    return crc16::compute(reinterpret_cast<const std::uint8_t *>(data.constData()),
                          static_cast<std::size_t>(data.size()));
}

bool IsBlockValid(const std::uint8_t *data, std::size_t length)
{
    return crc16::compute(data, length) == 0;
}

bool IsBlockValid(const QByteArray &data)
{
    return RecordChecksum(data) == 0;
}

void StoreChecksum(std::uint8_t *data, std::size_t length)
{
    const std::uint16_t crc = crc16::compute(data, length);
    data[length] = static_cast<std::uint8_t>(crc >> 8);
    data[length + 1] = static_cast<std::uint8_t>(crc & 0xFF);
}
