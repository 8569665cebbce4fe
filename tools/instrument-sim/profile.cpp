#include "profile.h"

#include "wire.h"

#include <cmath>

namespace sim {

namespace {

// A range triple as the newer instruments deliver it.
struct Triple {
    std::uint16_t code;
    std::uint16_t high;
    std::uint16_t low;
};

// Splits a value into a high word of `highScale` units per 1 and a low word
// of 65536 times finer units, rounding the low word up so that a reader that
// truncates to a few decimals gets the intended value back.
Triple scaledTriple(std::uint16_t code, double value, double highScale)
{
    const double scaled = value * highScale;
    const double high = std::floor(scaled);
    const double low = std::ceil((scaled - high) * 65536.0);
    return {code, static_cast<std::uint16_t>(high), static_cast<std::uint16_t>(low)};
}

// Classes 5 and 6: voltage ranges (code 1), plain current ranges (code 2),
// clamp ranges (code 3) and one range of the fourth kind (code 4).
const double kSingleVoltages[] = {60, 120, 240};
const double kSinglePlain[] = {0.05, 0.25, 1, 5, 10, 50, 100};
const double kSingleClamp[] = {10, 100, 1000};
const double kSingleFourth[] = {5};

// Class 3: transformer ranges 1, 10, 50 A and clamp ranges 10, 100, 1000 A,
// delivered as (kind, current x 4, fraction).
const Triple kClass3Triples[] = {{1, 4, 0}, {1, 40, 0}, {1, 200, 0}, {2, 40, 0}, {2, 400, 0}, {2, 4000, 0}};

QVector<Triple> newerTriples(int modelClass)
{
    QVector<Triple> list;
    if (modelClass == 3) {
        for (const Triple &t : kClass3Triples)
            list.append(t);
        return list;
    }
    for (double v : kSingleVoltages)
        list.append(scaledTriple(1, v, 64.0));
    for (double v : kSinglePlain)
        list.append(scaledTriple(2, v, 512.0));
    for (double v : kSingleClamp)
        list.append(scaledTriple(3, v, 4.0));
    for (double v : kSingleFourth)
        list.append(scaledTriple(4, v, 512.0));
    return list;
}

} // namespace

QByteArray InstrumentProfile::identifyBlock(int archiveSize) const
{
    QByteArray block(pageBytes(), '\0');
    QByteArray type;
    if (!encodeTypeText(typeName, type))
        type = QByteArray(16, '\0');
    block.replace(0, 16, type);
    putU16(block, 16, serial);
    putU16(block, 18, version1);
    putU16(block, 20, version2);
    if (newer) {
        int offset = 44;
        for (const Triple &t : newerTriples(modelClass)) {
            putU16(block, offset, t.code);
            putU16(block, offset + 2, t.high);
            putU16(block, offset + 4, t.low);
            offset += 6;
        }
        // The list ends with a code of 0 (already zero).
    }
    const int sizeOffset = (modelClass == 5 || modelClass == 6) ? 378 : 274;
    putU16(block, sizeOffset, static_cast<std::uint16_t>(archiveSize));
    return block;
}

bool makeProfile(int modelClass, std::uint16_t serial, InstrumentProfile &out)
{
    InstrumentProfile p;
    p.modelClass = modelClass;
    p.serial = serial;
    switch (modelClass) {
    case 0:
        // Version 3.1.02376: the installed ranges are named by the digits
        // after the second point, last digit first: 6 (100 A clamps),
        // 7 (1000 A clamps), 3 (50 A transformer), 2 (10 A transformer).
        p.typeName = QStringLiteral("Q-Q77");
        p.version1 = 0x310;
        p.version2 = 0x2376;
        p.currentRanges = {{0, 100, true}, {1, 1000, true}, {2, 50, false}, {3, 10, false}};
        p.voltageRanges = {400, 250, 100};
        break;
    case 1:
        p.typeName = QStringLiteral("Q-W75");
        p.version1 = 0x49;
        p.version2 = 0x1;
        p.threePhase = false;
        {
            const double currents[] = {50, 10, 5, 2.5, 1, 0.5, 0.25, 0.1, 0.05};
            for (int i = 0; i < 9; ++i)
                p.currentRanges.append({static_cast<std::uint8_t>(i), currents[i], false});
        }
        p.voltageRanges = {220, 120, 60};
        break;
    case 2:
        p.typeName = QStringLiteral("Q.W75");
        p.version1 = 0x51;
        p.version2 = 0x1;
        p.threePhase = false;
        {
            const double currents[] = {100, 50, 25, 10, 5, 2.5, 1, 0.5, 0.25, 0.1, 0.05};
            for (int i = 0; i < 11; ++i)
                p.currentRanges.append({static_cast<std::uint8_t>(i), currents[i], false});
        }
        p.voltageRanges = {480, 240, 120, 60};
        break;
    case 3:
        p.newer = true;
        p.typeName = QStringLiteral("Q.Q77M");
        p.version1 = 0x31;
        p.version2 = 0xF001; // 0xF000 or more: the range list is delivered
        for (int i = 0; i < 6; ++i) {
            const Triple &t = kClass3Triples[i];
            p.currentRanges.append({static_cast<std::uint8_t>(i), t.high / 4.0, t.code == 2});
        }
        p.voltageRanges = {240, 120, 60};
        break;
    case 5:
    case 6:
        p.newer = true;
        p.threePhase = false;
        p.typeName = modelClass == 5 ? QStringLiteral("Q-W76") : QStringLiteral("Q-W76M");
        // 7.0.15 and 7.2.1: the digits after the first point tell 5 from 6.
        p.version1 = modelClass == 5 ? 0x70 : 0x72;
        p.version2 = modelClass == 5 ? 0x15 : 0x1;
        // Current code: group in bits 5-6 (0 plain, 1 clamps, 2 fourth kind),
        // index within the group in bits 0-4.
        for (int i = 0; i < 7; ++i)
            p.currentRanges.append({static_cast<std::uint8_t>(i), kSinglePlain[i], false});
        for (int i = 0; i < 3; ++i)
            p.currentRanges.append({static_cast<std::uint8_t>(32 + i), kSingleClamp[i], true});
        p.currentRanges.append({64, kSingleFourth[0], true});
        for (double v : kSingleVoltages)
            p.voltageRanges.append(v);
        break;
    default:
        return false;
    }
    out = p;
    return true;
}

} // namespace sim
