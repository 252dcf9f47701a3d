// Sixteen-pixel AVX-512 forms of the eight-pixel loops (soft_spans_avx2.cpp),
// for the same draws without perspective: the sprites, shots and beams. This
// file alone is built for AVX-512 and is reached only through
// Wide16VectorFns, once the processor is known to run it. Every step is the
// scalar loop's arithmetic done in sixteen lanes (no fused multiply-add), so
// the pixels are the same bit for bit. A span of the battle's sprites is
// often a little under sixteen pixels: one group here, two there.
#include <bit>
#include <type_traits>

#include "span_start.h"
#include "span_starts_wide.h"
#include "span_table.h"
#include "span_wide.h"
#include "vector_ops_avx512.h"

namespace brumil::platform::raster {

namespace {

using wide16::Div255;
using wide16::EachLane;
using wide16::Mul8x8;
using wide16::SpreadAlpha;

template <Blend B>
[[gnu::always_inline]] inline __m512i BlendPixels(__m512i src, __m512i dst) {
    const __m512i zero = _mm512_setzero_si512();
    if constexpr (B == Blend::None) {
        return src;
    } else if constexpr (B == Blend::OneOne) {
        return _mm512_adds_epu8(src, dst);
    } else if constexpr (B == Blend::SrcAlphaOne) {
        const __m512i lo = _mm512_unpacklo_epi8(src, zero), hi = _mm512_unpackhi_epi8(src, zero);
        const __m512i s =
            _mm512_packus_epi16(Mul8x8(lo, SpreadAlpha(lo)), Mul8x8(hi, SpreadAlpha(hi)));
        return _mm512_adds_epu8(s, dst);
    } else {
        // s * a + d * (255 - a) + 128 as the eight-pixel loops make it: one
        // maddubs of s and d less 128, side by side, by the bytes a and
        // 255 - a.
        const __m512i flip = wide16::Splat<0x80808080u>();
        const __m512i sd = _mm512_xor_si512(src, flip), dd = _mm512_xor_si512(dst, flip);
        const auto weights = [&](char p0, char p1) {
            const __m128i pick =
                _mm_setr_epi8(p0, p0, p0, p0, p0, p0, p0, p0, p1, p1, p1, p1, p1, p1, p1, p1);
            return _mm512_xor_si512(_mm512_shuffle_epi8(src, EachLane(pick)),
                                    wide16::Splat<0xFF00FF00u>());
        };
        const auto lerp = [&](__m512i pairs, __m512i w) {
            return Div255(
                _mm512_xor_si512(_mm512_maddubs_epi16(w, pairs), wide16::Splat<0x80008000u>()));
        };
        return _mm512_packus_epi16(lerp(_mm512_unpacklo_epi8(sd, dd), weights(3, 7)),
                                   lerp(_mm512_unpackhi_epi8(sd, dd), weights(11, 15)));
    }
}

using Form = Planes::Vector::Form;

// What every span of one triangle shares, in lanes.
struct Constants {
    __m512 du, dv, dz, texW, texH;
    __m512i maskU, maskV, keyValue, keyMask, alphaBelow;
    __m128i shiftV;
    __m512i addMask, orMask, mul;
    __m512i xOne, xDiffuse, xTexAlpha, yOne, yInvTexAlpha, twice, constD;
    __m512 dc[4];
    const std::uint32_t* tex;
    const std::uint32_t* padded;       // see PaddedTextures
    const std::uint32_t* paddedBelow;  // its second row
    std::uint32_t* target;
    std::size_t width, depthWidth;
    Form form;
    bool colorKey, varying, useY, useTwice, scale, zWrite, tryRowLoad;
    bool addOr;      // the simple combine adds or ors something
    bool alphaTest;  // some written alpha fails
    // Every pixel written is its texel with orMask or'ed in, and u moves
    // one texel a pixel and v not at all: spans that meet texel centres
    // (see CopySpan) are copies of a texture row.
    bool copies;
    D3DLong zFunc;
};

template <bool General>
[[gnu::always_inline]] inline Constants MakeConstants(const PixelState& ps, const Planes& p) {
    const Planes::Vector& pv = p.vec;
    Constants k;
    k.du = _mm512_set1_ps(p.dx[kU]);
    k.dv = _mm512_set1_ps(p.dx[kV]);
    k.dz = _mm512_set1_ps(p.dx[kZ]);
    k.texW = _mm512_set1_ps(float(ps.texW));
    k.texH = _mm512_set1_ps(float(ps.texH));
    k.maskU = _mm512_set1_epi32(ps.texW - 1);
    k.maskV = _mm512_set1_epi32(ps.texH - 1);
    k.shiftV = _mm_cvtsi32_si128(std::countr_zero(unsigned(ps.texW)));
    k.keyValue = _mm512_set1_epi32(int(ps.keyValue));
    k.keyMask = _mm512_set1_epi32(int(ps.keyMask));
    k.alphaBelow = _mm512_set1_epi32(pv.minAlpha - 1);
    k.alphaTest = pv.minAlpha > 0;
    k.addOr = pv.addMask != 0 || pv.orMask != 0;
    k.addMask = _mm512_set1_epi32(int(pv.addMask));
    k.orMask = _mm512_set1_epi32(int(pv.orMask));
    // The masks are -1 or 0 per channel, the "one" masks standing for 255.
    const auto lanes16 = [](const std::int16_t* m, bool one) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m));
        return EachLane(one ? _mm_and_si128(v, _mm_set1_epi16(255)) : v);
    };
    const std::int16_t mul[8] = {std::int16_t(pv.mul[0]), std::int16_t(pv.mul[1]),
                                 std::int16_t(pv.mul[2]), std::int16_t(pv.mul[3]),
                                 std::int16_t(pv.mul[0]), std::int16_t(pv.mul[1]),
                                 std::int16_t(pv.mul[2]), std::int16_t(pv.mul[3])};
    k.mul = lanes16(mul, false);
    k.xOne = lanes16(pv.xOne, true);
    k.xDiffuse = lanes16(pv.xDiffuse, false);
    k.xTexAlpha = lanes16(pv.xTexAlpha, false);
    k.yOne = lanes16(pv.yOne, true);
    k.yInvTexAlpha = lanes16(pv.yInvTexAlpha, false);
    k.twice = lanes16(pv.twice, false);
    k.form = pv.form;
    k.constD = _mm512_set1_epi32(int(pv.diffuse));
    for (int c = 0; c < 4; ++c) k.dc[c] = _mm512_set1_ps(General ? p.dx[kC + c] : 0.0f);
    k.tex = ps.tex;
    k.padded = ps.texPadded;
    k.paddedBelow = ps.texPadded != nullptr ? ps.texPadded + ps.texW + 1 : nullptr;
    k.target = ps.target;
    k.width = static_cast<std::size_t>(ps.width);
    k.depthWidth = static_cast<std::size_t>(ps.depthWidth);
    k.colorKey = ps.colorKey;
    k.varying = pv.varying;
    k.useY = pv.useY;
    k.useTwice = pv.useTwice;
    k.scale = pv.scale;
    k.zWrite = ps.zWrite;
    k.zFunc = ps.zFunc;
    k.tryRowLoad = !p.perspective && p.dx[kV] == 0.0f && p.dx[kU] * float(ps.texW) == 1.0f;
    k.copies = !General && !p.perspective && pv.addMask == 0 && !pv.scale && !k.alphaTest &&
               !ps.colorKey && p.dx[kV] == 0.0f && p.dx[kU] == 1.0f / float(ps.texW);
    return k;
}

