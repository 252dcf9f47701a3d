#pragma once
// Number helpers of the shared helper object: clamps, list extremes, the
// floored remainder, colour blending, angles, 32-bit shifts, index sorting and
// bounded byte copies. All are free of state.

#include <cstdint>
#include <span>

#include "core/vb_types.h"

namespace brumil::core {

// Clamps `value` in place to min..max (below min it becomes min, above max max).
template <typename T, typename U, typename V>
void Math_Bound(T& value, const U& min, const V& max) {
    if (value < static_cast<T>(min)) value = static_cast<T>(min);
    if (value > static_cast<T>(max)) value = static_cast<T>(max);
}

// The largest / smallest element; the first one when several are equal; a
// value-initialised T for an empty list.
template <typename T>
T Math_Max(std::span<const T> list) {
    if (list.empty()) return T{};
    T best = list.front();
    for (const T& v : list) {
        if (v > best) best = v;
    }
    return best;
}
template <typename T>
T Math_Min(std::span<const T> list) {
    if (list.empty()) return T{};
    T best = list.front();
    for (const T& v : list) {
        if (v < best) best = v;
    }
    return best;
}

// True when `a` equals one of the elements.
template <typename T, typename U>
bool CompareEach(const T& a, std::span<const U> list) {
    for (const U& v : list) {
        if (a == v) return true;
    }
    return false;
}

// Sorts `index` so that data[index[k]] ascends (descends when `decreasing`),
// by Shell sort with the gaps 1, 4, 13, 40, ... (h = 3h + 1). Equal keys may
// change order. Nothing happens when an index entry lies outside `data`.
template <typename T>
void SortIndex(std::span<const T> data, std::span<Long> index, bool decreasing) {
    const std::size_t n = index.size();
    for (Long i : index) {
        if (i < 0 || static_cast<std::size_t>(i) >= data.size()) return;
    }
    std::size_t h = 1;
    while (h < n / 3) h = 3 * h + 1;
    for (; h >= 1; h /= 3) {
        for (std::size_t i = h; i < n; ++i) {
            const Long moving = index[i];
            const T& key = data[static_cast<std::size_t>(moving)];
            std::size_t j = i;
            while (j >= h) {
                const T& other = data[static_cast<std::size_t>(index[j - h])];
                const bool outOfOrder = decreasing ? other < key : key < other;
                if (!outOfOrder) break;
                index[j] = index[j - h];
                j -= h;
            }
            index[j] = moving;
        }
    }
}

// Number - Int(Number / Div) * Div with Int rounding down: the floored
// remainder, with the sign of Div. A Div of 0 gives 0.
Single Math_Remainder(Single number, Single div);

// The colour at `t` (clamped to 0..1) along the list of 32-bit ARGB colours:
// with n the last index and i = Int(t * n), colour n when i = n, otherwise
// colours i and i + 1 blended channel by channel by t * n - i (each channel
// rounded half to even). An empty list gives 0.
void Math_Color(Single t, std::span<const Long> colors, Long& result);

// The distance between two points, in single precision.
Single Math_Length(Single x1, Single y1, Single x2, Single y2);

// The angle in radians from point 1 towards point 2 in screen coordinates
// (y grows downwards): 0 to the right, pi/2 up, pi to the left, 3pi/2 down;
// always in 0 <= a < 2pi. Equal points give 0.
Single Math_HomingRadian(Single x1, Single y1, Single x2, Single y2);

// 32-bit shifts. SHL and SHR move zeros in; SAR copies the sign bit. A shift of
// 32 or more gives 0 (SAR: 0 or -1); a negative shift leaves the value as is.
Long SHL(Long value, Long bits);
Long SHR(Long value, Long bits);
Long SAR(Long value, Long bits);

// Copies `length` bytes from src[srcStart] to dest[destStart] (the ranges may
// overlap) and answers 0 when length >= 1 and both ranges lie inside their
// arrays; otherwise copies nothing and answers 1. Starts are 0-based indexes.
Long CopyMemory(std::span<std::uint8_t> dest, Long destStart, std::span<const std::uint8_t> src,
                Long srcStart, Long length);
// Sets `length` bytes from dest[destStart] to 0: 0, or 1 when the range lies
// outside the array (a negative length included). Nothing happens on 1.
Long ZeroMemory(std::span<std::uint8_t> dest, Long destStart, Long length);

}  // namespace brumil::core
