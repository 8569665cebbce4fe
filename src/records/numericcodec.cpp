#include "records/numericcodec.h"

#include <cmath>
#include <limits>

namespace pcn {

namespace {

// trunc(x), clamped to [lo, hi]; NaN gives lo.
template <typename T>
T truncClamped(double x, T lo, T hi)
{
    if (!(x >= double(lo)))
        return lo;
    if (x >= double(hi))
        return hi;
    return T(std::trunc(x));
}

WordPair split32(std::uint32_t v)
{
    return {std::uint16_t(v >> 16), std::uint16_t(v & 0xFFFF)};
}

} // namespace

std::optional<EncodingFamily> encodingFamily(int instrumentType)
{
    switch (instrumentType) {
    case 0:
    case 3:
        return EncodingFamily::A;
    case 1:
    case 2:
        return EncodingFamily::B;
    case 5:
    case 6:
        return EncodingFamily::C;
    default:
        return std::nullopt;
    }
}

double decode16_16(std::uint16_t high, std::uint16_t low)
{
    return high + low / 65536.0;
}

double decode12_20(std::uint16_t high, std::uint16_t low)
{
    return (high >> 4) + ((std::uint32_t(high & 0xF) << 12) | (low >> 4)) / 65536.0;
}

double decodeCosPhi(std::uint16_t word)
{
    return std::int16_t(word) / 4096.0;
}

double decodeTotal32_16(const TotalWords &w)
{
    const double magnitude = ((std::uint32_t(w[1]) << 16) | w[2]) + w[3] / 65536.0;
    return w[0] != 0 ? -magnitude : magnitude;
}

double decodeTotal28_20(const TotalWords &w)
{
    const std::uint32_t whole = ((std::uint32_t(w[1]) << 16) | w[2]) >> 4;
    const std::uint32_t fraction = (std::uint32_t(w[2] & 0xF) << 16) | w[3];
    const double magnitude = whole + fraction / 1048576.0;
    return w[0] != 0 ? -magnitude : magnitude;
}

WordPair encode16_16(double x)
{
    return split32(truncClamped<std::uint32_t>(x * 65536.0, 0, std::numeric_limits<std::uint32_t>::max()));
}

WordPair encode12_20(double x)
{
    return split32(truncClamped<std::uint32_t>(x * 1048576.0, 0, std::numeric_limits<std::uint32_t>::max()));
}

std::uint16_t encodeCosPhi(double x)
{
    return std::uint16_t(truncClamped<std::int16_t>(x * 4096.0, std::numeric_limits<std::int16_t>::min(),
                                                    std::numeric_limits<std::int16_t>::max()));
}

TotalWords encodeTotal32_16(double x)
{
    const double a = std::fabs(x);
    const std::uint32_t whole = truncClamped<std::uint32_t>(a, 0, std::numeric_limits<std::uint32_t>::max());
    std::uint16_t fraction = 0;
    if (a < 4294967296.0)
        fraction = truncClamped<std::uint16_t>((a - whole) * 65536.0, 0, 0xFFFF);
    const WordPair w = split32(whole);
    return {std::uint16_t(x < 0 ? 0xFFFF : 0), w.high, w.low, fraction};
}

TotalWords encodeTotal28_20(double x)
{
    constexpr std::uint32_t kMaxWhole = (1u << 28) - 1;
    const double a = std::fabs(x);
    const std::uint32_t m = truncClamped<std::uint32_t>(a, 0, kMaxWhole);
    std::uint32_t f = 0;
    if (a < kMaxWhole + 1.0)
        f = truncClamped<std::uint32_t>((a - m) * 1048576.0, 0, 0xFFFFF);
    return {std::uint16_t(x < 0 ? 0xFFFF : 0), std::uint16_t(m >> 12), std::uint16_t(((m << 4) | (f >> 16)) & 0xFFFF),
            std::uint16_t(f & 0xFFFF)};
}

} // namespace pcn
