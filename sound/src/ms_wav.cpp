// CmsWAV: the device buffer and playback.
#include "sound/ms_wav.h"

#include <algorithm>

#include "sound_curves.h"
#include "sound_host.h"

namespace brumil::sound {

namespace {

// Tempo base of the whole-sound player (one semitone, to seven places).
constexpr double kSemitone = 1.0594631;

}  // namespace

CmsWAV::CmsWAV() = default;

CmsWAV::~CmsWAV() {
    BufferDelete();
}

void CmsWAV::BufferCreate(Long flags) {
    if (WaveLoaded == kFalse) return;
    BufferDelete();
    auto buffer = detail::CreateBuffer(header_.dataSize, header_.hz, header_.bits, header_.channels,
                                       flags | platform::kBufferLocSoftware);
    if (!buffer) return;
    buffer_ = std::move(buffer);
    BufferExists = kTrue;
    caps_ = flags | platform::kBufferLocSoftware;
    lastVolume_ = 1.0f;
    lastPan_ = 0.0f;
    lastTempo_ = 0.0f;
    if ((flags & platform::kBufferCtrl3D) != 0) {
        buffer3d_ = detail::Open3DBuffer(*buffer_);
        if (buffer3d_) Buffer3DExists = kTrue;
    }
}

void CmsWAV::BufferDelete() {
    buffer3d_.reset();
    buffer_.reset();
    Buffer3DExists = kFalse;
    BufferExists = kFalse;
}

void CmsWAV::BufferWrite() {
    if (!HasBuffer() || header_.dataSize < 1) return;
    if (data_.size() < static_cast<std::size_t>(header_.dataSize)) return;
    buffer_->Write(0,
                   std::span<const Byte>(data_).first(static_cast<std::size_t>(header_.dataSize)));
}

void CmsWAV::BufferWriteRuntime(Long start, Long count) {
    if (!HasBuffer() || start < 0 || count < 0) return;
    if (static_cast<std::size_t>(start) + static_cast<std::size_t>(count) > data_.size()) return;
    buffer_->Write(static_cast<std::uint32_t>(start),
                   std::span<const Byte>(data_).subspan(static_cast<std::size_t>(start),
                                                        static_cast<std::size_t>(count)));
}

void CmsWAV::Play(Long flags) {
    if (!HasBuffer()) return;
    if (buffer_->Play(static_cast<std::uint32_t>(flags)) == platform::SoundResult::BufferLost) {
        BufferExists = kFalse;
    }
}

void CmsWAV::PlaySE(Single volume, Single pan, Single tempo) {
    if (!HasBuffer()) return;
    // Each device call may fail on its own; the steps go on, and only a lost
    // buffer as the last failure changes the flags.
    platform::SoundResult last = platform::SoundResult::Ok;
    auto note = [&](platform::SoundResult r) {
        if (r != platform::SoundResult::Ok) last = r;
    };
    note(buffer_->Stop());
    note(buffer_->SetCurrentPosition(0));
    if ((caps_ & platform::kBufferCtrlVolume) != 0) {
        SetVolum(volume * (1.0f + static_cast<Single>(detail::MasterVolumeOffset()) / 100.0f));
    }
    if ((caps_ & platform::kBufferCtrlPan) != 0) SetPan(pan, 0, 0, 0, 0, 0);
    if ((caps_ & platform::kBufferCtrlFrequency) != 0) SetTempo(tempo);
    note(buffer_->Play(0));
    if (last == platform::SoundResult::BufferLost) BufferExists = kFalse;
}

void CmsWAV::Pose() {
    if (HasBuffer()) buffer_->Stop();
}

void CmsWAV::SetCurrentPosition(Long position) {
    if (HasBuffer() && position >= 0) {
        buffer_->SetCurrentPosition(static_cast<std::uint32_t>(position));
    }
}

bool CmsWAV::GetState() const {
    if (!HasBuffer()) return false;
    std::uint32_t status = 0;
    if (buffer_->GetStatus(status) != platform::SoundResult::Ok) return false;
    return (status & platform::kStatusPlaying) != 0;
}

double CmsWAV::GetLength() const {
    if (header_.hz <= 0) return 0.0;
    return static_cast<double>(header_.blocks) / header_.hz;
}

void CmsWAV::SetTime(double seconds) {
    SetCurrentPosition(RoundToLong(header_.hz * seconds * header_.blockAlign));
}

void CmsWAV::SetVolum(Single volume) {
    if (!HasBuffer() || volume == lastVolume_) return;
    lastVolume_ = volume;
    buffer_->SetVolume(detail::VolumeToDevice(volume));
}

void CmsWAV::SetPan(Single pan, Single a2, Single a3, Single a4, Single a5, Single a6) {
    if (!HasBuffer()) return;
    if (buffer3d_ && Buffer3DExists != kFalse) {
        // The 3D form: first, third and second values are x, y and z.
        Set3DVelocity(pan, a3, a2, a4, a6, a5);
        return;
    }
    if (pan == lastPan_) return;
    lastPan_ = pan;
    buffer_->SetPan(detail::PanToDevice(pan));
}

void CmsWAV::SetTempo(Single semitones) {
    if (!HasBuffer() || semitones == lastTempo_) return;
    lastTempo_ = semitones;
    detail::ApplyTempo(*buffer_, header_.hz, semitones, kSemitone);
}

void CmsWAV::Set3DPosition(Single x, Single y, Single z) {
    if (!HasBuffer() || !buffer3d_ || Buffer3DExists == kFalse) return;
    buffer3d_->SetPosition(x, y, z, platform::k3DImmediate);
}

void CmsWAV::Set3DVelocity(Single x, Single y, Single z, Single vx, Single vy, Single vz) {
    if (!HasBuffer() || !buffer3d_ || Buffer3DExists == kFalse) return;
    detail::SetDeferred3D(*buffer3d_, x, y, z, vx, vy, vz);
}

void CmsWAV::ReleaseBuffer() {
    data_.clear();
    data_.shrink_to_fit();
    WaveLoaded = kFalse;
}

}  // namespace brumil::sound
