#include "overlay_hold.h"

#include <SDL.h>
#include <imgui_internal.h>

namespace brumil::platform {

namespace {
std::uint32_t ButtonBit(Uint8 button) {
    return button >= 1 && button <= 32 ? std::uint32_t{1} << (button - 1) : 0;
}
}  // namespace

void OverlayHold::FrameDrawn() {
    rects_.clear();
    const ImGuiContext& g = *ImGui::GetCurrentContext();
    for (const ImGuiWindow* w : g.Windows) {
        if (!w->Active || w->Hidden) continue;
        rects_.emplace_back(w->Pos.x, w->Pos.y, w->Pos.x + w->Size.x, w->Pos.y + w->Size.y);
    }
    popupOpen_ = ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId);
}

bool OverlayHold::Over(float x, float y) const {
    for (const ImVec4& r : rects_) {
        if (x >= r.x && x < r.z && y >= r.y && y < r.w) return true;
    }
    return false;
}

bool OverlayHold::Takes(const SDL_Event& e) {
    switch (e.type) {
        case SDL_MOUSEMOTION:
            lastX_ = float(e.motion.x);
            lastY_ = float(e.motion.y);
            return popupOpen_ || pressed_ != 0 || Over(lastX_, lastY_);
        case SDL_MOUSEBUTTONDOWN: {
            lastX_ = float(e.button.x);
            lastY_ = float(e.button.y);
            const bool taken = popupOpen_ || pressed_ != 0 || Over(lastX_, lastY_);
            if (taken) pressed_ |= ButtonBit(e.button.button);
            return taken;
        }
        case SDL_MOUSEBUTTONUP: {
            const std::uint32_t bit = ButtonBit(e.button.button);
            const bool taken = (pressed_ & bit) != 0;
            pressed_ &= ~bit;
            return taken;
        }
        case SDL_MOUSEWHEEL:
            return popupOpen_ || Over(lastX_, lastY_);
        default:
            return false;
    }
}

}  // namespace brumil::platform
