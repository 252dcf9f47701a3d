#pragma once
// The music player of the whole run. The shell makes it when it loads its
// settings and releases it when it saves them; the stage and the front end
// play through it meanwhile (and must cope with it being absent).

#include <memory>

#include "sound/audio36.h"

namespace brumil::sound {

std::unique_ptr<CAudio36>& gBGM();

}  // namespace brumil::sound
