#include "sound/bgm.h"

namespace brumil::sound {

std::unique_ptr<CAudio36>& gBGM() {
    static std::unique_ptr<CAudio36> player;
    return player;
}

}  // namespace brumil::sound
