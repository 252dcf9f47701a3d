#pragma once
// Per-pixel operations shared by the generic and the specialised inner loops:
// texture sampling, the stage combine, the tests and the blend. Channels are
// 0..255 integers; every result saturates.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "raster.h"

namespace brumil::platform::raster {

struct Rgba {
    int c[4];  // b, g, r, a
};

inline Rgba Unpack(std::uint32_t p) {
    return {{int(p & 255), int((p >> 8) & 255), int((p >> 16) & 255), int(p >> 24)}};
}
inline std::uint32_t Pack(const Rgba& v) {
    return std::uint32_t(v.c[0]) | std::uint32_t(v.c[1]) << 8 | std::uint32_t(v.c[2]) << 16 |
           std::uint32_t(v.c[3]) << 24;
}

// a * b / 255, rounded to nearest.
inline int Mul8(int a, int b) {
    const int t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}
// (s * a + d * (255 - a)) / 255 rounded, for two channels at once: the
// channels sit in bits 0-7 and 16-23 of s and d.
[[gnu::always_inline]] inline std::uint32_t Lerp2(std::uint32_t s, std::uint32_t d, int a) {
    std::uint32_t t = s * std::uint32_t(a) + d * std::uint32_t(255 - a) + 0x00800080u;
    t = (t + ((t >> 8) & 0x00FF00FFu)) >> 8;
    return t & 0x00FF00FFu;
}

// The source-alpha blend of a whole pixel.
[[gnu::always_inline]] inline std::uint32_t LerpPixel(std::uint32_t src, std::uint32_t dst, int a) {
    return Lerp2(src & 0x00FF00FFu, dst & 0x00FF00FFu, a) |
           Lerp2((src >> 8) & 0x00FF00FFu, (dst >> 8) & 0x00FF00FFu, a) << 8;
}

inline int Sat(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Keeps a texture coordinate finite and small before it becomes an integer.
// (Plain comparisons: the library's fmin and fmax are calls.)
inline float SafeCoord(float f) {
    if (!(f >= -4.0e6f)) f = -4.0e6f;  // NaN lands here too
    return f > 4.0e6f ? 4.0e6f : f;
}

inline int Address(int i, int n, bool pow2, int mode) {
    switch (mode) {
        case D3DTADDRESS_CLAMP:
            return i < 0 ? 0 : (i >= n ? n - 1 : i);
        case D3DTADDRESS_MIRROR: {
            const int period = 2 * n;
            int m = i % period;
            if (m < 0) m += period;
            return m < n ? m : period - 1 - m;
        }
        default:
            if (pow2) return i & (n - 1);
            {
                int m = i % n;
                return m < 0 ? m + n : m;
            }
    }
}

// floor() of a coordinate already limited by SafeCoord.
[[gnu::always_inline]] inline int FloorInt(float f) {
    return int(static_cast<double>(f) + 8388608.0) - 8388608;
}

[[gnu::always_inline]] inline std::uint32_t Texel(const PixelState& ps, int x, int y) {
    if (ps.wrapPow2) {
        x &= ps.texW - 1;
        y &= ps.texH - 1;
    } else {
        x = Address(x, ps.texW, ps.texPow2, ps.addressU);
        y = Address(y, ps.texH, ps.texPow2, ps.addressV);
    }
    return ps.tex[static_cast<std::size_t>(y) * ps.texW + x];
}

// Point sample at texture coordinates (u, v): texel centres at (i + 0.5) / n.
[[gnu::always_inline]] inline std::uint32_t SamplePoint(const PixelState& ps, float u, float v) {
    const float fu = SafeCoord(u * float(ps.texW)), fv = SafeCoord(v * float(ps.texH));
    return Texel(ps, FloorInt(fu), FloorInt(fv));
}

inline std::uint32_t SampleLinear(const PixelState& ps, float u, float v) {
    const float fu = SafeCoord(u * float(ps.texW) - 0.5f);
    const float fv = SafeCoord(v * float(ps.texH) - 0.5f);
    const int x0 = FloorInt(fu), y0 = FloorInt(fv);
    const float flu = float(x0), flv = float(y0);
    const int wx = int((fu - flu) * 256.0f), wy = int((fv - flv) * 256.0f);
    const std::uint32_t t00 = Texel(ps, x0, y0), t10 = Texel(ps, x0 + 1, y0);
    const std::uint32_t t01 = Texel(ps, x0, y0 + 1), t11 = Texel(ps, x0 + 1, y0 + 1);
    std::uint32_t out = 0;
    for (int sh = 0; sh < 32; sh += 8) {
        const int a = (t00 >> sh) & 255, b = (t10 >> sh) & 255;
        const int c = (t01 >> sh) & 255, d = (t11 >> sh) & 255;
        const int top = a * (256 - wx) + b * wx, bottom = c * (256 - wx) + d * wx;
        const int v2 = (top * (256 - wy) + bottom * wy + 32768) >> 16;
        out |= std::uint32_t(v2) << sh;
    }
    return out;
}

inline Rgba Arg(D3DLong arg, const Rgba& tex, const Rgba& diffuse, const Rgba& spec,
                const Rgba& factor) {
    Rgba v;
    switch (arg & 0x0F) {
        case D3DTA_TEXTURE:
            v = tex;
            break;
        case D3DTA_TFACTOR:
            v = factor;
            break;
        case D3DTA_SPECULAR:
            v = spec;
            break;
        default:
            v = diffuse;
            break;  // diffuse, and current at stage 0
    }
    if (arg & 0x20) v.c[0] = v.c[1] = v.c[2] = v.c[3];  // alpha replicate
    if (arg & 0x10) {
        for (int& ch : v.c) ch = 255 - ch;  // complement
    }
    return v;
}

inline int Op(D3DLong op, int a1, int a2, int texA, int diffA, int factA) {
    switch (op) {
        case D3DTOP_SELECTARG1:
            return a1;
        case D3DTOP_SELECTARG2:
            return a2;
        case D3DTOP_MODULATE:
            return Mul8(a1, a2);
        case D3DTOP_MODULATE2X:
            return Sat(2 * Mul8(a1, a2));
        case D3DTOP_MODULATE4X:
            return Sat(4 * Mul8(a1, a2));
        case D3DTOP_ADD:
            return Sat(a1 + a2);
        case D3DTOP_ADDSIGNED:
            return Sat(a1 + a2 - 128);
        case D3DTOP_ADDSIGNED2X:
            return Sat(2 * (a1 + a2 - 128));
        case D3DTOP_SUBTRACT:
            return Sat(a1 - a2);
        case D3DTOP_BLENDDIFFUSEALPHA:
            return Mul8(a1, diffA) + Mul8(a2, 255 - diffA);
        case D3DTOP_BLENDTEXTUREALPHA:
            return Mul8(a1, texA) + Mul8(a2, 255 - texA);
        case D3DTOP_BLENDFACTORALPHA:
            return Mul8(a1, factA) + Mul8(a2, 255 - factA);
        default:
            return a2;
    }
}

// Stage 0 of the texture blending cascade; a disabled stage passes diffuse.
inline Rgba CombineStage(const PixelState& ps, const Rgba& tex, const Rgba& diffuse,
                         const Rgba& spec) {
    const Rgba factor = Unpack(ps.tfactor);
    if (ps.colorOp == D3DTOP_DISABLE) return diffuse;
    Rgba out;
    const Rgba c1 = Arg(ps.colorArg1, tex, diffuse, spec, factor);
    const Rgba c2 = Arg(ps.colorArg2, tex, diffuse, spec, factor);
    for (int i = 0; i < 3; ++i) {
        out.c[i] = Op(ps.colorOp, c1.c[i], c2.c[i], tex.c[3], diffuse.c[3], factor.c[3]);
    }
    if (ps.alphaOp == D3DTOP_DISABLE) {
        out.c[3] = diffuse.c[3];
    } else {
        const Rgba x1 = Arg(ps.alphaArg1, tex, diffuse, spec, factor);
        const Rgba x2 = Arg(ps.alphaArg2, tex, diffuse, spec, factor);
        out.c[3] = Op(ps.alphaOp, x1.c[3], x2.c[3], tex.c[3], diffuse.c[3], factor.c[3]);
    }
    return out;
}

template <typename T>
inline bool Compare(D3DLong func, T value, T ref) {
    switch (func) {
        case D3DCMP_NEVER:
            return false;
        case D3DCMP_LESS:
            return value < ref;
        case D3DCMP_EQUAL:
            return value == ref;
        case D3DCMP_LESSEQUAL:
            return value <= ref;
        case D3DCMP_GREATER:
            return value > ref;
        case D3DCMP_NOTEQUAL:
            return value != ref;
        case D3DCMP_GREATEREQUAL:
            return value >= ref;
        default:
            return true;
    }
}

inline int BlendFactor(D3DLong f, int ch, const Rgba& s, const Rgba& d) {
    switch (f) {
        case D3DBLEND_ZERO:
            return 0;
        case D3DBLEND_ONE:
            return 255;
        case D3DBLEND_SRCCOLOR:
            return s.c[ch];
        case D3DBLEND_INVSRCCOLOR:
            return 255 - s.c[ch];
        case D3DBLEND_SRCALPHA:
            return s.c[3];
        case D3DBLEND_INVSRCALPHA:
            return 255 - s.c[3];
        case D3DBLEND_DESTALPHA:
            return d.c[3];
        case D3DBLEND_INVDESTALPHA:
            return 255 - d.c[3];
        case D3DBLEND_DESTCOLOR:
            return d.c[ch];
        case D3DBLEND_INVDESTCOLOR:
            return 255 - d.c[ch];
        default:
            return 0;
    }
}

inline std::uint32_t BlendGeneric(const PixelState& ps, const Rgba& s, std::uint32_t dst) {
    if (ps.srcBlend == D3DBLEND_SRCALPHA && ps.dstBlend == D3DBLEND_INVSRCALPHA) {
        return LerpPixel(Pack(s), dst, s.c[3]);
    }
    const Rgba d = Unpack(dst);
    Rgba o;
    for (int i = 0; i < 4; ++i) {
        o.c[i] = Sat(Mul8(s.c[i], BlendFactor(ps.srcBlend, i, s, d)) +
                     Mul8(d.c[i], BlendFactor(ps.dstBlend, i, s, d)));
    }
    return Pack(o);
}

// The whole per-pixel pipeline for one pixel with interpolated attributes.
// Answers without writing when a test discards the pixel.
inline void ShadePixel(const PixelState& ps, int x, int y, float z, float u, float v,
                       const Rgba& diffuse, const Rgba& spec) {
    Rgba tex{{255, 255, 255, 255}};
    if (ps.textureUsed) {
        if (ps.tex != nullptr) {
            if (ps.colorKey) {
                const std::uint32_t near = SamplePoint(ps, u, v);
                if (((near ^ ps.keyValue) & ps.keyMask) == 0) return;
            }
            tex = Unpack(ps.linear ? SampleLinear(ps, u, v) : SamplePoint(ps, u, v));
        }
    }
    Rgba src = CombineStage(ps, tex, diffuse, spec);
    if (ps.specularAdd) {
        for (int i = 0; i < 3; ++i) src.c[i] = Sat(src.c[i] + spec.c[i]);
    }
    if (ps.alphaTest && !ps.alphaPass[src.c[3]]) return;
    const std::size_t di = static_cast<std::size_t>(y) * ps.width + x;
    if (ps.depth != nullptr) {
        float& zb = ps.depth[static_cast<std::size_t>(y) * ps.depthWidth + x];
        if (ps.zTest && !Compare(ps.zFunc, z, zb)) return;
        if (ps.zWrite) zb = z;
    }
    std::uint32_t& dst = ps.target[di];
    dst = ps.blend ? BlendGeneric(ps, src, dst) : Pack(src);
}

}  // namespace brumil::platform::raster
