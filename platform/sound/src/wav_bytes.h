#pragma once
// The canonical PCM WAV file: "RIFF", size, "WAVE", a 16-byte "fmt " chunk and
// one "data" chunk; all numbers little-endian.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/sound/sound_buffer.h"

namespace brumil::platform::detail {

std::vector<std::uint8_t> CanonicalWavBytes(const PcmFormat& format,
                                            std::span<const std::uint8_t> pcm);

}  // namespace brumil::platform::detail
