#pragma once
// SSE2 building blocks of the four-pixel loops. Each one is the scalar
// per-pixel arithmetic of pixel.h and span.h done in lanes, so results are
// the same bit for bit.
#include <emmintrin.h>

#include <cstdint>
#include <type_traits>

#include "platform/gfx/d3d_types.h"

namespace brumil::platform::raster::simd {

// (t + (t >> 8)) >> 8 on each 16-bit lane, which equals (t * 257) >> 16 for
// every t below 65536.
[[gnu::always_inline]] inline __m128i Div255(__m128i t) {
    return _mm_mulhi_epu16(t, _mm_set1_epi16(257));
}

// Mul8 on each 16-bit lane; x * m + 128 fits 16 unsigned bits.
[[gnu::always_inline]] inline __m128i Mul8x8(__m128i x, __m128i m) {
    return Div255(_mm_add_epi16(_mm_mullo_epi16(x, m), _mm_set1_epi16(128)));
}

// The alpha of each of two pixels spread over its four 16-bit channels.
[[gnu::always_inline]] inline __m128i SpreadAlpha(__m128i x) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(x, 0xFF), 0xFF);
}

// Negatives from this one up to 0 are floored to 0 by FloorInt: its double
// sum rounds them up to the whole number.
constexpr float kFloorsToZero = -0x1p-31f;

// FloorInt on four lanes already limited by SafeCoord: in that range a float
// and its truncation convert both ways exactly, so the truncation less one
// where it went up is the floor; except for the tiny negatives FloorInt
// takes to 0.
[[gnu::always_inline]] inline __m128i FloorInt4(__m128 f) {
    const __m128i t = _mm_cvttps_epi32(f);
    const __m128 down = _mm_and_ps(_mm_cmpgt_ps(_mm_cvtepi32_ps(t), f),
                                   _mm_cmplt_ps(f, _mm_set1_ps(kFloorsToZero)));
    return _mm_add_epi32(t, _mm_castps_si128(down));
}

// SafeCoord on four lanes: NaN and values below the range become its low end
// (maxps answers its second operand when either is NaN).
[[gnu::always_inline]] inline __m128 SafeCoord4(__m128 f) {
    return _mm_min_ps(_mm_max_ps(f, _mm_set1_ps(-4.0e6f)), _mm_set1_ps(4.0e6f));
}

// ToChannel on four lanes: NaN and negatives 0, at most 255, else rounded.
[[gnu::always_inline]] inline __m128i ToChannel4(__m128 f) {
    const __m128 limited = _mm_min_ps(_mm_max_ps(f, _mm_setzero_ps()), _mm_set1_ps(255.0f));
    return _mm_cvttps_epi32(_mm_add_ps(limited, _mm_set1_ps(0.5f)));
}

// Four texels fetched by index; indices are never negative.
[[gnu::always_inline]] inline __m128i Gather(const std::uint32_t* tex, __m128i index) {
    const auto lo = static_cast<std::uint64_t>(_mm_cvtsi128_si64(index));
    const auto hi = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(index, index)));
    const __m128i t0 = _mm_cvtsi32_si128(int(tex[std::uint32_t(lo)]));
    const __m128i t1 = _mm_cvtsi32_si128(int(tex[lo >> 32]));
    const __m128i t2 = _mm_cvtsi32_si128(int(tex[std::uint32_t(hi)]));
    const __m128i t3 = _mm_cvtsi32_si128(int(tex[hi >> 32]));
    return _mm_unpacklo_epi64(_mm_unpacklo_epi32(t0, t1), _mm_unpacklo_epi32(t2, t3));
}

// Gather, but one load when the four indices are consecutive (all four are
// in the texture, so the load stays inside it).
[[gnu::always_inline]] inline __m128i GatherOrLoad(const std::uint32_t* tex, __m128i index) {
    const __m128i first = _mm_shuffle_epi32(index, 0);
    const __m128i run = _mm_add_epi32(first, _mm_setr_epi32(0, 1, 2, 3));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(index, run)) == 0xFFFF) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(tex + _mm_cvtsi128_si32(index)));
    }
    return Gather(tex, index);
}

// Whether every lane is zero.
[[gnu::always_inline]] inline bool AllZero(__m128i x) {
    return _mm_movemask_epi8(_mm_cmpeq_epi32(x, _mm_setzero_si128())) == 0xFFFF;
}

