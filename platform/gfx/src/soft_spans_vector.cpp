// Four-pixel SSE2 inner loops for the game's commonest draws: point-sampled
// wrapping power-of-two textures under a colour that does not vary across the
// triangle (sprites, backgrounds). Every step is the scalar loop's arithmetic
// done in four lanes, so the pixels are the same bit for bit.
#include <emmintrin.h>

#include <bit>
#include <cstring>

#include "span.h"

namespace brumil::platform::raster {

namespace {

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

// floor() as FloorInt does it, via double, for four lanes already limited by
// SafeCoord.
[[gnu::always_inline]] inline __m128i FloorInt4(__m128 f) {
    const __m128d bias = _mm_set1_pd(8388608.0);
    const __m128i lo = _mm_cvttpd_epi32(_mm_add_pd(_mm_cvtps_pd(f), bias));
    const __m128i hi = _mm_cvttpd_epi32(_mm_add_pd(_mm_cvtps_pd(_mm_movehl_ps(f, f)), bias));
    return _mm_sub_epi32(_mm_unpacklo_epi64(lo, hi), _mm_set1_epi32(8388608));
}

// SafeCoord on four lanes: NaN and values below the range become its low end.
[[gnu::always_inline]] inline __m128 SafeCoord4(__m128 f) {
    return _mm_min_ps(_mm_max_ps(f, _mm_set1_ps(-4.0e6f)), _mm_set1_ps(4.0e6f));
}

template <Blend B>
[[gnu::always_inline]] inline __m128i BlendPixels(__m128i src, __m128i dst) {
    const __m128i zero = _mm_setzero_si128();
    if constexpr (B == Blend::None) {
        return src;
    } else if constexpr (B == Blend::OneOne) {
        return _mm_adds_epu8(src, dst);
    } else if constexpr (B == Blend::SrcAlphaOne) {
        const __m128i lo = _mm_unpacklo_epi8(src, zero), hi = _mm_unpackhi_epi8(src, zero);
        const __m128i s =
            _mm_packus_epi16(Mul8x8(lo, SpreadAlpha(lo)), Mul8x8(hi, SpreadAlpha(hi)));
        return _mm_adds_epu8(s, dst);
    } else {
        // s * a + d * (255 - a), rounded as Lerp2 does.
        const __m128i c255 = _mm_set1_epi16(255), c128 = _mm_set1_epi16(128);
        const auto lerp = [&](__m128i s, __m128i d) {
            const __m128i a = SpreadAlpha(s);
            __m128i t =
                _mm_add_epi16(_mm_mullo_epi16(s, a), _mm_mullo_epi16(d, _mm_sub_epi16(c255, a)));
            return Div255(_mm_add_epi16(t, c128));
        };
        return _mm_packus_epi16(lerp(_mm_unpacklo_epi8(src, zero), _mm_unpacklo_epi8(dst, zero)),
                                lerp(_mm_unpackhi_epi8(src, zero), _mm_unpackhi_epi8(dst, zero)));
    }
}

// Runs the span [x1, x2) of row y four pixels at a time from texture
// coordinates (su, sv, sw) at x1. PlainFloor: every coordinate of the span is
// known to lie in [0, 4e6], where SafeCoord changes nothing and truncation is
// FloorInt.
template <Blend B, bool Perspective, bool PlainFloor>
[[gnu::always_inline]] inline void RunGroups(const PixelState& ps, const Planes& p, int y, int x1,
                                             int x2, float startU, float startV, float startW) {
    const Planes::Vector& pv = p.vec;
    const __m128 su = _mm_set1_ps(startU), sv = _mm_set1_ps(startV);
    const __m128 du = _mm_set1_ps(p.dx[kU]), dv = _mm_set1_ps(p.dx[kV]);
    const __m128 sw = _mm_set1_ps(startW), dw = _mm_set1_ps(p.dx[kW]);
    const __m128 texW = _mm_set1_ps(float(ps.texW)), texH = _mm_set1_ps(float(ps.texH));
    const __m128i maskU = _mm_set1_epi32(ps.texW - 1), maskV = _mm_set1_epi32(ps.texH - 1);
    const __m128i shiftV = _mm_cvtsi32_si128(std::countr_zero(unsigned(ps.texW)));
    const __m128i keyValue = _mm_set1_epi32(int(ps.keyValue));
    const __m128i keyMask = _mm_set1_epi32(int(ps.keyMask));
    const __m128i orMask = _mm_set1_epi32(int(pv.orMask));
    const __m128i mul =
        _mm_setr_epi16(std::int16_t(pv.mul[0]), std::int16_t(pv.mul[1]), std::int16_t(pv.mul[2]),
                       std::int16_t(pv.mul[3]), std::int16_t(pv.mul[0]), std::int16_t(pv.mul[1]),
                       std::int16_t(pv.mul[2]), std::int16_t(pv.mul[3]));
    const __m128i alphaBelow = _mm_set1_epi32(pv.minAlpha - 1);
    const __m128i zero = _mm_setzero_si128();
    const bool colorKey = ps.colorKey, scale = pv.scale;
    const std::uint32_t* tex = ps.tex;
    std::uint32_t* row = ps.target + static_cast<std::size_t>(y) * ps.width;

    const auto toTexel = [](__m128 f) {
        if constexpr (PlainFloor) {
            return _mm_cvttps_epi32(f);
        } else {
            return FloorInt4(SafeCoord4(f));
        }
    };

    __m128 fi = _mm_setr_ps(0.0f, 1.0f, 2.0f, 3.0f);
    for (int x = x1; x < x2; x += 4, fi = _mm_add_ps(fi, _mm_set1_ps(4.0f))) {
        __m128 u = _mm_add_ps(su, _mm_mul_ps(du, fi));
        __m128 v = _mm_add_ps(sv, _mm_mul_ps(dv, fi));
        if constexpr (Perspective) {
            const __m128 w = _mm_add_ps(sw, _mm_mul_ps(dw, fi));
            const __m128 nonZero = _mm_cmpneq_ps(w, _mm_setzero_ps());
            u = _mm_and_ps(_mm_div_ps(u, w), nonZero);
            v = _mm_and_ps(_mm_div_ps(v, w), nonZero);
        }
        const __m128i iu = _mm_and_si128(toTexel(_mm_mul_ps(u, texW)), maskU);
        const __m128i iv = _mm_and_si128(toTexel(_mm_mul_ps(v, texH)), maskV);
        alignas(16) std::int32_t at[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(at),
                        _mm_add_epi32(_mm_sll_epi32(iv, shiftV), iu));
        __m128i t =
            _mm_setr_epi32(int(tex[at[0]]), int(tex[at[1]]), int(tex[at[2]]), int(tex[at[3]]));

        __m128i pass = _mm_set1_epi32(-1);
        if (colorKey) {
            const __m128i keyed =
                _mm_cmpeq_epi32(_mm_and_si128(_mm_xor_si128(t, keyValue), keyMask), zero);
            pass = _mm_andnot_si128(keyed, pass);
        }
        t = _mm_or_si128(t, orMask);
        if (scale) {
            t = _mm_packus_epi16(Mul8x8(_mm_unpacklo_epi8(t, zero), mul),
                                 Mul8x8(_mm_unpackhi_epi8(t, zero), mul));
        }
        pass = _mm_and_si128(pass, _mm_cmpgt_epi32(_mm_srli_epi32(t, 24), alphaBelow));

        const int n = x2 - x < 4 ? x2 - x : 4;
        if (n < 4) {  // the span's last pixels
            const __m128i inSpan = _mm_cmpgt_epi32(_mm_set1_epi32(n), _mm_setr_epi32(0, 1, 2, 3));
            pass = _mm_and_si128(pass, inSpan);
        }
        const int lanes = _mm_movemask_ps(_mm_castsi128_ps(pass));
        if (lanes == 0) continue;
        if (B == Blend::None && lanes == 15) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), t);
            continue;
        }
        // Lanes past the span but inside the row are read and written back
        // unchanged; at the row's end only the span's pixels are touched.
        const bool whole = x + 4 <= ps.width;
        __m128i dst;
        if (whole) {
            dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        } else {
            alignas(16) std::uint32_t part[4] = {};
            std::memcpy(part, row + x, sizeof(std::uint32_t) * n);
            dst = _mm_load_si128(reinterpret_cast<const __m128i*>(part));
        }
        __m128i out = BlendPixels<B>(t, dst);
        if (lanes != 15) out = _mm_or_si128(_mm_and_si128(pass, out), _mm_andnot_si128(pass, dst));
        if (whole) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), out);
        } else {
            alignas(16) std::uint32_t part[4];
            _mm_store_si128(reinterpret_cast<__m128i*>(part), out);
            std::memcpy(row + x, part, sizeof(std::uint32_t) * n);
        }
    }
}

