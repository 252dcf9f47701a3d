#pragma once
// The mappings from the players' volume, pan and tempo values to the device's
// controls. Device volume and pan are in hundredths of a decibel.

#include <algorithm>
#include <cmath>

#include "core/vb_types.h"
#include "platform/sound/sound_buffer.h"

namespace brumil::sound::detail {

// Volume 0..1 (clamped) along a quarter sine: 0 at full volume, -10000 silent.
inline Long VolumeToDevice(Single v) {
    const double c = std::clamp<double>(v, 0.0, 1.0);
    return RoundToLong((std::sin(c * 1.57079632) - 1.0) * 10000.0);
}

// Pan -1..1 (clamped) along a quarter sine. The constant is 1.5707, a little
// short of pi / 2, so full pan gives 10000 only after rounding.
inline Long PanToDevice(Single pan) {
    const double c = std::clamp<double>(pan, -1.0, 1.0);
    return RoundToLong(std::sin(c * 1.5707) * 10000.0);
}

// Playback rate for a tempo in semitones: the factor base^t is held in single
// precision and limited to 0.5..2, the rate to 100..100000 Hz.
inline Long TempoToFrequency(Long hz, Single semitones, double base) {
    const Single f = std::clamp(static_cast<Single>(std::pow(base, semitones)), 0.5f, 2.0f);
    return std::clamp<Long>(RoundToLong(static_cast<double>(hz) * f), 100, 100000);
}

// Sets the buffer's rate for a tempo: 0 semitones is the sound's own rate.
inline void ApplyTempo(platform::SoundBuffer& buffer, Long hz, Single semitones, double base) {
    if (semitones == 0.0f) {
        buffer.SetFrequency(platform::kFrequencyOriginal);
        return;
    }
    buffer.SetFrequency(static_cast<std::uint32_t>(TempoToFrequency(hz, semitones, base)));
}

}  // namespace brumil::sound::detail
