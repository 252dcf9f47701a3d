#include "frontend/screen_parts.h"

#include <algorithm>
#include <utility>

#include "core/rects.h"
#include "frontend/application_config.h"
#include "frontend/screen_host.h"
#include "frontend/view.h"
#include "image/cmg_bbi_function.h"
#include "image/cmg_bbi_string.h"

namespace brumil::frontend {

namespace {

constexpr Long kAtlasSide = 256;

}  // namespace

Single FadeProgress(Long frame, Long span) {
    if (span <= 0) return 1.0f;
    const Single t = static_cast<Single>(frame) / static_cast<Single>(span);
    return std::clamp(t, 0.0f, 1.0f);
}

void FitScaledPicture(std::optional<image::CmgBBI>& scaled, Single scale) {
    if (scale == 1.0f) {
        scaled.reset();
        return;
    }
    const Long width = RoundToLong(static_cast<double>(kScreenWidth) * scale);
    const Long height = RoundToLong(static_cast<double>(kScreenHeight) * scale);
    if (scaled && scaled->GetWidth() == width && scaled->GetHeight() == height) return;
    scaled.emplace();
    scaled->CreateBBI(width, height);
}

void FadeStep(ScreenHost& host, image::CmgBBI& current, std::optional<image::CmgBBI>& scaled,
              const image::CmgBBI& a, const image::CmgBBI& b, Single t, Single v) {
    image::CmgBBIFunction& fx = image::gBBIFunction();
    fx.BBIStencilFlip(current, a, b, 0, 0, 0, 0, 0, 0, 0, std::clamp(t, 0.0f, 1.0f), v);
    platform::Surface* back = host.BackSurface();
    const Single scale = host.GetDrawScale();
    // The display may have changed its mode since the screen was built.
    FitScaledPicture(scaled, scale);
    if (!scaled) {
        current.BltToDDS(back, 0, 0);
    } else {
        fx.BBILinearBlt(*scaled, current);
        scaled->BltToDDS(back, 0, 0);
    }
    host.RePaint();
}

void KeepLastFrame(ApplicationConfig& app) {
    app.WorkPicture.CreateBBI(kScreenWidth, kScreenHeight);
    if (!app.CurrentView) return;
    const image::CmgBBI& frame = app.CurrentView->PaintGetBBI();
    image::gBBIFunction().BBIExpandBlt(app.WorkPicture, frame, 0, 0, kScreenWidth, kScreenHeight, 0,
                                       0, frame.GetWidth(), frame.GetHeight(), 1.0f);
}

bool DrawBarCursor(CView& view, ScreenHost& host, Long entry, Long widen) {
    CLayerObject bar = Entry(view, entry);
    const Long item = view.InterfaceCursor();
    const core::CRect* r = item < 0 ? nullptr : view.GetRects().Item(item);
    if (r == nullptr) {
        bar.Remove();
        return false;
    }
    const std::shared_ptr<const image::CmgBBI> cursor = host.TexturePicture("cursor");
    view.Blt(bar, *cursor, r->X - widen, r->Y, r->Width + 2 * widen, r->Height, 0, 0);
    return true;
}

std::shared_ptr<const image::CmgBBI> MakeCaptionAtlas(ScreenHost& host) {
    auto atlas = std::make_shared<image::CmgBBI>();
    atlas->CreateBBI(kAtlasSide, kAtlasSide);
    const std::shared_ptr<const image::CmgBBI> font = host.TexturePicture("font64-x13-256x256");
    image::gBBIFunction().BBIBlt(*atlas, *font, 0, 0, 0, 0, 0, 0, 1.0f);
    return atlas;
}

GlyphAtlasScope::GlyphAtlasScope(std::shared_ptr<const image::CmgBBI> atlas)
    : previous_(std::exchange(image::gBBIString().GlyphAtlas, std::move(atlas))) {}

GlyphAtlasScope::~GlyphAtlasScope() {
    image::gBBIString().GlyphAtlas = std::move(previous_);
}

CLayerObject Entry(CView& view, Long index) {
    return CLayerObject(view.Layer(), index);
}

}  // namespace brumil::frontend