// Whether all four pixels have alpha 255.
[[gnu::always_inline]] inline bool AllOpaque(__m128i px) {
    const __m128i top = _mm_srai_epi32(px, 24);  // -1 exactly when alpha is 255
    return _mm_movemask_epi8(_mm_cmpeq_epi32(top, _mm_set1_epi32(-1))) == 0xFFFF;
}

// One pixel of the bilinear filter: 32-bit lanes b, g, r, a of
// (top * (256 - wy) + bottom * wy + 32768) >> 16, where top and bottom are
// each row's mix a * (256 - wx) + b * wx. `rowPair` holds, as 16-bit lanes,
// the left and right texel of each channel side by side; `wxPair` holds
// 256 - wx and wx in every 32-bit lane; `wy` and `wyInv` hold wy and 256 - wy.
// Row mixes stay below 65281 and the sum below 2^24, so the float products
// and sums are exact.
[[gnu::always_inline]] inline __m128i BilinearPixel(__m128i topPair, __m128i bottomPair,
                                                    __m128i wxPair, __m128 wy, __m128 wyInv) {
    const __m128 top = _mm_cvtepi32_ps(_mm_madd_epi16(topPair, wxPair));
    const __m128 bottom = _mm_cvtepi32_ps(_mm_madd_epi16(bottomPair, wxPair));
    const __m128 sum = _mm_add_ps(_mm_add_ps(_mm_mul_ps(top, wyInv), _mm_mul_ps(bottom, wy)),
                                  _mm_set1_ps(32768.0f));
    return _mm_srli_epi32(_mm_cvttps_epi32(sum), 16);
}

// Four bilinear pixels from their corner texels (t00 top left, t10 top right,
// t01 bottom left, t11 bottom right) and weights wx, wy in 0..255.
[[gnu::always_inline]] inline __m128i Bilinear4(__m128i t00, __m128i t10, __m128i t01, __m128i t11,
                                                __m128i wx, __m128i wy) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i pairs =
        _mm_or_si128(_mm_sub_epi32(_mm_set1_epi32(256), wx), _mm_slli_epi32(wx, 16));
    const __m128 fy = _mm_cvtepi32_ps(wy);
    const __m128 fyInv = _mm_sub_ps(_mm_set1_ps(256.0f), fy);
    const __m128i topLo = _mm_unpacklo_epi8(t00, t10), topHi = _mm_unpackhi_epi8(t00, t10);
    const __m128i botLo = _mm_unpacklo_epi8(t01, t11), botHi = _mm_unpackhi_epi8(t01, t11);
    const auto pixel = [&](__m128i top, __m128i bottom, auto lane) {
        constexpr int k = decltype(lane)::value * 0x55;
        return BilinearPixel(top, bottom, _mm_shuffle_epi32(pairs, k), _mm_shuffle_ps(fy, fy, k),
                             _mm_shuffle_ps(fyInv, fyInv, k));
    };
    using L0 = std::integral_constant<int, 0>;
    using L1 = std::integral_constant<int, 1>;
    using L2 = std::integral_constant<int, 2>;
    using L3 = std::integral_constant<int, 3>;
    const __m128i p0 = pixel(_mm_unpacklo_epi8(topLo, zero), _mm_unpacklo_epi8(botLo, zero), L0{});
    const __m128i p1 = pixel(_mm_unpackhi_epi8(topLo, zero), _mm_unpackhi_epi8(botLo, zero), L1{});
    const __m128i p2 = pixel(_mm_unpacklo_epi8(topHi, zero), _mm_unpacklo_epi8(botHi, zero), L2{});
    const __m128i p3 = pixel(_mm_unpackhi_epi8(topHi, zero), _mm_unpackhi_epi8(botHi, zero), L3{});
    return _mm_packus_epi16(_mm_packs_epi32(p0, p1), _mm_packs_epi32(p2, p3));
}

