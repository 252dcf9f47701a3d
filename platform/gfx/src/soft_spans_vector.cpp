// Four-pixel SSE2 inner loops for the game's commonest draws: wrapping
// power-of-two textures, point or bilinear sampled, under a constant or a
// Gouraud diffuse colour, with or without the depth buffer (sprites,
// backgrounds, the lit ground patches). Every step is the scalar loop's
// arithmetic done in four lanes, so the pixels are the same bit for bit.
#include <bit>
#include <cstring>
#include <type_traits>

#include "span_start.h"
#include "span_table.h"
#include "span_wide.h"
#include "vector_ops.h"

namespace brumil::platform::raster {

namespace {

using simd::AllZero;
using simd::Div255;
using simd::Mul8x8;
using simd::SpreadAlpha;

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

// Four lanes of the span's partial last group: read and written through a
// small buffer when the row (or depth row) ends before the group does.
template <typename T, typename V, typename Load>
[[gnu::always_inline]] inline V LoadLanes(const T* at, bool whole, int n, Load load) {
    if (whole) return load(at);
    alignas(16) T part[4] = {};
    std::memcpy(part, at, sizeof(T) * n);
    return load(part);
}

// What every span of one triangle shares: the state and the triangle's
// slopes in lanes, made once for a run of rows.
struct GroupConstants {
    __m128 du, dv, dw, dz, texW, texH;
    __m128i maskU, maskV, shiftV, keyValue, keyMask, alphaBelow;
    // The simple combine of a constant diffuse colour.
    __m128i addMask, orMask, mul;
    // The general combine's channel choices and the constant diffuse colour.
    __m128i xOne, xDiffuse, xTexAlpha, yOne, yInvTexAlpha, twice, constD;
    __m128 dc[4];  // the diffuse slopes, when it varies
    const std::uint32_t* tex;
    std::uint32_t* target;
    std::size_t width, depthWidth;
    bool colorKey, varying, useY, useTwice, scale, zWrite;
    // Texels may come four neighbours in a row (a texture drawn at its own
    // size, unturned); each group still checks before one load.
    bool tryRowLoad;
    D3DLong zFunc;
};

template <bool General>
[[gnu::always_inline]] inline GroupConstants MakeConstants(const PixelState& ps, const Planes& p) {
    const Planes::Vector& pv = p.vec;
    GroupConstants k;
    k.du = _mm_set1_ps(p.dx[kU]);
    k.dv = _mm_set1_ps(p.dx[kV]);
    k.dw = _mm_set1_ps(p.dx[kW]);
    k.dz = _mm_set1_ps(p.dx[kZ]);
    k.texW = _mm_set1_ps(float(ps.texW));
    k.texH = _mm_set1_ps(float(ps.texH));
    k.maskU = _mm_set1_epi32(ps.texW - 1);
    k.maskV = _mm_set1_epi32(ps.texH - 1);
    k.shiftV = _mm_cvtsi32_si128(std::countr_zero(unsigned(ps.texW)));
    k.keyValue = _mm_set1_epi32(int(ps.keyValue));
    k.keyMask = _mm_set1_epi32(int(ps.keyMask));
    k.alphaBelow = _mm_set1_epi32(pv.minAlpha - 1);
    k.addMask = _mm_set1_epi32(int(pv.addMask));
    k.orMask = _mm_set1_epi32(int(pv.orMask));
    k.mul =
        _mm_setr_epi16(std::int16_t(pv.mul[0]), std::int16_t(pv.mul[1]), std::int16_t(pv.mul[2]),
                       std::int16_t(pv.mul[3]), std::int16_t(pv.mul[0]), std::int16_t(pv.mul[1]),
                       std::int16_t(pv.mul[2]), std::int16_t(pv.mul[3]));
    const auto lanes16 = [](const std::int16_t* m) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(m));
    };
    const __m128i c255 = _mm_set1_epi16(255);
    k.xOne = _mm_and_si128(lanes16(pv.xOne), c255);
    k.xDiffuse = lanes16(pv.xDiffuse);
    k.xTexAlpha = lanes16(pv.xTexAlpha);
    k.yOne = _mm_and_si128(lanes16(pv.yOne), c255);
    k.yInvTexAlpha = lanes16(pv.yInvTexAlpha);
    k.twice = lanes16(pv.twice);
    k.constD = _mm_set1_epi32(int(pv.diffuse));
    for (int c = 0; c < 4; ++c) k.dc[c] = _mm_set1_ps(General ? p.dx[kC + c] : 0.0f);
    k.tex = ps.tex;
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

// Runs the span [x1, x2) of row y four pixels at a time; s holds the
// attributes at its first pixel.
template <Blend B, Coords C, bool Linear, bool Depth, bool General>
[[gnu::always_inline]] inline void RunGroups(const PixelState& ps, const GroupConstants& k, int y,
                                             int x1, int x2, const float* s) {
    const __m128 su = _mm_set1_ps(s[kU]), sv = _mm_set1_ps(s[kV]);
    const __m128 sw = C == Coords::Perspective ? _mm_set1_ps(s[kW]) : _mm_setzero_ps();
    const __m128i zero = _mm_setzero_si128(), c255 = _mm_set1_epi16(255);
    const bool colorKey = k.colorKey, varying = General && k.varying;
    const std::uint32_t* tex = k.tex;
    std::uint32_t* row = k.target + static_cast<std::size_t>(y) * k.width;
    const bool useY = k.useY, useTwice = k.useTwice;
    // The diffuse colour's start per channel, when it varies.
    __m128 sc[4] = {};
    if (varying) {
        for (int c = 0; c < 4; ++c) sc[c] = _mm_set1_ps(s[kC + c]);
    }

    float* depthRow = nullptr;
    __m128 sz = _mm_setzero_ps();
    if constexpr (Depth) {
        depthRow = ps.depth + static_cast<std::size_t>(y) * k.depthWidth;
        sz = _mm_set1_ps(s[kZ]);
    }

    const auto toTexel = [](__m128 f) {
        if constexpr (C == Coords::AffineInRange) {
            return _mm_cvttps_epi32(f);
        } else if constexpr (C == Coords::AffineBounded) {
            return simd::FloorInt4(f);
        } else {
            return simd::FloorInt4(simd::SafeCoord4(f));
        }
    };
    const auto index = [&](__m128i iu, __m128i iv) {
        return _mm_add_epi32(_mm_sll_epi32(_mm_and_si128(iv, k.maskV), k.shiftV),
                             _mm_and_si128(iu, k.maskU));
    };
    // The stage combine of two pixels as 16-bit channels.
    const auto general = [&](__m128i t, __m128i d) {
        const __m128i ta = SpreadAlpha(t);
        const __m128i x = _mm_or_si128(
            k.xOne, _mm_or_si128(_mm_and_si128(k.xDiffuse, d), _mm_and_si128(k.xTexAlpha, ta)));
        __m128i r = Mul8x8(t, x);
        if (useTwice) r = _mm_add_epi16(r, _mm_and_si128(k.twice, r));
        if (useY) {
            const __m128i yv =
                _mm_or_si128(k.yOne, _mm_and_si128(k.yInvTexAlpha, _mm_sub_epi16(c255, ta)));
            r = _mm_add_epi16(r, Mul8x8(d, yv));
        }
        return r;
    };

    // One group of four pixels from x; fi holds their places along the span.
    // A whole group lies inside the span, hence inside the row (and the
    // depth row, at least as wide).
    const auto group = [&](int x, __m128 fi, auto wholeGroup) __attribute__((always_inline)) {
        constexpr bool Whole = decltype(wholeGroup)::value;
        const int n = Whole ? 4 : x2 - x;
        __m128i pass = _mm_set1_epi32(-1);
        if constexpr (!Whole) {  // the span's last pixels
            pass = _mm_cmpgt_epi32(_mm_set1_epi32(n), _mm_setr_epi32(0, 1, 2, 3));
        }
        // The depth test first: a group hidden behind the depth buffer costs
        // no texel.
        [[maybe_unused]] const bool wholeDepth = Whole || x + 4 <= ps.depthWidth;
        [[maybe_unused]] __m128 z, stored;
        if constexpr (Depth) {
            z = _mm_add_ps(sz, _mm_mul_ps(k.dz, fi));
            stored = LoadLanes<float, __m128>(depthRow + x, wholeDepth, n,
                                              [](const float* at) { return _mm_loadu_ps(at); });
            pass = _mm_and_si128(pass, _mm_castps_si128(simd::DepthPass(k.zFunc, z, stored)));
            if (_mm_movemask_ps(_mm_castsi128_ps(pass)) == 0) return;
        }
        __m128 u = _mm_add_ps(su, _mm_mul_ps(k.du, fi));
        __m128 v = _mm_add_ps(sv, _mm_mul_ps(k.dv, fi));
        if constexpr (C == Coords::Perspective) {
            const __m128 w = _mm_add_ps(sw, _mm_mul_ps(k.dw, fi));
            const __m128 nonZero = _mm_cmpneq_ps(w, _mm_setzero_ps());
            u = _mm_and_ps(_mm_div_ps(u, w), nonZero);
            v = _mm_and_ps(_mm_div_ps(v, w), nonZero);
        }
        __m128i t = _mm_setzero_si128(), nearest = _mm_setzero_si128();
        if constexpr (Linear) {
            const __m128 half = _mm_set1_ps(0.5f);
            __m128 fu = _mm_sub_ps(_mm_mul_ps(u, k.texW), half);
            __m128 fv = _mm_sub_ps(_mm_mul_ps(v, k.texH), half);
            if constexpr (C == Coords::Perspective || C == Coords::Affine) {
                fu = simd::SafeCoord4(fu);
                fv = simd::SafeCoord4(fv);
            }
            const __m128i iu = toTexel(fu), iv = toTexel(fv);
            const __m128 scale = _mm_set1_ps(256.0f);
            const __m128i wx =
                _mm_cvttps_epi32(_mm_mul_ps(_mm_sub_ps(fu, _mm_cvtepi32_ps(iu)), scale));
            const __m128i wy =
                _mm_cvttps_epi32(_mm_mul_ps(_mm_sub_ps(fv, _mm_cvtepi32_ps(iv)), scale));
            const __m128i one = _mm_set1_epi32(1);
            const __m128i iu1 = _mm_add_epi32(iu, one), iv1 = _mm_add_epi32(iv, one);
            const __m128i at = index(iu, iv);
            if (simd::AllZero(_mm_or_si128(wx, wy))) {
                // Zero weights give the top-left texel exactly (a texture
                // drawn at its own size with texel centres on pixel centres).
                t = k.tryRowLoad ? simd::GatherOrLoad(tex, at) : simd::Gather(tex, at);
            } else if (AllZero(_mm_cmpeq_epi32(_mm_and_si128(iu, k.maskU), k.maskU))) {
                // No pixel wraps from the texture's last column to its first,
                // so each row's two texels lie side by side.
                __m128i top[4], bottom[4];
                simd::LoadPairs(tex, at, top);
                simd::LoadPairs(tex, index(iu, iv1), bottom);
                t = simd::Bilinear4Pairs(top, bottom, wx, wy);
            } else {
                t = simd::Bilinear4(simd::Gather(tex, at), simd::Gather(tex, index(iu1, iv)),
                                    simd::Gather(tex, index(iu, iv1)),
                                    simd::Gather(tex, index(iu1, iv1)), wx, wy);
            }
            if (colorKey) {
                // The key is tested on the nearest texel, as with point sampling.
                const auto nearestOf = [](__m128 f) {
                    return simd::FloorInt4(simd::SafeCoord4(f));
                };
                nearest = simd::Gather(
                    tex, index(nearestOf(_mm_mul_ps(u, k.texW)), nearestOf(_mm_mul_ps(v, k.texH))));
            }
        } else {
            const __m128i at =
                index(toTexel(_mm_mul_ps(u, k.texW)), toTexel(_mm_mul_ps(v, k.texH)));
            t = k.tryRowLoad ? simd::GatherOrLoad(tex, at) : simd::Gather(tex, at);
            nearest = t;
        }

        if (colorKey) {
            const __m128i keyed =
                _mm_cmpeq_epi32(_mm_and_si128(_mm_xor_si128(nearest, k.keyValue), k.keyMask), zero);
            pass = _mm_andnot_si128(keyed, pass);
        }
        if constexpr (!General) {
            t = _mm_or_si128(_mm_adds_epu8(t, k.addMask), k.orMask);
            if (k.scale) {
                t = _mm_packus_epi16(Mul8x8(_mm_unpacklo_epi8(t, zero), k.mul),
                                     Mul8x8(_mm_unpackhi_epi8(t, zero), k.mul));
            }
        } else {
            __m128i d = k.constD;
            if (varying) {
                __m128i ch[4];
                for (int c = 0; c < 4; ++c) {
                    ch[c] = simd::ToChannel4(_mm_add_ps(sc[c], _mm_mul_ps(k.dc[c], fi)));
                }
                d = _mm_or_si128(
                    _mm_or_si128(ch[0], _mm_slli_epi32(ch[1], 8)),
                    _mm_or_si128(_mm_slli_epi32(ch[2], 16), _mm_slli_epi32(ch[3], 24)));
            }
            // The pack saturates sums above 255 (add, modulate2x).
            t = _mm_packus_epi16(general(_mm_unpacklo_epi8(t, zero), _mm_unpacklo_epi8(d, zero)),
                                 general(_mm_unpackhi_epi8(t, zero), _mm_unpackhi_epi8(d, zero)));
        }
        pass = _mm_and_si128(pass, _mm_cmpgt_epi32(_mm_srli_epi32(t, 24), k.alphaBelow));

        if constexpr (Depth) {
            const bool whole = wholeDepth;
            if (k.zWrite && _mm_movemask_ps(_mm_castsi128_ps(pass)) != 0) {
                const __m128 m = _mm_castsi128_ps(pass);
                const __m128 out = _mm_or_ps(_mm_and_ps(m, z), _mm_andnot_ps(m, stored));
                if (whole) {
                    _mm_storeu_ps(depthRow + x, out);
                } else {
                    alignas(16) float part[4];
                    _mm_store_ps(part, out);
                    std::memcpy(depthRow + x, part, sizeof(float) * n);
                }
            }
        }
        const int lanes = _mm_movemask_ps(_mm_castsi128_ps(pass));
        if (lanes == 0) return;
        if constexpr (B == Blend::SrcAlphaInvSrcAlpha) {
            // Four opaque pixels replace the target (the blend at alpha 255
            // gives the source exactly), so it need not be read.
            if (lanes == 15 && simd::AllOpaque(t)) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), t);
                return;
            }
        }
        if (B == Blend::None && lanes == 15) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), t);
            return;
        }
        // Lanes past the span but inside the row are read and written back
        // unchanged; at the row's end only the span's pixels are touched.
        const bool whole = Whole || std::size_t(x) + 4 <= k.width;
        const __m128i dst =
            LoadLanes<std::uint32_t, __m128i>(row + x, whole, n, [](const std::uint32_t* at) {
                return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            });
        __m128i out = BlendPixels<B>(t, dst);
        if (lanes != 15) out = _mm_or_si128(_mm_and_si128(pass, out), _mm_andnot_si128(pass, dst));
        if (whole) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), out);
        } else {
            alignas(16) std::uint32_t part[4];
            _mm_store_si128(reinterpret_cast<__m128i*>(part), out);
            std::memcpy(row + x, part, sizeof(std::uint32_t) * n);
        }
    };
    int x = x1;
    __m128 fi = _mm_setr_ps(0.0f, 1.0f, 2.0f, 3.0f);
    for (; x2 - x >= 4; x += 4, fi = _mm_add_ps(fi, _mm_set1_ps(4.0f))) {
        group(x, fi, std::true_type{});
    }
    if (x < x2) group(x, fi, std::false_type{});
}

