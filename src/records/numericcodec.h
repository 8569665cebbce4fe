// The fixed-point encodings of the stored test points and the encoding
// family that the instrument type selects.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace pcn {

// A: 16.16 quantities, 32.16 totals, current ranges stored times 4.
// B: 12.20 quantities, 32.16 totals, current ranges as they are.
// C: 12.20 voltages, current 16.16 through clamps else 12.20, totals 32.16
//    (type 5) or 28.20 (type 6), current ranges stored times 4.
enum class EncodingFamily { A, B, C };

// Family of an instrument type (0, 3: A; 1, 2: B; 5, 6: C); nothing for any
// other code, which makes a record invalid.
std::optional<EncodingFamily> encodingFamily(int instrumentType);

// True for the instrument types whose totals are 28.20 (type 6).
inline bool hasTotals28_20(int instrumentType)
{
    return instrumentType == 6;
}

struct WordPair {
    std::uint16_t high = 0;
    std::uint16_t low = 0;
};

// sign word, w1, w2, w3
using TotalWords = std::array<std::uint16_t, 4>;

// h + l / 65536
double decode16_16(std::uint16_t high, std::uint16_t low);
// (h >> 4) + (((h & 0xF) << 12) | (l >> 4)) / 65536
double decode12_20(std::uint16_t high, std::uint16_t low);
// signed word / 4096
double decodeCosPhi(std::uint16_t word);
// ((w1 << 16) | w2) + w3 / 65536, negative when the sign word is non-zero
double decodeTotal32_16(const TotalWords &words);
// (((w1 << 16) | w2) >> 4) + (((w2 & 0xF) << 16) | w3) / 1048576, signed alike
double decodeTotal28_20(const TotalWords &words);

// The inverses. Values are cut towards zero; a value beyond what the field
// can hold is clamped to the field's range (negative or NaN quantities to 0)
// instead of wrapping around.
WordPair encode16_16(double x);
WordPair encode12_20(double x);
std::uint16_t encodeCosPhi(double x);
TotalWords encodeTotal32_16(double x);
TotalWords encodeTotal28_20(double x);

} // namespace pcn
