// Operations that move values between colour and alpha: selection by a mask,
// the stencil cross-fade and the automatic levels.

#include <algorithm>
#include <array>
#include <cmath>

#include "bbi_clip.h"
#include "image/cmg_bbi_function.h"
#include "platform/pixel/pixel_kernels.h"

namespace brumil::image {

namespace px = platform::pixel;
using detail::ClipCopy;
using detail::SourceGuard;

void CmgBBIFunction::BBIChooseCA(CmgBBI& dst, const CmgBBI& srcIn, Long rgb, Long alpha) {
    const SourceGuard guard(dst, srcIn);
    const CmgBBI& src = guard.Get();
    const auto area = ClipCopy(0, 0, dst.GetWidth(), dst.GetHeight(), 0, 0, src.GetWidth(),
                               src.GetHeight(), dst.GetWidth(), dst.GetHeight());
    if (!area) return;
    const bool takeColour = rgb == 1;
    const bool alphaFromLuminance = alpha == 0;
    for (int j = 0; j < area->h; ++j) {
        px::Pixel* d = dst.Row(j);
        const px::Pixel* s = src.Row(j);
        for (int i = 0; i < area->w; ++i) {
            const px::Pixel a =
                static_cast<px::Pixel>(alphaFromLuminance ? px::Luminance(s[i]) : px::Alpha(s[i]));
            const px::Pixel colour = (takeColour ? s[i] : d[i]) & 0x00FFFFFFu;
            d[i] = (a << 24) | colour;
        }
    }
}

void CmgBBIFunction::BBIStencilFlip(CmgBBI& dst, const CmgBBI& aIn, const CmgBBI& bIn, Long x,
                                    Long y, Long width, Long height, Long sx, Long sy,
                                    Long /*extra*/, Single t, Single v) {
    const SourceGuard ga(dst, aIn);
    const SourceGuard gb(dst, bIn);
    const CmgBBI& a = ga.Get();
    const CmgBBI& b = gb.Get();
    const double tt = std::isnan(t) ? 0.0 : std::clamp<double>(t, 0.0, 1.0);
    const double vv = std::isnan(v) ? 1.0 : std::max<double>(v, 0.0001);
    // m depends only on the stencil byte: one table per call.
    std::array<std::uint16_t, 256> table{};
    for (int s = 0; s < 256; ++s) {
        const double m = std::clamp((tt * (1.0 + vv) - s / 255.0) / vv, 0.0, 1.0);
        table[s] = static_cast<std::uint16_t>(std::lround(m * 256.0));
    }
    const Long srcW = std::min(a.GetWidth(), b.GetWidth());
    const Long srcH = std::min(a.GetHeight(), b.GetHeight());
    const auto area =
        ClipCopy(x, y, width, height, sx, sy, srcW, srcH, dst.GetWidth(), dst.GetHeight());
    if (!area) return;
    for (int j = 0; j < area->h; ++j) {
        px::StencilRow(dst.Row(area->dy + j) + area->dx, a.Row(area->sy + j) + area->sx,
                       b.Row(area->sy + j) + area->sx, area->w, table.data());
    }
}

void CmgBBIFunction::BBIAutoLevelRGB(CmgBBI& picture, Long level) {
    level = std::clamp<Long>(level, 0, 100);
    std::array<int, 3> lo{255, 255, 255};
    std::array<int, 3> hi{0, 0, 0};
    for (px::Pixel p : picture.Pixels()) {
        const int c[3] = {px::Red(p), px::Green(p), px::Blue(p)};
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], c[k]);
            hi[k] = std::max(hi[k], c[k]);
        }
    }
    std::array<std::array<std::uint8_t, 256>, 3> map{};
    for (int k = 0; k < 3; ++k) {
        for (int c = 0; c < 256; ++c) {
            int out = c;
            if (hi[k] > lo[k]) {
                const double stretched = (c - lo[k]) * 255.0 / (hi[k] - lo[k]);
                out = static_cast<int>(std::lround(c + (stretched - c) * level / 100.0));
            }
            map[k][c] = static_cast<std::uint8_t>(std::clamp(out, 0, 255));
        }
    }
    for (px::Pixel& p : picture.Pixels())
        p = px::MakeArgb(px::Alpha(p), map[0][px::Red(p)], map[1][px::Green(p)],
                         map[2][px::Blue(p)]);
}

}  // namespace brumil::image