// The affine spans whose coordinates may leave [0, 4e6]: kept apart so that
// the common loop is laid out on its own.
template <Blend B, Coords C, bool Linear, bool Depth, bool General>
[[gnu::noinline]] void RunGroupsApart(const PixelState& ps, const GroupConstants& k, int y, int x1,
                                      int x2, const float* s) {
    RunGroups<B, C, Linear, Depth, General>(ps, k, y, x1, x2, s);
}

// One span: its first pixel's attributes, then the groups.
template <Blend B, bool Perspective, bool Linear, bool Depth, bool General>
[[gnu::always_inline]] inline void RunSpan(const PixelState& ps, const Planes& p,
                                           const GroupConstants& k, const Row& r) {
    const int y = r.y, x1 = r.x1, x2 = r.x2;
    alignas(16) float s[kAttrCount] = {};
    SpanStartLanes(p, r, General && k.varying, s);
    if constexpr (Perspective) {
        RunGroups<B, Coords::Perspective, Linear, Depth, General>(ps, k, y, x1, x2, s);
    } else {
        const AffineReach reach = ReachOf(p, r, s, float(ps.texW), float(ps.texH), Linear);
        if (reach.inRange) {
            RunGroups<B, Coords::AffineInRange, Linear, Depth, General>(ps, k, y, x1, x2, s);
        } else if (reach.bounded) {
            RunGroupsApart<B, Coords::AffineBounded, Linear, Depth, General>(ps, k, y, x1, x2, s);
        } else {
            RunGroupsApart<B, Coords::Affine, Linear, Depth, General>(ps, k, y, x1, x2, s);
        }
    }
}

