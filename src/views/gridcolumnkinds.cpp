#include "gridcolumnkinds.h"

#include "records/numberformat.h"

#include <array>

namespace {

using Q = GridQuantity;
using C = ColumnColour;

const std::array<GridColumnKind, 28> kPhase34{{
    {"NumTestPoint", Q::PointNumber, 0, 0, C::Fixed},
    {"Error", Q::Error, 0, 3, C::Fixed},
    {"Ua", Q::PhaseVoltage, 0, 3, C::PhaseA},
    {"Ub", Q::PhaseVoltage, 1, 3, C::PhaseB},
    {"Uc", Q::PhaseVoltage, 2, 3, C::PhaseC},
    {"Ia", Q::Current, 0, 3, C::PhaseA},
    {"Ib", Q::Current, 1, 3, C::PhaseB},
    {"Ic", Q::Current, 2, 3, C::PhaseC},
    {"Uab", Q::LineVoltage, 0, 3, C::PhaseA},
    {"Ubc", Q::LineVoltage, 1, 3, C::PhaseB},
    {"Uca", Q::LineVoltage, 2, 3, C::PhaseC},
    {"Kpa", Q::PowerFactor, 0, 2, C::PhaseA},
    {"Kpb", Q::PowerFactor, 1, 2, C::PhaseB},
    {"Kpc", Q::PowerFactor, 2, 2, C::PhaseC},
    {"Kps", Q::PowerFactor, kTotalPhase, 2, C::Total},
    {"ActivePowerA", Q::ActivePower, 0, 3, C::PhaseA},
    {"ActivePowerB", Q::ActivePower, 1, 3, C::PhaseB},
    {"ActivePowerC", Q::ActivePower, 2, 3, C::PhaseC},
    {"ActivePowerS", Q::ActivePower, kTotalPhase, 3, C::Total},
    {"ApparentPowerA", Q::ApparentPower, 0, 3, C::PhaseA},
    {"ApparentPowerB", Q::ApparentPower, 1, 3, C::PhaseB},
    {"ApparentPowerC", Q::ApparentPower, 2, 3, C::PhaseC},
    {"ApparentPowerS", Q::ApparentPower, kTotalPhase, 3, C::Total},
    {"ReactiveGeomPowerS", Q::ReactiveGeom, kTotalPhase, 3, C::Total},
    {"ReactiveShiftPowerS", Q::ReactiveShift, kTotalPhase, 3, C::Total},
    {"ReactiveCrossPowerS", Q::ReactiveCross, kTotalPhase, 3, C::Total},
    {"LimU", Q::RangeU, 0, 0, C::PhaseB},
    {"LimI", Q::RangeI, 0, 0, C::PhaseB},
}};

const std::array<GridColumnKind, 16> kPhase33{{
    kPhase34[0], kPhase34[1], kPhase34[8], kPhase34[9], kPhase34[10], // Uab, Ubc, Uca
    kPhase34[5], kPhase34[6], kPhase34[7], // Ia, Ib, Ic
    kPhase34[14], kPhase34[18], kPhase34[22], // PF, P, S totals
    kPhase34[23], kPhase34[24], kPhase34[25], // Q geometric, phase-shift, cross
    kPhase34[26], kPhase34[27], // ranges
}};

const std::array<GridColumnKind, 11> kPhase12{{
    kPhase34[0], kPhase34[1], kPhase34[2], kPhase34[5], // Ua, Ia
    kPhase34[14], kPhase34[18], kPhase34[22], // PF, P, S totals
    kPhase34[23], kPhase34[24], // Q geometric, phase-shift
    kPhase34[26], kPhase34[27], // ranges
}};

double phaseOrTotal(const std::array<double, 3> &perPhase, double total, int phase)
{
    return phase >= 0 && phase < 3 ? perPhase[phase] : total;
}

int clampPhase(int phase)
{
    return phase >= 0 && phase < 3 ? phase : 0;
}

} // namespace

int gridColumnCount(GridKind grid)
{
    return kGridColumnCount[grid];
}

const GridColumnKind &gridColumnKind(GridKind grid, int code)
{
    switch (grid) {
    case GridPhase12:
        return kPhase12.at(code);
    case GridPhase33:
        return kPhase33.at(code);
    case GridPhase34:
        break;
    }
    return kPhase34.at(code);
}

QString gridColumnTitlePath(GridKind grid, int code)
{
    return QStringLiteral("ResultsTableTitles/") + QLatin1String(gridColumnKind(grid, code).titleKey);
}

QColor columnColour(ColumnColour colour)
{
    switch (colour) {
    case C::PhaseA:
        return {255, 255, 185};
    case C::PhaseB:
        return {202, 247, 183};
    case C::PhaseC:
        return {255, 155, 155};
    case C::Total:
        return {220, 220, 255};
    case C::Fixed:
        break;
    }
    return {255, 150, 255};
}

QColor gridColumnColour(GridKind grid, int code)
{
    return columnColour(gridColumnKind(grid, code).colour);
}

QColor currentCellColour()
{
    return {255, 153, 0};
}

QString powerFactorText(double value, char character, const QLocale &locale)
{
    QString text = formatTruncated(value, 2, locale);
    // A point that was never derived carries a blank character: show the number alone.
    if (character == 'L' || character == 'C')
        text += QLatin1Char(character);
    return text;
}

QString gridCellText(GridKind grid, int code, const pcn::_datasample &point, int pointIndex, const QLocale &locale,
                     const RangeTextContext &ranges)
{
    const GridColumnKind &kind = gridColumnKind(grid, code);
    const int d = kind.decimals;
    switch (kind.quantity) {
    case Q::PointNumber:
        return QString::number(pointIndex + 1);
    case Q::Error:
        return formatTruncated(point.errorPercent, d, locale);
    case Q::PhaseVoltage:
        return formatTruncated(point.U[clampPhase(kind.phase)], d, locale);
    case Q::Current:
        return formatTruncated(point.I[clampPhase(kind.phase)], d, locale);
    case Q::LineVoltage:
        return formatTruncated(point.Uline[clampPhase(kind.phase)], d, locale);
    case Q::PowerFactor: {
        const int phase = kind.phase >= 0 && kind.phase <= kTotalPhase ? kind.phase : kTotalPhase;
        return powerFactorText(phaseOrTotal(point.cosPhi, point.pfTotal, phase), point.pfChar[phase], locale);
    }
    case Q::ActivePower:
        return formatTruncated(phaseOrTotal(point.P, point.Ptotal, kind.phase), d, locale);
    case Q::ApparentPower:
        return formatTruncated(phaseOrTotal(point.S, point.Stotal, kind.phase), d, locale);
    case Q::ReactiveGeom:
        return formatTruncated(point.QgeomTotal, d, locale);
    case Q::ReactiveShift:
        return formatTruncated(point.QshiftTotal, d, locale);
    case Q::ReactiveCross:
        return formatTruncated(point.QcrossTotal, d, locale);
    case Q::RangeU:
        return rangeVoltageText(point.range, locale);
    case Q::RangeI:
        return rangeCurrentText(point.range, ranges, locale);
    }
    return {};
}

bool gridForScheme(int scheme, GridKind *grid)
{
    switch (scheme) {
    case SchemeThreePhaseFourWire:
        *grid = GridPhase34;
        return true;
    case SchemeThreePhaseThreeWire:
        *grid = GridPhase33;
        return true;
    case SchemeSinglePhaseTwoWire:
        *grid = GridPhase12;
        return true;
    default:
        return false;
    }
}
