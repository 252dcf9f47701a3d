#pragma once
// Sound buffers of the software mixer: the subset of a classic secondary-buffer
// sound interface that the sound library relies on.
//
// A buffer holds PCM bytes (8-bit unsigned, 16- or 24-bit signed little-endian,
// mono or stereo) and a play position. The mixer reads the bytes at the moment it
// renders, so bytes written ahead of the play position are heard. Every call
// answers a SoundResult; a call that needs a control the buffer was not created
// with answers ControlUnavailable and changes nothing, a value outside its range
// answers InvalidParam and changes nothing.
//
// Threading: every member takes the mixer's one lock, which the audio callback
// also takes; buffers may be used from the game thread only.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace brumil::platform {

namespace detail {
struct MixerState;
struct Voice;
}  // namespace detail

// Creation flags and capabilities (bit values of the classic interface).
inline constexpr std::uint32_t kBufferPrimary = 0x1;
inline constexpr std::uint32_t kBufferStatic = 0x2;
inline constexpr std::uint32_t kBufferLocHardware = 0x4;
inline constexpr std::uint32_t kBufferLocSoftware = 0x8;
inline constexpr std::uint32_t kBufferCtrl3D = 0x10;
inline constexpr std::uint32_t kBufferCtrlFrequency = 0x20;
inline constexpr std::uint32_t kBufferCtrlPan = 0x40;
inline constexpr std::uint32_t kBufferCtrlVolume = 0x80;
inline constexpr std::uint32_t kBufferStickyFocus = 0x4000;
inline constexpr std::uint32_t kBufferGlobalFocus = 0x8000;
inline constexpr std::uint32_t kBufferGetCurrentPosition2 = 0x10000;

// Play flags.
inline constexpr std::uint32_t kPlayLooping = 0x1;

// Status bits.
inline constexpr std::uint32_t kStatusPlaying = 0x1;
inline constexpr std::uint32_t kStatusBufferLost = 0x2;
inline constexpr std::uint32_t kStatusLooping = 0x4;

// Control ranges. Volume and pan are in hundredths of a decibel.
inline constexpr std::int32_t kVolumeMin = -10000;  // silent
inline constexpr std::int32_t kVolumeMax = 0;
inline constexpr std::int32_t kPanLeft = -10000;
inline constexpr std::int32_t kPanRight = 10000;
inline constexpr std::uint32_t kFrequencyOriginal = 0;
inline constexpr std::uint32_t kFrequencyMin = 100;
inline constexpr std::uint32_t kFrequencyMax = 100000;
inline constexpr std::uint32_t kBufferSizeMin = 4;
inline constexpr std::uint32_t kBufferSizeMax = 0x0FFFFFFF;

// 3D settings: applied at once, or kept until the listener commits them.
inline constexpr std::uint32_t k3DImmediate = 0;
inline constexpr std::uint32_t k3DDeferred = 1;

enum class SoundResult : std::uint8_t {
    Ok,
    InvalidParam,
    ControlUnavailable,  // the buffer was made without the control
    BufferLost,
    InvalidCall,  // the device behind the buffer is gone
};

// The error number the original interface gives for each result (0 for Ok);
// callers that test for a lost buffer compare with kErrorBufferLost.
inline constexpr std::uint32_t kErrorBufferLost = 0x88780096u;
std::uint32_t ErrorNumber(SoundResult r);

// A PCM format record: format tag 1, channels, rate, bytes per second, block
// align, bits per sample. Valid when the tag is 1, channels 1 or 2, bits 8, 16
// or 24, the rate within kFrequencyMin..kFrequencyMax and the two derived
// fields consistent.
struct PcmFormat {
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;

    static PcmFormat Make(std::uint32_t hz, std::uint16_t bits, std::uint16_t channels);
    bool IsValid() const;
};

struct SoundBufferDesc {
    std::uint32_t flags = 0;
    std::uint32_t bufferBytes = 0;
    PcmFormat format;
};

struct Vector3 {
    float x = 0;
    float y = 0;
    float z = 0;
};

class Sound3DBuffer;

class SoundBuffer {
public:
    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    // Starts playing from the current position; kPlayLooping wraps at the end,
    // otherwise the buffer stops after its last frame and rewinds to 0.
    SoundResult Play(std::uint32_t flags);
    // Stops; the position stays where it was.
    SoundResult Stop();
    SoundResult GetStatus(std::uint32_t& status) const;
    // Byte positions. The write cursor is where writing is safe: the play
    // cursor when stopped, a few milliseconds ahead of it while playing.
    SoundResult GetCurrentPosition(std::uint32_t& play, std::uint32_t& write) const;
    // Byte offset below the buffer size; aligned down to a whole frame.
    SoundResult SetCurrentPosition(std::uint32_t position);

