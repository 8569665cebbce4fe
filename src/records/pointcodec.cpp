#include "records/pointcodec.h"

#include "records/derivedvalues.h"
#include "records/numericcodec.h"
#include "records/pcnlayout.h"

#include <cmath>
#include <limits>

namespace pcn {

namespace {

enum class Fixed { F16_16, F12_20 };

double readFixed(const std::uint8_t *p, std::size_t offset, Fixed f)
{
    const std::uint16_t high = getWord(p, offset);
    const std::uint16_t low = getWord(p, offset + 2);
    return f == Fixed::F16_16 ? decode16_16(high, low) : decode12_20(high, low);
}

void writeFixed(std::uint8_t *p, std::size_t offset, Fixed f, double x)
{
    const WordPair w = f == Fixed::F16_16 ? encode16_16(x) : encode12_20(x);
    putWord(p, offset, w.high);
    putWord(p, offset + 2, w.low);
}

double readTotal(const std::uint8_t *p, std::size_t offset, bool is28_20)
{
    const TotalWords w{getWord(p, offset), getWord(p, offset + 2), getWord(p, offset + 4), getWord(p, offset + 6)};
    return is28_20 ? decodeTotal28_20(w) : decodeTotal32_16(w);
}

void writeTotal(std::uint8_t *p, std::size_t offset, bool is28_20, double x)
{
    const TotalWords w = is28_20 ? encodeTotal28_20(x) : encodeTotal32_16(x);
    for (std::size_t k = 0; k < 4; ++k)
        putWord(p, offset + 2 * k, w[k]);
}

struct PointFormats {
    Fixed voltage;
    Fixed current;
    bool totals28_20;
};

PointFormats formatsFor(EncodingFamily family, int instrumentType, const RangeEntry &range)
{
    switch (family) {
    case EncodingFamily::A:
        return {Fixed::F16_16, Fixed::F16_16, false};
    case EncodingFamily::B:
        return {Fixed::F12_20, Fixed::F12_20, false};
    case EncodingFamily::C:
        break;
    }
    const Fixed current = range[2] == RangeClamps ? Fixed::F16_16 : Fixed::F12_20;
    return {Fixed::F12_20, current, hasTotals28_20(instrumentType)};
}

template <typename T>
T roundClamped(double x)
{
    if (std::isnan(x))
        return 0;
    const double r = std::round(x);
    if (r <= double(std::numeric_limits<T>::min()))
        return std::numeric_limits<T>::min();
    if (r >= double(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return T(r);
}

template <typename T>
T truncClamped(double x)
{
    if (std::isnan(x))
        return 0;
    const double t = std::trunc(x);
    if (t <= double(std::numeric_limits<T>::min()))
        return std::numeric_limits<T>::min();
    if (t >= double(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return T(t);
}

} // namespace

RangeEntry readRangeEntry(const std::uint8_t *bytes)
{
    RangeEntry entry{};
    for (std::size_t k = 0; k < entry.size(); ++k)
        entry[k] = getWord(bytes, 2 * k);
    return entry;
}

void writeRangeEntry(std::uint8_t *bytes, const RangeEntry &entry)
{
    for (std::size_t k = 0; k < entry.size(); ++k)
        putWord(bytes, 2 * k, entry[k]);
}

pcn::_datasample decodePoint(const std::uint8_t *block, int instrumentType, const RangeEntry &range)
{
    const EncodingFamily family = encodingFamily(instrumentType).value_or(EncodingFamily::A);
    const PointFormats f = formatsFor(family, instrumentType, range);
    pcn::_datasample point;
    std::array<bool, 3> reactiveSign{};
    for (std::size_t p = 0; p < 3; ++p) {
        const std::size_t g = p * pt::phaseGroupSize;
        point.I[p] = readFixed(block, g + pt::current, f.current);
        reactiveSign[p] = getWord(block, g + pt::reactiveSign) != 0;
        point.cosPhi[p] = decodeCosPhi(getWord(block, g + pt::cosPhi));
        point.U[p] = readFixed(block, g + pt::voltage, f.voltage);
        point.Uline[p] = readFixed(block, g + pt::lineVoltage, f.voltage);
    }
    point.Ptotal = readTotal(block, pt::Ptotal, f.totals28_20);
    point.Stotal = readTotal(block, pt::Stotal, f.totals28_20);
    point.QcrossTotal = readTotal(block, pt::QcrossTotal, f.totals28_20);
    point.QshiftTotal = readTotal(block, pt::QshiftTotal, f.totals28_20);
    point.QgeomTotal = readTotal(block, pt::QgeomTotal, f.totals28_20);
    const auto error = std::int32_t((std::uint32_t(getWord(block, pt::error)) << 16) | getWord(block, pt::error + 2));
    point.errorPercent = error / 65536.0 * 100.0;
    point.extraValue = std::int16_t(getWord(block, pt::extraValue)) / 256.0;
    point.range = range;
    computeDerivedValues(point, reactiveSign);
    return point;
}

void encodePoint(const pcn::_datasample &point, int instrumentType, std::uint8_t *block)
{
    std::fill(block, block + kPointSize, std::uint8_t(0));
    const EncodingFamily family = encodingFamily(instrumentType).value_or(EncodingFamily::A);
    const PointFormats f = formatsFor(family, instrumentType, point.range);
    for (std::size_t p = 0; p < 3; ++p) {
        const std::size_t g = p * pt::phaseGroupSize;
        writeFixed(block, g + pt::current, f.current, point.I[p]);
        putWord(block, g + pt::reactiveSign, std::signbit(point.Q[p]) ? 0xFFFF : 0);
        putWord(block, g + pt::cosPhi, encodeCosPhi(point.cosPhi[p]));
        writeFixed(block, g + pt::voltage, f.voltage, point.U[p]);
        writeFixed(block, g + pt::lineVoltage, f.voltage, point.Uline[p]);
    }
    writeTotal(block, pt::Ptotal, f.totals28_20, point.Ptotal);
    writeTotal(block, pt::Stotal, f.totals28_20, point.Stotal);
    writeTotal(block, pt::QcrossTotal, f.totals28_20, point.QcrossTotal);
    writeTotal(block, pt::QshiftTotal, f.totals28_20, point.QshiftTotal);
    writeTotal(block, pt::QgeomTotal, f.totals28_20, point.QgeomTotal);
    const auto error = std::uint32_t(roundClamped<std::int32_t>(point.errorPercent * 0.01 * 65536.0));
    putWord(block, pt::error, std::uint16_t(error >> 16));
    putWord(block, pt::error + 2, std::uint16_t(error & 0xFFFF));
    putWord(block, pt::extraValue, std::uint16_t(truncClamped<std::int16_t>(point.extraValue * 256.0)));
}

} // namespace pcn