// A run of one triangle's rows, its constants made once.
template <Blend B, bool Perspective, bool Linear, bool Depth, bool General>
void VectorRows(const PixelState& ps, const Planes& p, const Row* rows, int count) {
    const GroupConstants k = MakeConstants<General>(ps, p);
    for (int i = 0; i < count; ++i) {
        RunSpan<B, Perspective, Linear, Depth, General>(ps, p, k, rows[i]);
    }
}

template <Blend B, bool Perspective, bool Linear, bool Depth, bool General>
void VectorSpan(const PixelState& ps, const Planes& p, int y, int x1, int x2) {
    const Row r{y, x1, x2};
    VectorRows<B, Perspective, Linear, Depth, General>(ps, p, &r, 1);
}

// The four-pixel family, for LoopTable.
template <Blend B, bool Perspective, bool Linear, bool Depth, bool General>
struct VectorLoops {
    static constexpr VectorFns Fns() {
        return {&VectorSpan<B, Perspective, Linear, Depth, General>,
                &VectorRows<B, Perspective, Linear, Depth, General>};
    }
};

// The general combine's choices for one channel (see Planes::Vector).
// The form of the general combine in pv's masks.
Planes::Vector::Form FormOf(const Planes::Vector& pv) {
    using Form = Planes::Vector::Form;
    // Bit c set where channel c (b, g, r, a) of m is not 0.
    const auto set = [](const std::int16_t* m) {
        int bits = 0;
        for (int c = 0; c < 4; ++c) bits |= (m[c] != 0 ? 1 : 0) << c;
        return bits;
    };
    constexpr int kColour = 0x7, kAlpha = 0x8;
    const int one = set(pv.xOne), diffuse = set(pv.xDiffuse), texAlpha = set(pv.xTexAlpha);
    const int yAll = set(pv.yOne), yInv = set(pv.yInvTexAlpha);
    if (set(pv.twice) != 0) return Form::kAny;
    if (one == 0 && diffuse == 0 && yInv == texAlpha && yAll == (~texAlpha & 0xF)) {
        return Form::kTextureAlphaMix;
    }
    if (one == kColour && diffuse == kAlpha && texAlpha == 0 && yAll == kColour && yInv == 0) {
        return Form::kAddModulateAlpha;
    }
    return Form::kAny;
}

