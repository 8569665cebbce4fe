#include "records/cnvranges.h"

#include "records/blockdata.h"

#include <cmath>

namespace cnv {

namespace {

// Sizes of the built-in tables (the values live in rangetables.cpp, which
// the stored-file reader shares): the current-clamp table of the
// three-phase instruments and the class 0 voltage table; the class 1 and
// class 2 current and voltage tables.
constexpr unsigned kClampTableSize = 10;
constexpr unsigned kClass0VoltageTableSize = 3;
constexpr unsigned kClass1CurrentTableSize = 9;
constexpr unsigned kClass1VoltageTableSize = 3;
constexpr unsigned kClass2CurrentTableSize = 11;
constexpr unsigned kClass2VoltageTableSize = 4;

// The newer three-phase instrument measures up to 240 V; its voltage codes
// differ from the older one's.
constexpr std::array<double, 3> kClass3VoltageTable{240, 120, 60};

// Groups of the current range code of the newer single-phase instruments:
// bits 5-7 select the group, bits 0-4 the entry within it.
constexpr int kGroupShift = 5;
constexpr std::uint8_t kGroupEntryMask = 0x1F;

bool codeBelowCount(std::uint8_t code, std::int32_t count)
{
    return std::int32_t(code) < count;
}

// Current words (0, 1, 2) of the three-phase rules: the delivered triple
// when the instrument sent a range list, else the clamp table at the
// installed range digit of the code. Also gives the code to store.
std::optional<PointRange> threePhaseCurrent(const DeviceInfo &info, std::uint8_t code, bool limitKind)
{
    if (!codeBelowCount(code, info.rangeCount))
        return std::nullopt;
    PointRange range;
    if (info.rangeCode[0] != 0) {
        if (code >= info.rangeCode.size())
            return std::nullopt;
        const std::uint16_t kind = info.rangeCode[code];
        range.entry[0] = info.rangeHigh[code];
        range.entry[1] = info.rangeLow[code];
        range.entry[2] = limitKind && kind > RangeClamps ? std::uint16_t(RangeClamps) : kind;
        range.currentCode = code;
        return range;
    }
    if (code >= info.rangeDigits.size())
        return std::nullopt;
    const std::uint16_t digit = info.rangeDigits[code];
    if (digit >= kClampTableSize)
        return std::nullopt;
    // Type 0 of the shared tables: clamp table, integer part times 4, kind 2
    // above digit 4, else 1.
    const pcn::RangeEntry computed = pcn::computedRangeEntry(0, std::uint8_t(digit), 0, pcn::FractionRule::Truncate);
    range.entry[0] = computed[0];
    range.entry[1] = computed[1];
    range.entry[2] = computed[2];
    range.currentCode = std::uint8_t(digit);
    return range;
}

bool putVoltage(pcn::RangeEntry &entry, double value)
{
    const auto words = rangeWords(value, false);
    if (!words)
        return false;
    entry[3] = (*words)[0];
    entry[4] = (*words)[1];
    return true;
}

std::optional<PointRange> class0Range(const DeviceInfo &info, std::uint8_t c, std::uint8_t v)
{
    auto range = threePhaseCurrent(info, c, false);
    if (!range || v >= kClass0VoltageTableSize)
        return std::nullopt;
    const pcn::RangeEntry voltage = pcn::computedRangeEntry(0, 0, v, pcn::FractionRule::Truncate);
    range->entry[3] = voltage[3];
    range->entry[4] = voltage[4];
    return range;
}

std::optional<PointRange> singlePhaseOlderRange(int modelClass, std::uint8_t c, std::uint8_t v)
{
    const bool class1 = modelClass == 1;
    const unsigned currentSize = class1 ? kClass1CurrentTableSize : kClass2CurrentTableSize;
    const unsigned voltageSize = class1 ? kClass1VoltageTableSize : kClass2VoltageTableSize;
    if (c >= currentSize || v >= voltageSize)
        return std::nullopt;
    // Plain ranges (kind 0), integer parts as they are.
    return PointRange{pcn::computedRangeEntry(modelClass, c, v, pcn::FractionRule::Truncate), c};
}

std::optional<PointRange> class3Range(const DeviceInfo &info, std::uint8_t c, std::uint8_t v)
{
    auto range = threePhaseCurrent(info, c, true);
    if (!range || v >= kClass3VoltageTable.size() || !putVoltage(range->entry, kClass3VoltageTable[v]))
        return std::nullopt;
    return range;
}

std::optional<PointRange> class56Range(const DeviceInfo &info, std::uint8_t c, std::uint8_t v)
{
    const int group = c >> kGroupShift;
    const int entry = c & kGroupEntryMask;
    // 64-bit sums: the counts come from the instrument.
    std::int64_t index = entry;
    std::uint16_t kind = RangeTransformer;
    if (group == 1) {
        index = std::int64_t(info.kind1Count) + entry;
        kind = RangeClamps;
    } else if (group == 2) {
        index = std::int64_t(info.kind1Count) + info.kind2Count + entry;
        kind = RangeClamps;
    }
    if (index < 0 || index >= std::int64_t(info.rangeValue.size()) || v >= info.auxValue.size())
        return std::nullopt;
    const auto current = rangeWords(info.rangeValue[std::size_t(index)], true);
    if (!current)
        return std::nullopt;
    PointRange range;
    range.entry[0] = (*current)[0];
    range.entry[1] = (*current)[1];
    range.entry[2] = kind;
    range.currentCode = c;
    if (!putVoltage(range.entry, info.auxValue[v]))
        return std::nullopt;
    return range;
}

} // namespace

std::optional<std::array<std::uint16_t, 2>> rangeWords(double value, bool timesFour)
{
    if (!std::isfinite(value) || value < 0)
        return std::nullopt;
    // Truncated, as the instrument's archive is read everywhere: 0.05 is
    // stored as 3276 and shows as 0.049 at three decimals.
    const double whole = std::trunc(value);
    const double fraction = std::trunc((value - whole) * 65536.0);
    const double integerWord = timesFour ? whole * 4 : whole;
    if (integerWord > 0xFFFF)
        return std::nullopt;
    return std::array<std::uint16_t, 2>{std::uint16_t(integerWord), std::uint16_t(fraction)};
}

std::optional<PointRange> olderPointRange(const DeviceInfo &info, std::uint8_t currentCode, std::uint8_t voltageCode)
{
    switch (info.modelClass) {
    case 0:
        return class0Range(info, currentCode, voltageCode);
    case 1:
    case 2:
        return singlePhaseOlderRange(info.modelClass, currentCode, voltageCode);
    default:
        return std::nullopt;
    }
}

std::optional<PointRange> newerPointRange(const DeviceInfo &info, std::uint8_t currentCode, std::uint8_t voltageCode)
{
    switch (info.modelClass) {
    case 3:
        return class3Range(info, currentCode, voltageCode);
    case 5:
    case 6:
        return class56Range(info, currentCode, voltageCode);
    default:
        return std::nullopt;
    }
}

} // namespace cnv
