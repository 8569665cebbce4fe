// The range entries that the conversion of archive records gives each test
// point, from the point's current and voltage range codes and the range
// lists of the instrument that made the record.
#pragma once

#include "records/deviceinfo.h"
#include "records/rangetables.h"

#include <cstdint>
#include <optional>

namespace cnv {

// A point's range entry and the current range code to store with the point
// (classes 0 and 3 without delivered triples store the instrument's
// installed range digit instead of the record's code).
struct PointRange {
    pcn::RangeEntry entry{};
    std::uint8_t currentCode = 0;
};

// Range of a point of an older record (model classes 0, 1, 2). Nothing when
// a code lies outside the tables or the range lists, which rejects the
// record.
std::optional<PointRange> olderPointRange(const DeviceInfo &info, std::uint8_t currentCode, std::uint8_t voltageCode);

// Range of a point of a newer record (model classes 3, 5, 6); same rules for
// codes outside the lists.
std::optional<PointRange> newerPointRange(const DeviceInfo &info, std::uint8_t currentCode, std::uint8_t voltageCode);

// A range value as an integer word and a fraction word (fraction x 65536,
// truncated towards zero), the integer word multiplied by 4 when asked. Nothing for a negative or
// non-finite value or one whose integer word would not fit in 16 bits.
std::optional<std::array<std::uint16_t, 2>> rangeWords(double value, bool timesFour);

} // namespace cnv