void SetChannel(Planes::Vector& pv, int k, Combine kind) {
    const auto set = [&](std::int16_t* m) { m[k] = m[k + 4] = -1; };
    switch (kind) {
        case Combine::Select:
            set(pv.xOne);
            break;
        case Combine::Modulate:
            set(pv.xDiffuse);
            break;
        case Combine::Diffuse:  // Mul8(t, 0) + Mul8(d, 255) is d
            set(pv.yOne);
            pv.useY = true;
            break;
        case Combine::Add:  // Mul8(x, 255) is x
            set(pv.xOne);
            set(pv.yOne);
            pv.useY = true;
            break;
        case Combine::Modulate2x:
            set(pv.xDiffuse);
            set(pv.twice);
            pv.useTwice = true;
            break;
        default:  // texture and diffuse mixed by the texture's alpha
            set(pv.xTexAlpha);
            set(pv.yInvTexAlpha);
            pv.useY = true;
            break;
    }
}

// The four-pixel loops for this state and triangle, p.vec filled; none when
// no loop fits.
VectorFns ChooseVector(const PixelState& ps, Planes& p) {
    if (ps.tex == nullptr || ps.specularAdd) return {};
    if (!ps.wrapPow2 || ps.alphaMin < 0) return {};
    const Combine ck = ps.colorKind, ak = ps.alphaKind;
    if (ck == Combine::Generic || ak == Combine::Generic) return {};
    // The simple combine knows the texture selected or modulated, a constant
    // colour added to the texture's, which is one saturating addition, and
    // the constant colour alone.
    const auto plain = [](Combine c) {
        return c == Combine::Select || c == Combine::Modulate || c == Combine::Diffuse;
    };
    const bool simple = p.constColor && (plain(ck) || ck == Combine::Add) && plain(ak);
    VectorFns fns = LoopTable<VectorLoops>::Pick(ps.blendKind, p.perspective, ps.linear,
                                                 ps.depth != nullptr, !simple);
    if (fns.span == nullptr) return {};
    // The wide loops filter from the padded copy of the texture.
    if (ps.allowWide && WideLoopsUsable() && (!ps.linear || ps.texPadded != nullptr)) {
        const VectorFns wide =
            WideVectorFns(ps.blendKind, p.perspective, ps.linear, ps.depth != nullptr, !simple);
        if (wide.span != nullptr) fns = wide;
        // Perspective draws keep to eight pixels: their groups wait on two
        // divisions each, and the many small triangles of meshes in
        // perspective fill few of sixteen lanes.
        if (ps.allowWidest && Wide16LoopsUsable() && !p.perspective) {
            const VectorFns widest = Wide16VectorFns(ps.blendKind, p.perspective, ps.linear,
                                                     ps.depth != nullptr, !simple);
            if (widest.span != nullptr) fns = widest;
        }
    }

    Planes::Vector& pv = p.vec;
    pv = {};
    pv.varying = !p.constColor;
    for (int k = 0; k < 4; ++k) pv.diffuse |= std::uint32_t(ToChannel(p.a[kC + k])) << (8 * k);
    if (simple) {
        // The diffuse colour is the same at every pixel (its slopes are
        // zero). Selecting the diffuse alpha is 255 x diffuse alpha, since
        // Mul8(255, a) is a; so is taking a texture channel unchanged.
        int d[4];
        for (int k = 0; k < 4; ++k) d[k] = ToChannel(p.a[kC + k]);
        if (ck == Combine::Modulate) {
            for (int k = 0; k < 3; ++k) pv.mul[k] = d[k];
        }
        // Texture plus diffuse is Mul8(texel, 255) + Mul8(diffuse, 255),
        // saturated: the plain sum.
        if (ck == Combine::Add) {
            for (int k = 0; k < 3; ++k) pv.addMask |= std::uint32_t(d[k]) << (8 * k);
        }
        // The diffuse colour alone: the texel's colour saturated to 255 by
        // the addition, then scaled to d. Mul8(255, d) is d for every d in
        // 0..255: t = 255d + 128 and t >> 8 is d or d - 1, so t + (t >> 8)
        // is 256d + 128 or 256d + 127, which shifts down to d.
        if (ck == Combine::Diffuse) {
            pv.addMask = 0x00FFFFFFu;
            for (int k = 0; k < 3; ++k) pv.mul[k] = d[k];
        }
        if (ak != Combine::Select) pv.mul[3] = d[3];
        if (ak == Combine::Diffuse) pv.orMask = 0xFF000000u;
        for (int m : pv.mul) pv.scale = pv.scale || m != 255;
    } else {
        for (int k = 0; k < 3; ++k) SetChannel(pv, k, ck);
        SetChannel(pv, 3, ak);
        pv.form = FormOf(pv);
    }
    // The source-alpha blends leave the target as it is at alpha 0, so those
    // pixels are skipped too; but not with a depth buffer, whose write does
    // not depend on the blend.
    pv.minAlpha = ps.alphaMin;
    const bool srcAlpha =
        ps.blendKind == Blend::SrcAlphaInvSrcAlpha || ps.blendKind == Blend::SrcAlphaOne;
    if (srcAlpha && ps.depth == nullptr) pv.minAlpha = pv.minAlpha < 1 ? 1 : pv.minAlpha;
    return fns;
}

}  // namespace

bool WideLoopsUsable() {
    static const bool usable = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return usable;
}

bool Wide16LoopsUsable() {
    static const bool usable = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512bw") != 0 &&
               __builtin_cpu_supports("avx512vl") != 0 && __builtin_cpu_supports("avx512dq") != 0;
    }();
    return usable;
}

SpanFn ChooseVectorSpan(const PixelState& ps, Planes& p) {
    return ChooseVector(ps, p).span;
}

RowsFn ChooseVectorRows(const PixelState& ps, Planes& p, PairRowsFn* pairs) {
    const VectorFns fns = ChooseVector(ps, p);
    if (pairs != nullptr) *pairs = fns.pairs;
    return fns.rows;
}

}  // namespace brumil::platform::raster
