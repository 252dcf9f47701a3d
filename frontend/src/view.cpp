// CView: the layer, presentation and drawing into entries.

#include "frontend/view.h"

#include <algorithm>

#include "framework/display.h"
#include "image/cmg_bbi_function.h"

namespace brumil::frontend {

CView::CView(framework::CMaxwell* host) : host_(host) {}

framework::CMaxwell* CView::Host() const {
    return host_ != nullptr ? host_ : framework::gMaxwell().get();
}

std::shared_ptr<CLayer>& CView::Layer() {
    if (!layer_) layer_ = std::make_shared<CLayer>();
    return layer_;
}

const image::CmgBBI& CView::PaintGetBBI() {
    target_ = &Layer()->DoCompose(dirty_);
    return *target_;
}

void CView::Paint() {
    const image::CmgBBI& target = PaintGetBBI();
    if (surfaceLost_) {
        surfaceLost_ = false;
        dirty_.Create(0, 0, target.GetWidth(), target.GetHeight());
    }
    const framework::SurfacePtr& back = framework::gBackDDS();
    framework::CMaxwell* host = Host();
    const Single scale = framework::GetDrawScale();
    if (scale == 1.0f) {
        target.BltToDDSRect(back.get(), dirty_);
        if (host != nullptr) host->RePaintRect(dirty_);
        return;
    }
    // Nothing changed: a zero size would mean "the whole picture" to the
    // scaled copy, and growing an empty rectangle would present a stray one.
    if (dirty_.IsZero()) return;
    scaled_.CreateBBI(framework::GetDDSWidth(back), framework::GetDDSHeight(back), 0);
    const core::CRect source = dirty_;
    dirty_.ScaleSize(scale);
    if (dirty_.IsZero()) {
        dirty_.Delete();
        return;
    }
    image::gBBIFunction().BBILinearBlt(scaled_, target, dirty_.X, dirty_.Y, dirty_.Width,
                                       dirty_.Height, source.X, source.Y, source.Width,
                                       source.Height);
    dirty_.ScaleExpand(1);
    scaled_.BltToDDSRect(back.get(), dirty_);
    if (host != nullptr) host->RePaintRect(dirty_);
}

void CView::Blt(CLayerObject& entry, const image::CmgBBI& source, Long x, Long y,
                std::optional<Long> width, std::optional<Long> height, Long srcX, Long srcY,
                std::optional<Long> srcWidth, std::optional<Long> srcHeight) {
    image::CmgBBI* picture = entry.BBI();
    if (picture == nullptr) return;
    const Long w = width.value_or(picture->GetWidth());
    const Long h = height.value_or(picture->GetHeight());
    const Long sw = srcWidth.value_or(source.GetWidth());
    const Long sh = srcHeight.value_or(source.GetHeight());
    entry.Remove();
    auto& fx = image::gBBIFunction();
    if (w == sw && h == sh) {
        fx.BBIBlt(*picture, source, x, y, w, h, srcX, srcY, 1.0f);
    } else {
        fx.BBILinearBlt(*picture, source, x, y, w, h, srcX, srcY, sw, sh);
    }
    entry.Dirt()->Expand(x, y, w, h);
}

void CView::DrawText(CLayerObject& entry, std::optional<Long> backAlpha) {
    CLayerConfig* config = entry.Config();
    if (config == nullptr) return;
    const core::CRect saved = config->Rect;
    const Long alpha = std::min<Long>(backAlpha.value_or(0), 255);
    for (Long i = 0; i < rects_.Count(); ++i) {
        const core::CRect* item = rects_.Item(i);
        if (item == nullptr) continue;
        const core::CRect r(item->X + saved.X, item->Y + saved.Y, item->Width, item->Height);
        config->Rect = r;
        entry.Dirt()->ExpandRect(r);
        if (alpha > 0) {
            image::gBBIFunction().BBIDrawColorFill(
                *entry.BBI(), r.X, r.Y, r.Width, r.Height, 0,
                static_cast<Long>(static_cast<std::uint32_t>(alpha) << 24));
        }
        entry.TextOut(rects_.ItemCaption(i));
    }
    config->Rect = saved;
}

}  // namespace brumil::frontend
