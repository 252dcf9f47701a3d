#include <cstdlib>
#include <cstring>

#include "platform/base/headless_window.h"

namespace brumil::platform {

void CopyToFrame(std::span<const std::uint32_t> argb, int width, int height, int pitch,
                 PresentedFrame& frame) {
    const bool sane =
        width > 0 && height > 0 && pitch >= width &&
        argb.size() >= std::size_t(pitch) * std::size_t(height - 1) + std::size_t(width);
    if (!sane) {
        frame = PresentedFrame{};
        return;
    }
    frame.width = width;
    frame.height = height;
    frame.argb.resize(std::size_t(width) * std::size_t(height));
    for (int row = 0; row < height; ++row) {
        std::memcpy(frame.argb.data() + std::size_t(row) * std::size_t(width),
                    argb.data() + std::size_t(row) * std::size_t(pitch),
                    std::size_t(width) * sizeof(std::uint32_t));
    }
}

HeadlessWindow::HeadlessWindow(const WindowSettings& settings)
    : title_(settings.title),
      fullScreen_(settings.fullScreen),
      pendingFullScreen_(settings.fullScreen) {}

void HeadlessWindow::Present(std::span<const std::uint32_t> argb, int width, int height,
                             int pitch) {
    CopyToFrame(argb, width, height, pitch, last_);
    ++presents_;
}

WindowEvents HeadlessWindow::PumpEvents() {
    WindowEvents events;
    events.closeRequested = closePending_;
    closePending_ = false;
    return events;
}

PointerActivity HeadlessWindow::TakePointerActivity() {
    PointerActivity p = pointer_;
    // Wheel and movement are per step; the position stays.
    pointer_.wheel = 0;
    pointer_.moved = false;
    return p;
}

bool HeadlessWindow::ApplyPendingMode() {
    if (pendingFullScreen_ == fullScreen_) return false;
    fullScreen_ = pendingFullScreen_;
    return true;
}

bool HeadlessRequested() {
    const char* headless = std::getenv("BRUMIL_HEADLESS");
    if (headless != nullptr && std::strcmp(headless, "0") != 0 && headless[0] != '\0') return true;
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver != nullptr &&
        (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0))
        return true;
    // Without a display server SDL cannot open a window anyway.
    return std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr;
}

}  // namespace brumil::platform
