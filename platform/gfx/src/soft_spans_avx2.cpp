// Eight-pixel AVX2 forms of the four-pixel loops (soft_spans_vector.cpp), for
// the same draws. This file alone is built for AVX2 and is reached only
// through WideVectorFns, once the processor is known to run it. Every step
// is the scalar loop's arithmetic done in eight lanes (no fused multiply-add),
// so the pixels are the same bit for bit.
#include <bit>
#include <cstring>
#include <type_traits>

#include "span_start.h"
#include "span_starts_wide.h"
#include "span_table.h"
#include "span_wide.h"
#include "vector_ops_avx2.h"

namespace brumil::platform::raster {

namespace {

using wide::Div255;
using wide::Mul8x8;
using wide::SpreadAlpha;

template <Blend B>
[[gnu::always_inline]] inline __m256i BlendPixels(__m256i src, __m256i dst) {
    const __m256i zero = _mm256_setzero_si256();
    if constexpr (B == Blend::None) {
        return src;
    } else if constexpr (B == Blend::OneOne) {
        return _mm256_adds_epu8(src, dst);
    } else if constexpr (B == Blend::SrcAlphaOne) {
        const __m256i lo = _mm256_unpacklo_epi8(src, zero), hi = _mm256_unpackhi_epi8(src, zero);
        const __m256i s =
            _mm256_packus_epi16(Mul8x8(lo, SpreadAlpha(lo)), Mul8x8(hi, SpreadAlpha(hi)));
        return _mm256_adds_epu8(s, dst);
    } else {
        // s * a + d * (255 - a) + 128, rounded as Lerp2 does. With s and d
        // less 128 as signed bytes side by side, one maddubs by the bytes a
        // and 255 - a gives that sum less 32768 (within 16 signed bits).
        const __m256i flip = wide::Splat<0x80808080u>();
        const __m256i sd = _mm256_xor_si256(src, flip), dd = _mm256_xor_si256(dst, flip);
        // Each pixel's alpha twice in every 16-bit lane, then 255 - a above.
        const auto weights = [&](int p0, int p1) {
            const __m128i pick =
                _mm_setr_epi8(p0, p0, p0, p0, p0, p0, p0, p0, p1, p1, p1, p1, p1, p1, p1, p1);
            return _mm256_xor_si256(_mm256_shuffle_epi8(src, _mm256_broadcastsi128_si256(pick)),
                                    wide::Splat<0xFF00FF00u>());
        };
        const auto lerp = [&](__m256i pairs, __m256i w) {
            return Div255(
                _mm256_xor_si256(_mm256_maddubs_epi16(w, pairs), wide::Splat<0x80008000u>()));
        };
        return _mm256_packus_epi16(lerp(_mm256_unpacklo_epi8(sd, dd), weights(3, 7)),
                                   lerp(_mm256_unpackhi_epi8(sd, dd), weights(11, 15)));
    }
}

// What every span of one triangle shares, in lanes.
struct Constants {
    __m256 du, dv, dw, dz, texW, texH;
    __m256i maskU, maskV, keyValue, keyMask, alphaBelow;
    __m128i shiftV;
    __m256i addMask, orMask, mul;
    __m256i xOne, xDiffuse, xTexAlpha, yOne, yInvTexAlpha, twice, constD;
    __m256 dc[4];
    Planes::Vector::Form form;
    const std::uint32_t* tex;
    const std::uint32_t* padded;       // see PaddedTextures
    const std::uint32_t* paddedBelow;  // its second row
    std::uint32_t* target;
    std::size_t width, depthWidth;
    bool colorKey, varying, useY, useTwice, scale, zWrite, tryRowLoad;
    bool addOr;      // the simple combine adds or ors something
    bool alphaTest;  // some written alpha fails
    D3DLong zFunc;
};

template <bool General>
[[gnu::always_inline]] inline Constants MakeConstants(const PixelState& ps, const Planes& p) {
    const Planes::Vector& pv = p.vec;
    Constants k;
    k.du = _mm256_set1_ps(p.dx[kU]);
    k.dv = _mm256_set1_ps(p.dx[kV]);
    k.dw = _mm256_set1_ps(p.dx[kW]);
    k.dz = _mm256_set1_ps(p.dx[kZ]);
    k.texW = _mm256_set1_ps(float(ps.texW));
    k.texH = _mm256_set1_ps(float(ps.texH));
    k.maskU = _mm256_set1_epi32(ps.texW - 1);
    k.maskV = _mm256_set1_epi32(ps.texH - 1);
    k.shiftV = _mm_cvtsi32_si128(std::countr_zero(unsigned(ps.texW)));
    k.keyValue = _mm256_set1_epi32(int(ps.keyValue));
    k.keyMask = _mm256_set1_epi32(int(ps.keyMask));
    k.alphaBelow = _mm256_set1_epi32(pv.minAlpha - 1);
    k.alphaTest = pv.minAlpha > 0;
    k.addOr = pv.addMask != 0 || pv.orMask != 0;
    k.addMask = _mm256_set1_epi32(int(pv.addMask));
    k.orMask = _mm256_set1_epi32(int(pv.orMask));
    const auto lanes16 = [](const std::int16_t* m) {
        return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(m)));
    };
    const std::int16_t mul[8] = {std::int16_t(pv.mul[0]), std::int16_t(pv.mul[1]),
                                 std::int16_t(pv.mul[2]), std::int16_t(pv.mul[3]),
                                 std::int16_t(pv.mul[0]), std::int16_t(pv.mul[1]),
                                 std::int16_t(pv.mul[2]), std::int16_t(pv.mul[3])};
    k.mul = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(mul)));
    const __m256i c255 = _mm256_set1_epi16(255);
    k.xOne = _mm256_and_si256(lanes16(pv.xOne), c255);
    k.xDiffuse = lanes16(pv.xDiffuse);
    k.xTexAlpha = lanes16(pv.xTexAlpha);
    k.yOne = _mm256_and_si256(lanes16(pv.yOne), c255);
    k.yInvTexAlpha = lanes16(pv.yInvTexAlpha);
    k.twice = lanes16(pv.twice);
    k.constD = _mm256_set1_epi32(int(pv.diffuse));
    for (int c = 0; c < 4; ++c) k.dc[c] = _mm256_set1_ps(General ? p.dx[kC + c] : 0.0f);
    k.form = pv.form;
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
    return k;
}

