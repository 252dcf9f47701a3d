// The presses the SDL window's event hook takes from the game (the menu and
// dialog overlay's clicks), kept until their release.
#include <SDL.h>

#include "platform/base/scan_codes.h"
#include "platform/base/sdl_window.h"

namespace brumil::platform {

namespace {

bool* ButtonOf(CapturedInput& c, Uint8 button) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return &c.left;
        case SDL_BUTTON_RIGHT:
            return &c.right;
        case SDL_BUTTON_MIDDLE:
            return &c.middle;
        default:
            return nullptr;
    }
}

}  // namespace

void SdlWindow::NoteCapture(const SDL_Event& e, bool taken) {
    switch (e.type) {
        case SDL_MOUSEBUTTONDOWN:
            if (!taken) break;
            if (bool* held = ButtonOf(capturedHeld_, e.button.button)) *held = true;
            if (bool* since = ButtonOf(capturedSince_, e.button.button)) *since = true;
            break;
        case SDL_MOUSEBUTTONUP:
            if (bool* held = ButtonOf(capturedHeld_, e.button.button)) *held = false;
            break;
        case SDL_KEYDOWN: {
            const ScanCode code = ScanCodeFromSdl(e.key.keysym.scancode);
            if (!taken || code == 0) break;
            capturedHeld_.keys[code] = true;
            capturedSince_.keys[code] = true;
            break;
        }
        case SDL_KEYUP: {
            const ScanCode code = ScanCodeFromSdl(e.key.keysym.scancode);
            if (code != 0) capturedHeld_.keys[code] = false;
            break;
        }
        case SDL_WINDOWEVENT:
            // Releases made while the window had no focus never arrive.
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) capturedHeld_ = {};
            break;
        default:
            break;
    }
}

CapturedInput SdlWindow::TakeCapturedInput() {
    CapturedInput out = capturedSince_;
    out.left = out.left || capturedHeld_.left;
    out.right = out.right || capturedHeld_.right;
    out.middle = out.middle || capturedHeld_.middle;
    for (std::size_t k = 0; k < out.keys.size(); ++k)
        out.keys[k] = out.keys[k] || capturedHeld_.keys[k];
    capturedSince_ = {};
    return out;
}

}  // namespace brumil::platform
