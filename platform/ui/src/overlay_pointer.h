#pragma once
// Where the overlay's Dear ImGui frames see the pointer, taken from the
// window's own mouse events.
//
// ImGui's SDL back-end of this generation asks for the pointer once a frame:
// the global pointer position less the window's position where SDL offers
// it, else SDL's own mouse state. The global position is not kept up to date
// everywhere (on an X server without a window manager it kept answering a
// place the pointer had long left), and SDL's mouse state never sees events
// put in the queue by others. The events are what the window itself follows,
// so the overlay and the game agree on the pointer in either screen mode.

#include <cstdint>

union SDL_Event;
struct ImGuiIO;

namespace brumil::platform {

class OverlayPointer {
public:
    // Follows motion, button and window-crossing events; every event may be
    // given.
    void OnEvent(const SDL_Event& e);
    // Gives ImGui the pointer for the frame about to begin: call after the
    // back-end's NewFrame (which sets its own guess) and before
    // ImGui::NewFrame.
    void Apply(ImGuiIO& io) const;

    // The pointer in the window's client coordinates; false while it is
    // unknown or outside the window.
    bool Position(float& x, float& y) const;

private:
    bool known_ = false;
    float x_ = 0.0f;
    float y_ = 0.0f;
    std::uint32_t held_ = 0;  // buttons pressed in the window and not yet released
};

}  // namespace brumil::platform
