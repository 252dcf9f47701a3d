#pragma once
// Which mouse events the overlay keeps from the game: the pointer over what
// it drew (the bar, an open drop-down, a dialog), every event while a
// drop-down is open (a click elsewhere only closes it), and a press that
// began on the overlay until its release. Decided by each event's own
// position against what the last frame drew, so the event that leaves the
// bar already reaches the game.
//
// Used with the overlay's ImGui context current.

#include <imgui.h>

#include <cstdint>
#include <vector>

union SDL_Event;

namespace brumil::platform {

class OverlayHold {
public:
    // After ImGui::Render: notes the windows drawn and whether a popup (a
    // drop-down) is open.
    void FrameDrawn();
    // True when the event belongs to the overlay; call once per mouse event.
    bool Takes(const SDL_Event& e);

private:
    bool Over(float x, float y) const;

    std::vector<ImVec4> rects_;  // x0, y0, x1, y1 of each window drawn
    bool popupOpen_ = false;
    float lastX_ = -1.0f;
    float lastY_ = -1.0f;
    std::uint32_t pressed_ = 0;  // buttons pressed on the overlay, not yet released
};

}  // namespace brumil::platform
