// Copies between pictures and display surfaces.

#include <algorithm>
#include <cstring>

#include "bbi_clip.h"
#include "core/rect.h"
#include "image/cmg_bbi.h"
#include "platform/gfx/surface.h"

namespace brumil::image {

namespace {

bool Usable(const platform::Surface* s) {
    return s != nullptr && !s->IsLost() && !s->IsDepth();
}

}  // namespace

void CmgBBI::BltToDDS(platform::Surface* target, Long dstX, Long dstY, Long width, Long height,
                      Long srcX, Long srcY) const {
    if (!Usable(target)) return;
    if (width <= 0) width = width_ - srcX;
    if (height <= 0) height = height_ - srcY;
    const auto area = detail::ClipCopy(dstX, dstY, width, height, srcX, srcY, width_, height_,
                                       target->Width(), target->Height());
    if (!area) return;
    auto lock = target->Lock();
    if (!lock.Ok()) return;
    for (int j = 0; j < area->h; ++j) {
        std::uint32_t* d =
            lock.Pixels().data() + static_cast<std::size_t>(area->dy + j) * lock.Pitch() + area->dx;
        std::memcpy(d, Row(area->sy + j) + area->sx, static_cast<std::size_t>(area->w) * 4);
    }
}

void CmgBBI::BltToDDSRect(platform::Surface* target, const core::CRect& rect) const {
    if (rect.Width <= 0 || rect.Height <= 0) return;
    BltToDDS(target, rect.X, rect.Y, rect.Width, rect.Height, rect.X, rect.Y);
}

void CmgBBI::BltToDDSStretch(platform::Surface* target, Long dx, Long dy, Long dw, Long dh, Long sx,
                             Long sy, Long sw, Long sh) const {
    if (!Usable(target)) return;
    if (dw <= 0) dw = target->Width() - dx;
    if (dh <= 0) dh = target->Height() - dy;
    if (sw <= 0) sw = width_ - sx;
    if (sh <= 0) sh = height_ - sy;
    int x0, x1, y0, y1, lx0, lx1, ly0, ly1;
    std::vector<int> ix, iy;
    double ox, oy, stx, sty;
    if (!detail::MapAxis(dx, dw, sx, sw, target->Width(), width_, x0, x1, ix, ox, stx, lx0, lx1))
        return;
    if (!detail::MapAxis(dy, dh, sy, sh, target->Height(), height_, y0, y1, iy, oy, sty, ly0, ly1))
        return;
    auto lock = target->Lock();
    if (!lock.Ok()) return;
    for (int j = y0; j < y1; ++j) {
        const std::uint32_t* s = Row(iy[j - y0]);
        std::uint32_t* d = lock.Pixels().data() + static_cast<std::size_t>(j) * lock.Pitch();
        for (int i = x0; i < x1; ++i) d[i] = s[ix[i - x0]];
    }
}

void CmgBBI::BltToBBIGetDDS(const platform::Surface* source) {
    if (!Usable(source)) return;
    const int w = std::min<int>(width_, source->Width());
    const int h = std::min<int>(height_, source->Height());
    const auto pixels = source->Pixels();
    for (int y = 0; y < h; ++y)
        std::memcpy(Row(y), pixels.data() + static_cast<std::size_t>(y) * source->Width(),
                    static_cast<std::size_t>(w) * 4);
}

}  // namespace brumil::image
