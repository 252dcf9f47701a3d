#pragma once
// The shell's side of the front end's screens: the key set-up for the
// joystick count, the menu sounds and the window menus, over the framework
// answers of PlatformScreenHost.

#include "frontend/screen_host.h"

namespace brumil::app {

// Enables or disables the screen, volume and system menus of every window
// that shows them; the application implements it.
class ScreenMenuSwitch {
public:
    virtual ~ScreenMenuSwitch() = default;
    virtual void EnableScreenMenus(bool enabled) = 0;
};

// The run's screen host (system clock), set on the front end at start-up; its
// menu requests go to `menus`, which must outlive the run.
frontend::ScreenHost& PlatformScreenHostOfShell(ScreenMenuSwitch& menus);

}  // namespace brumil::app