// Where a span of n pixels whose first pixel's attributes s holds finds its
// texels, when its pixels take exactly consecutive texels of one texture
// row. For that, the groups' sums u = su + du * f, scaled by the texture's
// width, must be exact, and the point sample's floor or the filter's zero
// weights must follow: so su * width = a >= 0 with a + f exact up to the
// span's end, and with filtering a - 1/2 whole, where the weights are 0.
// Likewise for v, which does not move.
struct CopyFrom {
    bool exact;
    int column, line;
};

template <bool Linear>
[[gnu::always_inline]] inline CopyFrom CopyStart(const PixelState& ps, int n, const float* s) {
    const float a = s[kU] * float(ps.texW), b = s[kV] * float(ps.texH);
    constexpr float kLimit = 0x1p22f;
    if (!(a >= 0.0f && b >= 0.0f && a < kLimit && b < kLimit)) return {};
    const float end = float(n + 16);
    if (double(a + end) != double(a) + double(end)) return {};
    if constexpr (Linear) {
        const float column = a - 0.5f, line = b - 0.5f;
        if (column < 0.0f || line < 0.0f || column != float(int(column)) ||
            line != float(int(line))) {
            return {};
        }
        return {true, int(column), int(line)};
    } else {
        return {true, int(a), int(b)};
    }
}

