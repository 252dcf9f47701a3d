#pragma once
// Where the media players' sound goes: a maker of mixer buffers, handed in by
// the caller so that the players do not need to know which device is in use.

#include <functional>
#include <memory>

#include "platform/sound/sound_buffer.h"

namespace brumil::platform {

// Makes a secondary buffer of the description; nothing when the output
// refuses it (or there is no output).
using MediaBufferMaker = std::function<std::unique_ptr<SoundBuffer>(const SoundBufferDesc&)>;

}  // namespace brumil::platform
