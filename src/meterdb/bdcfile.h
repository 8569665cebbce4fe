// The .bdc file: the meter database in 1036 bytes, shaped like an answer
// frame of the instrument whose length field holds the entry count:
//   0 0x02, 1 0x00, 2 entry count n (0..10), 4 0, 6 8163, 8 1,
//   10 the 1024-byte area with the image, 1034 CRC over bytes 0..1033
//   (high byte first).
#pragma once

#include "meterbaseimage.h"
#include "meterentry.h"

#include <QByteArray>
#include <QString>

namespace meterdb {

constexpr int kBdcFileBytes = 1036;
constexpr int kBdcAreaOffset = 10;

// The bytes of a file holding the list; empty with the failure in `encoded`
// when the list cannot be encoded.
QByteArray bdcFileBytes(const MeterList &list, EncodedImage *encoded = nullptr);

enum class BdcLoad {
    Ok,
    CannotOpen, // the file cannot be opened (messages Error25, then Error27)
    ReadError, // fewer than 1036 bytes or a wrong CRC (Error27)
    DataError, // an entry count above ten, or fixed header words other than the ones written (Error26)
};

// The entries of file bytes; `list` is only filled on Ok.
BdcLoad parseBdcFile(const QByteArray &bytes, MeterList &list);
BdcLoad loadBdcFile(const QString &path, MeterList &list);

enum class BdcSave {
    Ok,
    Unencodable, // a meter type cannot be stored (see `encoded`); nothing written
    CannotWrite, // the file cannot be written (Error25); an old file is unchanged
};

// Writes the file atomically: the target is either its old content or the
// complete new one.
BdcSave saveBdcFile(const QString &path, const MeterList &list, EncodedImage *encoded = nullptr);

} // namespace meterdb
