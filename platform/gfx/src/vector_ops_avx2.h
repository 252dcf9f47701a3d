#pragma once
// AVX2 building blocks of the eight-pixel loops: the four-pixel helpers of
// vector_ops.h in 256-bit lanes, so results are the same bit for bit. Only
// the sources built for AVX2 include this header, so these inline functions
// are never compiled under two sets of flags.
#include <immintrin.h>

#include <cstdint>

#include "platform/gfx/d3d_types.h"

namespace brumil::platform::raster::wide {

// (t * 257) >> 16 on each 16-bit lane: Div255 of the four-pixel loops.
[[gnu::always_inline]] inline __m256i Div255(__m256i t) {
    return _mm256_mulhi_epu16(t, _mm256_set1_epi16(257));
}

// Mul8 on each 16-bit lane; x * m + 128 fits 16 unsigned bits.
[[gnu::always_inline]] inline __m256i Mul8x8(__m256i x, __m256i m) {
    return Div255(_mm256_add_epi16(_mm256_mullo_epi16(x, m), _mm256_set1_epi16(128)));
}

// The alpha of each pixel (16-bit channels) spread over its four channels.
[[gnu::always_inline]] inline __m256i SpreadAlpha(__m256i x) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(x, 0xFF), 0xFF);
}

// FloorInt on lanes already limited by SafeCoord (see FloorInt4): negatives
// from -2^-31 up to 0 give 0.
[[gnu::always_inline]] inline __m256i FloorInt8(__m256 f) {
    const __m256i t = _mm256_cvttps_epi32(f);
    const __m256 down = _mm256_and_ps(_mm256_cmp_ps(_mm256_cvtepi32_ps(t), f, _CMP_GT_OQ),
                                      _mm256_cmp_ps(f, _mm256_set1_ps(-0x1p-31f), _CMP_LT_OQ));
    return _mm256_add_epi32(t, _mm256_castps_si256(down));
}

// SafeCoord on eight lanes: max answers its second operand for NaN.
[[gnu::always_inline]] inline __m256 SafeCoord8(__m256 f) {
    return _mm256_min_ps(_mm256_max_ps(f, _mm256_set1_ps(-4.0e6f)), _mm256_set1_ps(4.0e6f));
}

// ToChannel on eight lanes: NaN and negatives 0, at most 255, else rounded.
[[gnu::always_inline]] inline __m256i ToChannel8(__m256 f) {
    const __m256 limited =
        _mm256_min_ps(_mm256_max_ps(f, _mm256_setzero_ps()), _mm256_set1_ps(255.0f));
    return _mm256_cvttps_epi32(_mm256_add_ps(limited, _mm256_set1_ps(0.5f)));
}

// Eight texels fetched by index; every index lies in the texture.
[[gnu::always_inline]] inline __m256i Gather(const std::uint32_t* tex, __m256i index) {
    return _mm256_i32gather_epi32(reinterpret_cast<const int*>(tex), index, 4);
}

// Gather, but one load when the eight indices are consecutive (all lie in
// the texture, so the load stays inside it).
[[gnu::always_inline]] inline __m256i GatherOrLoad(const std::uint32_t* tex, __m256i index) {
    const __m256i first = _mm256_permutevar8x32_epi32(index, _mm256_setzero_si256());
    const __m256i run = _mm256_add_epi32(first, _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(index, run)) == -1) {
        return _mm256_loadu_si256(
            reinterpret_cast<const __m256i*>(tex + _mm256_cvtsi256_si32(index)));
    }
    return Gather(tex, index);
}

// The 64-bit texel pairs that start at four indices (each pair inside the
// texture).
[[gnu::always_inline]] inline __m256i GatherPairs(const std::uint32_t* tex, __m128i index) {
    return _mm256_i32gather_epi64(reinterpret_cast<const long long*>(tex), index, 4);
}

[[gnu::always_inline]] inline bool AllZero(__m256i x) {
    return _mm256_testz_si256(x, x) != 0;
}

