// Byte-level helpers of the instrument side: little-endian words, BCD,
// the instrument's 8-bit text and its fixed-point number formats.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace sim {

void putU16(QByteArray &bytes, int offset, std::uint16_t value);
std::uint16_t getU16(const QByteArray &bytes, int offset);

// Two words, high word first, each little-endian (the instrument's 32-bit
// quantities).
void putHighLow(QByteArray &bytes, int offset, std::uint32_t value);

// One BCD byte for 0..99 and the four-digit BCD year word.
std::uint8_t bcdByte(int value);
std::uint16_t bcdYear(int year);

// The 16-byte meter-type field: padded with blanks to 14 characters, pairs
// swapped, Cyrillic letters stored 32 lower, two zero bytes. False when the
// text is longer than 14 characters or holds a character the field cannot
// carry.
bool encodeTypeText(const QString &text, QByteArray &out16);

// Unsigned 16.16 and 12.20 fixed point as one 32-bit number (truncated).
std::uint32_t fixed1616(double x);
std::uint32_t fixed1220(double x);

// Totals: sign word, then three magnitude words w1 w2 w3.
void putTotal3216(QByteArray &bytes, int offset, double x);
void putTotal2820(QByteArray &bytes, int offset, double x);

// Appends the frame CRC (high byte first) over the whole array.
void appendCrc(QByteArray &frame);

} // namespace sim
