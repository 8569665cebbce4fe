// The one CRC of the program: CRC-16 with polynomial 0x1021, initial value 0,
// no reflection, no final XOR (the XMODEM parameters). It protects the
// instrument's frames, stored records, the settings file and the meter
// database file; the string file's section checksum uses the same shift
// register without the two closing zero bytes.
#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace crc16 {

// Shifts the eight bits of one byte (most significant first) into the
// register, exactly as the bitwise procedure does: the data bit enters at
// bit 0 and the polynomial is applied when bit 15 falls out.
std::uint16_t shiftByte(std::uint16_t reg, std::uint8_t byte);

// The register after the bytes and two zero bytes: the CRC-16/XMODEM of the
// data. Fed over data followed by its stored checksum (high byte first) the
// result is 0.
std::uint16_t compute(const std::uint8_t *data, std::size_t length);

} // namespace crc16

// CRC of a block, stored high byte first by its writers.
std::uint16_t RecordChecksum(const std::uint8_t *data, std::size_t length);
std::uint16_t RecordChecksum(const QByteArray &data);

// True when the CRC over the bytes, including the stored checksum at their
// end, is 0.
bool IsBlockValid(const std::uint8_t *data, std::size_t length);
bool IsBlockValid(const QByteArray &data);

// Writes the checksum of bytes [0, length) high byte first at data[length].
void StoreChecksum(std::uint8_t *data, std::size_t length);
