#pragma once
// The one sound output: a software mixer behind an SDL audio device, or behind
// a null output that renders only when told.
//
// The SDL audio callback pulls the mix; it and every buffer call share one lock
// and nothing else runs on another thread. The null output is chosen when asked
// for, when BRUMIL_HEADLESS=1, or when no audio device opens; tests render its
// samples directly with RenderFrames.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/sound/sound_buffer.h"

namespace brumil::platform {

enum class SoundOutputKind : std::uint8_t { Auto, Null };

struct SoundDeviceOptions {
    // The format the primary buffer reports and the mixer renders at. The mix is
    // always stereo; a mono output format reports 1 channel so that sounds are
    // prepared for it, and both sides carry the same signal.
    std::uint32_t hz = 44100;
    std::uint16_t bits = 16;
    std::uint16_t channels = 2;
    SoundOutputKind output = SoundOutputKind::Auto;
};

class SoundDevice {
public:
    // Nothing when the options are not a valid output format (rate 8000..192000,
    // bits 8 or 16, channels 1 or 2).
    static std::unique_ptr<SoundDevice> Open(const SoundDeviceOptions& options);
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // A secondary buffer; nothing when the description is refused (primary
    // flag, size outside kBufferSizeMin..kBufferSizeMax, invalid format).
    std::unique_ptr<SoundBuffer> CreateBuffer(const SoundBufferDesc& desc);

    PrimarySoundBuffer& Primary() { return primary_; }
    Sound3DListener& Listener() { return listener_; }
    bool IsNullOutput() const { return output_ == nullptr; }
    std::size_t PlayingBufferCount() const;

    // Test interface: mixes `frames` stereo frames of 16-bit samples (left,
    // right, left, ...) at the output rate, advancing every playing buffer.
    // Meant for the null output; on a real device it competes with the callback.
    std::vector<std::int16_t> RenderFrames(std::size_t frames);

private:
    class Output;
    explicit SoundDevice(std::shared_ptr<detail::MixerState> state);

    std::shared_ptr<detail::MixerState> state_;
    PrimarySoundBuffer primary_;
    Sound3DListener listener_;
    std::unique_ptr<Output> output_;
};

}  // namespace brumil::platform
