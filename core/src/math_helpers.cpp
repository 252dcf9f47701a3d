#include "core/math_helpers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace brumil::core {
namespace {

bool RangeInside(std::size_t size, Long start, Long length) {
    return start >= 0 && length >= 0 &&
           static_cast<std::uint64_t>(start) + static_cast<std::uint64_t>(length) <= size;
}

Long Channel(Long color, int shift) {
    return (color >> shift) & 0xFF;
}

}  // namespace

Single Math_Remainder(Single number, Single div) {
    if (div == 0.0f) return 0.0f;
    const Single q = std::floor(number / div);
    return number - q * div;
}

void Math_Color(Single t, std::span<const Long> colors, Long& result) {
    result = 0;
    if (colors.empty()) return;
    t = std::clamp(t, 0.0f, 1.0f);
    const Long n = static_cast<Long>(colors.size()) - 1;
    const Single pos = t * static_cast<Single>(n);
    const Long i = static_cast<Long>(std::floor(pos));
    if (i >= n) {
        result = colors[static_cast<std::size_t>(n)];
        return;
    }
    const Single f = pos - static_cast<Single>(i);
    const Long a = colors[static_cast<std::size_t>(i)];
    const Long b = colors[static_cast<std::size_t>(i) + 1];
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const Single ca = static_cast<Single>(Channel(a, shift));
        const Single cb = static_cast<Single>(Channel(b, shift));
        const Long c = std::clamp<Long>(RoundToLong(ca + (cb - ca) * f), 0, 255);
        out |= static_cast<std::uint32_t>(c) << shift;
    }
    result = static_cast<Long>(out);
}

Single Math_Length(Single x1, Single y1, Single x2, Single y2) {
    const Single dx = x2 - x1;
    const Single dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}

Single Math_HomingRadian(Single x1, Single y1, Single x2, Single y2) {
    const double dx = static_cast<double>(x2) - x1;
    const double up = static_cast<double>(y1) - y2;  // screen y grows downwards
    if (dx == 0.0 && up == 0.0) return 0.0f;
    double a = std::atan2(up, dx);
    if (a < 0.0) a += 2.0 * std::numbers::pi;
    Single s = static_cast<Single>(a);
    // Rounding to single precision can land exactly on 2pi.
    if (s >= static_cast<Single>(2.0 * std::numbers::pi)) s = 0.0f;
    return s;
}

Long SHL(Long value, Long bits) {
    if (bits < 0) return value;
    if (bits >= 32) return 0;
    return static_cast<Long>(static_cast<std::uint32_t>(value) << bits);
}

Long SHR(Long value, Long bits) {
    if (bits < 0) return value;
    if (bits >= 32) return 0;
    return static_cast<Long>(static_cast<std::uint32_t>(value) >> bits);
}

Long SAR(Long value, Long bits) {
    if (bits < 0) return value;
    if (bits >= 32) return value < 0 ? -1 : 0;
    return value >> bits;  // arithmetic in C++20
}

Long CopyMemory(std::span<std::uint8_t> dest, Long destStart, std::span<const std::uint8_t> src,
                Long srcStart, Long length) {
    if (length < 1 || !RangeInside(dest.size(), destStart, length) ||
        !RangeInside(src.size(), srcStart, length)) {
        return 1;
    }
    std::memmove(dest.data() + destStart, src.data() + srcStart, static_cast<std::size_t>(length));
    return 0;
}

Long ZeroMemory(std::span<std::uint8_t> dest, Long destStart, Long length) {
    if (!RangeInside(dest.size(), destStart, length)) return 1;
    std::fill_n(dest.begin() + destStart, length, std::uint8_t{0});
    return 0;
}

}  // namespace brumil::core
