// One 96-byte point block and one 12-byte range entry in memory and on disk.
#pragma once

#include "records/blockdata.h"
#include "records/rangetables.h"

#include <array>
#include <cstdint>

namespace pcn {

RangeEntry readRangeEntry(const std::uint8_t *bytes);
void writeRangeEntry(std::uint8_t *bytes, const RangeEntry &entry);

// Decodes a point block of a record made by an instrument of the given type
// (0, 1, 2, 3, 5 or 6) with the point's range entry, and computes its derived
// values. The range codes in memory stay 0.
pcn::_datasample decodePoint(const std::uint8_t *block, int instrumentType, const RangeEntry &range);

// The point block of a point for an instrument of the given type; range
// codes 0. The reactive-sign word is set exactly when Q of the phase is
// negative (including -0), which is how decodePoint gave it its sign, so
// that rewriting a file keeps every point as it was.
void encodePoint(const pcn::_datasample &point, int instrumentType, std::uint8_t *block);

} // namespace pcn
