// CmsWIT: the device buffer, the ring stream and the controls.
#include <algorithm>
#include <cstdlib>

#include "sound/ms_wit.h"
#include "sound_curves.h"
#include "sound_host.h"

namespace brumil::sound {

namespace {

// Volume control and a software buffer, added to the caller's flags.
constexpr Long kOwnFlags = platform::kBufferCtrlVolume | platform::kBufferLocSoftware;
// The exact twelfth root of two.
constexpr double kSemitone = 1.0594630943592953;

constexpr Long Floor4(Long v) {
    return v & ~Long{3};
}

}  // namespace

Long CmsWIT::StartByte() const {
    return Floor4(std::max<Long>(rec_.playerStart, 0));
}

Long CmsWIT::RestartByte() const {
    const Long start = StartByte();
    const Long restart = rec_.playerRestart < start ? start : rec_.playerRestart;
    return Floor4(std::max<Long>(restart, 0));
}

Long CmsWIT::EndByte() const {
    const Long end = rec_.playerEnd > 0 ? std::min(rec_.dataSize, rec_.playerEnd) : rec_.dataSize;
    return Floor4(std::max<Long>(end, 0));
}

Long CmsWIT::BytesPerSecond() const {
    return static_cast<Long>(static_cast<std::int64_t>(rec_.dataHz) * (rec_.dataBits / 8) *
                             rec_.dataChannels);
}

void CmsWIT::ClearStreamState() {
    ringWritePos_ = 0;
    sourceReadPos_ = 0;
    seekPos_ = 0;
    silenceCount_ = 0;
    seekRequested_ = false;
    playing_ = false;
}

void CmsWIT::LocalBufferCreate(Long flags) {
    if (!ready_) return;
    LocalBufferDelete();
    const Long start = StartByte();
    const Long end = EndByte();
    // A whole buffer can only loop back to its own start: a sound whose loop
    // restarts later goes through the ring so that the intro plays once.
    streaming_ = rec_.defaultStream != 0 || (RestartByte() > start && RestartByte() < end);
    if (streaming_) {
        buffer_ = detail::CreateBuffer(kRingSize, rec_.dataHz, rec_.dataBits, rec_.dataChannels,
                                       flags | kOwnFlags);
        if (buffer_) {
            ring_.assign(static_cast<std::size_t>(kRingSize), SilenceByte());
            buffer_->Write(0, ring_);
        }
        SetCurrentPosition(0);
    } else {
        const Long size = end - start;
        if (size < 1) return;
        buffer_ = detail::CreateBuffer(size, rec_.dataHz, rec_.dataBits, rec_.dataChannels,
                                       flags | kOwnFlags);
        if (buffer_) {
            const auto pcm = Pcm();
            std::vector<Byte> whole(static_cast<std::size_t>(size), SilenceByte());
            if (static_cast<std::size_t>(start) < pcm.size()) {
                const std::size_t n = std::min<std::size_t>(
                    whole.size(), pcm.size() - static_cast<std::size_t>(start));
                std::copy_n(pcm.begin() + start, n, whole.begin());
            }
            buffer_->Write(0, whole);
        }
    }
    if (buffer_ && (flags & platform::kBufferCtrl3D) != 0) {
        buffer3d_ = detail::Open3DBuffer(*buffer_);
    }
}

void CmsWIT::LocalBufferDelete() {
    buffer3d_.reset();
    buffer_.reset();
    ring_.clear();
    ring_.shrink_to_fit();
    playing_ = false;
}

void CmsWIT::Play(Long loop) {
    if (!buffer_) return;
    if (streaming_) {
        loop_ = loop != 0;
        playing_ = true;
        for (int i = 0; i < kPrefillUpdates; ++i) StreamUpdate();
        buffer_->Play(platform::kPlayLooping);
    } else {
        buffer_->Play(static_cast<std::uint32_t>(loop));
    }
}

void CmsWIT::Pose() {
    if (!buffer_) return;
    if (streaming_) playing_ = false;
    buffer_->Stop();
}

void CmsWIT::SetCurrentPosition(Long position) {
    if (!buffer_) return;
    if (streaming_) {
        seekRequested_ = true;
        seekPos_ = position + StartByte();
    } else if (position >= 0) {
        buffer_->SetCurrentPosition(static_cast<std::uint32_t>(position));
    }
}

bool CmsWIT::GetState() const {
    if (!buffer_) return false;
    std::uint32_t status = 0;
    if (buffer_->GetStatus(status) != platform::SoundResult::Ok) return false;
    return (status & platform::kStatusPlaying) != 0;
}

double CmsWIT::GetLength() const {
    const Long block = rec_.BlockSize();
    if (block < 1 || rec_.dataHz <= 0) return 0.0;
    const Long frames = RoundToLong(static_cast<double>(EndByte() - StartByte()) / block);
    return static_cast<double>(frames) / rec_.dataHz;
}

void CmsWIT::SetTime(double seconds) {
    SetCurrentPosition(RoundToLong(rec_.dataHz * seconds * rec_.BlockSize()));
}

void CmsWIT::SetVolum(Single volume) {
    if (!buffer_) return;
    buffer_->SetVolume(detail::VolumeToDevice(volume * rec_.defaultVolume));
}

void CmsWIT::SetPan(Single pan, Single y, Single z, Single vx, Single vy, Single vz) {
    if (!buffer_) return;
    if (buffer3d_) {
        Set3DVelocity(pan, z, y, vx, vz, vy);
        return;
    }
    buffer_->SetPan(detail::PanToDevice(pan));
}

void CmsWIT::SetTempo(Single semitones) {
    if (!buffer_) return;
    detail::ApplyTempo(*buffer_, rec_.dataHz, semitones, kSemitone);
}

void CmsWIT::Set3DPosition(Single x, Single y, Single z) {
    if (buffer3d_) buffer3d_->SetPosition(x, y, z, platform::k3DImmediate);
}

void CmsWIT::Set3DVelocity(Single x, Single y, Single z, Single vx, Single vy, Single vz) {
    if (!buffer3d_) return;
    detail::SetDeferred3D(*buffer3d_, x, y, z, vx, vy, vz);
}

void CmsWIT::StreamUpdate() {
    if (!playing_ || !buffer_ || !ready_ || !streaming_) return;
    std::uint32_t status = 0;
    if (buffer_->GetStatus(status) == platform::SoundResult::Ok &&
        (status & platform::kStatusBufferLost) != 0) {
        buffer_->Restore();
    }
    if (seekRequested_) {
        sourceReadPos_ = Floor4(seekPos_);
        seekPos_ = 0;
        silenceCount_ = 0;
    }
    // Decode the Ogg stream a little ahead of the read position.
    if (rec_.sourceKind == kWitSourceOgg && oggMode_ != 0) {
        while (oggResult_ != 0 && std::abs(static_cast<std::int64_t>(oggResult_)) <=
                                      static_cast<std::int64_t>(sourceReadPos_) + kOggLookAhead) {
            const Long before = oggResult_;
            if (OggStep(kOggPlayStep) == before) break;  // no progress: try next tick
        }
    }
    std::uint32_t play = 0, write = 0;
    buffer_->GetCurrentPosition(play, write);
    const auto writeCursor = static_cast<Long>(write);
    if (seekRequested_) {
        seekRequested_ = false;
        ringWritePos_ = Floor4(writeCursor + kSeekLead);
    }
    Long free = ((writeCursor - ringWritePos_ + (kRingSize - 4)) % kRingSize) - kSafetyMargin;
    if (free < 1) return;
    free = std::min(free, kMaxChunk);
    if (ringWritePos_ < 0 || ringWritePos_ >= kRingSize) ringWritePos_ = 0;
    free = std::min(free, kRingSize - ringWritePos_);

    // Fill the space chunk by chunk. A chunk never runs past the loop end: the
    // loop jump happens exactly there, within the same refill.
    const Long end = EndByte();
    const auto pcmLength = static_cast<Long>(std::min<std::size_t>(Pcm().size(), 0x7FFFFFFF));
    const Long limit = std::min(end, std::min(rec_.dataSize, pcmLength));
    while (free > 0 && playing_) {
        if (silenceCount_ == 0 && sourceReadPos_ >= limit) {
            if (loop_) {
                // A restart at or past the end plays from the start instead.
                const Long restart = RestartByte();
                sourceReadPos_ = restart >= end ? StartByte() : restart;
            }
            if (!loop_ || sourceReadPos_ >= limit) silenceCount_ = 1;
        }
        if (sourceReadPos_ < 0) sourceReadPos_ = 0;
        Long n = free;
        if (silenceCount_ == 0) n = std::min(n, limit - sourceReadPos_);
        if (n < 1) break;
        ChunkWrite(n);
        free -= n;
    }
}

void CmsWIT::ChunkWrite(Long n) {
    const auto dst = static_cast<std::size_t>(ringWritePos_);
    const auto count = static_cast<std::size_t>(n);
    if (silenceCount_ != 0) {
        std::fill_n(ring_.begin() + static_cast<std::ptrdiff_t>(dst), count, SilenceByte());
        buffer_->Write(static_cast<std::uint32_t>(dst),
                       std::span<const Byte>(ring_).subspan(dst, count));
        silenceCount_ += n;
        ringWritePos_ = Floor4(ringWritePos_ + n);
        if (silenceCount_ >= kRingSize) {
            playing_ = false;
            SetCurrentPosition(0);
            buffer_->Stop();
        }
        return;
    }
    const auto src = Pcm().subspan(static_cast<std::size_t>(sourceReadPos_), count);
    std::copy(src.begin(), src.end(), ring_.begin() + static_cast<std::ptrdiff_t>(dst));
    buffer_->Write(static_cast<std::uint32_t>(dst), src);
    ringWritePos_ = Floor4(ringWritePos_ + n);
    sourceReadPos_ = Floor4(sourceReadPos_ + n);
}

std::string CmsWIT::GetStreamState() const {
    const Long bps = BytesPerSecond();
    if (!buffer_ || bps == 0) return {};
    std::uint32_t play = 0, write = 0;
    buffer_->GetCurrentPosition(play, write);
    auto secs = [bps](std::int64_t bytes) { return std::to_string(bytes / bps); };
    std::string s;
    if (streaming_) {
        s += "dw" + secs(write) + "/" + secs(kRingSize) + " ";
        s += "sw" + secs(ringWritePos_) + "/" + secs(kRingSize) + " ";
        s += "sr" + secs(sourceReadPos_) + "/" + secs(rec_.dataSize) + " ";
        if (oggResult_ < 0) {
            s += "decode" + secs(-static_cast<std::int64_t>(oggResult_)) + "/" +
                 secs(rec_.dataSize) + " ";
        }
    } else {
        s += "dw" + secs(play) + "/" + secs(rec_.dataSize) + " ";
    }
    return s;
}

}  // namespace brumil::sound
