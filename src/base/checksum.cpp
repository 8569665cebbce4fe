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

// Tables of the same polynomial for the direct (table) form of the CRC with
// initial value 0, which equals the register fed with the bytes and two
// closing zero bytes. entry[0] handles one byte; entry[k] advances a byte
// through k further zero bytes, so that eight bytes are folded in at once
// (slicing by eight). A folder scan checks every byte of every stored file,
// so this is where its time goes.
struct Tables {
    std::uint16_t entry[8][256];
    constexpr Tables() : entry()
    {
        for (unsigned b = 0; b < 256; ++b) {
            unsigned crc = b << 8;
            for (int k = 0; k < 8; ++k)
                crc = (crc & 0x8000u) ? ((crc << 1) ^ 0x1021u) : (crc << 1);
            entry[0][b] = static_cast<std::uint16_t>(crc & 0xFFFFu);
        }
        for (int k = 1; k < 8; ++k) {
            for (unsigned b = 0; b < 256; ++b) {
                const unsigned prev = entry[k - 1][b];
                entry[k][b] = static_cast<std::uint16_t>(((prev << 8) ^ entry[0][prev >> 8]) & 0xFFFFu);
            }
        }
    }
};
constexpr Tables kTables;

} // namespace

std::uint16_t compute(const std::uint8_t *data, std::size_t length)
{
    const auto &t = kTables.entry;
    unsigned crc = 0;
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        const unsigned head = crc ^ ((unsigned(data[i]) << 8) | data[i + 1]);
        crc = t[7][head >> 8] ^ t[6][head & 0xFFu] ^ t[5][data[i + 2]] ^ t[4][data[i + 3]] ^ t[3][data[i + 4]]
              ^ t[2][data[i + 5]] ^ t[1][data[i + 6]] ^ t[0][data[i + 7]];
    }
    for (; i < length; ++i)
        crc = ((crc << 8) ^ t[0][((crc >> 8) ^ data[i]) & 0xFFu]) & 0xFFFFu;
    return static_cast<std::uint16_t>(crc);
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
