// CGraphics: the draw families. Each has a plain member (destination size =
// source size), a region member (the part of the picture inside a rectangle,
// drawn where it sits in the picture) and a stretch member that does the work.

#include <array>
#include <cmath>
#include <type_traits>

#include "core/rect.h"
#include "device_access.h"
#include "framework/display.h"
#include "image/cmg_bbi_function.h"
#include "render/admin_lib.h"
#include "render/graphics.h"

namespace brumil::render {

using platform::D3DTLVERTEX;

namespace {

// The screen in the 640x480 units callers draw in.
Long LogicalScreenWidth() {
    return RoundToLong(framework::gScreenWidth() / static_cast<double>(framework::GetDrawScale()));
}
Long LogicalScreenHeight() {
    return RoundToLong(framework::gScreenHeight() / static_cast<double>(framework::GetDrawScale()));
}

Long Scaled(Long v, Single scale) {
    return RoundToLong(static_cast<double>(v) * scale);
}

// The destination of a stretched draw in back-surface pixels: a size of 0
// means the screen's, centred moves the rectangle back by half its size, then
// the draw scale applies. Whole pixels for blits, fractions for quads.
template <typename T>
void PlaceDestination(T& x, T& y, T& width, T& height, bool centred) {
    if (width == 0) width = static_cast<T>(LogicalScreenWidth());
    if (height == 0) height = static_cast<T>(LogicalScreenHeight());
    if (centred) {
        x -= width / 2;
        y -= height / 2;
    }
    const Single scale = framework::GetDrawScale();
    if (scale == 1.0f) return;
    if constexpr (std::is_integral_v<T>) {
        x = Scaled(x, scale);
        y = Scaled(y, scale);
        width = Scaled(width, scale);
        height = Scaled(height, scale);
    } else {
        x *= scale;
        y *= scale;
        width *= scale;
        height *= scale;
    }
}

}  // namespace

void CGraphics::BltRgn(const image::CmgBBI& source, Long x, Long y, const core::CRect& region,
                       Long mode, Single extra) {
    if (region.IsZero()) return;
    Blt(source, x + region.X, y + region.Y, region.Width, region.Height, region.X, region.Y, mode,
        extra);
}

// ---- Through the image library ----

void CGraphics::DrawGDI(Long x, Long y, Long width, Long height, Long srcX, Long srcY,
                        bool centred) {
    if (width == 0) width = Image.GetWidth();
    if (height == 0) height = Image.GetHeight();
    DrawGDIStretch(x, y, width, height, srcX, srcY, width, height, centred);
}

void CGraphics::DrawGDIRgn(Long x, Long y, const core::CRect& region, bool centred) {
    if (region.IsZero()) return;
    DrawGDIStretch(x + region.X, y + region.Y, region.Width, region.Height, region.X, region.Y,
                   region.Width, region.Height, centred);
}

void CGraphics::DrawGDIStretch(Long x, Long y, Long width, Long height, Long srcX, Long srcY,
                               Long srcWidth, Long srcHeight, bool centred) {
    auto* back = framework::gBackDDS().get();
    if (!framework::IsDDSAlive(framework::gBackDDS())) return;
    if (srcWidth == 0) srcWidth = Image.GetWidth();
    if (srcHeight == 0) srcHeight = Image.GetHeight();
    PlaceDestination(x, y, width, height, centred);
    if (width == srcWidth && height == srcHeight) {
        Image.BltToDDS(back, x, y, width, height, srcX, srcY);
    } else {
        Image.BltToDDSStretch(back, x, y, width, height, srcX, srcY, srcWidth, srcHeight);
    }
}

// ---- DirectDraw blits ----

void CGraphics::DrawDDraw(Long x, Long y, Long width, Long height, Long srcX, Long srcY,
                          bool centred, bool keyed) {
    if (width == 0) width = Image.GetWidth();
    if (height == 0) height = Image.GetHeight();
    DrawDDrawStretch(x, y, width, height, srcX, srcY, width, height, centred, keyed);
}

void CGraphics::DrawDDrawRgn(Long x, Long y, const core::CRect& region, bool centred, bool keyed) {
    if (region.IsZero()) return;
    DrawDDrawStretch(x + region.X, y + region.Y, region.Width, region.Height, region.X, region.Y,
                     region.Width, region.Height, centred, keyed);
}

void CGraphics::DrawDDrawStretch(Long x, Long y, Long width, Long height, Long srcX, Long srcY,
                                 Long srcWidth, Long srcHeight, bool centred, bool keyed) {
    if (!ExistDDS(true)) return;
    if (srcWidth == 0) srcWidth = Image.GetWidth();
    if (srcHeight == 0) srcHeight = Image.GetHeight();
    PlaceDestination(x, y, width, height, centred);
    framework::RECT dest, src;
    framework::SetRectWH(dest, width, height, x, y);
    framework::SetRectWH(src, srcWidth, srcHeight, srcX, srcY);
    const framework::RECT bounds{0, 0, framework::gScreenWidth(), framework::gScreenHeight()};
    if (framework::ClipStretchRect(bounds, dest, src)) return;
    framework::gBackDDS()->Blt({dest.Left, dest.Top, dest.Right, dest.Bottom}, *Surface,
                               {src.Left, src.Top, src.Right, src.Bottom}, keyed);
}

// ---- Direct3D quads ----

bool CGraphics::PrepareD3D(RenderModeCode code) {
    if (!ExistDDSTexture(true, true)) return false;
    auto& device = gIMDevice();
    device.SetTexture(Surface);
    device.SetRenderModeLE(code);
    return true;
}

void CGraphics::DrawStrip(std::span<const D3DTLVERTEX> vertices) {
    auto* dev = detail::Device();
    if (!dev) return;
    dev->DrawPrimitive(platform::D3DPT_TRIANGLESTRIP, platform::D3DFVF_TLVERTEX, vertices,
                       static_cast<platform::D3DLong>(vertices.size()), 0);
}

void CGraphics::DrawD3DDraw(Single x, Single y, Single width, Single height, Single srcX,
                            Single srcY, bool centred, bool keyed) {
    if (width == 0) width = static_cast<Single>(Image.GetWidth());
    if (height == 0) height = static_cast<Single>(Image.GetHeight());
    DrawD3DDrawStretch(x, y, width, height, srcX, srcY, width, height, centred, keyed);
}

void CGraphics::DrawD3DDrawRgn(Single x, Single y, const core::CRect& region, bool centred,
                               bool keyed) {
    if (region.IsZero()) return;
    const auto rx = static_cast<Single>(region.X), ry = static_cast<Single>(region.Y);
    const auto rw = static_cast<Single>(region.Width), rh = static_cast<Single>(region.Height);
    DrawD3DDrawStretch(x + rx, y + ry, rw, rh, rx, ry, rw, rh, centred, keyed);
}

void CGraphics::DrawD3DDrawStretch(Single x, Single y, Single width, Single height, Single srcX,
                                   Single srcY, Single srcWidth, Single srcHeight, bool centred,
                                   bool keyed) {
    if (!PrepareD3D(renderMode_ | (keyed ? render_mode::kColorKey : 0))) return;
    const auto pw = static_cast<Single>(Image.GetWidth());
    const auto ph = static_cast<Single>(Image.GetHeight());
    if (srcWidth == 0) srcWidth = pw;
    if (srcHeight == 0) srcHeight = ph;
    PlaceDestination(x, y, width, height, centred);
    const Single tu1 = srcX / pw * texU_, tu2 = (srcX + srcWidth) / pw * texU_;
    const Single tv1 = srcY / ph * texV_, tv2 = (srcY + srcHeight) / ph * texV_;
    std::array<D3DTLVERTEX, 4> v{};
    CIMDevice::GetD3DTLVERTEX_Box(v, x - 0.5f, y - 0.5f, width, height, 0, 0, tu1, tv1, tu2, tv2, 0,
                                  1, colors_);
    DrawStrip(v);
}

void CGraphics::DrawD3D(Single x, Single y, Single width, Single height, Single originX,
                        Single originY, Single angle, Single scale) {
    if (!PrepareD3D(renderMode_)) return;
    if (width == 0) width = static_cast<Single>(Image.GetWidth());
    if (height == 0) height = static_cast<Single>(Image.GetHeight());
    const Single drawScale = framework::GetDrawScale();
    if (drawScale != 1.0f) {
        x *= drawScale;
        y *= drawScale;
        width *= drawScale;
        height *= drawScale;
    }
    std::array<D3DTLVERTEX, 4> v{};
    CIMDevice::GetD3DTLVERTEX_Box(v, x - 0.5f, y - 0.5f, width, height, originX, originY, 0, 0,
                                  texU_, texV_, angle, scale, colors_);
    DrawStrip(v);
}

void CGraphics::DrawD3DBillBoard(const D3DTLVERTEX& point, Single originX, Single originY,
                                 Single scale) {
    if (!PrepareD3D(renderMode_)) return;
    const Single drawScale = framework::GetDrawScale();
    const Single width = static_cast<Single>(Image.GetWidth()) * scale * drawScale;
    const Single height = static_cast<Single>(Image.GetHeight()) * scale * drawScale;
    std::array<D3DTLVERTEX, 4> v{};
    CIMDevice::GetD3DTLVERTEX_Box(v, std::floor(point.sx) - 0.5f, std::floor(point.sy) - 0.5f,
                                  width, height, originX, originY, 0, 0, texU_, texV_, 0, 1,
                                  colors_);
    for (auto& corner : v) {
        corner.sz = point.sz;
        corner.rhw = point.rhw;
    }
    DrawStrip(v);
}

void CGraphics::DrawD3DPolygon(Single x1, Single y1, Single x2, Single y2, Single x3, Single y3,
                               Single tu1, Single tv1, Single tu2, Single tv2, Single tu3,
                               Single tv3) {
    if (!PrepareD3D(renderMode_)) return;
    std::array<Single, 6> xy{x1, y1, x2, y2, x3, y3};
    const Single drawScale = framework::GetDrawScale();
    if (drawScale != 1.0f) {
        for (auto& c : xy) c *= drawScale;
    }
    const std::array<Single, 6> uv{tu1, tv1, tu2, tv2, tu3, tv3};
    std::array<D3DTLVERTEX, 3> v{};
    for (std::size_t k = 0; k < 3; ++k) {
        v[k].specular = 0;
        CIMDevice::TLVertex(xy[2 * k], xy[2 * k + 1], 0, 1, colors_[k], uv[2 * k] * texU_,
                            uv[2 * k + 1] * texV_, v[k]);
    }
    DrawStrip(v);
}

}  // namespace brumil::render