// Draws the span [x1, x2) of row y as a copy of texels from `from`, each
// with orMask or'ed in.
[[gnu::always_inline]] inline void CopySpan(const PixelState& ps, const Constants& k, int y, int x1,
                                            int x2, const CopyFrom& from) {
    const int texW = ps.texW;
    const std::uint32_t* texels = k.tex + static_cast<std::size_t>(from.line & (ps.texH - 1)) *
                                              static_cast<std::size_t>(texW);
    std::uint32_t* out = k.target + static_cast<std::size_t>(y) * k.width + x1;
    int col = from.column & (texW - 1);
    for (int left = x2 - x1; left > 0;) {
        const int m = left < texW - col ? left : texW - col;
        int i = 0;
        for (; m - i >= 16; i += 16) {
            _mm512_storeu_si512(out + i,
                                _mm512_or_si512(_mm512_loadu_si512(texels + col + i), k.orMask));
        }
        if (i < m) {
            const __mmask16 rest = _cvtu32_mask16((1u << (m - i)) - 1);
            _mm512_mask_storeu_epi32(
                out + i, rest,
                _mm512_or_si512(_mm512_maskz_loadu_epi32(rest, texels + col + i), k.orMask));
        }
        out += m;
        left -= m;
        col = 0;
    }
}

// The stage combine of sixteen pixels in the general form; the pack at the
// end saturates sums above 255 (add, modulate2x).
[[gnu::always_inline]] inline __m512i Combine(const Constants& k, __m512i t, __m512i d) {
    const __m512i zero = _mm512_setzero_si512(), c255 = wide16::Splat<0x00FF00FFu>();
    if (k.form == Form::kAddModulateAlpha) {
        // Mul8(x, 255) is x: the colour is the saturated sum; the alpha,
        // one product in 32-bit lanes (their upper halves 0 * 0).
        const __m512i alpha = Mul8x8(_mm512_srli_epi32(t, 24), _mm512_srli_epi32(d, 24));
        return _mm512_or_si512(
            _mm512_and_si512(_mm512_adds_epu8(t, d), wide16::Splat<0x00FFFFFFu>()),
            _mm512_slli_epi32(alpha, 24));
    }
    const auto half = [&](__m512i t, __m512i d) {
        const __m512i ta = SpreadAlpha(t);
        if (k.form == Form::kTextureAlphaMix) {
            // Channels without the texture's alpha: Mul8(t, 0) is 0 and
            // Mul8(d, 255) is d.
            const __m512i x = _mm512_and_si512(k.xTexAlpha, ta);
            return _mm512_add_epi16(Mul8x8(t, x), Mul8x8(d, _mm512_sub_epi16(c255, x)));
        }
        const __m512i x = _mm512_or_si512(
            k.xOne,
            _mm512_or_si512(_mm512_and_si512(k.xDiffuse, d), _mm512_and_si512(k.xTexAlpha, ta)));
        __m512i r = Mul8x8(t, x);
        if (k.useTwice) r = _mm512_add_epi16(r, _mm512_and_si512(k.twice, r));
        if (k.useY) {
            const __m512i yv = _mm512_or_si512(
                k.yOne, _mm512_and_si512(k.yInvTexAlpha, _mm512_sub_epi16(c255, ta)));
            r = _mm512_add_epi16(r, Mul8x8(d, yv));
        }
        return r;
    };
    return _mm512_packus_epi16(half(_mm512_unpacklo_epi8(t, zero), _mm512_unpacklo_epi8(d, zero)),
                               half(_mm512_unpackhi_epi8(t, zero), _mm512_unpackhi_epi8(d, zero)));
}