    SoundResult SetVolume(std::int32_t hundredthsDb);  // kVolumeMin..kVolumeMax
    SoundResult GetVolume(std::int32_t& hundredthsDb) const;
    SoundResult SetPan(std::int32_t hundredthsDb);  // kPanLeft..kPanRight
    SoundResult GetPan(std::int32_t& hundredthsDb) const;
    // 0 restores the buffer's own rate; otherwise kFrequencyMin..kFrequencyMax.
    SoundResult SetFrequency(std::uint32_t hz);
    // The rate in use (the buffer's own one when none was set).
    SoundResult GetFrequency(std::uint32_t& hz) const;

    // Copies the bytes into the buffer from `offset` on, wrapping past its end.
    // Fails when offset is not inside the buffer or the bytes exceed its size.
    SoundResult Write(std::uint32_t offset, std::span<const std::uint8_t> bytes);
    // The buffer's bytes (for saving and for tests).
    std::vector<std::uint8_t> Contents() const;
    // Writes the contents as a canonical PCM WAV file (program path).
    SoundResult SaveToFile(std::string_view path) const;

    // Clears the lost state; the contents are gone and read as silence.
    SoundResult Restore();

    std::uint32_t Flags() const;
    std::uint32_t Size() const;
    PcmFormat Format() const;

    // The 3D controls of a buffer made with kBufferCtrl3D; nothing otherwise.
    std::unique_ptr<Sound3DBuffer> Get3DBuffer();

    // Test interface: the device took the buffer's memory away.
    void SimulateLoss();

private:
    friend class SoundDevice;
    SoundBuffer(std::shared_ptr<detail::MixerState> state, std::shared_ptr<detail::Voice> voice);

    std::shared_ptr<detail::MixerState> state_;
    std::shared_ptr<detail::Voice> voice_;
};

// Position, velocity and distances of a 3D buffer. Getters report the latest
// values set; the mix uses the applied ones (immediate, or deferred until the
// listener's CommitDeferredSettings).
class Sound3DBuffer {
public:
    SoundResult SetPosition(float x, float y, float z, std::uint32_t apply);
    SoundResult SetVelocity(float x, float y, float z, std::uint32_t apply);
    SoundResult SetMinDistance(float d, std::uint32_t apply);  // > 0
    SoundResult SetMaxDistance(float d, std::uint32_t apply);  // > 0
    Vector3 GetPosition() const;
    Vector3 GetVelocity() const;
    float GetMinDistance() const;
    float GetMaxDistance() const;

private:
    friend class SoundBuffer;
    Sound3DBuffer(std::shared_ptr<detail::MixerState> state, std::shared_ptr<detail::Voice> voice)
        : state_(std::move(state)), voice_(std::move(voice)) {}

    std::shared_ptr<detail::MixerState> state_;
    std::shared_ptr<detail::Voice> voice_;
};

// The listener of the 3D model (one per device). Its orientation is fixed:
// facing +z with +y up, so +x is to the right.
class Sound3DListener {
public:
    SoundResult SetPosition(float x, float y, float z, std::uint32_t apply);
    SoundResult SetVelocity(float x, float y, float z, std::uint32_t apply);
    // Scales how fast the gain falls beyond the minimum distance (0..10).
    SoundResult SetRolloffFactor(float f, std::uint32_t apply);
    Vector3 GetPosition() const;
    Vector3 GetVelocity() const;
    float GetRolloffFactor() const;
    // Applies every deferred setting of the listener and of all 3D buffers.
    SoundResult CommitDeferredSettings();

private:
    friend class SoundDevice;
    explicit Sound3DListener(std::shared_ptr<detail::MixerState> state)
        : state_(std::move(state)) {}

    std::shared_ptr<detail::MixerState> state_;
};

// The output as the primary buffer reports it.
class PrimarySoundBuffer {
public:
    SoundResult GetFormat(PcmFormat& format) const;

private:
    friend class SoundDevice;
    explicit PrimarySoundBuffer(std::shared_ptr<detail::MixerState> state)
        : state_(std::move(state)) {}

    std::shared_ptr<detail::MixerState> state_;
};

}  // namespace brumil::platform
