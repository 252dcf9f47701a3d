#include "overlay_pointer.h"

#include <SDL.h>
#include <imgui.h>

#include <cfloat>

namespace brumil::platform {

namespace {
std::uint32_t ButtonBit(Uint8 button) {
    return button >= 1 && button <= 32 ? std::uint32_t{1} << (button - 1) : 0;
}
}  // namespace

void OverlayPointer::OnEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_MOUSEMOTION:
            // Also outside the window while a button is held: SDL keeps
            // reporting then, and a dragged dialog follows.
            known_ = true;
            x_ = float(e.motion.x);
            y_ = float(e.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
            known_ = true;
            x_ = float(e.button.x);
            y_ = float(e.button.y);
            held_ |= ButtonBit(e.button.button);
            break;
        case SDL_MOUSEBUTTONUP:
            known_ = true;
            x_ = float(e.button.x);
            y_ = float(e.button.y);
            held_ &= ~ButtonBit(e.button.button);
            break;
        case SDL_WINDOWEVENT:
            // Gone from the window: nothing stays hovered. A drag keeps the
            // pointer until its button comes up.
            if (e.window.event == SDL_WINDOWEVENT_LEAVE && held_ == 0) known_ = false;
            // A release elsewhere never arrives.
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) held_ = 0;
            break;
        default:
            break;
    }
}

bool OverlayPointer::Position(float& x, float& y) const {
    if (!known_) return false;
    x = x_;
    y = y_;
    return true;
}

void OverlayPointer::Apply(ImGuiIO& io) const {
    float x = 0.0f, y = 0.0f;
    io.MousePos = Position(x, y) ? ImVec2(x, y) : ImVec2(-FLT_MAX, -FLT_MAX);
}

}  // namespace brumil::platform
