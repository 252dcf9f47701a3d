#include "platform/base/sdl_subsystems.h"

#include <SDL.h>

namespace brumil::platform {

bool ReleaseSdlSubSystem(std::uint32_t flags) {
    SDL_QuitSubSystem(flags);
    if (SdlStarted()) return false;
    SDL_Quit();
    return true;
}

bool SdlStarted() {
    return SDL_WasInit(SDL_INIT_EVERYTHING) != 0;
}

}  // namespace brumil::platform