// Where a run of pixels takes its attributes: at place f along it (its
// first pixel's f is 0), u is su + du * f, and likewise v and z.
struct Along {
    __m512 su, sv, sz, du, dv, dz;
    bool rowLoad;  // texels may be consecutive along it (Constants::tryRowLoad)
};

// A triangle's run from the pixel whose attributes s holds.
[[gnu::always_inline]] inline Along AlongFrom(const Constants& k, const float* s) {
    return {_mm512_set1_ps(s[kU]), _mm512_set1_ps(s[kV]), _mm512_set1_ps(s[kZ]), k.du, k.dv, k.dz,
            k.tryRowLoad};
}

// Lanes in `right` from b, the others from a: each lane's arithmetic is its
// own run's.
[[gnu::always_inline]] inline Along Mixed(__mmask16 right, const Along& a, const Along& b) {
    const auto pick = [&](__m512 x, __m512 y) { return _mm512_mask_blend_ps(right, x, y); };
    return {pick(a.su, b.su), pick(a.sv, b.sv), pick(a.sz, b.sz),      pick(a.du, b.du),
            pick(a.dv, b.dv), pick(a.dz, b.dz), a.rowLoad && b.rowLoad};
}

// The places 0 to 15.
[[gnu::always_inline]] inline __m512 Places() {
    return _mm512_setr_ps(0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 9.0f, 10.0f, 11.0f,
                          12.0f, 13.0f, 14.0f, 15.0f);
}

// What RunGroups draws: one span [x1, x2), its first pixel's attributes in
// s; or a pair's row, where the right triangle's span [xs, x2) takes its
// attributes from `right` (constant colours only).
struct RowPlan {
    int y, x1, xs, x2;
    const float* s;
    const Constants* right = nullptr;
    const float* rightStart = nullptr;
};

