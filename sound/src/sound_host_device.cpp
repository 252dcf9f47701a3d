// The players' access to the framework's sound device and the Ogg decoder.
#include "core/api.h"
#include "framework/sound.h"
#include "sound_host.h"

namespace brumil::sound::detail {

std::unique_ptr<platform::SoundBuffer> CreateBuffer(Long size, Long hz, Long bits, Long channels,
                                                    Long flags) {
    return framework::CreateSoundBuffer(size, hz, bits, channels, flags);
}

std::optional<platform::PcmFormat> PrimaryFormat() {
    platform::PrimarySoundBuffer* primary = framework::gDSPrimaryBuffer();
    if (primary == nullptr) return std::nullopt;
    platform::PcmFormat format;
    if (primary->GetFormat(format) != platform::SoundResult::Ok) return std::nullopt;
    return format;
}

void CommitDeferred3D() {
    if (platform::Sound3DListener* listener = framework::gDSBufferAux()) {
        listener->CommitDeferredSettings();
    }
}

std::unique_ptr<platform::Sound3DBuffer> Open3DBuffer(platform::SoundBuffer& buffer) {
    auto b = buffer.Get3DBuffer();
    if (!b) return nullptr;
    b->SetMaxDistance(32.0f, platform::k3DDeferred);
    b->SetMinDistance(1.0f, platform::k3DDeferred);
    CommitDeferred3D();
    return b;
}

void SetDeferred3D(platform::Sound3DBuffer& buffer, Single x, Single y, Single z, Single vx,
                   Single vy, Single vz) {
    buffer.SetPosition(x, y, z, platform::k3DDeferred);
    buffer.SetVelocity(vx, vy, vz, platform::k3DDeferred);
    CommitDeferred3D();
}

Long MasterVolumeOffset() {
    return framework::gVolumeOffset();
}

Long DecodeOggWhole(std::span<const Byte> ogg, std::vector<Byte>& pcm, Long& bits, Long& channels,
                    Long& hz) {
    Long size = 0;
    return core::gApi().DecodeOggMemory(ogg, pcm, size, bits, channels, hz);
}

Long DecodeOggStream(Long& mode, Long& index, Long& cursor, Long requestBytes,
                     std::span<const Byte> source, std::vector<Byte>& pcm, Long& size, Long& bits,
                     Long& channels, Long& hz) {
    return core::gApi().DecodeOggStreamMemory(mode, index, cursor, requestBytes, source, pcm, size,
                                              bits, channels, hz);
}

}  // namespace brumil::sound::detail
