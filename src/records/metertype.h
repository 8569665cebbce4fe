// The meter type designation as the instrument stores it in 16 bytes:
// at most 14 characters in Windows-1251, padded with spaces to 14, two zero
// bytes, each pair of the first 14 bytes swapped, and the Cyrillic letters
// (192..255) stored 32 lower. The letters 161..191 of the code page cannot
// be stored.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

constexpr int kMeterTypeBytes = 16;
constexpr int kMeterTypeMaxLength = 14;

// The text of 16 stored bytes (fewer are taken as zero-filled): pairs swapped
// back, text up to the first zero byte, 32 added to bytes of 160 and more,
// and the characters " * / : < > ? \ | replaced by "+" so that the text can
// stand in a file name. Padding spaces are kept.
QString DecodeMeterType(QByteArrayView stored);

// The 16 stored bytes of a designation as the decoder gave it, for writing
// a file back: like EncodeMeterType up to 14 characters; a 15th and 16th
// character (decoded from a file whose bytes 14 and 15 were not zero) go
// back into bytes 14 and 15, so that a rewrite never shortens what was read.
// Nothing when the text is longer than 16 characters or holds a character
// that cannot be stored.
std::optional<QByteArray> EncodeDecodedMeterType(const QString &text);

// The 16 stored bytes of a designation; nothing when the text is longer than
// 14 characters or holds a character that cannot be stored. A decoded
// designation always encodes to bytes that decode to the same text, so a
// rewrite never shortens it: U+0000 (from a stored byte 224) is stored as
// 224, the other control characters as themselves.
std::optional<QByteArray> EncodeMeterType(const QString &text);

// The 16 bytes of a stored slot as they are (fewer are taken as zero-filled).
std::array<std::uint8_t, kMeterTypeBytes> MeterTypeSlot(QByteArrayView stored);

// The meter type as shown in lists, dialogs, protocols and messages: every
// control character (kept unchanged in files) is replaced by U+FFFD, so that
// it is seen and never acts on the display.
QString VisibleMeterType(const QString &text);
