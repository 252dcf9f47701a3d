// The inner loops. GenericSpan runs the whole pipeline for any state; the
// specialised loops cover the game's sprite and background draws (a texture
// selected or modulated by the diffuse colour, no depth buffer, the four usual
// blends) and give the same pixels.
#include <algorithm>

#include "span.h"

namespace brumil::platform::raster {

void GenericSpan(const PixelState& ps, const Planes& p, int y, int x1, int x2) {
    float s[kAttrCount];
    SpanStart(p, x1, y, s);
    Rgba d{}, sp{};
    if (p.constColor) {
        for (int k = 0; k < 4; ++k) {
            d.c[k] = ToChannel(s[kC + k]);
            sp.c[k] = ToChannel(s[kS + k]);
        }
    }
    for (int x = x1; x < x2; ++x) {
        const float i = float(x - x1);
        float u = s[kU] + p.dx[kU] * i, v = s[kV] + p.dx[kV] * i;
        if (p.perspective) {
            const float w = s[kW] + p.dx[kW] * i;
            u = w != 0.0f ? u / w : 0.0f;
            v = w != 0.0f ? v / w : 0.0f;
        }
        if (!p.constColor) {
            for (int k = 0; k < 4; ++k) {
                d.c[k] = ToChannel(s[kC + k] + p.dx[kC + k] * i);
                sp.c[k] = ToChannel(s[kS + k] + p.dx[kS + k] * i);
            }
        }
        ShadePixel(ps, x, y, s[kZ] + p.dx[kZ] * i, u, v, d, sp);
    }
}

namespace {

template <bool Linear, Combine CK, Combine AK, Blend B>
void FastSpan(const PixelState& ps, const Planes& p, int y, int x1, int x2) {
    float s[kAttrCount];
    SpanStart(p, x1, y, s);
    Rgba d{};
    for (int k = 0; k < 4; ++k) d.c[k] = ToChannel(s[kC + k]);
    std::uint32_t* row = ps.target + static_cast<std::size_t>(y) * ps.width;
    const float du = p.dx[kU], dv = p.dx[kV], dw = p.dx[kW];
    for (int x = x1; x < x2; ++x) {
        const float i = float(x - x1);
        float u = s[kU] + du * i, v = s[kV] + dv * i;
        if (p.perspective) {
            const float w = s[kW] + dw * i;
            u = w != 0.0f ? u / w : 0.0f;
            v = w != 0.0f ? v / w : 0.0f;
        }
        std::uint32_t t;
        if (ps.colorKey) {
            const std::uint32_t near = SamplePoint(ps, u, v);
            if (((near ^ ps.keyValue) & ps.keyMask) == 0) continue;
            t = Linear ? SampleLinear(ps, u, v) : near;
        } else {
            t = Linear ? SampleLinear(ps, u, v) : SamplePoint(ps, u, v);
        }
        std::uint32_t src;
        int sa;
        if constexpr (CK == Combine::Select && AK == Combine::Select) {
            src = t;
            sa = int(t >> 24);
        } else {
            if (!p.constColor) {
                for (int k = 0; k < 4; ++k) d.c[k] = ToChannel(s[kC + k] + p.dx[kC + k] * i);
            }
            std::uint32_t rgb;
            if constexpr (CK == Combine::Select) {
                rgb = t & 0x00FFFFFFu;
            } else {
                const int b = Mul8(int(t & 255), d.c[0]);
                const int g = Mul8(int((t >> 8) & 255), d.c[1]);
                const int r = Mul8(int((t >> 16) & 255), d.c[2]);
                rgb = std::uint32_t(b) | std::uint32_t(g) << 8 | std::uint32_t(r) << 16;
            }
            if constexpr (AK == Combine::Select) {
                sa = int(t >> 24);
            } else if constexpr (AK == Combine::Diffuse) {
                sa = d.c[3];
            } else {
                sa = Mul8(int(t >> 24), d.c[3]);
            }
            src = rgb | std::uint32_t(sa) << 24;
        }
        if (ps.alphaTest && !ps.alphaPass[sa]) continue;
        std::uint32_t& dst = row[x];
        if constexpr (B == Blend::None) {
            dst = src;
        } else if constexpr (B == Blend::SrcAlphaInvSrcAlpha) {
            // Transparent texels leave the target; opaque ones replace it.
            if (sa == 0) continue;
            if (sa == 255) {
                dst = src;
                continue;
            }
            dst = LerpPixel(src, dst, sa);
        } else if constexpr (B == Blend::SrcAlphaOne) {
            if (sa == 0) continue;
            const std::uint32_t o = dst;
            std::uint32_t out = 0;
            for (int sh = 0; sh < 32; sh += 8) {
                const int sc = int((src >> sh) & 255), dc = int((o >> sh) & 255);
                out |= std::uint32_t(Sat(Mul8(sc, sa) + dc)) << sh;
            }
            dst = out;
        } else if constexpr (B == Blend::OneOne) {
            const std::uint32_t o = dst;
            std::uint32_t out = 0;
            for (int sh = 0; sh < 32; sh += 8) {
                out |= std::uint32_t(Sat(int((src >> sh) & 255) + int((o >> sh) & 255))) << sh;
            }
            dst = out;
        }
    }
}

template <bool Linear, Combine CK, Combine AK>
SpanFn PickBlend(Blend b) {
    switch (b) {
        case Blend::None:
            return &FastSpan<Linear, CK, AK, Blend::None>;
        case Blend::SrcAlphaInvSrcAlpha:
            return &FastSpan<Linear, CK, AK, Blend::SrcAlphaInvSrcAlpha>;
        case Blend::SrcAlphaOne:
            return &FastSpan<Linear, CK, AK, Blend::SrcAlphaOne>;
        case Blend::OneOne:
            return &FastSpan<Linear, CK, AK, Blend::OneOne>;
        default:
            return &GenericSpan;
    }
}

template <bool Linear, Combine CK>
SpanFn PickAlpha(const PixelState& ps) {
    switch (ps.alphaKind) {
        case Combine::Modulate:
            return PickBlend<Linear, CK, Combine::Modulate>(ps.blendKind);
        case Combine::Diffuse:
            return PickBlend<Linear, CK, Combine::Diffuse>(ps.blendKind);
        default:
            return PickBlend<Linear, CK, Combine::Select>(ps.blendKind);
    }
}

template <bool Linear>
SpanFn PickCombine(const PixelState& ps) {
    return ps.colorKind == Combine::Modulate ? PickAlpha<Linear, Combine::Modulate>(ps)
                                             : PickAlpha<Linear, Combine::Select>(ps);
}

void KeepTargetSpan(const PixelState&, const Planes&, int, int, int) {}

// Whether the stage's result leaves the texel out: colour and alpha each off
// or a selected argument other than the texture.
bool StageIgnoresTexel(const PixelState& ps) {
    const auto other = [](D3DLong op, D3DLong a1, D3DLong a2) {
        if (op == D3DTOP_DISABLE) return true;
        if (op == D3DTOP_SELECTARG1) return (a1 & 0x0F) != D3DTA_TEXTURE;
        if (op == D3DTOP_SELECTARG2) return (a2 & 0x0F) != D3DTA_TEXTURE;
        return false;
    };
    if (ps.colorOp == D3DTOP_DISABLE) return true;
    return other(ps.colorOp, ps.colorArg1, ps.colorArg2) &&
           other(ps.alphaOp, ps.alphaArg1, ps.alphaArg2);
}

// A triangle whose pixels all take one colour: the texel matters neither to
// the stage nor to a colour key, and the colours do not vary, so the stage
// and the alpha test run once per span.
void ConstantSpan(const PixelState& ps, const Planes& p, int y, int x1, int x2) {
    float s[kAttrCount];
    SpanStart(p, x1, y, s);
    Rgba d{}, sp{};
    for (int k = 0; k < 4; ++k) {
        d.c[k] = ToChannel(s[kC + k]);
        sp.c[k] = ToChannel(s[kS + k]);
    }
    Rgba src = CombineStage(ps, Rgba{{255, 255, 255, 255}}, d, sp);
    if (ps.specularAdd) {
        for (int i = 0; i < 3; ++i) src.c[i] = Sat(src.c[i] + sp.c[i]);
    }
    if (ps.alphaTest && !ps.alphaPass[src.c[3]]) return;
    std::uint32_t* row = ps.target + static_cast<std::size_t>(y) * ps.width;
    const std::uint32_t packed = Pack(src);
    if (ps.depth == nullptr && !ps.blend) {
        std::fill(row + x1, row + x2, packed);
        return;
    }
    float* depthRow =
        ps.depth != nullptr ? ps.depth + static_cast<std::size_t>(y) * ps.depthWidth : nullptr;
    for (int x = x1; x < x2; ++x) {
        if (depthRow != nullptr) {
            const float z = s[kZ] + p.dx[kZ] * float(x - x1);
            float& zb = depthRow[x];
            if (ps.zTest && !Compare(ps.zFunc, z, zb)) continue;
            if (ps.zWrite) zb = z;
        }
        row[x] = ps.blend ? BlendGeneric(ps, src, row[x]) : packed;
    }
}

// The alpha test's answer for every alpha, and the least passing alpha when
// the passing alphas run from it to 255. Every function passes a range of
// alphas or all but one, so the table is filled in at most three pieces.
void FillAlphaTest(PixelState& ps) {
    const int ref = ps.alphaRef;
    constexpr int kNone = 256, kNoRange = -1;
    // Alphas in [from, to) pass, the rest fail; `flip` reverses every answer.
    const auto fill = [&](int from, int to, bool flip) {
        std::fill(ps.alphaPass, ps.alphaPass + 256, flip);
        if (from < to) std::fill(ps.alphaPass + from, ps.alphaPass + to, !flip);
    };
    switch (ps.alphaFunc) {
        case D3DCMP_NEVER:
            fill(0, 0, false);
            ps.alphaMin = kNone;
            break;
        case D3DCMP_LESS:
            fill(0, ref, false);
            ps.alphaMin = ref == 0 ? kNone : kNoRange;
            break;
        case D3DCMP_EQUAL:
            fill(ref, ref + 1, false);
            ps.alphaMin = ref == 255 ? 255 : kNoRange;
            break;
        case D3DCMP_LESSEQUAL:
            fill(0, ref + 1, false);
            ps.alphaMin = ref == 255 ? 0 : kNoRange;
            break;
        case D3DCMP_GREATER:
            fill(ref + 1, 256, false);
            ps.alphaMin = ref + 1;
            break;
        case D3DCMP_NOTEQUAL:
            fill(ref, ref + 1, true);
            ps.alphaMin = ref == 0 ? 1 : kNoRange;
            break;
        case D3DCMP_GREATEREQUAL:
            fill(ref, 256, false);
            ps.alphaMin = ref;
            break;
        default:
            fill(0, 256, false);
            ps.alphaMin = 0;
            break;
    }
}

}  // namespace

namespace {

// Whether a four-pixel loop may serve this state (then ChooseVectorSpan
// decides for the triangle).
bool VectorMayServe(const PixelState& ps) {
    if (!ps.allowSpecialised) return false;
    if (ps.blendKind == Blend::KeepTarget && ps.depth == nullptr) return false;
    if (ps.tex == nullptr || ps.specularAdd) return false;
    return ps.colorKind != Combine::Generic && ps.alphaKind != Combine::Generic;
}

}  // namespace

RowsFn ChooseRows(const PixelState& ps, Planes& p, PairRowsFn* pairs) {
    if (pairs != nullptr) *pairs = nullptr;
    return VectorMayServe(ps) ? ChooseVectorRows(ps, p, pairs) : nullptr;
}

SpanFn ChooseSpan(const PixelState& ps, Planes& p) {
    if (!ps.allowSpecialised) return &GenericSpan;
    if (ps.blendKind == Blend::KeepTarget && ps.depth == nullptr) return &KeepTargetSpan;
    const bool texelUnread = !ps.textureUsed || ps.tex == nullptr;
    if (p.constColor && (texelUnread || (!ps.colorKey && StageIgnoresTexel(ps)))) {
        return &ConstantSpan;
    }
    if (!VectorMayServe(ps)) return &GenericSpan;
    if (const SpanFn vector = ChooseVectorSpan(ps, p)) return vector;
    // The scalar loops know neither the depth buffer nor the combines beyond
    // select and modulate (and the diffuse alpha alone): a colour taken from
    // the diffuse colour alone keeps to the general loop.
    const bool scalarColor = ps.colorKind == Combine::Select || ps.colorKind == Combine::Modulate;
    const bool scalarAlpha =
        scalarColor && (ps.alphaKind == Combine::Select || ps.alphaKind == Combine::Modulate ||
                        ps.alphaKind == Combine::Diffuse);
    if (ps.depth != nullptr || !scalarAlpha) return &GenericSpan;
    return ps.linear ? PickCombine<true>(ps) : PickCombine<false>(ps);
}

void Classify(PixelState& ps) {
    ps.alphaMin = 0;
    if (ps.alphaTest) FillAlphaTest(ps);
    const auto argIs = [](D3DLong arg, D3DLong what) { return arg == what; };
    ps.textureUsed = false;
    if (ps.colorOp != D3DTOP_DISABLE) {
        ps.textureUsed = (ps.colorArg1 & 0x0F) == D3DTA_TEXTURE ||
                         (ps.colorArg2 & 0x0F) == D3DTA_TEXTURE ||
                         ps.colorOp == D3DTOP_BLENDTEXTUREALPHA;
        if (ps.alphaOp != D3DTOP_DISABLE) {
            ps.textureUsed = ps.textureUsed || (ps.alphaArg1 & 0x0F) == D3DTA_TEXTURE ||
                             (ps.alphaArg2 & 0x0F) == D3DTA_TEXTURE ||
                             ps.alphaOp == D3DTOP_BLENDTEXTUREALPHA;
        }
    }
    if (!ps.textureUsed) ps.colorKey = false;

    // Colour and alpha each: texture alone, texture x diffuse, texture and
    // diffuse mixed by the texture's alpha, added or doubled, or the diffuse
    // colour alone.
    const auto kind = [&](D3DLong op, D3DLong a1, D3DLong a2) {
        if (op == D3DTOP_SELECTARG2 && argIs(a2, D3DTA_DIFFUSE)) return Combine::Diffuse;
        if (!argIs(a1, D3DTA_TEXTURE)) return Combine::Generic;
        if (op == D3DTOP_SELECTARG1) return Combine::Select;
        if (op == D3DTOP_MODULATE && argIs(a2, D3DTA_DIFFUSE)) return Combine::Modulate;
        if (op == D3DTOP_BLENDTEXTUREALPHA && argIs(a2, D3DTA_DIFFUSE)) {
            return Combine::BlendTextureAlpha;
        }
        if (op == D3DTOP_ADD && argIs(a2, D3DTA_DIFFUSE)) return Combine::Add;
        if (op == D3DTOP_MODULATE2X && argIs(a2, D3DTA_DIFFUSE)) return Combine::Modulate2x;
        return Combine::Generic;
    };
    ps.colorKind = kind(ps.colorOp, ps.colorArg1, ps.colorArg2);
    ps.alphaKind = kind(ps.alphaOp, ps.alphaArg1, ps.alphaArg2);
    // A stage that takes neither colour nor alpha from the texture has the
    // one-colour loop when flat; Gouraud-coloured or keyed, such draws are
    // rare and keep to the general loop rather than fetch texels for nothing.
    if (ps.colorKind == Combine::Diffuse && ps.alphaKind == Combine::Diffuse) {
        ps.colorKind = Combine::Generic;
    }

    ps.blendKind = Blend::None;
    if (ps.blend) {
        const D3DLong s = ps.srcBlend, d = ps.dstBlend;
        if (s == D3DBLEND_SRCALPHA && d == D3DBLEND_INVSRCALPHA) {
            ps.blendKind = Blend::SrcAlphaInvSrcAlpha;
        } else if (s == D3DBLEND_SRCALPHA && d == D3DBLEND_ONE) {
            ps.blendKind = Blend::SrcAlphaOne;
        } else if (s == D3DBLEND_ONE && d == D3DBLEND_ONE) {
            ps.blendKind = Blend::OneOne;
        } else if (s == D3DBLEND_ZERO && d == D3DBLEND_ONE) {
            ps.blendKind = Blend::KeepTarget;
        } else {
            ps.blendKind = Blend::Generic;
        }
    }
}

}  // namespace brumil::platform::raster
