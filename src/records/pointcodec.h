// One 96-byte point block and one 12-byte range entry in memory and on disk.
#pragma once

#include "records/blockdata.h"
#include "records/rangetables.h"
#include "records/recordlabels.h"

#include <array>
#include <cstdint>
#include <utility>

namespace pcn {

RangeEntry readRangeEntry(const std::uint8_t *bytes);
void writeRangeEntry(std::uint8_t *bytes, const RangeEntry &entry);

// Decodes a point block of a record made by an instrument of the given type
// (0, 1, 2, 3, 5 or 6) with the point's range entry, and computes its derived
// values and range texts. The range codes in memory stay 0.
pcn::_datasample decodePoint(const std::uint8_t *block, int instrumentType, const RangeEntry &range,
                             const RecordLabels &labels);

// Range texts already made while reading one file: the points of a file
// share a few ranges, and reusing their texts saves two string allocations
// per point, which is most of what a folder scan spends beyond reading.
class RangeTextCache {
public:
    // The voltage and current range texts of the entry.
    const std::pair<QString, QString> &texts(const RangeEntry &range, int instrumentType, const RecordLabels &labels);

private:
    struct Entry {
        RangeEntry range;
        int type;
        std::pair<QString, QString> texts;
    };
    static constexpr int kSize = 8;
    std::array<Entry, kSize> m_entries{};
    int m_used = 0;
    int m_next = 0; // slot replaced next once all are used
};

// The same as above, taking the range texts through the cache.
pcn::_datasample decodePoint(const std::uint8_t *block, int instrumentType, const RangeEntry &range,
                             const RecordLabels &labels, RangeTextCache &cache);

// The point block of a point for an instrument of the given type; range
// codes 0. The reactive-sign word is set exactly when Q of the phase is
// negative (including -0), which is how decodePoint gave it its sign, so
// that rewriting a file keeps every point as it was.
void encodePoint(const pcn::_datasample &point, int instrumentType, std::uint8_t *block);

} // namespace pcn
