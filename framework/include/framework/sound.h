#pragma once
// Sound procedures of the framework: the one sound device, the buffers made on
// it, the primary buffer and 3D listener, and the master volume.
//
// The frame host starts sound when it connects and stops it when it
// disconnects. Stopping raises TerminateSound first, so every holder lets go of
// its buffers before the device goes away.

#include <memory>

#include "core/vb_types.h"
#include "platform/sound/sound_device.h"

namespace brumil::framework {

struct SoundStartOptions {
    Long hz = 44100;
    Long bits = 16;
    Long channels = 2;
    // The null output: nothing is heard; samples are rendered on request.
    bool nullOutput = false;
};

// Opens the device (a running one is stopped first). False when the format is
// refused; sound then stays off and CreateSoundBuffer answers nothing.
bool SoundStart(const SoundStartOptions& options);
// Raises TerminateSound, then releases the device. Nothing when sound is off.
void SoundStop();
bool SoundIsStarted();

// The device while sound is on, else nothing.
platform::SoundDevice* gDirectSound();

// A secondary buffer of `size` bytes with the flags Or 0x18000 and the PCM
// format (hz, bits, channels); nothing when sound is off or the buffer is
// refused.
std::unique_ptr<platform::SoundBuffer> CreateSoundBuffer(Long size, Long hz, Long bits,
                                                         Long channels, Long flags);

// The primary buffer (its GetFormat gives the output format) and the 3D
// listener; nothing while sound is off.
platform::PrimarySoundBuffer* gDSPrimaryBuffer();
platform::Sound3DListener* gDSBufferAux();

// The master level in percent: 0, -10, -20, -30, -45 or -100. Players multiply
// their volume by (1 + gVolumeOffset / 100).
Long& gVolumeOffset();

// Sets gVolumeOffset from the volume step 0 (loudest) to 5 (silent); steps
// outside 0..5 are clamped. Raises nothing: the caller announces the change
// with spLib's DirectSoundAudioVolumeReset.
void SetVolumeLevel(Long step);

}  // namespace brumil::framework