// Draws a row's runs sixteen pixels at a time: a pair's row when Pair.
template <Blend B, Coords C, bool Linear, bool Depth, bool General, bool Pair>
[[gnu::always_inline]] inline void RunGroups(const PixelState& ps, const Constants& k,
                                             const RowPlan& plan) {
    const int y = plan.y;
    const float* s = plan.s;
    const __m512i zero = _mm512_setzero_si512();
    const bool varying = General && k.varying;
    const std::uint32_t* tex = k.tex;
    std::uint32_t* row = k.target + static_cast<std::size_t>(y) * k.width;
    __m512 sc[4] = {};
    if (varying) {
        for (int c = 0; c < 4; ++c) sc[c] = _mm512_set1_ps(s[kC + c]);
    }
    float* depthRow = nullptr;
    if constexpr (Depth) depthRow = ps.depth + static_cast<std::size_t>(y) * k.depthWidth;

    const auto toTexel = [](__m512 f) {
        if constexpr (C == Coords::AffineInRange) {
            return _mm512_cvttps_epi32(f);
        } else if constexpr (C == Coords::AffineBounded) {
            return wide16::FloorInt16(f);
        } else {
            return wide16::FloorInt16(wide16::SafeCoord16(f));
        }
    };
    const auto index = [&](__m512i iu, __m512i iv) {
        return _mm512_add_epi32(_mm512_sll_epi32(_mm512_and_si512(iv, k.maskV), k.shiftV),
                                _mm512_and_si512(iu, k.maskU));
    };
    const auto lanes = [](int l0, int l1, int l2, int l3, int l4, int l5, int l6, int l7, int l8,
                          int l9, int l10, int l11, int l12, int l13, int l14, int l15) {
        return _mm512_setr_epi32(l0, l1, l2, l3, l4, l5, l6, l7, l8, l9, l10, l11, l12, l13, l14,
                                 l15);
    };

    // One group of sixteen pixels from x, of a run that ends before `end`;
    // fi holds their places along the run. As in the eight-pixel loops, no
    // branch looks at the texels or at which lanes pass: the lanes that fail
    // or lie past the run are masked off from memory.
    const auto group = [&](int x, int end, const Along& a, __m512 fi, auto wholeGroup)
        __attribute__((always_inline)) {
        constexpr bool Whole = decltype(wholeGroup)::value;
        const __mmask16 inSpan = Whole ? __mmask16(0xFFFF) : _cvtu32_mask16((1u << (end - x)) - 1);
        __mmask16 pass = inSpan;
        [[maybe_unused]] __m512 z;
        if constexpr (Depth) {
            // The depth test first: a hidden group costs no texel.
            z = _mm512_add_ps(a.sz, _mm512_mul_ps(a.dz, fi));
            const __m512 stored = _mm512_maskz_loadu_ps(inSpan, depthRow + x);
            pass = wide16::DepthPass(k.zFunc, inSpan, z, stored);
            if (pass == 0) return;
        }
        __m512 u = _mm512_add_ps(a.su, _mm512_mul_ps(a.du, fi));
        __m512 v = _mm512_add_ps(a.sv, _mm512_mul_ps(a.dv, fi));
        __m512i t, nearest = zero;
        if constexpr (Linear) {
            const __m512 half = _mm512_set1_ps(0.5f);
            __m512 fu = _mm512_sub_ps(_mm512_mul_ps(u, k.texW), half);
            __m512 fv = _mm512_sub_ps(_mm512_mul_ps(v, k.texH), half);
            if constexpr (C == Coords::Affine) {
                fu = wide16::SafeCoord16(fu);
                fv = wide16::SafeCoord16(fv);
            }
            // No coordinate lies in [-2^-31, 0) here (see the eight-pixel
            // loops), so the floor is FloorInt's exactly: one conversion
            // rounding down, and back.
            const __m512i iu = wide16::FloorConvert(fu), iv = wide16::FloorConvert(fv);
            const __m512 flu = _mm512_cvtepi32_ps(iu), flv = _mm512_cvtepi32_ps(iv);
            const __m512 scale = _mm512_set1_ps(256.0f);
            const __m512i wx = _mm512_cvttps_epi32(_mm512_mul_ps(_mm512_sub_ps(fu, flu), scale));
            const __m512i wy = _mm512_cvttps_epi32(_mm512_mul_ps(_mm512_sub_ps(fv, flv), scale));
            if (_mm512_test_epi32_mask(wx, wx) == 0 && _mm512_test_epi32_mask(wy, wy) == 0) {
                // Zero weights give the top-left texel exactly.
                const __m512i at = index(iu, iv);
                t = a.rowLoad ? wide16::GatherOrLoad(tex, at) : wide16::Gather(tex, at);
            } else {
                // In the padded copy each row's two taps are a pair, even
                // where the right one wraps to the first column, and the
                // lower row's pair lies one padded row further on. Just
                // below a texel centre the fraction rounds up to 1 and wx is
                // 256: the right texel alone, which the pixel takes as its
                // left one, with weight 0.
                const __m512i whole = _mm512_srli_epi32(wx, 8);
                const __m512i column = _mm512_and_si512(_mm512_add_epi32(iu, whole), k.maskU);
                const __m512i line = _mm512_and_si512(iv, k.maskV);
                const __m512i pair = _mm512_add_epi32(
                    _mm512_add_epi32(_mm512_sll_epi32(line, k.shiftV), line), column);
                const __m256i first = _mm512_castsi512_si256(pair);
                const __m256i last = _mm512_extracti64x4_epi64(pair, 1);
                const __m512i rw = _mm512_castsi256_si512(
                    wide16::RowWeights(_mm512_and_si512(wx, wide16::Splat<255>())));
                const __m512i cw = wide16::ColumnWeights(wy);
                // Lane L holds pixels 2L, 2L + 1, 8 + 2L and 9 + 2L: the
                // last permute puts them in order.
                const __m512i mixed = wide16::Bilinear16(
                    wide16::GatherPairs(k.padded, first), wide16::GatherPairs(k.paddedBelow, first),
                    wide16::GatherPairs(k.padded, last), wide16::GatherPairs(k.paddedBelow, last),
                    wide16::Spread(rw, lanes(0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3)),
                    wide16::Spread(rw, lanes(4, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7)),
                    wide16::Spread(cw, lanes(0, 1, 0, 1, 2, 3, 2, 3, 4, 5, 4, 5, 6, 7, 6, 7)),
                    wide16::Spread(
                        cw, lanes(8, 9, 8, 9, 10, 11, 10, 11, 12, 13, 12, 13, 14, 15, 14, 15)));
                t = _mm512_permutexvar_epi32(
                    lanes(0, 1, 4, 5, 8, 9, 12, 13, 2, 3, 6, 7, 10, 11, 14, 15), mixed);
            }
            if (k.colorKey) {
                // The key is tested on the nearest texel, as with point
                // sampling.
                const auto nearestOf = [](__m512 f) {
                    return wide16::FloorInt16(wide16::SafeCoord16(f));
                };
                nearest = wide16::Gather(tex, index(nearestOf(_mm512_mul_ps(u, k.texW)),
                                                    nearestOf(_mm512_mul_ps(v, k.texH))));
            }
        } else {
            const __m512i at =
                index(toTexel(_mm512_mul_ps(u, k.texW)), toTexel(_mm512_mul_ps(v, k.texH)));
            t = a.rowLoad ? wide16::GatherOrLoad(tex, at) : wide16::Gather(tex, at);
            nearest = t;
        }

        if (k.colorKey) {
            pass &= _mm512_test_epi32_mask(_mm512_xor_si512(nearest, k.keyValue), k.keyMask);
        }
        if constexpr (!General) {
            if (k.addOr) t = _mm512_or_si512(_mm512_adds_epu8(t, k.addMask), k.orMask);
            if (k.scale) {
                t = _mm512_packus_epi16(Mul8x8(_mm512_unpacklo_epi8(t, zero), k.mul),
                                        Mul8x8(_mm512_unpackhi_epi8(t, zero), k.mul));
            }
        } else {
            __m512i d = k.constD;
            if (varying) {
                __m512i ch[4];
                for (int c = 0; c < 4; ++c) {
                    ch[c] = wide16::ToChannel16(_mm512_add_ps(sc[c], _mm512_mul_ps(k.dc[c], fi)));
                }
                d = _mm512_or_si512(
                    _mm512_or_si512(ch[0], _mm512_slli_epi32(ch[1], 8)),
                    _mm512_or_si512(_mm512_slli_epi32(ch[2], 16), _mm512_slli_epi32(ch[3], 24)));
            }
            t = Combine(k, t, d);
        }
        if (k.alphaTest) {
            pass = _mm512_mask_cmpgt_epi32_mask(pass, _mm512_srli_epi32(t, 24), k.alphaBelow);
        }

        if constexpr (Depth) {
            if (k.zWrite) _mm512_mask_storeu_ps(depthRow + x, pass, z);
        }
        if constexpr (B == Blend::None) {
            _mm512_mask_storeu_epi32(row + x, pass, t);
        } else {
            const __m512i dst = _mm512_maskz_loadu_epi32(inSpan, row + x);
            _mm512_mask_storeu_epi32(row + x, pass, BlendPixels<B>(t, dst));
        }
    };
    const __m512 step = _mm512_set1_ps(16.0f);
    // The groups of a run [x, end), the first at place fi.
    const auto run = [&](int x, int end, const Along& a, __m512 fi) {
        for (; end - x >= 16; x += 16, fi = _mm512_add_ps(fi, step)) {
            group(x, end, a, fi, std::true_type{});
        }
        if (x < end) group(x, end, a, fi, std::false_type{});
    };
    // Drawn texel for texel: a copy.
    constexpr bool MayCopy = B == Blend::None && !Depth && !General;
    const Along left = AlongFrom(k, s);
    if constexpr (!Pair) {
        if (MayCopy && k.copies) {
            const CopyFrom from = CopyStart<Linear>(ps, plan.x2 - plan.x1, s);
            if (from.exact) {
                CopySpan(ps, k, y, plan.x1, plan.x2, from);
                return;
            }
        }
        run(plan.x1, plan.x2, left, Places());
    } else {
        if (MayCopy && k.copies && plan.right->copies) {
            const CopyFrom l = CopyStart<Linear>(ps, plan.xs - plan.x1, s);
            const CopyFrom r = CopyStart<Linear>(ps, plan.x2 - plan.xs, plan.rightStart);
            // Both sides copies, or neither: no pixel is drawn twice.
            if (l.exact && r.exact) {
                CopySpan(ps, k, y, plan.x1, plan.xs, l);
                CopySpan(ps, *plan.right, y, plan.xs, plan.x2, r);
                return;
            }
        }
        // One run goes over the row, and the group across the meeting takes
        // each lane from its own triangle.
        const int x1 = plan.x1, xs = plan.xs, x2 = plan.x2;
        int x = x1;
        __m512 fi = Places();
        for (; xs - x >= 16; x += 16, fi = _mm512_add_ps(fi, step)) {
            group(x, x2, left, fi, std::true_type{});
        }
        const Along right = AlongFrom(*plan.right, plan.rightStart);
        if (x < xs) {
            const __mmask16 onRight = _cvtu32_mask16(~((1u << (xs - x)) - 1) & 0xFFFFu);
            const __m512 fr = _mm512_add_ps(Places(), _mm512_set1_ps(float(x - xs)));
            // The mask of a group as its last takes at most sixteen lanes.
            group(x, x2 - x < 16 ? x2 : x + 16, Mixed(onRight, left, right),
                  _mm512_mask_blend_ps(onRight, fi, fr), std::false_type{});
            x += 16;
        }
        run(x, x2, right, _mm512_add_ps(Places(), _mm512_set1_ps(float(x - xs))));
    }
}

