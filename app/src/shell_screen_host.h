#pragma once
// The shell's side of the front end's screens: the key set-up for the
// joystick count, the menu sounds and the window menus, over the framework
// answers of PlatformScreenHost.

#include "frontend/screen_host.h"

namespace brumil::app {

// The run's screen host (system clock), set on the front end at start-up.
frontend::ScreenHost& PlatformScreenHostOfShell();

}  // namespace brumil::app
