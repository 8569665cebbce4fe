// config.cfg: 130 bytes, little-endian, no header; bytes 128-129 hold the
// CRC-16 of bytes 0-127, high byte first.
//
//   0 Top, 2 Left, 4 Width, 6 Height, 8 folder panel width,
//  10 upper area height, 12 meter list height (unsigned 16-bit each),
//  14 language, 15 interface, 16 port index, 17 rate index,
//  18 single-phase codes (11), 29 flags (11), 40 three-wire codes (16),
//  56 flags (16), 72 four-wire codes (28), 100 flags (28), 128 checksum.
#pragma once

#include "appstate.h"

#include <QByteArray>
#include <QString>

constexpr int kSettingsFileSize = 130;

// The state used when no valid settings file exists.
AppSettings defaultSettings();

// Takes a settings record as read from disk: at most 130 bytes (missing
// bytes count as zero). A record whose checksum is wrong yields the defaults
// as a whole; otherwise each field is validated on its own.
AppSettings parseSettings(const QByteArray &raw);

// The 130 bytes that represent the state, checksum included.
QByteArray encodeSettings(const AppSettings &settings);

// Reads the file; a missing or unreadable file yields the defaults.
AppSettings loadSettingsFile(const QString &path);

// Writes the file atomically; false when it could not be written.
bool saveSettingsFile(const QString &path, const AppSettings &settings);