template <Blend B, bool Perspective>
void VectorSpan(const PixelState& ps, const Planes& p, int y, int x1, int x2) {
    // The span's first pixel, as SpanStart gives it.
    const float fx = float(x1) - p.x0, fy = float(y) - p.y0;
    const auto start = [&](int k) { return p.a[k] + p.dx[k] * fx + p.dy[k] * fy; };
    const float su = start(kU), sv = start(kV);
    if constexpr (Perspective) {
        RunGroups<B, true, false>(ps, p, y, x1, x2, su, sv, start(kW));
    } else {
        // An affine coordinate moves one way along the span (each rounding
        // step keeps the order), so its two ends bound it.
        const float last = float(x2 - x1 - 1);
        const auto inRange = [](float f) { return f >= 0.0f && f <= 4.0e6f; };
        const float tw = float(ps.texW), th = float(ps.texH);
        const float du = p.dx[kU], dv = p.dx[kV];
        if (inRange((su + du * 0.0f) * tw) && inRange((su + du * last) * tw) &&
            inRange((sv + dv * 0.0f) * th) && inRange((sv + dv * last) * th)) {
            RunGroups<B, false, true>(ps, p, y, x1, x2, su, sv, 0.0f);
        } else {
            RunGroups<B, false, false>(ps, p, y, x1, x2, su, sv, 0.0f);
        }
    }
}