// Lanes 0..n-1 set.
[[gnu::always_inline]] inline __m256i FirstLanes(int n) {
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(n), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// Runs the span [x1, x2) of row y eight pixels at a time; s holds the
// attributes at its first pixel.
template <Blend B, Coords C, bool Linear, bool Depth, bool General>
[[gnu::always_inline]] inline void RunGroups(const PixelState& ps, const Constants& k, int y,
                                             int x1, int x2, const float* s) {
    const __m256 su = _mm256_set1_ps(s[kU]), sv = _mm256_set1_ps(s[kV]);
    const __m256 sw = C == Coords::Perspective ? _mm256_set1_ps(s[kW]) : _mm256_setzero_ps();
    const __m256i zero = _mm256_setzero_si256(), c255 = _mm256_set1_epi16(255);
    const bool colorKey = k.colorKey, varying = General && k.varying;
    const std::uint32_t* tex = k.tex;
    std::uint32_t* row = k.target + static_cast<std::size_t>(y) * k.width;
    const bool useY = k.useY, useTwice = k.useTwice;
    __m256 sc[4] = {};
    if (varying) {
        for (int c = 0; c < 4; ++c) sc[c] = _mm256_set1_ps(s[kC + c]);
    }
    float* depthRow = nullptr;
    __m256 sz = _mm256_setzero_ps();
    if constexpr (Depth) {
        depthRow = ps.depth + static_cast<std::size_t>(y) * k.depthWidth;
        sz = _mm256_set1_ps(s[kZ]);
    }

    const auto toTexel = [](__m256 f) {
        if constexpr (C == Coords::AffineInRange) {
            return _mm256_cvttps_epi32(f);
        } else if constexpr (C == Coords::AffineBounded) {
            return wide::FloorInt8(f);
        } else {
            return wide::FloorInt8(wide::SafeCoord8(f));
        }
    };
    const auto index = [&](__m256i iu, __m256i iv) {
        return _mm256_add_epi32(_mm256_sll_epi32(_mm256_and_si256(iv, k.maskV), k.shiftV),
                                _mm256_and_si256(iu, k.maskU));
    };
    // The stage combine of eight pixels; the pack at the end saturates sums
    // above 255 (add, modulate2x).
    const auto general = [&, form = k.form](__m256i t, __m256i d) {
        if (form == Planes::Vector::Form::kAddModulateAlpha) {
            // Mul8(x, 255) is x: the colour is the saturated sum; the alpha,
            // one product in 32-bit lanes (their upper halves 0 * 0).
            const __m256i alpha = Mul8x8(_mm256_srli_epi32(t, 24), _mm256_srli_epi32(d, 24));
            return _mm256_or_si256(
                _mm256_and_si256(_mm256_adds_epu8(t, d), wide::Splat<0x00FFFFFFu>()),
                _mm256_slli_epi32(alpha, 24));
        }
        const auto half = [&](__m256i t, __m256i d) {
            const __m256i ta = SpreadAlpha(t);
            if (form == Planes::Vector::Form::kTextureAlphaMix) {
                // Channels without the texture's alpha: Mul8(t, 0) is 0 and
                // Mul8(d, 255) is d.
                const __m256i x = _mm256_and_si256(k.xTexAlpha, ta);
                return _mm256_add_epi16(Mul8x8(t, x), Mul8x8(d, _mm256_sub_epi16(c255, x)));
            }
            const __m256i x =
                _mm256_or_si256(k.xOne, _mm256_or_si256(_mm256_and_si256(k.xDiffuse, d),
                                                        _mm256_and_si256(k.xTexAlpha, ta)));
            __m256i r = Mul8x8(t, x);
            if (useTwice) r = _mm256_add_epi16(r, _mm256_and_si256(k.twice, r));
            if (useY) {
                const __m256i yv = _mm256_or_si256(
                    k.yOne, _mm256_and_si256(k.yInvTexAlpha, _mm256_sub_epi16(c255, ta)));
                r = _mm256_add_epi16(r, Mul8x8(d, yv));
            }
            return r;
        };
        return _mm256_packus_epi16(
            half(_mm256_unpacklo_epi8(t, zero), _mm256_unpacklo_epi8(d, zero)),
            half(_mm256_unpackhi_epi8(t, zero), _mm256_unpackhi_epi8(d, zero)));
    };
    // The weights Bilinear8 takes, for the pixels it is given: l0..l7 name
    // the 32-bit lane of RowWeights or ColumnWeights each lane copies.
    const auto spread = [](__m256i w, int l0, int l1, int l2, int l3, int l4, int l5, int l6,
                           int l7) {
        return _mm256_permutevar8x32_epi32(w, _mm256_setr_epi32(l0, l1, l2, l3, l4, l5, l6, l7));
    };

    // One group of eight pixels from x; fi holds their places along the span.
    // Groups of transparent texels are not looked for: a branch on the
    // texels is decided late in the group's work and guessed wrong often,
    // which costs more than the work it would save.
    // Only a partial group's lanes past the span are masked off from memory.
    const auto group = [&](int x, __m256 fi, auto wholeGroup) __attribute__((always_inline)) {
        constexpr bool Whole = decltype(wholeGroup)::value;
        [[maybe_unused]] const __m256i inSpan = Whole ? _mm256_set1_epi32(-1) : FirstLanes(x2 - x);
        __m256i pass = inSpan;
        [[maybe_unused]] __m256 z, stored;
        if constexpr (Depth) {
            // The depth test first: a hidden group costs no texel.
            z = _mm256_add_ps(sz, _mm256_mul_ps(k.dz, fi));
            stored =
                Whole ? _mm256_loadu_ps(depthRow + x) : _mm256_maskload_ps(depthRow + x, inSpan);
            pass = _mm256_and_si256(pass, _mm256_castps_si256(wide::DepthPass(k.zFunc, z, stored)));
            if (wide::AllZero(pass)) return;
        }
        __m256 u = _mm256_add_ps(su, _mm256_mul_ps(k.du, fi));
        __m256 v = _mm256_add_ps(sv, _mm256_mul_ps(k.dv, fi));
        if constexpr (C == Coords::Perspective) {
            const __m256 w = _mm256_add_ps(sw, _mm256_mul_ps(k.dw, fi));
            const __m256 nonZero = _mm256_cmp_ps(w, _mm256_setzero_ps(), _CMP_NEQ_UQ);
            u = _mm256_and_ps(_mm256_div_ps(u, w), nonZero);
            v = _mm256_and_ps(_mm256_div_ps(v, w), nonZero);
        }
        __m256i t, nearest = zero;
        if constexpr (Linear) {
            const __m256 half = _mm256_set1_ps(0.5f);
            __m256 fu = _mm256_sub_ps(_mm256_mul_ps(u, k.texW), half);
            __m256 fv = _mm256_sub_ps(_mm256_mul_ps(v, k.texH), half);
            if constexpr (C == Coords::Perspective || C == Coords::Affine) {
                fu = wide::SafeCoord8(fu);
                fv = wide::SafeCoord8(fv);
            }
            // Here no coordinate lies in [-2^-31, 0) (a float just below
            // 0.5, less 0.5, is at most -2^-25), so the float floor is
            // FloorInt's exactly.
            const __m256 flu = _mm256_floor_ps(fu), flv = _mm256_floor_ps(fv);
            const __m256i iu = _mm256_cvttps_epi32(flu), iv = _mm256_cvttps_epi32(flv);
            const __m256 scale = _mm256_set1_ps(256.0f);
            const __m256i wx = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_sub_ps(fu, flu), scale));
            const __m256i wy = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_sub_ps(fv, flv), scale));
            if (wide::AllZero(_mm256_or_si256(wx, wy))) {
                // Zero weights give the top-left texel exactly.
                const __m256i at = index(iu, iv);
                t = k.tryRowLoad ? wide::GatherOrLoad(tex, at) : wide::Gather(tex, at);
            } else {
                // In the padded copy each row's two taps are a pair, even
                // where the right one wraps to the first column, and the
                // lower row's pair lies one padded row further on. Just
                // below a texel centre the fraction rounds up to 1 and wx is
                // 256: the right texel alone, which the pixel takes as its
                // left one, with weight 0.
                const __m256i whole = _mm256_srli_epi32(wx, 8);
                const __m256i column = _mm256_and_si256(_mm256_add_epi32(iu, whole), k.maskU);
                const __m256i line = _mm256_and_si256(iv, k.maskV);
                const __m256i pair = _mm256_add_epi32(
                    _mm256_add_epi32(_mm256_sll_epi32(line, k.shiftV), line), column);
                const __m128i first = _mm256_castsi256_si128(pair);
                const __m128i last = _mm256_extracti128_si256(pair, 1);
                const __m256i rw = wide::RowWeights(_mm256_and_si256(wx, wide::Splat<255>()));
                const __m256i cw = wide::ColumnWeights(wy);
                // Pixels 0 1 4 5 2 3 6 7 come out: the 64-bit lanes put them
                // in order.
                t = _mm256_permute4x64_epi64(
                    wide::Bilinear8(
                        wide::GatherPairs(k.padded, first), wide::GatherPairs(k.paddedBelow, first),
                        wide::GatherPairs(k.padded, last), wide::GatherPairs(k.paddedBelow, last),
                        spread(rw, 0, 0, 0, 0, 1, 1, 1, 1), spread(rw, 4, 4, 4, 4, 5, 5, 5, 5),
                        spread(cw, 0, 1, 0, 1, 2, 3, 2, 3), spread(cw, 4, 5, 4, 5, 6, 7, 6, 7)),
                    0xD8);
            }
            if (colorKey) {
                // The key is tested on the nearest texel, as with point sampling.
                const auto nearestOf = [](__m256 f) {
                    return wide::FloorInt8(wide::SafeCoord8(f));
                };
                nearest = wide::Gather(tex, index(nearestOf(_mm256_mul_ps(u, k.texW)),
                                                  nearestOf(_mm256_mul_ps(v, k.texH))));
            }
        } else {
            const __m256i at =
                index(toTexel(_mm256_mul_ps(u, k.texW)), toTexel(_mm256_mul_ps(v, k.texH)));
            t = k.tryRowLoad ? wide::GatherOrLoad(tex, at) : wide::Gather(tex, at);
            nearest = t;
        }

        if (colorKey) {
            const __m256i keyed = _mm256_cmpeq_epi32(
                _mm256_and_si256(_mm256_xor_si256(nearest, k.keyValue), k.keyMask), zero);
            pass = _mm256_andnot_si256(keyed, pass);
        }
        if constexpr (!General) {
            if (k.addOr) t = _mm256_or_si256(_mm256_adds_epu8(t, k.addMask), k.orMask);
            if (k.scale) {
                t = _mm256_packus_epi16(Mul8x8(_mm256_unpacklo_epi8(t, zero), k.mul),
                                        Mul8x8(_mm256_unpackhi_epi8(t, zero), k.mul));
            }
        } else {
            __m256i d = k.constD;
            if (varying) {
                __m256i ch[4];
                for (int c = 0; c < 4; ++c) {
                    ch[c] = wide::ToChannel8(_mm256_add_ps(sc[c], _mm256_mul_ps(k.dc[c], fi)));
                }
                d = _mm256_or_si256(
                    _mm256_or_si256(ch[0], _mm256_slli_epi32(ch[1], 8)),
                    _mm256_or_si256(_mm256_slli_epi32(ch[2], 16), _mm256_slli_epi32(ch[3], 24)));
            }
            t = general(t, d);
        }
        if (k.alphaTest) {
            pass =
                _mm256_and_si256(pass, _mm256_cmpgt_epi32(_mm256_srli_epi32(t, 24), k.alphaBelow));
        }
        const int lanes = _mm256_movemask_ps(_mm256_castsi256_ps(pass));

        if constexpr (Depth) {
            if (k.zWrite && lanes != 0) {
                if (Whole) {
                    _mm256_storeu_ps(depthRow + x,
                                     _mm256_blendv_ps(stored, z, _mm256_castsi256_ps(pass)));
                } else {
                    _mm256_maskstore_ps(depthRow + x, pass, z);
                }
            }
        }
        auto* at = reinterpret_cast<__m256i*>(row + x);
        if constexpr (B == Blend::None) {
            if (lanes == 0) return;
            if (lanes == 0xFF) {
                _mm256_storeu_si256(at, t);
                return;
            }
        }
        if constexpr (Whole) {
            // Blended groups are written whole, the failing lanes as they
            // were: a branch on which lanes pass would be decided only at
            // the end of the group's work, and guessed wrong often.
            const __m256i dst = _mm256_loadu_si256(at);
            _mm256_storeu_si256(at, _mm256_blendv_epi8(dst, BlendPixels<B>(t, dst), pass));
        } else {
            auto* lanesAt = reinterpret_cast<int*>(row + x);
            __m256i dst = zero;
            if constexpr (B != Blend::None) dst = _mm256_maskload_epi32(lanesAt, inSpan);
            _mm256_maskstore_epi32(lanesAt, pass, BlendPixels<B>(t, dst));
        }
    };
    int x = x1;
    __m256 fi = _mm256_setr_ps(0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f);
    for (; x2 - x >= 8; x += 8, fi = _mm256_add_ps(fi, _mm256_set1_ps(8.0f))) {
        group(x, fi, std::true_type{});
    }
    if (x < x2) group(x, fi, std::false_type{});
}