// Whether all eight pixels have alpha 255.
[[gnu::always_inline]] inline bool AllOpaque(__m256i px) {
    return _mm256_movemask_epi8(
               _mm256_cmpeq_epi32(_mm256_srai_epi32(px, 24), _mm256_set1_epi32(-1))) == -1;
}

// Each 32-bit weight (below 65536) copied into both of its 16-bit halves.
[[gnu::always_inline]] inline __m256i Twice16(__m256i w) {
    return _mm256_or_si256(w, _mm256_slli_epi32(w, 16));
}

// The bilinear mix of four pixels in 16-bit lanes, as Bilinear4Pairs does
// it. `top` and `bottom` hold the pixels' 64-bit texel pairs (left texel,
// then right) of the upper and lower row, two pixels per 128-bit half;
// `wx` and `wy` hold each pixel's weights over its four channels. Answers
// the four pixels' channels in 16-bit lanes, in the pairs' order.
[[gnu::always_inline]] inline __m256i BilinearPairs(__m256i top, __m256i bottom, __m256i wx,
                                                    __m256i wy) {
    const __m256i zero = _mm256_setzero_si256(), c256 = _mm256_set1_epi16(256);
    // A row's mix: left * (256 - wx) + right * wx, below 65281.
    const auto row = [&](__m256i pairs) {
        const __m256i lr = _mm256_shuffle_epi32(pairs, 0xD8);
        const __m256i left = _mm256_unpacklo_epi8(lr, zero);
        const __m256i right = _mm256_unpackhi_epi8(lr, zero);
        return _mm256_add_epi16(_mm256_mullo_epi16(left, _mm256_sub_epi16(c256, wx)),
                                _mm256_mullo_epi16(right, wx));
    };
    const __m256i t = row(top), b = row(bottom);
    // (t * (256 - wy) + b * wy + 32768) >> 16 from the products' halves and
    // the carries of their sum.
    const __m256i wInv = _mm256_sub_epi16(c256, wy);
    const __m256i lo1 = _mm256_mullo_epi16(t, wInv), lo2 = _mm256_mullo_epi16(b, wy);
    const __m256i hi = _mm256_add_epi16(_mm256_mulhi_epu16(t, wInv), _mm256_mulhi_epu16(b, wy));
    const __m256i lo = _mm256_add_epi16(lo1, lo2);
    const __m256i noCarry = _mm256_cmpeq_epi16(_mm256_adds_epu16(lo1, lo2), lo);
    const __m256i carries = _mm256_add_epi16(_mm256_srli_epi16(lo, 15), _mm256_set1_epi16(1));
    return _mm256_add_epi16(_mm256_add_epi16(hi, carries), noCarry);
}

// The depth test on eight lanes as Compare does it (NaN fails all but "not
// equal" and "always").
[[gnu::always_inline]] inline __m256 DepthPass(D3DLong func, __m256 z, __m256 stored) {
    switch (func) {
        case D3DCMP_NEVER:
            return _mm256_setzero_ps();
        case D3DCMP_LESS:
            return _mm256_cmp_ps(z, stored, _CMP_LT_OQ);
        case D3DCMP_EQUAL:
            return _mm256_cmp_ps(z, stored, _CMP_EQ_OQ);
        case D3DCMP_LESSEQUAL:
            return _mm256_cmp_ps(z, stored, _CMP_LE_OQ);
        case D3DCMP_GREATER:
            return _mm256_cmp_ps(z, stored, _CMP_GT_OQ);
        case D3DCMP_NOTEQUAL:
            return _mm256_cmp_ps(z, stored, _CMP_NEQ_UQ);
        case D3DCMP_GREATEREQUAL:
            return _mm256_cmp_ps(z, stored, _CMP_GE_OQ);
        default:
            return _mm256_castsi256_ps(_mm256_set1_epi32(-1));
    }
}

}  // namespace brumil::platform::raster::wide
