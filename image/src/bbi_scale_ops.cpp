// Scaled blits: nearest, bilinear and the selection blit, and whole-picture
// rescaling.

#include <algorithm>
#include <cmath>
#include <vector>

#include "bbi_clip.h"
#include "image/cmg_bbi_function.h"
#include "platform/pixel/pixel_kernels.h"

namespace brumil::image {

namespace px = platform::pixel;
using detail::ClipScale;
using detail::SourceGuard;

namespace {

// Per-axis bilinear taps: left index, step to the right neighbour (0 at the
// border) and weight toward it in 0..256.
struct Taps {
    std::vector<int> index;
    std::vector<std::uint8_t> step;
    std::vector<std::uint16_t> weight;
};

Taps MakeTaps(int from, int to, double origin, double step, int lo, int hi) {
    Taps t;
    const int n = to - from;
    t.index.resize(n);
    t.step.resize(n);
    t.weight.resize(n);
    for (int i = 0; i < n; ++i) {
        double u = origin + (static_cast<double>(from + i) + 0.5) * step - 0.5;
        u = std::clamp(u, static_cast<double>(lo), static_cast<double>(hi - 1));
        int k = static_cast<int>(std::floor(u));
        int w = static_cast<int>(std::lround((u - k) * 256.0));
        if (w >= 256) {
            ++k;
            w = 0;
        }
        k = std::clamp(k, lo, hi - 1);
        t.index[i] = k;
        t.step[i] = k + 1 < hi ? 1 : 0;
        t.weight[i] = static_cast<std::uint16_t>(t.step[i] ? w : 0);
    }
    return t;
}

}  // namespace

void CmgBBIFunction::BBIExpandBlt(CmgBBI& dst, const CmgBBI& srcIn, Long x, Long y, Long width,
                                  Long height, Long sx, Long sy, Long sw, Long sh, Single factor) {
    const SourceGuard guard(dst, srcIn);
    const CmgBBI& src = guard.Get();
    const auto a = ClipScale(x, y, width, height, sx, sy, sw, sh, dst, src);
    if (!a) return;
    const int weight = detail::ToWeight16(factor);
    if (weight == 0) return;
    const int n = a->x1 - a->x0;
    std::vector<px::Pixel> row(n);
    for (int j = a->y0; j < a->y1; ++j) {
        px::NearestRow(row.data(), src.Row(a->srcY[j - a->y0]), n, a->srcX.data());
        if (factor == 1.0f)
            px::CopyRow(dst.Row(j) + a->x0, row.data(), n);
        else
            px::LerpRow(dst.Row(j) + a->x0, row.data(), n, weight);
    }
}

void CmgBBIFunction::BBILinearBlt(CmgBBI& dst, const CmgBBI& srcIn, Long x, Long y, Long width,
                                  Long height, Long sx, Long sy, Long sw, Long sh) {
    const SourceGuard guard(dst, srcIn);
    const CmgBBI& src = guard.Get();
    const auto a = ClipScale(x, y, width, height, sx, sy, sw, sh, dst, src);
    if (!a) return;
    const Taps tx = MakeTaps(a->x0, a->x1, a->originX, a->stepX, a->limitX0, a->limitX1);
    const Taps ty = MakeTaps(a->y0, a->y1, a->originY, a->stepY, a->limitY0, a->limitY1);
    const int n = a->x1 - a->x0;
    for (int j = 0; j < a->y1 - a->y0; ++j) {
        const px::Pixel* r0 = src.Row(ty.index[j]);
        const px::Pixel* r1 = src.Row(ty.index[j] + ty.step[j]);
        px::BilinearRow(dst.Row(a->y0 + j) + a->x0, r0, r1, n, tx.index.data(), tx.step.data(),
                        tx.weight.data(), ty.weight[j]);
    }
}

void CmgBBIFunction::BBIExpandChooseBlt(CmgBBI& dst, const CmgBBI& srcIn, Long x, Long y,
                                        Long width, Long height, Long sx, Long sy, Long sw, Long sh,
                                        Single c1, Integer c2, Integer c3, Long /*c4*/, Long /*c5*/,
                                        Single c6, Long c7, Long c8, Long /*c9*/, Long c10,
                                        Long c11, Long /*c12*/) {
    const SourceGuard guard(dst, srcIn);
    const CmgBBI& src = guard.Get();
    const auto a = ClipScale(x, y, width, height, sx, sy, sw, sh, dst, src);
    if (!a) return;
    px::ChooseParams p;
    p.opacity = std::isnan(c1) ? 0.0f : c1;
    p.alphaFromSource = c2 != 0;
    p.additive = c3 != 0;
    p.colourScale = std::isnan(c6) ? 0.0f : std::max(0.0f, c6);
    p.colourOffset = static_cast<px::Pixel>(c7);
    p.writeMask = static_cast<px::Pixel>(c8);
    p.sourceMask = static_cast<px::Pixel>(c10);
    p.fillColour = static_cast<px::Pixel>(c11);
    const int n = a->x1 - a->x0;
    // An unscaled blit reads the source rows in place.
    const bool direct = a->stepX == 1.0 && a->srcX.front() + n - 1 == a->srcX.back();
    std::vector<px::Pixel> row(direct ? 0 : n);
    for (int j = a->y0; j < a->y1; ++j) {
        const px::Pixel* srow = src.Row(a->srcY[j - a->y0]);
        const px::Pixel* s;
        if (direct) {
            s = srow + a->srcX.front();
        } else {
            px::NearestRow(row.data(), srow, n, a->srcX.data());
            s = row.data();
        }
        px::ChooseRow(dst.Row(j) + a->x0, s, n, p);
    }
}

void CmgBBIFunction::EfectScale(CmgBBI& target, Long addLength, Long divLength) {
    if (addLength == divLength || divLength < 1 || addLength < 1) return;
    const double f = static_cast<double>(addLength) / static_cast<double>(divLength);
    const Long w = std::clamp<Long>(RoundToLong(target.GetWidth() * f), 1, kMaxPictureSide);
    const Long h = std::clamp<Long>(RoundToLong(target.GetHeight() * f), 1, kMaxPictureSide);
    CmgBBI out;
    out.CreateBBI(w, h, target.Margin());
    BBILinearBlt(out, target);
    target = std::move(out);
}

}  // namespace brumil::image