// The affine spans whose coordinates may leave [0, 4e6], laid out apart from
// the common loop.
template <Blend B, Coords C, bool Linear, bool Depth, bool General>
[[gnu::noinline]] void RunGroupsApart(const PixelState& ps, const Constants& k, int y, int x1,
                                      int x2, const float* s) {
    RunGroups<B, C, Linear, Depth, General>(ps, k, y, x1, x2, s);
}

// Runs of fewer spans than this are started one by one: making eight
// starts at once pays only when all eight are used.
constexpr int kFewSpans = 8;

// One span, its first pixel's attributes in s: the groups.
template <Blend B, bool Perspective, bool Linear, bool Depth, bool General>
[[gnu::always_inline]] inline void RunSpan(const PixelState& ps, const Constants& k, const Row& r,
                                           const float* s, bool inRange, bool bounded) {
    const int y = r.y, x1 = r.x1, x2 = r.x2;
    if constexpr (Perspective) {
        RunGroups<B, Coords::Perspective, Linear, Depth, General>(ps, k, y, x1, x2, s);
    } else if (Linear && bounded) {
        // The bilinear loop floors every bounded coordinate alike.
        RunGroups<B, Coords::AffineBounded, Linear, Depth, General>(ps, k, y, x1, x2, s);
    } else if (!Linear && inRange) {
        RunGroups<B, Coords::AffineInRange, Linear, Depth, General>(ps, k, y, x1, x2, s);
    } else if (bounded) {
        RunGroupsApart<B, Coords::AffineBounded, Linear, Depth, General>(ps, k, y, x1, x2, s);
    } else {
        RunGroupsApart<B, Coords::Affine, Linear, Depth, General>(ps, k, y, x1, x2, s);
    }
}

