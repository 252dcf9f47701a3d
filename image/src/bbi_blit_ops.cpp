// Unscaled blits and the half-size reduction.

#include <algorithm>

#include "bbi_clip.h"
#include "image/cmg_bbi_function.h"
#include "platform/pixel/pixel_kernels.h"

namespace brumil::image {

namespace px = platform::pixel;
using detail::ClipCopy;
using detail::SourceGuard;

namespace {

template <typename RowOp>
void ForEachCopyRow(CmgBBI& dst, const CmgBBI& srcIn, Long x, Long y, Long w, Long h, Long sx,
                    Long sy, RowOp&& op) {
    const SourceGuard guard(dst, srcIn);
    const CmgBBI& src = guard.Get();
    const auto area = ClipCopy(x, y, w, h, sx, sy, src.GetWidth(), src.GetHeight(), dst.GetWidth(),
                               dst.GetHeight());
    if (!area) return;
    for (int j = 0; j < area->h; ++j)
        op(dst.Row(area->dy + j) + area->dx, src.Row(area->sy + j) + area->sx, area->w);
}

void AlphaBlendRow(px::Pixel* d, const px::Pixel* s, int n, float reality) {
    const int scale = detail::ToWeight16(reality);
    for (int i = 0; i < n; ++i) {
        const int w =
            static_cast<int>((static_cast<std::int64_t>(px::Alpha(s[i])) * scale * 257 + 32768) >>
                             16);  // alpha / 255 in 0..65536
        px::BlendColourRow(d + i, 1, s[i], w);
    }
}

}  // namespace

CmgBBIFunction::CmgBBIFunction() {
    Pen.CreateBBI(256, 1, 0);
}

CmgBBIFunction& gBBIFunction() {
    static CmgBBIFunction instance;
    return instance;
}

void CmgBBIFunction::BBIBlt(CmgBBI& dst, const CmgBBI& src, Long x, Long y, Long width, Long height,
                            Long sx, Long sy, Single factor) {
    const int weight = detail::ToWeight16(factor);
    if (factor == 1.0f) {
        ForEachCopyRow(dst, src, x, y, width, height, sx, sy, px::CopyRow);
    } else if (weight > 0) {
        ForEachCopyRow(
            dst, src, x, y, width, height, sx, sy,
            [weight](px::Pixel* d, const px::Pixel* s, int n) { px::LerpRow(d, s, n, weight); });
    }
}

void CmgBBIFunction::BBIBltAdd(CmgBBI& dst, const CmgBBI& src, Long x, Long y, Long width,
                               Long height, Long sx, Long sy) {
    ForEachCopyRow(dst, src, x, y, width, height, sx, sy, px::AddRow);
}

void CmgBBIFunction::BBIBltMul(CmgBBI& dst, const CmgBBI& src, Long x, Long y, Long width,
                               Long height, Long sx, Long sy) {
    ForEachCopyRow(dst, src, x, y, width, height, sx, sy, px::MulRow);
}

void CmgBBIFunction::BBIBltNot(CmgBBI& dst, const CmgBBI& src, Long x, Long y, Long width,
                               Long height, Long sx, Long sy) {
    ForEachCopyRow(dst, src, x, y, width, height, sx, sy, px::NotRow);
}

void CmgBBIFunction::BBIBltFX(CmgBBI& dst, const CmgBBI& src, Long dx, Long dy, Long width,
                              Long height, Long sx, Long sy, Long bltMode, Single bltReality) {
    switch (bltMode) {
        case 1:
            BBIBltAdd(dst, src, dx, dy, width, height, sx, sy);
            break;
        case 2:
            BBIBltMul(dst, src, dx, dy, width, height, sx, sy);
            break;
        case 3:
            BBIBltNot(dst, src, dx, dy, width, height, sx, sy);
            break;
        case 4:
            ForEachCopyRow(dst, src, dx, dy, width, height, sx, sy,
                           [bltReality](px::Pixel* d, const px::Pixel* s, int n) {
                               AlphaBlendRow(d, s, n, bltReality);
                           });
            break;
        default:
            BBIBlt(dst, src, dx, dy, width, height, sx, sy, bltReality);
            break;
    }
}

void CmgBBIFunction::BBIBltHalfSize(CmgBBI& dst, const CmgBBI& src) {
    const Long sw = src.GetWidth();
    const Long sh = src.GetHeight();
    const Long w = std::max<Long>(1, sw / 2);
    const Long h = std::max<Long>(1, sh / 2);
    CmgBBI out;
    out.CreateBBI(w, h, src.Margin());
    for (Long j = 0; j < h; ++j) {
        const px::Pixel* r0 = src.Row(std::min(2 * j, sh - 1));
        const px::Pixel* r1 = src.Row(std::min(2 * j + 1, sh - 1));
        px::HalfRow(out.Row(j), r0, r1, w, sw >= 2);
    }
    dst = std::move(out);
}

}  // namespace brumil::image
