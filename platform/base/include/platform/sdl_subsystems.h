#pragma once
// Shared release of SDL sub-systems. SDL keeps some process-wide state (its
// D-Bus connection among it) until SDL_Quit; releasing a sub-system through
// here ends SDL as a whole once no sub-system is left, so a closed program
// leaves nothing behind. A later SDL_InitSubSystem starts SDL afresh.

#include <cstdint>

namespace brumil::platform {

// SDL_QuitSubSystem(flags), then SDL_Quit when no sub-system is still up.
void ReleaseSdlSubSystem(std::uint32_t flags);
// True while any SDL sub-system is up.
bool SdlStarted();

}  // namespace brumil::platform
