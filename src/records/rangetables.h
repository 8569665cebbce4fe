// Range entries of records older than version 23, which store only the
// instrument's range codes (bytes 94 and 95 of each point).
#pragma once

#include <array>
#include <cstdint>

namespace pcn {

// Words of a range entry: current integer part (times 4 for encoding
// families A and C), current fraction x 65536, range kind, voltage integer
// part, voltage fraction x 65536, 0.
using RangeEntry = std::array<std::uint16_t, 6>;

// The range entry of a point of an older record from its current and voltage
// range codes. The fraction words are rounded to the nearest 1/65536, so that
// 0.05 reads back as 0.05 at three decimals.
//
// Codes outside the instrument's tables give range 0 (and, for the current,
// kind 0, plain); instrument types without range tables (5 and 6, only in
// version 22 records) get an all-zero entry.
//
// Records converted from the instrument's archive keep the instrument's own
// rule instead: the fraction words are truncated (FractionRule::Truncate),
// so that their bytes are the ones every reader of the archive computes.
enum class FractionRule { Round, Truncate };
RangeEntry computedRangeEntry(int instrumentType, std::uint8_t currentCode, std::uint8_t voltageCode,
                              FractionRule rule = FractionRule::Round);

} // namespace pcn
