#pragma once
// The game's one window. It shows the 640x480 logical picture, scaled from a
// back buffer of any size; in headless mode (no display, or BRUMIL_HEADLESS=1)
// nothing is shown and the last presented frame can be read back.
//
// Full-screen switches are requested and applied only between frames, never
// from inside the event pump.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace brumil::platform {

struct PresentedFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // width * height pixels, 0xAARRGGBB
};

class Window {
public:
    virtual ~Window() = default;

    // Pixels of the back buffer, row-major, `pitch` pixels per row. The whole
    // buffer is shown scaled to the window's picture area.
    virtual void Present(std::span<const std::uint32_t> argb, int width, int height,
                         int pitch) = 0;

    // The last frame handed to Present (always kept; tests read it back).
    virtual const PresentedFrame& LastFrame() const = 0;

    virtual bool IsHeadless() const = 0;
    virtual bool IsFullScreen() const = 0;
    virtual void SetTitle(const std::string& title) = 0;
};

}  // namespace brumil::platform
