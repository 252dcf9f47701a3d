#pragma once
// Display procedures of the framework: the surfaces of the display chain and
// their presentation through the window.

#include "platform/window.h"

namespace brumil::framework {

// Presents the back surface through the window: the whole surface, or only the
// given rectangle of the 640x480 logical screen when `whole` is false. Restores
// lost surfaces first. Does nothing while no display exists.
void DisplayPresent(platform::Window& window, bool whole, int x, int y, int width, int height);

}  // namespace brumil::framework
