#pragma once
// AVX2 building blocks of the eight-pixel loops: the four-pixel helpers of
// vector_ops.h in 256-bit lanes, or other exact forms of the same integer
// arithmetic, so results are the same bit for bit. Only
// the sources built for AVX2 include this header, so these inline functions
// are never compiled under two sets of flags.
#include <immintrin.h>

#include <cstdint>

#include "platform/gfx/d3d_types.h"

namespace brumil::platform::raster::wide {

// Eight copies of the 32-bit pattern V, read from memory where used. Left
// to itself the compiler builds such a constant from a general register
// (two shuffle-port uops) and, with the loops short of registers, does so
// again at every use inside them; through a pointer it cannot see into, it
// loads the constant instead, which costs no arithmetic port.
template <std::uint32_t V>
[[gnu::always_inline]] inline __m256i Splat() {
    alignas(32) static constexpr std::uint32_t kLanes[8] = {V, V, V, V, V, V, V, V};
    const std::uint32_t* lanes = kLanes;
    __asm__("" : "+r"(lanes));
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
}

// (t * 257) >> 16 on each 16-bit lane: Div255 of the four-pixel loops.
[[gnu::always_inline]] inline __m256i Div255(__m256i t) {
    return _mm256_mulhi_epu16(t, Splat<0x01010101u>());
}

// Mul8 on each 16-bit lane; x * m + 128 fits 16 unsigned bits.
[[gnu::always_inline]] inline __m256i Mul8x8(__m256i x, __m256i m) {
    return Div255(_mm256_add_epi16(_mm256_mullo_epi16(x, m), Splat<0x00800080u>()));
}

// The alpha of each pixel (16-bit channels) spread over its four channels.
[[gnu::always_inline]] inline __m256i SpreadAlpha(__m256i x) {
    return _mm256_shuffle_epi8(x, _mm256_broadcastsi128_si256(_mm_setr_epi8(
                                      6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15)));
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

// Each pixel's row weights 255 - wx and wx (wx in 0..255; the scalar
// weight can be 256, which the caller must take apart) as the low and
// high byte of a 16-bit lane, packed in pixel order (pixels 0-3 twice in
// the lower 128-bit half, 4-7 twice in the upper): (wx + 1) * 255 is
// wx * 256 + 255 - wx.
[[gnu::always_inline]] inline __m256i RowWeights(__m256i wx) {
    const __m256i w = _mm256_mullo_epi16(_mm256_add_epi32(wx, Splat<1>()), Splat<255>());
    return _mm256_packus_epi32(w, w);
}

// Each pixel's column weights 256 - wy and wy (wy in 0..256) as the low
// and high 16-bit half of its 32-bit lane.
[[gnu::always_inline]] inline __m256i ColumnWeights(__m256i wy) {
    return _mm256_add_epi32(_mm256_sub_epi32(_mm256_slli_epi32(wy, 16), wy), Splat<256>());
}

// The bilinear mix of eight pixels, as the scalar filter rounds it:
// (top * (256 - wy) + bottom * wy + 32768) >> 16, where top and bottom are
// each row's left * (256 - wx) + right * wx. `topA` and `bottomA` hold the
// 64-bit texel pairs (left texel, then right) of pixels a0 a1 in the lower
// 128-bit half and a2 a3 in the upper; likewise `topB`, `bottomB` for b0..b3.
// `wxA` holds, in each 32-bit lane of a half, its two pixels' RowWeights
// (a0 then a1); `wyA` the ColumnWeights of a0 a1 a0 a1 per half; likewise
// for B. Answers the pixels in the order a0 a1 b0 b1 a2 a3 b2 b3.
//
// With texels less 128 as signed bytes, one maddubs gives a row's
// (left - 128) * (255 - wx) + (right - 128) * wx; adding left makes the
// row's mix less 32640 (within 16 signed bits). The column's madd of two
// such values is the full sum less 32640 * 256, so the pixel is that madd
// plus 128 * 65536 over 65536: the madd's high half plus 128, which the
// signed packs keep exactly and the last xor adds.
[[gnu::always_inline]] inline __m256i Bilinear8(__m256i topA, __m256i bottomA, __m256i topB,
                                                __m256i bottomB, __m256i wxA, __m256i wxB,
                                                __m256i wyA, __m256i wyB) {
    const __m256i flip = Splat<0x80808080u>();
    // Each half's pairs l0 r0 l1 r1 as bytes l0 r0 l1 r1 of channel 0, then
    // of channel 1, and so on: 16-bit lanes of pixel 0 and 1 alternately.
    const __m256i byChannel = _mm256_broadcastsi128_si256(
        _mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15));
    const auto row = [&](__m256i pairs, __m256i wx) {
        const __m256i lr = _mm256_shuffle_epi8(pairs, byChannel);
        const __m256i left = _mm256_and_si256(lr, Splat<0x00FF00FFu>());
        return _mm256_add_epi16(_mm256_maddubs_epi16(wx, _mm256_xor_si256(lr, flip)), left);
    };
    const auto column = [&](__m256i top, __m256i bottom, __m256i wy) {
        const __m256i lo = _mm256_madd_epi16(_mm256_unpacklo_epi16(top, bottom), wy);
        const __m256i hi = _mm256_madd_epi16(_mm256_unpackhi_epi16(top, bottom), wy);
        return _mm256_packs_epi32(_mm256_srai_epi32(lo, 16), _mm256_srai_epi32(hi, 16));
    };
    const __m256i a = column(row(topA, wxA), row(bottomA, wxA), wyA);
    const __m256i b = column(row(topB, wxB), row(bottomB, wxB), wyB);
    // Bytes a0 a1 of channel 0, a0 a1 of channel 1 ..., then b0 b1 alike:
    // back to whole pixels.
    const __m256i byPixel = _mm256_broadcastsi128_si256(
        _mm_setr_epi8(0, 2, 4, 6, 1, 3, 5, 7, 8, 10, 12, 14, 9, 11, 13, 15));
    return _mm256_xor_si256(_mm256_shuffle_epi8(_mm256_packs_epi16(a, b), byPixel), flip);
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
