// Fills, rectangles and the ramp circle.

#include <algorithm>
#include <cmath>

#include "bbi_clip.h"
#include "image/cmg_bbi_function.h"
#include "platform/pixel/pixel_kernels.h"

namespace brumil::image {

namespace px = platform::pixel;

namespace {

px::Pixel Argb(Long r, Long g, Long b, Long a) {
    auto c = [](Long v) { return std::clamp<Long>(v, 0, 255); };
    return px::MakeArgb(c(a), c(r), c(g), c(b));
}

// The part of (x, y, w, h) inside the picture; false when nothing is left.
bool ClipRect(const CmgBBI& pic, Long x, Long y, Long w, Long h, int& x0, int& y0, int& x1,
              int& y1) {
    const std::int64_t lx = std::max<std::int64_t>(x, 0);
    const std::int64_t ly = std::max<std::int64_t>(y, 0);
    const std::int64_t hx =
        std::min<std::int64_t>(static_cast<std::int64_t>(x) + w, pic.GetWidth());
    const std::int64_t hy =
        std::min<std::int64_t>(static_cast<std::int64_t>(y) + h, pic.GetHeight());
    if (w <= 0 || h <= 0 || lx >= hx || ly >= hy) return false;
    x0 = static_cast<int>(lx);
    y0 = static_cast<int>(ly);
    x1 = static_cast<int>(hx);
    y1 = static_cast<int>(hy);
    return true;
}

}  // namespace

void CmgBBIFunction::BBIClear(CmgBBI& dst, Long r, Long g, Long b, Long a) {
    const px::Pixel c = Argb(r, g, b, a);
    for (Long y = 0; y < dst.GetHeight(); ++y) px::FillRow(dst.Row(y), dst.GetWidth(), c);
}

void CmgBBIFunction::BBIClearRGB(CmgBBI& dst, Long r, Long g, Long b) {
    const px::Pixel c = Argb(r, g, b, 0);
    for (Long y = 0; y < dst.GetHeight(); ++y)
        px::FillRow(dst.Row(y), dst.GetWidth(), c, 0xFF000000u);
}

void CmgBBIFunction::BBIClearMask(CmgBBI& dst, Long r, Long g, Long b, Long a, Long mask) {
    const px::Pixel c = Argb(r, g, b, a);
    const px::Pixel keep = static_cast<px::Pixel>(mask);
    for (Long y = 0; y < dst.GetHeight(); ++y) px::FillRow(dst.Row(y), dst.GetWidth(), c, keep);
}

void CmgBBIFunction::BBIDrawColorFill(CmgBBI& dst, Long x, Long y, Long width, Long height,
                                      Long flags, Long colour) {
    int x0, y0, x1, y1;
    if (!ClipRect(dst, x, y, width, height, x0, y0, x1, y1)) return;
    const px::Pixel c = static_cast<px::Pixel>(colour);
    const int weight = (px::Alpha(c) * 65536 + 127) / 255;
    for (int j = y0; j < y1; ++j) {
        if (flags == 1)
            px::BlendColourRow(dst.Row(j) + x0, x1 - x0, c, weight);
        else
            px::FillRow(dst.Row(j) + x0, x1 - x0, c);
    }
}

void CmgBBIFunction::fxOut(CmgBBI& dst, Long x, Long y, Long width, Long height, Long color) {
    BBIDrawColorFill(dst, x, y, width, height, 0, color);
}

void CmgBBIFunction::fxOutLine(CmgBBI& dst, Long x, Long y, Long width, Long height, Long color) {
    if (width <= 0 || height <= 0) return;
    fxOut(dst, x, y, width, 1, color);
    fxOut(dst, x, static_cast<Long>(static_cast<std::int64_t>(y) + height - 1), width, 1, color);
    fxOut(dst, x, y, 1, height, color);
    fxOut(dst, static_cast<Long>(static_cast<std::int64_t>(x) + width - 1), y, 1, height, color);
}

void CmgBBIFunction::BBIDrawLineCircle(CmgBBI& dst, const CmgBBI& srcIn, Long x1, Long y1, Long x2,
                                       Long y2) {
    const detail::SourceGuard guard(dst, srcIn);
    const CmgBBI& src = guard.Get();
    const double cx = dst.GetWidth() / 2.0;
    const double cy = dst.GetHeight() / 2.0;
    const double radius = std::min(dst.GetWidth(), dst.GetHeight()) / 2.0;
    for (Long y = 0; y < dst.GetHeight(); ++y) {
        px::Pixel* row = dst.Row(y);
        for (Long x = 0; x < dst.GetWidth(); ++x) {
            const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const double t = std::min(r / radius, 1.0);
            const Long u = std::clamp<Long>(RoundToLong(x1 + (static_cast<double>(x2) - x1) * t), 0,
                                            src.GetWidth() - 1);
            const Long v = std::clamp<Long>(RoundToLong(y1 + (static_cast<double>(y2) - y1) * t), 0,
                                            src.GetHeight() - 1);
            row[x] = src.Row(v)[u];
        }
    }
}

}  // namespace brumil::image
