#pragma once
// The state shared by the device, its buffers and the audio callback. Every
// field is guarded by `mutex`.

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "platform/sound/sound_buffer.h"

namespace brumil::platform::detail {

struct Placement3D {
    Vector3 position;
    Vector3 velocity;
    float minDistance = 1.0f;
    float maxDistance = 1.0e9f;
};

struct ListenerSettings {
    Vector3 position;
    Vector3 velocity;
    float rolloff = 1.0f;
};

struct Voice {
    std::uint32_t flags = 0;
    PcmFormat format;
    std::vector<std::uint8_t> data;
    std::uint32_t frames = 0;  // whole frames in `data`

    // Position in frames, 32.32 fixed point.
    std::uint64_t position = 0;
    bool playing = false;
    bool looping = false;
    bool lost = false;

    std::int32_t volume = 0;
    std::int32_t pan = 0;
    std::uint32_t frequency = 0;  // 0: the format's own rate

    Placement3D requested;  // latest values set
    Placement3D applied;    // values the mix uses
    bool pending3D = false;
};

struct MixerState {
    std::mutex mutex;
    std::uint32_t outputHz = 44100;
    std::uint16_t outputBits = 16;
    std::uint16_t outputChannels = 2;
    std::vector<Voice*> voices;  // registered while their SoundBuffer lives
    ListenerSettings listenerRequested;
    ListenerSettings listenerApplied;
    std::vector<float> accumulator;  // scratch for one render call

    // Mixes frames into `out` (stereo interleaved). Caller holds `mutex`.
    void RenderLocked(std::span<std::int16_t> out);
};

// Left and right gains of a voice from its volume, pan and 3D placement.
struct SideGains {
    float left = 1.0f;
    float right = 1.0f;
};
SideGains VoiceGains(const Voice& v, const ListenerSettings& listener);

// 10^(mB / 2000); exactly 0 at kVolumeMin and below.
float GainFromHundredthsDb(std::int32_t mB);

}  // namespace brumil::platform::detail
