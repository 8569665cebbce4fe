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

namespace {

// Byte-wise table of the same polynomial: the register fed with a byte and
// two closing zero bytes equals the direct (table) form of the CRC with
// initial value 0, which is eight times faster on the stored files.
struct Table {
    std::uint16_t entry[256];
    constexpr Table() : entry()
    {
        for (unsigned b = 0; b < 256; ++b) {
            unsigned crc = b << 8;
            for (int k = 0; k < 8; ++k)
                crc = (crc & 0x8000u) ? ((crc << 1) ^ 0x1021u) : (crc << 1);
            entry[b] = static_cast<std::uint16_t>(crc & 0xFFFFu);
        }
    }
};
constexpr Table kTable;

} // namespace

std::uint16_t compute(const std::uint8_t *data, std::size_t length)
{
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < length; ++i)
        crc = static_cast<std::uint16_t>((crc << 8) ^ kTable.entry[((crc >> 8) ^ data[i]) & 0xFFu]);
    return crc;
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