template <Blend B, bool Perspective, bool Linear, bool Depth, bool General>
void WideRows(const PixelState& ps, const Planes& p, const Row* rows, int count) {
    const Constants k = MakeConstants<General>(ps, p);
    SpanStarts starts;
    int i = 0;
    // Eight spans' starts are made together, the rest one by one.
    for (; count - i >= kFewSpans; i += 8) {
        const int n = count - i < 8 ? count - i : 8;
        MakeSpanStarts(ps, p, rows + i, n, General && k.varying, Perspective, Linear, starts);
        for (int j = 0; j < n; ++j) {
            RunSpan<B, Perspective, Linear, Depth, General>(ps, k, rows[i + j], starts.s[j],
                                                            (starts.inRange >> j & 1) != 0,
                                                            (starts.bounded >> j & 1) != 0);
        }
    }
    for (; i < count; ++i) {
        alignas(16) float s[kAttrCount] = {};
        SpanStartLanes(p, rows[i], General && k.varying, s);
        AffineReach reach{};
        if constexpr (!Perspective) {
            reach = ReachOf(p, rows[i], s, float(ps.texW), float(ps.texH), Linear);
        }
        RunSpan<B, Perspective, Linear, Depth, General>(ps, k, rows[i], s, reach.inRange,
                                                        reach.bounded);
    }
}

template <Blend B, bool Perspective, bool Linear, bool Depth, bool General>
void WideSpan(const PixelState& ps, const Planes& p, int y, int x1, int x2) {
    const Row r{y, x1, x2};
    WideRows<B, Perspective, Linear, Depth, General>(ps, p, &r, 1);
}

// The eight-pixel family, for LoopTable.
template <Blend B, bool Perspective, bool Linear, bool Depth, bool General>
struct WideLoops {
    static constexpr VectorFns Fns() {
        return {&WideSpan<B, Perspective, Linear, Depth, General>,
                &WideRows<B, Perspective, Linear, Depth, General>};
    }
};

}  // namespace

VectorFns WideVectorFns(Blend blend, bool perspective, bool linear, bool depth, bool general) {
    return LoopTable<WideLoops>::Pick(blend, perspective, linear, depth, general);
}

}  // namespace brumil::platform::raster
