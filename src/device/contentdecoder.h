// Pure decoder of the instrument's 32-byte archive-content entries into
// verification summaries.
#pragma once

#include "records/blockdata.h"

#include <QByteArray>
#include <QVector>

#include <cstdint>

namespace device {

constexpr int kContentEntrySize = 32;

enum class ContentLayout {
    Older, // model classes 0, 1, 2
    NewerThree, // model class 3
    NewerSingle, // model classes 5, 6
};

ContentLayout contentLayoutFor(std::uint8_t modelClass);

// Decodes one 32-byte entry. False when its date or time is not a valid
// calendar date or time of day; `out` is then left unspecified.
bool decodeContentEntry(const QByteArray &entry, ContentLayout layout, pcn::_datacounter &out);

// Decodes `count` consecutive entries starting at `offset` of `page` and
// appends them to `list`. False (and nothing appended) when one of them has
// an invalid date or time or the page is too short to hold them.
bool decodeContentEntries(const QByteArray &page, qsizetype offset, int count, std::uint8_t modelClass,
                          QVector<pcn::_datacounter> &list);

// Value of a BCD byte: high nibble tens, low nibble units.
int bcdValue(std::uint8_t b);

} // namespace device
