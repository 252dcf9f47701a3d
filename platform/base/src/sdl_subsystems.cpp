#include "platform/sdl_subsystems.h"

#include <SDL.h>

namespace brumil::platform {

void ReleaseSdlSubSystem(std::uint32_t flags) {
    SDL_QuitSubSystem(flags);
    if (!SdlStarted()) SDL_Quit();
}

bool SdlStarted() {
    return SDL_WasInit(SDL_INIT_EVERYTHING) != 0;
}

}  // namespace brumil::platform
