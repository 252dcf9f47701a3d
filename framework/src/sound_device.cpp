#include <algorithm>
#include <array>

#include "framework/sound.h"
#include "framework/splib.h"

namespace brumil::framework {
namespace {

// Flags every secondary buffer gets: global focus and the current-position
// behaviour of the second interface generation.
constexpr Long kBufferBaseFlags = 0x18000;

constexpr std::array<Long, 6> kVolumeOffsets = {0, -10, -20, -30, -45, -100};

std::unique_ptr<platform::SoundDevice>& Device() {
    static std::unique_ptr<platform::SoundDevice> device;
    return device;
}

}  // namespace

bool SoundStart(const SoundStartOptions& options) {
    SoundStop();
    if (options.hz <= 0 || options.bits <= 0 || options.channels <= 0) return false;
    platform::SoundDeviceOptions o;
    o.hz = static_cast<std::uint32_t>(options.hz);
    o.bits = static_cast<std::uint16_t>(std::min<Long>(options.bits, 0xFFFF));
    o.channels = static_cast<std::uint16_t>(std::min<Long>(options.channels, 0xFFFF));
    o.output =
        options.nullOutput ? platform::SoundOutputKind::Null : platform::SoundOutputKind::Auto;
    Device() = platform::SoundDevice::Open(o);
    return Device() != nullptr;
}

void SoundStop() {
    if (!Device()) return;
    gSpLib().RaiseTerminateSound();
    Device().reset();
}

bool SoundIsStarted() {
    return Device() != nullptr;
}

platform::SoundDevice* gDirectSound() {
    return Device().get();
}

std::unique_ptr<platform::SoundBuffer> CreateSoundBuffer(Long size, Long hz, Long bits,
                                                         Long channels, Long flags) {
    if (!Device()) return nullptr;
    if (size <= 0 || hz <= 0 || bits <= 0 || bits > 0xFFFF || channels <= 0 || channels > 0xFFFF) {
        return nullptr;
    }
    platform::SoundBufferDesc desc;
    desc.flags = static_cast<std::uint32_t>(flags | kBufferBaseFlags);
    desc.bufferBytes = static_cast<std::uint32_t>(size);
    desc.format =
        platform::PcmFormat::Make(static_cast<std::uint32_t>(hz), static_cast<std::uint16_t>(bits),
                                  static_cast<std::uint16_t>(channels));
    return Device()->CreateBuffer(desc);
}

platform::PrimarySoundBuffer* gDSPrimaryBuffer() {
    return Device() ? &Device()->Primary() : nullptr;
}

platform::Sound3DListener* gDSBufferAux() {
    return Device() ? &Device()->Listener() : nullptr;
}

Long& gVolumeOffset() {
    static Long offset = 0;
    return offset;
}

void SetVolumeLevel(Long step) {
    const Long s = std::clamp<Long>(step, 0, static_cast<Long>(kVolumeOffsets.size()) - 1);
    gVolumeOffset() = kVolumeOffsets[static_cast<std::size_t>(s)];
}

}  // namespace brumil::framework