// The affine rows whose coordinates may leave [0, 4e6], laid out apart from
// the common loop.
template <Blend B, Coords C, bool Linear, bool Depth, bool General, bool Pair>
[[gnu::noinline]] void RunGroupsApart(const PixelState& ps, const Constants& k,
                                      const RowPlan& plan) {
    RunGroups<B, C, Linear, Depth, General, Pair>(ps, k, plan);
}

// One row: the groups, by how far its texture coordinates reach.
template <Blend B, bool Linear, bool Depth, bool General, bool Pair>
[[gnu::always_inline]] inline void RunRow(const PixelState& ps, const Constants& k,
                                          const RowPlan& plan, bool inRange, bool bounded) {
    if (Linear && bounded) {
        // The bilinear loop floors every bounded coordinate alike.
        RunGroups<B, Coords::AffineBounded, Linear, Depth, General, Pair>(ps, k, plan);
    } else if (!Linear && inRange) {
        RunGroups<B, Coords::AffineInRange, Linear, Depth, General, Pair>(ps, k, plan);
    } else if (bounded) {
        RunGroupsApart<B, Coords::AffineBounded, Linear, Depth, General, Pair>(ps, k, plan);
    } else {
        RunGroupsApart<B, Coords::Affine, Linear, Depth, General, Pair>(ps, k, plan);
    }
}

