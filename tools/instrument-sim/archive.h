// The verifications the emulated instrument holds, and the deterministic
// scenario generator that fills them.
#pragma once

#include "profile.h"

#include "records/blockdata.h"

#include <QVector>

#include <cstdint>

namespace sim {

// One verification as the instrument keeps it: the summary and points of
// the record types (values in physical units, BCD date fields filled), the
// instrument's range codes in each point's voltageRangeCode and
// currentRangeCode, and the fields only the instrument knows.
struct SimRecord {
    pcn::_blockdata data;
    std::uint8_t multiplierCode = 0; // classes 5, 6: constant multiplier code
    std::uint8_t reservedByte = 0; // the uninterpreted byte after the hour
};

struct ScenarioOptions {
    int records = 12;
    int points = 0; // 0: varied per record (1 to 10)
    QVector<int> powerTypes; // empty: the instrument's default list
};

// Builds the scenario archive; the same options always give the same bytes.
QVector<SimRecord> generateArchive(const InstrumentProfile &profile, const ScenarioOptions &options);

// Picks the instrument's range codes for a point's current and voltage.
// `preferClamp` chooses a clamp range when one is large enough.
std::uint8_t pickCurrentCode(const InstrumentProfile &profile, double amperes, bool preferClamp);
std::uint8_t pickVoltageCode(const InstrumentProfile &profile, double volts);

// Sets the BCD fields of a summary from its date and time.
void fillBcd(pcn::_datacounter &summary);

} // namespace sim
