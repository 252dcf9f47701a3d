// CmsSTM: the ring buffer, the refill step and the buffer controls.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/api.h"
#include "sound/ms_stm.h"
#include "sound_curves.h"
#include "sound_host.h"

namespace brumil::sound {
namespace {

constexpr double kSemitone = 1.0594631;

// Rounds a byte count down to whole sample frames of `block` bytes.
Long AlignDown(Long v, Long block) {
    return v - (v % block + block) % block;
}

}  // namespace

void CmsSTM::BufferCreate(Long flags) {
    if (WaveLoaded == kFalse) return;
    BufferDelete();
    buffer_ = detail::CreateBuffer(kRingSize, header_.hz, header_.bits, header_.channels,
                                   flags | platform::kBufferLocSoftware);
    if (!buffer_) return;
    BufferExists = kTrue;
    // The ring starts silent; 8-bit samples are unsigned, so their silence is
    // 0x80, not 0.
    ring_.assign(kRingSize, Silence());
    buffer_->Write(0, ring_);
    if ((flags & platform::kBufferCtrl3D) != 0) {
        buffer3d_ = detail::Open3DBuffer(*buffer_);
        if (buffer3d_) Buffer3DExists = kTrue;
    }
}

void CmsSTM::BufferDelete() {
    buffer3d_.reset();
    buffer_.reset();
    Buffer3DExists = kFalse;
    BufferExists = kFalse;
    playing_ = false;
    ring_.clear();
    ring_.shrink_to_fit();
}

void CmsSTM::Play(Integer flags) {
    if (BufferExists == kFalse || !buffer_) return;
    playing_ = true;
    playFlags_ = flags;
    dataEnded_ = false;
    BufferUpdate();
    // The device buffer always loops: the end of the data is the refill's job.
    if (buffer_->Play(platform::kPlayLooping) == platform::SoundResult::BufferLost) {
        BufferExists = kFalse;
        playing_ = false;
    }
}

void CmsSTM::Pose() {
    if (BufferExists == kFalse || !buffer_) return;
    buffer_->Stop();
    playing_ = false;
}

bool CmsSTM::GetState() const {
    if (!buffer_) return false;
    std::uint32_t status = 0;
    if (buffer_->GetStatus(status) != platform::SoundResult::Ok) return false;
    return (status & platform::kStatusPlaying) != 0;
}

void CmsSTM::WriteRing(Long start, Long count) {
    buffer_->Write(static_cast<std::uint32_t>(start),
                   std::span<const Byte>(ring_).subspan(static_cast<std::size_t>(start),
                                                        static_cast<std::size_t>(count)));
}

void CmsSTM::StreamFill() {
    if (!playing_ || !HasBuffer() || ring_.size() != static_cast<std::size_t>(kRingSize)) return;
    std::uint32_t status = 0;
    buffer_->GetStatus(status);
    if ((status & platform::kStatusBufferLost) != 0) buffer_->Restore();

    std::uint32_t play = 0;
    std::uint32_t write = 0;
    buffer_->GetCurrentPosition(play, write);
    // Every position and count is kept in whole sample frames, so a refill
    // that ends the data (or a loop lap) on any frame leaves no byte of it
    // to be overwritten by the next one.
    const Long block = std::max<Long>(1, header_.blockAlign);
    const Long writeCursor = AlignDown(static_cast<Long>(write), block);
    playCursor_ = static_cast<Long>(play);

    if (seekPending_) {
        seekPending_ = false;
        writePos_ = writeCursor + kSeekLead;
        if (writePos_ >= kRingSize) writePos_ = 0;
        readPos_ = dataStart_ + AlignDown(seekRequest_, block);
    }

    // At most kQueueAhead bytes ahead of the write cursor, so the rest of the
    // ring stays free before the play cursor; a refill never wraps.
    Long free = (writeCursor - writePos_ + kQueueAhead + kRingSize) % kRingSize;
    if (free <= 0) return;
    free = std::min(free, kMaxRefill);
    if (writePos_ >= kRingSize) writePos_ = 0;
    if (writePos_ + free > kRingSize) free = kRingSize - writePos_;

    Long endLimit = dataEnd_;
    if (!dataEnded_) {
        if (readPos_ < dataStart_) readPos_ = dataStart_;
        if (loopSet_) endLimit = dataEnd_ - AlignDown(std::abs(loopEnd_), block);
        if (readPos_ >= endLimit) {
            if (playFlags_ != 0) {
                readPos_ = dataStart_ + (loopSet_ ? AlignDown(loopStart_, block) : 0);
                return;
            }
            endRingOffset_ = writePos_;
            prevPlayCursor_ = playCursor_;
            dataEnded_ = true;
        }
    }

    if (dataEnded_) {
        std::fill_n(ring_.begin() + writePos_, free, Silence());
        WriteRing(writePos_, free);
        writePos_ += free;
        // Has the play cursor passed the end of the data since the last
        // refill? It may have gone round the end of the ring in between.
        const Long e = endRingOffset_;
        const Long p = playCursor_;
        const Long prev = prevPlayCursor_;
        const bool wrapped = p < prev;
        const bool passed = wrapped ? (e >= prev || e < p) : (prev <= e && e < p);
        if (passed) Pose();
        prevPlayCursor_ = playCursor_;
        return;
    }

    free = std::min(free, endLimit - readPos_);
    chunk_.assign(static_cast<std::size_t>(free), Silence());
    api_->ReadBytes(api_->PakFileNumber(), readPos_, chunk_);
    readPos_ += free;
    std::copy(chunk_.begin(), chunk_.end(), ring_.begin() + writePos_);
    WriteRing(writePos_, free);
    writePos_ = AlignDown(writePos_ + free, block);
}

void CmsSTM::BufferUpdate() {
    StreamFill();
    const Long queued =
        writePos_ - playCursor_ > 0 ? writePos_ - playCursor_ : kRingSize - playCursor_ + writePos_;
    BufferLevel = static_cast<Single>(std::clamp(queued / kLevelUnit, 0.0, 100.0));
}

void CmsSTM::SetVolum(Single volume) {
    if (!HasBuffer()) return;
    buffer_->SetVolume(detail::VolumeToDevice(volume));
}

void CmsSTM::SetPan(Single pan, Single a2, Single a3, Single a4, Single a5, Single a6) {
    if (!HasBuffer()) return;
    if (buffer3d_ && Buffer3DExists != kFalse) {
        Set3DVelocity(pan, a3, a2, a4, a6, a5);
        return;
    }
    // Fifth power: a gentle centre and a steep edge.
    const double p = std::clamp<double>(pan, -1.0, 1.0);
    buffer_->SetPan(RoundToLong(std::pow(p, 5) * 10000.0));
}

void CmsSTM::SetTempo(Single semitones) {
    if (!HasBuffer()) return;
    detail::ApplyTempo(*buffer_, header_.hz, semitones, kSemitone);
}

void CmsSTM::Set3DPosition(Single x, Single y, Single z) {
    if (!HasBuffer() || !buffer3d_ || Buffer3DExists == kFalse) return;
    buffer3d_->SetPosition(x, y, z, platform::k3DImmediate);
}

void CmsSTM::Set3DVelocity(Single x, Single y, Single z, Single vx, Single vy, Single vz) {
    if (!HasBuffer() || !buffer3d_ || Buffer3DExists == kFalse) return;
    detail::SetDeferred3D(*buffer3d_, x, y, z, vx, vy, vz);
}

}  // namespace brumil::sound
