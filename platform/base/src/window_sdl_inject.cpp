#include <SDL.h>

#include "platform/base/sdl_window.h"

namespace brumil::platform {

void SdlWindow::ClientSize(int& width, int& height) const {
    width = height = 0;
    if (window_ != nullptr) SDL_GetWindowSize(window_, &width, &height);
}

WindowSizeState SdlWindow::SizeState() const {
    const Uint32 flags = window_ != nullptr ? SDL_GetWindowFlags(window_) : 0;
    if ((flags & SDL_WINDOW_MINIMIZED) != 0) return WindowSizeState::Minimised;
    if ((flags & SDL_WINDOW_MAXIMIZED) != 0) return WindowSizeState::Maximised;
    return WindowSizeState::Normal;
}

void SdlWindow::RestoreNormalSize() {
    if (SizeState() != WindowSizeState::Normal) SDL_RestoreWindow(window_);
}

void SdlWindow::InjectPointerMotion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.common.timestamp = SDL_GetTicks();
    e.motion.windowID = SDL_GetWindowID(window_);
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
}

void SdlWindow::InjectPointerButton(int x, int y, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.common.timestamp = SDL_GetTicks();
    e.button.windowID = SDL_GetWindowID(window_);
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

}  // namespace brumil::platform