template <bool Perspective>
SpanFn PickVectorBlend(Blend b) {
    switch (b) {
        case Blend::None:
            return &VectorSpan<Blend::None, Perspective>;
        case Blend::SrcAlphaInvSrcAlpha:
            return &VectorSpan<Blend::SrcAlphaInvSrcAlpha, Perspective>;
        case Blend::SrcAlphaOne:
            return &VectorSpan<Blend::SrcAlphaOne, Perspective>;
        case Blend::OneOne:
            return &VectorSpan<Blend::OneOne, Perspective>;
        default:
            return nullptr;
    }
}

}  // namespace

SpanFn ChooseVectorSpan(const PixelState& ps, Planes& p) {
    if (ps.tex == nullptr || ps.depth != nullptr || ps.specularAdd || ps.linear) return nullptr;
    if (!ps.wrapPow2 || !p.constColor || ps.alphaMin < 0) return nullptr;
    if (ps.colorKind != Combine::Select && ps.colorKind != Combine::Modulate) return nullptr;
    if (ps.alphaKind == Combine::Generic) return nullptr;
    const SpanFn fn =
        p.perspective ? PickVectorBlend<true>(ps.blendKind) : PickVectorBlend<false>(ps.blendKind);
    if (fn == nullptr) return nullptr;

    // The diffuse colour is the same at every pixel (its slopes are zero).
    // Selecting the diffuse alpha is 255 x diffuse alpha, since Mul8(255, a)
    // is a; so is taking a texture channel unchanged.
    Planes::Vector& pv = p.vec;
    pv = {};
    int d[4];
    for (int k = 0; k < 4; ++k) d[k] = ToChannel(p.a[kC + k]);
    if (ps.colorKind == Combine::Modulate) {
        for (int k = 0; k < 3; ++k) pv.mul[k] = d[k];
    }
    if (ps.alphaKind != Combine::Select) pv.mul[3] = d[3];
    if (ps.alphaKind == Combine::Diffuse) pv.orMask = 0xFF000000u;
    for (int m : pv.mul) pv.scale = pv.scale || m != 255;
    // The source-alpha blends leave the target as it is at alpha 0, so those
    // pixels are skipped too.
    pv.minAlpha = ps.alphaMin;
    if (ps.blendKind == Blend::SrcAlphaInvSrcAlpha || ps.blendKind == Blend::SrcAlphaOne) {
        pv.minAlpha = pv.minAlpha < 1 ? 1 : pv.minAlpha;
    }
    return fn;
}

}  // namespace brumil::platform::raster
