#pragma once
// AVX-512 building blocks of the sixteen-pixel loops: the eight-pixel
// helpers of vector_ops_avx2.h in 512-bit lanes, with the same integer
// arithmetic, so results are the same bit for bit. Only the source built for
// AVX-512 includes this header; its functions have internal linkage, so no
// copy built for one processor level can stand in for another's.
#include <immintrin.h>

#include <cstdint>

#include "platform/gfx/d3d_types.h"

namespace brumil::platform::raster::wide16 {
namespace {

// Sixteen copies of the 32-bit pattern V, read from memory where used: left
// to itself the compiler builds such a constant from a general register, a
// shuffle-port step, and again at each use inside the loops; through a
// pointer it cannot see into, one broadcast load does.
template <std::uint32_t V>
[[gnu::always_inline]] inline __m512i Splat() {
    static constexpr std::uint32_t kValue = V;
    const std::uint32_t* value = &kValue;
    __asm__("" : "+r"(value));
    return _mm512_set1_epi32(static_cast<int>(*value));
}

// (t * 257) >> 16 on each 16-bit lane.
[[gnu::always_inline]] inline __m512i Div255(__m512i t) {
    return _mm512_mulhi_epu16(t, Splat<0x01010101u>());
}

// Mul8 on each 16-bit lane; x * m + 128 fits 16 unsigned bits.
[[gnu::always_inline]] inline __m512i Mul8x8(__m512i x, __m512i m) {
    return Div255(_mm512_add_epi16(_mm512_mullo_epi16(x, m), Splat<0x00800080u>()));
}

// A 16-byte pattern in every 128-bit lane.
[[gnu::always_inline]] inline __m512i EachLane(__m128i pattern) {
    return _mm512_broadcast_i32x4(pattern);
}

// The alpha of each pixel (16-bit channels) spread over its four channels.
[[gnu::always_inline]] inline __m512i SpreadAlpha(__m512i x) {
    return _mm512_shuffle_epi8(
        x, EachLane(_mm_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15)));
}

// FloorInt on lanes already limited by SafeCoord: negatives from -2^-31 up
// to 0 give 0.
[[gnu::always_inline]] inline __m512i FloorInt16(__m512 f) {
    const __m512i t = _mm512_cvttps_epi32(f);
    const __mmask16 down = _mm512_cmp_ps_mask(_mm512_cvtepi32_ps(t), f, _CMP_GT_OQ) &
                           _mm512_cmp_ps_mask(f, _mm512_set1_ps(-0x1p-31f), _CMP_LT_OQ);
    return _mm512_mask_sub_epi32(t, down, t, Splat<1>());
}

// SafeCoord on sixteen lanes: max answers its second operand for NaN.
[[gnu::always_inline]] inline __m512 SafeCoord16(__m512 f) {
    return _mm512_min_ps(_mm512_max_ps(f, _mm512_set1_ps(-4.0e6f)), _mm512_set1_ps(4.0e6f));
}

// The floor of coordinates limited by SafeCoord that lie outside
// [-2^-31, 0), as integers.
[[gnu::always_inline]] inline __m512i FloorConvert(__m512 f) {
    return _mm512_cvt_roundps_epi32(f, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
}

// ToChannel on sixteen lanes: NaN and negatives 0, at most 255, else rounded.
[[gnu::always_inline]] inline __m512i ToChannel16(__m512 f) {
    const __m512 limited =
        _mm512_min_ps(_mm512_max_ps(f, _mm512_setzero_ps()), _mm512_set1_ps(255.0f));
    return _mm512_cvttps_epi32(_mm512_add_ps(limited, _mm512_set1_ps(0.5f)));
}

// Sixteen texels fetched by index; every index lies in the texture.
[[gnu::always_inline]] inline __m512i Gather(const std::uint32_t* tex, __m512i index) {
    return _mm512_i32gather_epi32(index, tex, 4);
}

// Gather, but one load when the sixteen indices are consecutive (all lie in
// the texture, so the load stays inside it).
[[gnu::always_inline]] inline __m512i GatherOrLoad(const std::uint32_t* tex, __m512i index) {
    const __m512i first = _mm512_broadcastd_epi32(_mm512_castsi512_si128(index));
    const __m512i run = _mm512_add_epi32(
        first, _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    if (_mm512_cmpneq_epi32_mask(index, run) == 0) {
        return _mm512_loadu_si512(tex + _mm_cvtsi128_si32(_mm512_castsi512_si128(index)));
    }
    return Gather(tex, index);
}

// The 64-bit texel pairs that start at eight indices (each pair inside the
// texture).
[[gnu::always_inline]] inline __m512i GatherPairs(const std::uint32_t* tex, __m256i index) {
    return _mm512_i32gather_epi64(index, tex, 4);
}

// Each pixel's row weights 255 - wx and wx (wx in 0..255) as the low and
// high byte of a 16-bit lane, the sixteen pixels in order in 256 bits:
// (wx + 1) * 255 is wx * 256 + 255 - wx.
[[gnu::always_inline]] inline __m256i RowWeights(__m512i wx) {
    return _mm512_cvtepi32_epi16(
        _mm512_mullo_epi16(_mm512_add_epi32(wx, Splat<1>()), Splat<255>()));
}

// Each pixel's column weights 256 - wy and wy (wy in 0..256) as the low and
// high 16-bit half of its 32-bit lane.
[[gnu::always_inline]] inline __m512i ColumnWeights(__m512i wy) {
    return _mm512_add_epi32(_mm512_sub_epi32(_mm512_slli_epi32(wy, 16), wy), Splat<256>());
}

// Copies of 32-bit lanes: lane i of the answer is lane pick[i] of w.
[[gnu::always_inline]] inline __m512i Spread(__m512i w, __m512i pick) {
    return _mm512_permutexvar_epi32(pick, w);
}

// The bilinear mix of sixteen pixels, as the eight-pixel Bilinear8 does it
// in each 128-bit lane: `topA` and `bottomA` hold the 64-bit texel pairs
// (left texel, then right) of two pixels a(2L) a(2L+1) in 128-bit lane L,
// likewise `topB` and `bottomB`; `wxA` holds in each 32-bit lane of lane L
// the RowWeights of its two pixels, `wyA` their ColumnWeights twice over.
// Answers, in lane L, a(2L) a(2L+1) b(2L) b(2L+1).
[[gnu::always_inline]] inline __m512i Bilinear16(__m512i topA, __m512i bottomA, __m512i topB,
                                                 __m512i bottomB, __m512i wxA, __m512i wxB,
                                                 __m512i wyA, __m512i wyB) {
    const __m512i flip = Splat<0x80808080u>();
    const __m512i byChannel =
        EachLane(_mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15));
    const auto row = [&](__m512i pairs, __m512i wx) {
        const __m512i lr = _mm512_shuffle_epi8(pairs, byChannel);
        const __m512i left = _mm512_and_si512(lr, Splat<0x00FF00FFu>());
        return _mm512_add_epi16(_mm512_maddubs_epi16(wx, _mm512_xor_si512(lr, flip)), left);
    };
    const auto column = [&](__m512i top, __m512i bottom, __m512i wy) {
        const __m512i lo = _mm512_madd_epi16(_mm512_unpacklo_epi16(top, bottom), wy);
        const __m512i hi = _mm512_madd_epi16(_mm512_unpackhi_epi16(top, bottom), wy);
        return _mm512_packs_epi32(_mm512_srai_epi32(lo, 16), _mm512_srai_epi32(hi, 16));
    };
    const __m512i a = column(row(topA, wxA), row(bottomA, wxA), wyA);
    const __m512i b = column(row(topB, wxB), row(bottomB, wxB), wyB);
    const __m512i byPixel =
        EachLane(_mm_setr_epi8(0, 2, 4, 6, 1, 3, 5, 7, 8, 10, 12, 14, 9, 11, 13, 15));
    return _mm512_xor_si512(_mm512_shuffle_epi8(_mm512_packs_epi16(a, b), byPixel), flip);
}

// The depth test on sixteen lanes as Compare does it (NaN fails all but
// "not equal" and "always"), within `lanes`.
[[gnu::always_inline]] inline __mmask16 DepthPass(D3DLong func, __mmask16 lanes, __m512 z,
                                                  __m512 stored) {
    switch (func) {
        case D3DCMP_NEVER:
            return 0;
        case D3DCMP_LESS:
            return _mm512_mask_cmp_ps_mask(lanes, z, stored, _CMP_LT_OQ);
        case D3DCMP_EQUAL:
            return _mm512_mask_cmp_ps_mask(lanes, z, stored, _CMP_EQ_OQ);
        case D3DCMP_LESSEQUAL:
            return _mm512_mask_cmp_ps_mask(lanes, z, stored, _CMP_LE_OQ);
        case D3DCMP_GREATER:
            return _mm512_mask_cmp_ps_mask(lanes, z, stored, _CMP_GT_OQ);
        case D3DCMP_NOTEQUAL:
            return _mm512_mask_cmp_ps_mask(lanes, z, stored, _CMP_NEQ_UQ);
        case D3DCMP_GREATEREQUAL:
            return _mm512_mask_cmp_ps_mask(lanes, z, stored, _CMP_GE_OQ);
        default:
            return lanes;
    }
}

}  // namespace
}  // namespace brumil::platform::raster::wide16
