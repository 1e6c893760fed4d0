#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace core {

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), the way
// every conversion of this system to an integer rounds. Independent of the FPU rounding mode.
inline double roundHalfEven(double x)
{
    if (!std::isfinite(x))
        return x;
    double r = std::floor(x);
    const double diff = x - r;  // exact below 2^52; larger doubles are integral (diff 0)
    if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0))
        r += 1.0;
    return r;
}

// Out-of-range values saturate at the type's limits instead of overflowing: a position or
// size that cannot be held is better pinned to the edge than wrapped to the other side or
// left undefined. NaN gives 0.
template <typename Int>
inline Int roundTo(double x)
{
    if (std::isnan(x))
        return 0;
    const double r = roundHalfEven(x);
    if (r <= double(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    if (r >= double(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    return Int(r);
}

inline std::int16_t roundToInt16(double x) { return roundTo<std::int16_t>(x); }
inline std::int32_t roundToInt32(double x) { return roundTo<std::int32_t>(x); }

// Integer results (sums, products) stored into 16 or 32 bits saturate the same way.
inline std::int16_t clampToInt16(long long v)
{
    if (v < std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    if (v > std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    return std::int16_t(v);
}

inline std::int32_t clampToInt32(long long v)
{
    if (v < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return std::int32_t(v);
}

}  // namespace core
