// Presses the window's event hook takes (the menu overlay's clicks) never
// reach the game's input devices, held or tapped; presses it lets through
// still count. The real SDL window on the dummy video driver: events pushed
// onto SDL's queue reach the input only through the taps, as a quick press
// between two samples does.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/base/input_devices.h"
#include "platform/base/scan_codes.h"
#include "platform/base/sdl_window.h"

namespace brumil::platform {
namespace {

enum class Press { LeftButton, RightButton, KeyZ };

void Push(SdlWindow& window, Press press, bool down) {
    SDL_Event e{};
    if (press == Press::KeyZ) {
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = SDL_SCANCODE_Z;
        e.key.windowID = SDL_GetWindowID(window.Handle());
    } else {
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = press == Press::LeftButton ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.windowID = SDL_GetWindowID(window.Handle());
    }
    SDL_PushEvent(&e);
}

bool Seen(const InputSnapshot& s, Press press) {
    switch (press) {
        case Press::LeftButton:
            return s.mouse.left;
        case Press::RightButton:
            return s.mouse.right;
        case Press::KeyZ:
            return s.keys[scan::Z];
    }
    return false;
}

struct Case {
    const char* name;
    Press press;
    bool taken;    // the hook keeps the press from the game
    bool release;  // released again before the sample
};

TEST(SdlCapturedInput, TakenPressesNeverReachTheGame) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    const Case cases[] = {
        {"left click taken", Press::LeftButton, true, true},
        {"left press taken, held", Press::LeftButton, true, false},
        {"right click taken", Press::RightButton, true, true},
        {"key taken", Press::KeyZ, true, true},
        {"key taken, held", Press::KeyZ, true, false},
        {"left click let through", Press::LeftButton, false, true},
        {"left press let through, held", Press::LeftButton, false, false},
        {"key let through", Press::KeyZ, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowSettings settings;
        settings.vsync = false;
        auto window = SdlWindow::Open(settings);
        if (window == nullptr) GTEST_SKIP() << "SDL's dummy video driver is not available";
        auto devices = OpenInputDevices(*window);
        bool taking = false;
        window->SetEventHook([&taking](const SDL_Event& e) {
            const bool press = e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP ||
                               e.type == SDL_KEYDOWN || e.type == SDL_KEYUP;
            return press && taking;
        });
        InputSnapshot snap;
        (void)window->PumpEvents();
        devices->Sample(snap);

        taking = c.taken;
        Push(*window, c.press, true);
        if (c.release) Push(*window, c.press, false);
        (void)window->PumpEvents();
        devices->Sample(snap);
        EXPECT_EQ(Seen(snap, c.press), !c.taken);

        // The next sample: a tap is over, and a taken press stays hidden
        // until its release, which the hook no longer takes.
        taking = false;
        (void)window->PumpEvents();
        devices->Sample(snap);
        EXPECT_FALSE(Seen(snap, c.press));
        if (!c.release) {
            Push(*window, c.press, false);
            (void)window->PumpEvents();
            devices->Sample(snap);
            EXPECT_FALSE(Seen(snap, c.press));
        }
        // A later press that is let through counts again.
        Push(*window, c.press, true);
        Push(*window, c.press, false);
        (void)window->PumpEvents();
        devices->Sample(snap);
        EXPECT_TRUE(Seen(snap, c.press));
        window->SetEventHook({});
    }
}

}  // namespace
}  // namespace brumil::platform