template <Blend B, bool Linear, bool Depth, bool General>
void WideRows(const PixelState& ps, const Planes& p, const Row* rows, int count) {
    const Constants k = MakeConstants<General>(ps, p);
    SpanStarts starts;
    // Eight spans' starts are made together.
    for (int i = 0; i < count; i += 8) {
        const int n = count - i < 8 ? count - i : 8;
        MakeSpanStarts(ps, p, rows + i, n, General && k.varying, false, Linear, starts);
        for (int j = 0; j < n; ++j) {
            const Row& r = rows[i + j];
            RunRow<B, Linear, Depth, General, false>(ps, k, {r.y, r.x1, r.x2, r.x2, starts.s[j]},
                                                     (starts.inRange >> j & 1) != 0,
                                                     (starts.bounded >> j & 1) != 0);
        }
    }
}

// Rows where two triangles on either side of a shared edge meet, with
// constant colours: each side takes its own triangle's attributes.
template <Blend B, bool Linear, bool Depth, bool General>
void WidePairRows(const PixelState& ps, const Planes& left, const Planes& right,
                  const PairRow* rows, int count) {
    const Constants kl = MakeConstants<General>(ps, left), kr = MakeConstants<General>(ps, right);
    SpanStarts startsLeft, startsRight;
    for (int i = 0; i < count; i += 8) {
        const int n = count - i < 8 ? count - i : 8;
        Row l[8], r[8];
        for (int j = 0; j < n; ++j) {
            const PairRow& row = rows[i + j];
            l[j] = {row.y, row.x1, row.xs};
            r[j] = {row.y, row.xs, row.x2};
        }
        MakeSpanStarts(ps, left, l, n, false, false, Linear, startsLeft);
        MakeSpanStarts(ps, right, r, n, false, false, Linear, startsRight);
        const int inRange = startsLeft.inRange & startsRight.inRange;
        const int bounded = startsLeft.bounded & startsRight.bounded;
        for (int j = 0; j < n; ++j) {
            const PairRow& row = rows[i + j];
            RunRow<B, Linear, Depth, General, true>(
                ps, kl, {row.y, row.x1, row.xs, row.x2, startsLeft.s[j], &kr, startsRight.s[j]},
                (inRange >> j & 1) != 0, (bounded >> j & 1) != 0);
        }
    }
}

template <Blend B, bool Linear, bool Depth, bool General>
void WideSpan(const PixelState& ps, const Planes& p, int y, int x1, int x2) {
    const Row r{y, x1, x2};
    WideRows<B, Linear, Depth, General>(ps, p, &r, 1);
}

// The sixteen-pixel family, for LoopTable: affine draws only.
template <Blend B, bool Perspective, bool Linear, bool Depth, bool General>
struct Wide16Loops {
    static constexpr VectorFns Fns() {
        if constexpr (Perspective) {
            return {};
        } else {
            return {&WideSpan<B, Linear, Depth, General>, &WideRows<B, Linear, Depth, General>,
                    &WidePairRows<B, Linear, Depth, General>};
        }
    }
};

}  // namespace

VectorFns Wide16VectorFns(Blend blend, bool perspective, bool linear, bool depth, bool general) {
    return LoopTable<Wide16Loops>::Pick(blend, perspective, linear, depth, general);
}

}  // namespace brumil::platform::raster
