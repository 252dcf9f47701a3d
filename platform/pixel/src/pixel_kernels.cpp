#include "platform/pixel/pixel_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace brumil::platform::pixel {
namespace {

inline int Lerp16(int d, int s, int w) {
    return d + (((s - d) * w + 32768) >> 16);
}

inline int Clamp255(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

inline int RoundClamp(float v) {
    if (!(v > 0.0f)) return 0;  // also NaN
    if (v >= 255.0f) return 255;
    return static_cast<int>(v + 0.5f);
}

}  // namespace

void CopyRow(Pixel* dst, const Pixel* src, int n) {
    if (n > 0 && dst != src) std::memmove(dst, src, static_cast<std::size_t>(n) * sizeof(Pixel));
}

void LerpRow(Pixel* dst, const Pixel* src, int n, int weight) {
    for (int i = 0; i < n; ++i) {
        const Pixel d = dst[i];
        const Pixel s = src[i];
        dst[i] = MakeArgb(Lerp16(Alpha(d), Alpha(s), weight), Lerp16(Red(d), Red(s), weight),
                          Lerp16(Green(d), Green(s), weight), Lerp16(Blue(d), Blue(s), weight));
    }
}

void AddRow(Pixel* dst, const Pixel* src, int n) {
    for (int i = 0; i < n; ++i) {
        const Pixel d = dst[i];
        const Pixel s = src[i];
        dst[i] = MakeArgb(std::min(255, Alpha(d) + Alpha(s)), std::min(255, Red(d) + Red(s)),
                          std::min(255, Green(d) + Green(s)), std::min(255, Blue(d) + Blue(s)));
    }
}

void MulRow(Pixel* dst, const Pixel* src, int n) {
    for (int i = 0; i < n; ++i) {
        const Pixel d = dst[i];
        const Pixel s = src[i];
        dst[i] = MakeArgb(MulDiv255(Alpha(d), Alpha(s)), MulDiv255(Red(d), Red(s)),
                          MulDiv255(Green(d), Green(s)), MulDiv255(Blue(d), Blue(s)));
    }
}

void NotRow(Pixel* dst, const Pixel* src, int n) {
    for (int i = 0; i < n; ++i) dst[i] = src[i] ^ 0x00FFFFFFu;
}

void MaskedCopyRow(Pixel* dst, const Pixel* src, int n, Pixel mask) {
    if (mask == 0xFFFFFFFFu) {
        CopyRow(dst, src, n);
        return;
    }
    for (int i = 0; i < n; ++i) dst[i] = (dst[i] & ~mask) | (src[i] & mask);
}

void FillRow(Pixel* dst, int n, Pixel colour, Pixel keep) {
    if (keep == 0) {
        std::fill(dst, dst + std::max(n, 0), colour);
        return;
    }
    const Pixel put = colour & ~keep;
    for (int i = 0; i < n; ++i) dst[i] = (dst[i] & keep) | put;
}

void BlendColourRow(Pixel* dst, int n, Pixel colour, int weight) {
    for (int i = 0; i < n; ++i) {
        const Pixel d = dst[i];
        dst[i] = MakeArgb(Alpha(d), Lerp16(Red(d), Red(colour), weight),
                          Lerp16(Green(d), Green(colour), weight),
                          Lerp16(Blue(d), Blue(colour), weight));
    }
}

void HalfRow(Pixel* dst, const Pixel* row0, const Pixel* row1, int n, bool secondColumn) {
    for (int i = 0; i < n; ++i) {
        const int x0 = 2 * i;
        const int x1 = secondColumn ? x0 + 1 : x0;
        const Pixel p[4] = {row0[x0], row0[x1], row1[x0], row1[x1]};
        int a = 2, r = 2, g = 2, b = 2;  // rounding
        for (Pixel q : p) {
            a += Alpha(q);
            r += Red(q);
            g += Green(q);
            b += Blue(q);
        }
        dst[i] = MakeArgb(a >> 2, r >> 2, g >> 2, b >> 2);
    }
}

void NearestRow(Pixel* dst, const Pixel* src, int n, const int* xIndex) {
    for (int i = 0; i < n; ++i) dst[i] = src[xIndex[i]];
}

void BilinearRow(Pixel* dst, const Pixel* row0, const Pixel* row1, int n, const int* xIndex,
                 const std::uint8_t* xStep, const std::uint16_t* xWeight, int yWeight) {
    // Two channels at a time in one 32-bit lane (0x00FF00FF layout), weights of
    // 8 bits: the products stay below 2^16 per channel.
    const std::uint32_t wy = static_cast<std::uint32_t>(yWeight);
    for (int i = 0; i < n; ++i) {
        const int x = xIndex[i];
        const int s = xStep[i];
        const std::uint32_t wx = xWeight[i];
        const Pixel p00 = row0[x], p01 = row0[x + s], p10 = row1[x], p11 = row1[x + s];
        auto mix = [](std::uint32_t a, std::uint32_t b, std::uint32_t w) -> std::uint32_t {
            // a + (b - a) * w / 256 on the two lanes 0x00FF00FF, rounded.
            const std::uint32_t ia = 256 - w;
            return ((a * ia + b * w + 0x00800080u) >> 8) & 0x00FF00FFu;
        };
        const std::uint32_t rb0 = mix(p00 & 0x00FF00FFu, p01 & 0x00FF00FFu, wx);
        const std::uint32_t ag0 = mix((p00 >> 8) & 0x00FF00FFu, (p01 >> 8) & 0x00FF00FFu, wx);
        const std::uint32_t rb1 = mix(p10 & 0x00FF00FFu, p11 & 0x00FF00FFu, wx);
        const std::uint32_t ag1 = mix((p10 >> 8) & 0x00FF00FFu, (p11 >> 8) & 0x00FF00FFu, wx);
        const std::uint32_t rb = mix(rb0, rb1, wy);
        const std::uint32_t ag = mix(ag0, ag1, wy);
        dst[i] = rb | (ag << 8);
    }
}

void ChooseRow(Pixel* dst, const Pixel* src, int n, const ChooseParams& p) {
    const Pixel keepMask = ~p.writeMask;
    const Pixel fill = p.fillColour & ~p.sourceMask;
    if (p.opacity == 1.0f && !p.alphaFromSource && !p.additive && p.colourScale == 1.0f &&
        (p.colourOffset & 0xFFFFFFu) == 0) {
        // The layer default: the selection replaces the written bits.
        if (p.sourceMask == 0xFFFFFFFFu) {
            MaskedCopyRow(dst, src, n, p.writeMask);
        } else {
            for (int i = 0; i < n; ++i)
                dst[i] = (dst[i] & keepMask) | (((src[i] & p.sourceMask) | fill) & p.writeMask);
        }
        return;
    }
    const float offR = static_cast<float>(Red(p.colourOffset));
    const float offG = static_cast<float>(Green(p.colourOffset));
    const float offB = static_cast<float>(Blue(p.colourOffset));
    for (int i = 0; i < n; ++i) {
        const Pixel sel = (src[i] & p.sourceMask) | fill;
        const Pixel d = dst[i];
        float a = p.opacity;
        if (p.alphaFromSource) a *= static_cast<float>(Alpha(sel)) / 255.0f;
        const float sr = std::min(255.0f, static_cast<float>(Red(sel)) * p.colourScale) + offR;
        const float sg = std::min(255.0f, static_cast<float>(Green(sel)) * p.colourScale) + offG;
        const float sb = std::min(255.0f, static_cast<float>(Blue(sel)) * p.colourScale) + offB;
        int r, g, b, al;
        const float da = static_cast<float>(Alpha(d));
        const float sa = static_cast<float>(Alpha(sel));
        const float dr = static_cast<float>(Red(d));
        const float dg = static_cast<float>(Green(d));
        const float db = static_cast<float>(Blue(d));
        if (p.additive) {
            r = RoundClamp(dr + sr * a);
            g = RoundClamp(dg + sg * a);
            b = RoundClamp(db + sb * a);
            al = RoundClamp(da + sa * a);
        } else {
            r = RoundClamp(dr + (sr - dr) * a);
            g = RoundClamp(dg + (sg - dg) * a);
            b = RoundClamp(db + (sb - db) * a);
            al = RoundClamp(da + (sa - da) * a);
        }
        const Pixel out = MakeArgb(Clamp255(al), Clamp255(r), Clamp255(g), Clamp255(b));
        dst[i] = (d & keepMask) | (out & p.writeMask);
    }
}

void StencilRow(Pixel* dst, const Pixel* a, const Pixel* b, int n, const std::uint16_t* table) {
    for (int i = 0; i < n; ++i) {
        const Pixel pa = a[i];
        const Pixel pb = b[i];
        const std::uint32_t w = table[Alpha(pb)];
        const std::uint32_t iw = 256 - w;
        const std::uint32_t rb =
            (((pa & 0x00FF00FFu) * iw + (pb & 0x00FF00FFu) * w + 0x00800080u) >> 8) & 0x00FF00FFu;
        const std::uint32_t ag =
            ((((pa >> 8) & 0x00FF00FFu) * iw + ((pb >> 8) & 0x00FF00FFu) * w + 0x00800080u) >> 8) &
            0x00FF00FFu;
        dst[i] = rb | (ag << 8);
    }
}

}  // namespace brumil::platform::pixel
