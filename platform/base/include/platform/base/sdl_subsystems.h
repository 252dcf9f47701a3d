#pragma once
// Shared release of SDL sub-systems. SDL holds process-wide state (the
// libraries it loaded, its D-Bus connection) until SDL_Quit; releasing a
// sub-system through here ends SDL as a whole once no sub-system is left. A
// later SDL_InitSubSystem starts SDL afresh.

#include <cstdint>

namespace brumil::platform {

// SDL_QuitSubSystem(flags), then SDL_Quit when no sub-system is still up;
// true when SDL was ended.
bool ReleaseSdlSubSystem(std::uint32_t flags);
// True while any SDL sub-system is up.
bool SdlStarted();

}  // namespace brumil::platform
