#pragma once
// Rectangle clipping shared by the pixel operations. Arguments come straight
// from callers and may be hostile (negative, huge), so all arithmetic is 64-bit.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "image/cmg_bbi.h"

namespace brumil::image::detail {

// An unscaled copy after clipping: w x h pixels from (sx, sy) to (dx, dy).
struct CopyArea {
    int dx, dy, sx, sy, w, h;
};

inline std::optional<CopyArea> ClipCopy(std::int64_t dx, std::int64_t dy, std::int64_t w,
                                        std::int64_t h, std::int64_t sx, std::int64_t sy,
                                        std::int64_t srcW, std::int64_t srcH, std::int64_t dstW,
                                        std::int64_t dstH) {
    if (w <= 0) w = srcW;
    if (h <= 0) h = srcH;
    // Left/top: move both positions right until each is inside.
    const std::int64_t skipX = std::max<std::int64_t>({0, -dx, -sx});
    const std::int64_t skipY = std::max<std::int64_t>({0, -dy, -sy});
    dx += skipX;
    sx += skipX;
    w -= skipX;
    dy += skipY;
    sy += skipY;
    h -= skipY;
    w = std::min({w, dstW - dx, srcW - sx});
    h = std::min({h, dstH - dy, srcH - sy});
    if (w <= 0 || h <= 0) return std::nullopt;
    return CopyArea{static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(sx),
                    static_cast<int>(sy), static_cast<int>(w),  static_cast<int>(h)};
}

// A scaled mapping after clipping: destination columns [x0, x1) and rows
// [y0, y1), each with the nearest source column or row.
struct ScaleArea {
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    std::vector<int> srcX;  // index i - x0
    std::vector<int> srcY;  // index j - y0
    // The full mapping, for filters that need fractional positions.
    double originX = 0, originY = 0, stepX = 1, stepY = 1;   // u = originX + (i + 0.5) * stepX
    int limitX0 = 0, limitX1 = 0, limitY0 = 0, limitY1 = 0;  // sample bounds [lo, hi)
};

inline bool MapAxis(std::int64_t d, std::int64_t len, std::int64_t s, std::int64_t slen,
                    std::int64_t dstLen, std::int64_t srcLen, int& out0, int& out1,
                    std::vector<int>& index, double& origin, double& step, int& lim0, int& lim1) {
    if (len <= 0 || slen <= 0) return false;
    const std::int64_t lo = std::max<std::int64_t>(d, 0);
    const std::int64_t hi = std::min<std::int64_t>(d + len, dstLen);
    lim0 = static_cast<int>(std::max<std::int64_t>(s, 0));
    lim1 = static_cast<int>(std::min<std::int64_t>(s + slen, srcLen));
    if (lo >= hi || lim0 >= lim1) return false;
    step = static_cast<double>(slen) / static_cast<double>(len);
    origin = static_cast<double>(s) - static_cast<double>(d) * step;
    int first = -1, last = -1;
    index.clear();
    std::vector<int> all;
    all.reserve(static_cast<std::size_t>(hi - lo));
    for (std::int64_t i = lo; i < hi; ++i) {
        const double u = origin + (static_cast<double>(i) + 0.5) * step;
        const std::int64_t k = static_cast<std::int64_t>(u >= 0 ? u : u - 1.0);  // floor
        const std::int64_t ki = std::clamp<std::int64_t>(k, s, s + slen - 1);
        if (ki >= lim0 && ki < lim1) {
            if (first < 0) first = static_cast<int>(i);
            last = static_cast<int>(i);
        }
        all.push_back(static_cast<int>(std::clamp<std::int64_t>(ki, lim0, lim1 - 1)));
    }
    if (first < 0) return false;
    out0 = first;
    out1 = last + 1;
    index.assign(all.begin() + (first - lo), all.begin() + (last + 1 - lo));
    return true;
}

inline std::optional<ScaleArea> ClipScale(std::int64_t x, std::int64_t y, std::int64_t w,
                                          std::int64_t h, std::int64_t sx, std::int64_t sy,
                                          std::int64_t sw, std::int64_t sh, const CmgBBI& dst,
                                          const CmgBBI& src) {
    if (w <= 0) w = dst.GetWidth() - x;
    if (h <= 0) h = dst.GetHeight() - y;
    if (sw <= 0) sw = src.GetWidth() - sx;
    if (sh <= 0) sh = src.GetHeight() - sy;
    ScaleArea a;
    if (!MapAxis(x, w, sx, sw, dst.GetWidth(), src.GetWidth(), a.x0, a.x1, a.srcX, a.originX,
                 a.stepX, a.limitX0, a.limitX1))
        return std::nullopt;
    if (!MapAxis(y, h, sy, sh, dst.GetHeight(), src.GetHeight(), a.y0, a.y1, a.srcY, a.originY,
                 a.stepY, a.limitY0, a.limitY1))
        return std::nullopt;
    return a;
}

// When an operation reads the picture it writes, it reads from this copy.
class SourceGuard {
public:
    SourceGuard(const CmgBBI& dst, const CmgBBI& src) : src_(&src) {
        if (&dst == &src) {
            copy_.CreateBBICopy(src);
            src_ = &copy_;
        }
    }
    const CmgBBI& Get() const { return *src_; }

private:
    CmgBBI copy_;
    const CmgBBI* src_;
};

inline int ToWeight16(float factor) {
    if (!(factor > 0.0f)) return 0;
    if (factor >= 1.0f) return 65536;
    return static_cast<int>(factor * 65536.0f + 0.5f);
}

}  // namespace brumil::image::detail
