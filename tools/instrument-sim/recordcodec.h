// Encodes the instrument's archive: the 1024-byte records of both
// generations and the 32-byte archive-content entries.
#pragma once

#include "archive.h"
#include "profile.h"

#include <QByteArray>

namespace sim {

// The 1024 bytes of one archive record as the instrument sends them (the
// payload of a record read). Older instruments: the stored record layout
// from the meter type on, with the range codes in bytes 94/95 of each point.
// Newer instruments: checksummed header and point blocks; the blocks after
// the last point are erased (0xFF), so they fail their checksum.
QByteArray encodeRecord(const InstrumentProfile &profile, const SimRecord &record);

// One 32-byte archive-content entry of the record.
QByteArray encodeContentEntry(const InstrumentProfile &profile, const SimRecord &record);

// Byte offsets inside the 1024-byte record payload.
constexpr int kRecordPointBase = 48; // first point block
constexpr int kPointBlockSize = 96;

} // namespace sim
