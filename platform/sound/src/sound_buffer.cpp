#include "platform/sound/sound_buffer.h"

#include <algorithm>
#include <cstring>

#include "mixer_state.h"
#include "platform/base/files.h"
#include "wav_bytes.h"

namespace brumil::platform {

using Lock = std::lock_guard<std::mutex>;

std::uint32_t ErrorNumber(SoundResult r) {
    switch (r) {
        case SoundResult::Ok:
            return 0;
        case SoundResult::InvalidParam:
            return 0x80070057u;
        case SoundResult::ControlUnavailable:
            return 0x8878001Eu;
        case SoundResult::BufferLost:
            return kErrorBufferLost;
        case SoundResult::InvalidCall:
            return 0x88780032u;
    }
    return 0x80004005u;
}

PcmFormat PcmFormat::Make(std::uint32_t hz, std::uint16_t bits, std::uint16_t channels) {
    PcmFormat f;
    f.formatTag = 1;
    f.channels = channels;
    f.samplesPerSec = hz;
    f.bitsPerSample = bits;
    f.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    f.avgBytesPerSec = hz * f.blockAlign;
    return f;
}

bool PcmFormat::IsValid() const {
    if (formatTag != 1) return false;
    if (channels != 1 && channels != 2) return false;
    if (bitsPerSample != 8 && bitsPerSample != 16 && bitsPerSample != 24) return false;
    if (samplesPerSec < kFrequencyMin || samplesPerSec > kFrequencyMax) return false;
    return blockAlign == channels * bitsPerSample / 8 &&
           avgBytesPerSec == samplesPerSec * blockAlign;
}

SoundBuffer::SoundBuffer(std::shared_ptr<detail::MixerState> state,
                         std::shared_ptr<detail::Voice> voice)
    : state_(std::move(state)), voice_(std::move(voice)) {
    Lock lock(state_->mutex);
    state_->voices.push_back(voice_.get());
}

SoundBuffer::~SoundBuffer() {
    Lock lock(state_->mutex);
    auto& v = state_->voices;
    v.erase(std::remove(v.begin(), v.end(), voice_.get()), v.end());
}

SoundResult SoundBuffer::Play(std::uint32_t flags) {
    Lock lock(state_->mutex);
    if (voice_->lost) return SoundResult::BufferLost;
    voice_->playing = true;
    voice_->looping = (flags & kPlayLooping) != 0;
    return SoundResult::Ok;
}

SoundResult SoundBuffer::Stop() {
    Lock lock(state_->mutex);
    voice_->playing = false;
    return SoundResult::Ok;
}

SoundResult SoundBuffer::GetStatus(std::uint32_t& status) const {
    Lock lock(state_->mutex);
    status = 0;
    if (voice_->playing) status |= kStatusPlaying;
    if (voice_->playing && voice_->looping) status |= kStatusLooping;
    if (voice_->lost) status |= kStatusBufferLost;
    return SoundResult::Ok;
}

SoundResult SoundBuffer::GetCurrentPosition(std::uint32_t& play, std::uint32_t& write) const {
    Lock lock(state_->mutex);
    const detail::Voice& v = *voice_;
    const std::uint32_t align = v.format.blockAlign;
    const std::uint32_t size = static_cast<std::uint32_t>(v.data.size());
    const std::uint64_t frame = v.position >> 32;
    play = static_cast<std::uint32_t>(std::min<std::uint64_t>(frame, v.frames) * align) % size;
    write = play;
    if (v.playing) {
        // The mixer reads ahead of what is heard by up to one callback; keep
        // writers about 10 ms further on, like a hardware write cursor.
        // A small buffer gets at most half of itself as lead.
        const std::uint32_t lead = std::min(v.format.samplesPerSec / 100, v.frames / 2) * align;
        write = static_cast<std::uint32_t>((std::uint64_t{play} + lead) % size);
    }
    return SoundResult::Ok;
}

SoundResult SoundBuffer::SetCurrentPosition(std::uint32_t position) {
    Lock lock(state_->mutex);
    if (position >= voice_->data.size()) return SoundResult::InvalidParam;
    voice_->position = std::uint64_t{position / voice_->format.blockAlign} << 32;
    return SoundResult::Ok;
}

SoundResult SoundBuffer::SetVolume(std::int32_t hundredthsDb) {
    Lock lock(state_->mutex);
    if (!(voice_->flags & kBufferCtrlVolume)) return SoundResult::ControlUnavailable;
    if (hundredthsDb < kVolumeMin || hundredthsDb > kVolumeMax) return SoundResult::InvalidParam;
    voice_->volume = hundredthsDb;
    return SoundResult::Ok;
}

SoundResult SoundBuffer::GetVolume(std::int32_t& hundredthsDb) const {
    Lock lock(state_->mutex);
    if (!(voice_->flags & kBufferCtrlVolume)) return SoundResult::ControlUnavailable;
    hundredthsDb = voice_->volume;
    return SoundResult::Ok;
}

SoundResult SoundBuffer::SetPan(std::int32_t hundredthsDb) {
    Lock lock(state_->mutex);
    if (!(voice_->flags & kBufferCtrlPan)) return SoundResult::ControlUnavailable;
    if (hundredthsDb < kPanLeft || hundredthsDb > kPanRight) return SoundResult::InvalidParam;
    voice_->pan = hundredthsDb;
    return SoundResult::Ok;
}

SoundResult SoundBuffer::GetPan(std::int32_t& hundredthsDb) const {
    Lock lock(state_->mutex);
    if (!(voice_->flags & kBufferCtrlPan)) return SoundResult::ControlUnavailable;
    hundredthsDb = voice_->pan;
    return SoundResult::Ok;
}

SoundResult SoundBuffer::SetFrequency(std::uint32_t hz) {
    Lock lock(state_->mutex);
    if (!(voice_->flags & kBufferCtrlFrequency)) return SoundResult::ControlUnavailable;
    if (hz != kFrequencyOriginal && (hz < kFrequencyMin || hz > kFrequencyMax)) {
        return SoundResult::InvalidParam;
    }
    voice_->frequency = hz;
    return SoundResult::Ok;
}

SoundResult SoundBuffer::GetFrequency(std::uint32_t& hz) const {
    Lock lock(state_->mutex);
    if (!(voice_->flags & kBufferCtrlFrequency)) return SoundResult::ControlUnavailable;
    hz = voice_->frequency == kFrequencyOriginal ? voice_->format.samplesPerSec : voice_->frequency;
    return SoundResult::Ok;
}

SoundResult SoundBuffer::Write(std::uint32_t offset, std::span<const std::uint8_t> bytes) {
    Lock lock(state_->mutex);
    auto& data = voice_->data;
    if (voice_->lost) return SoundResult::BufferLost;
    if (offset >= data.size() || bytes.size() > data.size()) return SoundResult::InvalidParam;
    const std::size_t first = std::min(bytes.size(), data.size() - offset);
    std::memcpy(data.data() + offset, bytes.data(), first);
    if (first < bytes.size()) std::memcpy(data.data(), bytes.data() + first, bytes.size() - first);
    return SoundResult::Ok;
}

std::vector<std::uint8_t> SoundBuffer::Contents() const {
    Lock lock(state_->mutex);
    return voice_->data;
}

SoundResult SoundBuffer::SaveToFile(std::string_view path) const {
    std::vector<std::uint8_t> file;
    {
        Lock lock(state_->mutex);
        file = detail::CanonicalWavBytes(voice_->format, voice_->data);
    }
    return WriteFileAtomic(path, file) ? SoundResult::Ok : SoundResult::InvalidParam;
}

SoundResult SoundBuffer::Restore() {
    Lock lock(state_->mutex);
    if (voice_->lost) {
        voice_->lost = false;
        const std::uint8_t silence = voice_->format.bitsPerSample == 8 ? 0x80 : 0;
        std::fill(voice_->data.begin(), voice_->data.end(), silence);
    }
    return SoundResult::Ok;
}

std::uint32_t SoundBuffer::Flags() const {
    Lock lock(state_->mutex);
    return voice_->flags;
}

std::uint32_t SoundBuffer::Size() const {
    Lock lock(state_->mutex);
    return static_cast<std::uint32_t>(voice_->data.size());
}

PcmFormat SoundBuffer::Format() const {
    Lock lock(state_->mutex);
    return voice_->format;
}

std::unique_ptr<Sound3DBuffer> SoundBuffer::Get3DBuffer() {
    if (!(Flags() & kBufferCtrl3D)) return nullptr;
    return std::unique_ptr<Sound3DBuffer>(new Sound3DBuffer(state_, voice_));
}

void SoundBuffer::SimulateLoss() {
    Lock lock(state_->mutex);
    voice_->lost = true;
    voice_->playing = false;
}

SoundResult PrimarySoundBuffer::GetFormat(PcmFormat& format) const {
    Lock lock(state_->mutex);
    format = PcmFormat::Make(state_->outputHz, state_->outputBits, state_->outputChannels);
    return SoundResult::Ok;
}

}  // namespace brumil::platform
