// In-memory types of stored verifications: one test point, one verification,
// the verification summary and the content of one .pcn file (one meter).
#pragma once

#include "base/fileidentity.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <QVector>

#include <array>
#include <cstdint>
#include <optional>

// Connection scheme codes (three low bits of the scheme byte).
enum SchemeCode : std::uint8_t {
    SchemeThreePhaseFourWire = 1,
    SchemeThreePhaseThreeWire = 2,
    SchemeSinglePhaseTwoWire = 4,
};

// Power type codes.
enum PowerTypeCode : std::uint8_t {
    PowerActive = 0,
    PowerApparent = 1,
    PowerReactiveCross = 2,
    PowerReactiveShift = 3,
    PowerReactiveGeom = 4,
};

// Range kinds (word 2 of a range entry).
enum RangeKind : std::uint16_t {
    RangePlain = 0,
    RangeTransformer = 1, // labelled "Т" / "T"
    RangeClamps = 2, // labelled "К" / "C"
};

// The stored record types keep their historic lower-case names with a
// leading underscore; they live in namespace pcn, since such names are
// reserved at global scope.
namespace pcn {

// One test point. Quantities are doubles; P, S, Q per phase, pfTotal and
// pfChar are derived on reading. A point holds numbers and codes only: the
// texts of its ranges depend on the language shown (views/rangetexts.h).
struct _datasample {
    std::array<double, 3> U{}; // phase voltages A, B, C
    std::array<double, 3> I{}; // phase currents
    std::array<double, 3> Uline{}; // line voltages AB, BC, CA
    std::array<double, 3> P{}; // derived
    double Ptotal = 0;
    std::array<double, 3> S{}; // derived
    double Stotal = 0;
    double QcrossTotal = 0;
    double QshiftTotal = 0;
    std::array<double, 3> Q{}; // derived
    double QgeomTotal = 0;
    std::array<double, 3> cosPhi{};
    double pfTotal = 0; // derived
    std::array<char, 4> pfChar{{' ', ' ', ' ', ' '}}; // phases A, B, C, total: 'L' or 'C'
    double errorPercent = 0;
    double extraValue = 0;
    std::uint8_t voltageRangeCode = 0;
    std::uint8_t currentRangeCode = 0;
    std::array<std::uint16_t, 6> range{}; // range entry words 0..5; their texts are made where shown
};

// Verification summary: every field of a verification except its points.
// Also used for archive-content entries and meter-database entries.
struct _datacounter {
    QString meterType; // at most 14 characters
    std::uint32_t serial = 0;
    QString serialText;
    double accuracyClass = 0;
    std::uint32_t constant = 0;
    std::uint16_t year = 0;
    std::uint8_t scheme = 0;
    double uLineNom = 0;
    double uPhaseNom = 0;
    double iNom = 0;
    std::uint8_t powerType = 0;
    QDate date;
    QTime time;
    std::uint16_t bcdYear = 0;
    std::uint8_t bcdMonth = 0;
    std::uint8_t bcdDay = 0;
    std::uint8_t bcdHour = 0;
    std::uint8_t bcdMinute = 0;
    std::uint8_t bcdSecond = 0;
    std::uint16_t i1 = 1;
    std::uint16_t i2 = 1;
    // The 16 bytes meterType was read from (a file or the instrument). A
    // writer stores them again while meterType is still their text, since
    // the decoding cannot tell every two byte strings apart (a stored
    // control byte and the letter that wraps around to it, an early zero
    // byte and the padding). Nothing for a type made in memory.
    std::optional<std::array<std::uint8_t, 16>> meterTypeBytes;
};

// One verification.
struct _blockdata : _datacounter {
    QVector<_datasample> points;
    // The instrument type of the record block the verification was read
    // from. A file may hold blocks of several types (older files, files
    // edited outside the program); each block's points are decoded in its
    // own type's encoding and written back in it. -1 for a verification
    // made in memory, which takes the type of its file.
    int instrumentType = -1;
};

} // namespace pcn

// The reference standard that made the verifications of a file: its serial
// and type code (its display name depends on the language shown:
// views/rangetexts.h).
struct InstrumentIdentity {
    std::uint16_t serial = 0;
    std::uint8_t type = 0;
};

namespace pcn {

// The content of one .pcn file: one meter's verifications. A folder's list
// holds less (ListedMeter); the whole content is read when needed
// (RecordStore::loadMeter).
struct _totalblockdata {
    QVector<_blockdata> verifications;
    InstrumentIdentity instrument;
    QString fileName; // without folder
    FileIdentity identity; // the file as it was read; unknown for a meter never read
};

// The instrument type a verification of `meter` is stored in.
inline int storedInstrumentType(const _totalblockdata &meter, const _blockdata &v)
{
    return v.instrumentType >= 0 ? v.instrumentType : meter.instrument.type;
}

} // namespace pcn
