// The meter database image: the same 400 bytes in the .bdc file and in the
// instrument. Ten slots of 16 bytes hold the meter types (stored as every
// meter type is, see records/metertype.h), followed by ten numeric records of
// 24 bytes (little-endian):
//   0 serial high word, 2 serial low word, 4 year, 6 class x 100,
//   8 constant high word, 10 constant low word, 12 line voltage x 10,
//   14 phase voltage x 10, 16 current x 10, 18 I1, 20 I2, 22 unused.
// The image stands at the start of a 1024-byte zero-filled area.
#pragma once

#include "meterentry.h"

#include <QByteArray>
#include <QString>

namespace meterdb {

constexpr int kImageBytes = 400;
constexpr int kAreaBytes = 1024;
constexpr int kTypeSlotBytes = 16;
constexpr int kNumbersOffset = 160;
constexpr int kNumbersBytes = 24;

enum class EncodeFailure {
    None,
    TooManyEntries, // more than ten
    NotTenEntries, // exactly ten were required
    MeterType, // a meter type cannot be stored
};

struct EncodedImage {
    EncodeFailure failure = EncodeFailure::None;
    QByteArray area; // kAreaBytes when encoded
    int entryIndex = -1; // the entry whose type cannot be stored
    QString badCharacters; // its characters that cannot be stored

    bool ok() const { return failure == EncodeFailure::None; }
};

// Encodes the list into a zero-filled area. `exact` asks for exactly ten
// entries (writing to the instrument); otherwise at most ten. A type read
// from a file or the instrument and not changed since is stored as the
// bytes it was read from; control characters below 161 are stored as they
// are. Scaled values are rounded to the nearest integer, so a value typed
// with the allowed decimals is stored exactly.
EncodedImage encodeImage(const MeterList &list, bool exact);

// Appends `count` entries decoded from the image at the start of `bytes`.
// False (nothing appended) when count exceeds ten or the bytes are fewer than
// the image. Trailing blanks of the types are removed, keeping at least one
// character; scaled values are divided by 100 or 10.
bool decodeImage(const QByteArray &bytes, int count, MeterList &list);

} // namespace meterdb
