// A meter of a folder's list: what its row shows, sorts by and is merged
// by, taken from its first verification, how many verifications its file
// holds, and the file as it was read. The other verifications and every
// point stay in the file and are read when needed (RecordStore::loadMeter).
#pragma once

#include "records/blockdata.h"

#include <QString>

#include <cstdint>

// The fields are ordered so that a meter takes 128 bytes beside its texts;
// the meter types of a folder's meters share their text.
struct ListedMeter {
    QString fileName; // without folder
    QString meterType; // of the first verification, as decoded (padding kept)
    QString serialText;
    FileIdentity identity; // the file as it was read; unknown for a meter never read
    double accuracyClass = 0;
    int verificationCount = 0; // 0: the row is empty
    std::uint16_t year = 0;
    std::uint16_t i1 = 1;
    std::uint16_t i2 = 1;
    InstrumentIdentity instrument;
    std::uint8_t scheme = 0;
};

// The listed meter of a meter read whole (or of its summaries).
ListedMeter listedMeterOf(const pcn::_totalblockdata &meter);
