#include "records/rangetables.h"

#include <cmath>
#include <initializer_list>
#include <vector>

namespace pcn {

namespace {

struct RangeTables {
    std::vector<double> current;
    std::vector<double> voltage;
    bool currentTimesFour;
};

// The instrument's tables by type; nothing for types without tables.
const RangeTables *tablesFor(int instrumentType)
{
    static const RangeTables kThreePhase{{0, 1, 10, 50, 0, 10, 100, 1000, 300, 3000}, {400, 250, 100}, true};
    static const RangeTables kType1{{50, 10, 5, 2.5, 1, 0.5, 0.25, 0.1, 0.05}, {220, 120, 60}, false};
    static const RangeTables kType2{{100, 50, 25, 10, 5, 2.5, 1, 0.5, 0.25, 0.1, 0.05}, {480, 240, 120, 60}, false};
    switch (instrumentType) {
    case 0:
    case 3:
        return &kThreePhase;
    case 1:
        return &kType1;
    case 2:
        return &kType2;
    default:
        return nullptr;
    }
}

std::uint16_t wholeWord(double range, bool timesFour)
{
    const auto whole = std::uint16_t(std::trunc(range));
    return timesFour ? std::uint16_t(whole * 4) : whole;
}

std::uint16_t fractionWord(double range, FractionRule rule)
{
    const double scaled = (range - std::trunc(range)) * 65536.0;
    return std::uint16_t(rule == FractionRule::Round ? std::lround(scaled) : std::trunc(scaled));
}

} // namespace

RangeEntry computedRangeEntry(int instrumentType, std::uint8_t currentCode, std::uint8_t voltageCode, FractionRule rule)
{
    RangeEntry entry{};
    const RangeTables *tables = tablesFor(instrumentType);
    if (!tables)
        return entry;
    if (currentCode < tables->current.size()) {
        const double range = tables->current[currentCode];
        entry[0] = wholeWord(range, tables->currentTimesFour);
        entry[1] = fractionWord(range, rule);
        if (instrumentType == 0 || instrumentType == 3)
            entry[2] = currentCode > 4 ? 2 : 1;
    }
    if (voltageCode < tables->voltage.size()) {
        const double range = tables->voltage[voltageCode];
        entry[3] = wholeWord(range, false);
        entry[4] = fractionWord(range, rule);
    }
    return entry;
}

} // namespace pcn
