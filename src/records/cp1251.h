// The Windows-1251 code page, in which the instrument, the stored files and
// the file names of the original platform keep 8-bit text. Qt has no codec
// for it, so it is a table of the 128 upper characters here.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>

#include <cstdint>
#include <optional>

namespace cp1251 {

// The character of one byte. Bytes 0..127 are ASCII; the one byte the code
// page leaves undefined (0x98) maps to U+0098 so that it survives a round trip.
QChar toUnicode(std::uint8_t byte);

// The byte of one character, or nothing when the code page lacks it.
std::optional<std::uint8_t> fromUnicode(QChar c);

// Whole texts. `encode` fails when any character is missing from the code
// page; `encodeLossy` puts '?' in place of such characters.
QString decode(QByteArrayView bytes);
std::optional<QByteArray> encode(const QString &text);
QByteArray encodeLossy(const QString &text);

} // namespace cp1251
