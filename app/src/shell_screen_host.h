#pragma once
// The shell's side of the front end's screens: the key set-up for the
// joystick count, the menu sounds and the window menus, over the framework
// answers of PlatformScreenHost.

#include "frontend/screen_host.h"

namespace brumil::app {

// What the screens ask of the main window; the application implements it.
class ShellRequests {
public:
    virtual ~ShellRequests() = default;
    // Enables or disables the screen, volume and system menus of every window
    // that shows them.
    virtual void EnableScreenMenus(bool enabled) = 0;
    // Ends the program through the main window's normal shut-down.
    virtual void UnLoadTheApp() = 0;
};

// The run's screen host (system clock), set on the front end at start-up; its
// menu and closing requests go to `requests`, which must outlive the run.
frontend::ScreenHost& PlatformScreenHostOfShell(ShellRequests& requests);

}  // namespace brumil::app
