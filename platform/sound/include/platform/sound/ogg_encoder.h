#pragma once
// Ogg Vorbis encoding of 16-bit PCM held in memory: for tests and for the tools
// that generate the data set.

#include <cstdint>
#include <span>
#include <vector>

namespace brumil::platform {

struct OggEncodeOptions {
    int channels = 2;         // 1..8 (the decoders here accept 1 or 2)
    int hz = 44100;           // 8000..192000
    float quality = 0.4f;     // -0.1 .. 1.0 (variable bit rate)
    std::int32_t serial = 1;  // the logical stream's serial number, fixed for repeatable output
};

// Encodes interleaved samples (frames x channels values). Empty on failure
// (bad options, or a sample count that is not a whole number of frames).
std::vector<std::uint8_t> EncodeOggVorbis(std::span<const std::int16_t> samples,
                                          const OggEncodeOptions& options);

}  // namespace brumil::platform
