#pragma once
// The value types and conversions the program inherits from its original
// language. Widths are fixed where stored files, peers or replays rely on them.

#include <cmath>
#include <cstdint>
#include <limits>

namespace brumil {

using Long = std::int32_t;     // 32-bit integer
using Integer = std::int16_t;  // 16-bit integer
using Single = float;          // single precision
using Byte = std::uint8_t;

// Stored flags use -1 for True.
constexpr Integer kTrue = -1;
constexpr Integer kFalse = 0;
constexpr Integer ToFlag(bool b) {
    return b ? kTrue : kFalse;
}

// Float to integer as the original language converts: to the nearest whole
// number, halves to the even neighbour. Values outside the 32-bit range clamp;
// NaN gives 0.
inline Long RoundToLong(double v) {
    if (std::isnan(v)) return 0;
    const double r = std::nearbyint(v);  // default rounding mode: half to even
    if (r >= 2147483647.0) return std::numeric_limits<Long>::max();
    if (r <= -2147483648.0) return std::numeric_limits<Long>::min();
    return static_cast<Long>(r);
}

inline Integer RoundToInteger(double v) {
    const Long l = RoundToLong(v);
    if (l > 32767) return 32767;
    if (l < -32768) return -32768;
    return static_cast<Integer>(l);
}

}  // namespace brumil