// Bilinear4 with each pixel's left and right texels side by side in memory:
// `top` and `bottom` hold the two 64-bit pairs of one pixel each per lane
// index (top[i] = t00 then t10 of pixel i, bottom[i] likewise one row down).
// In 16-bit lanes, two pixels at a time: each row's mix is below 65281, and
// the column mix (t * (256 - wy) + b * wy + 32768) >> 16 is put together
// from the products' high and low halves and the carries of their sum.
[[gnu::always_inline]] inline __m128i Bilinear4Pairs(const __m128i top[4], const __m128i bottom[4],
                                                     __m128i wx, __m128i wy) {
    const __m128i zero = _mm_setzero_si128(), c256 = _mm_set1_epi16(256);
    // Weights of pixels 0 and 1, then 2 and 3, each over its four channels.
    const auto spread = [](__m128i w, __m128i& w01, __m128i& w23) {
        const __m128i w16 = _mm_packs_epi32(w, w);
        const __m128i twice = _mm_unpacklo_epi16(w16, w16);
        w01 = _mm_unpacklo_epi32(twice, twice);
        w23 = _mm_unpackhi_epi32(twice, twice);
    };
    __m128i wx01, wx23, wy01, wy23;
    spread(wx, wx01, wx23);
    spread(wy, wy01, wy23);
    // A row's mix for two pixels: left * (256 - wx) + right * wx.
    const auto row = [&](__m128i pair0, __m128i pair1, __m128i w) {
        const __m128i lr = _mm_shuffle_epi32(_mm_unpacklo_epi64(pair0, pair1), 0xD8);
        const __m128i left = _mm_unpacklo_epi8(lr, zero), right = _mm_unpackhi_epi8(lr, zero);
        return _mm_add_epi16(_mm_mullo_epi16(left, _mm_sub_epi16(c256, w)),
                             _mm_mullo_epi16(right, w));
    };
    const auto column = [&](__m128i t, __m128i b, __m128i w) {
        const __m128i wInv = _mm_sub_epi16(c256, w);
        const __m128i lo1 = _mm_mullo_epi16(t, wInv), lo2 = _mm_mullo_epi16(b, w);
        const __m128i hi = _mm_add_epi16(_mm_mulhi_epu16(t, wInv), _mm_mulhi_epu16(b, w));
        const __m128i lo = _mm_add_epi16(lo1, lo2);
        // -1 where lo1 + lo2 did not pass 65535, else 0; lo >> 15 is the
        // carry of adding 32768.
        const __m128i noCarry = _mm_cmpeq_epi16(_mm_adds_epu16(lo1, lo2), lo);
        const __m128i carries = _mm_add_epi16(_mm_srli_epi16(lo, 15), _mm_set1_epi16(1));
        return _mm_add_epi16(_mm_add_epi16(hi, carries), noCarry);
    };
    const __m128i p01 = column(row(top[0], top[1], wx01), row(bottom[0], bottom[1], wx01), wy01);
    const __m128i p23 = column(row(top[2], top[3], wx23), row(bottom[2], bottom[3], wx23), wy23);
    return _mm_packus_epi16(p01, p23);
}

// Loads the four 64-bit texel pairs that start at the given indices (each
// pair inside the texture).
[[gnu::always_inline]] inline void LoadPairs(const std::uint32_t* tex, __m128i index,
                                             __m128i out[4]) {
    const auto lo = static_cast<std::uint64_t>(_mm_cvtsi128_si64(index));
    const auto hi = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(index, index)));
    const auto load = [&](std::uint64_t i) {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(tex + i));
    };
    out[0] = load(std::uint32_t(lo));
    out[1] = load(lo >> 32);
    out[2] = load(std::uint32_t(hi));
    out[3] = load(hi >> 32);
}

// The depth test on four lanes as Compare does it (NaN fails all but "not
// equal" and "always").
[[gnu::always_inline]] inline __m128 DepthPass(D3DLong func, __m128 z, __m128 stored) {
    switch (func) {
        case D3DCMP_NEVER:
            return _mm_setzero_ps();
        case D3DCMP_LESS:
            return _mm_cmplt_ps(z, stored);
        case D3DCMP_EQUAL:
            return _mm_cmpeq_ps(z, stored);
        case D3DCMP_LESSEQUAL:
            return _mm_cmple_ps(z, stored);
        case D3DCMP_GREATER:
            return _mm_cmpgt_ps(z, stored);
        case D3DCMP_NOTEQUAL:
            return _mm_cmpneq_ps(z, stored);
        case D3DCMP_GREATEREQUAL:
            return _mm_cmpge_ps(z, stored);
        default:
            return _mm_castsi128_ps(_mm_set1_epi32(-1));
    }
}

}  // namespace brumil::platform::raster::simd
