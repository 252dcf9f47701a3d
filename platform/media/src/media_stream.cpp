#include "media_stream.h"

#include <algorithm>
#include <cmath>

namespace brumil::platform::detail {
namespace {

constexpr std::size_t kChunkFrames = 8192;

}  // namespace

MediaStream::MediaStream(std::unique_ptr<MediaDecoder> decoder, std::unique_ptr<SoundBuffer> buffer)
    : decoder_(std::move(decoder)), buffer_(std::move(buffer)) {
    align_ = 2u * decoder_->Channels();
    ringFrames_ = decoder_->Hz() * kRingSeconds;
    guardFrames_ = decoder_->Hz() / kGuardDivisor;
}

std::unique_ptr<MediaStream> MediaStream::Open(std::string_view path,
                                               const MediaBufferMaker& make) {
    auto decoder = MediaDecoder::Open(path);
    if (!decoder || !make) return nullptr;
    SoundBufferDesc desc;
    desc.flags = kBufferCtrlVolume | kBufferCtrlFrequency | kBufferGlobalFocus;
    desc.format = PcmFormat::Make(decoder->Hz(), 16, decoder->Channels());
    desc.bufferBytes = decoder->Hz() * kRingSeconds * desc.format.blockAlign;
    auto buffer = make(desc);
    if (!buffer) return nullptr;
    std::unique_ptr<MediaStream> s(new MediaStream(std::move(decoder), std::move(buffer)));
    s->Flush(0);
    return s;
}

std::uint64_t MediaStream::CursorAdvance() const {
    if (!playing_) return 0;
    std::uint32_t play = 0;
    std::uint32_t write = 0;
    if (buffer_->GetCurrentPosition(play, write) != SoundResult::Ok) return 0;
    const std::uint64_t ringBytes = std::uint64_t{ringFrames_} * align_;
    return (play + ringBytes - lastCursor_) % ringBytes / align_;
}

std::uint64_t MediaStream::PositionFrames() const {
    const std::uint64_t heard = std::min(played_ + CursorAdvance(), sourceWritten_);
    return std::min(base_ + heard, decoder_->Frames());
}

double MediaStream::Position() const {
    return static_cast<double>(PositionFrames()) / decoder_->Hz();
}

void MediaStream::Poll() {
    if (!playing_) return;
    played_ += CursorAdvance();
    std::uint32_t write = 0;
    buffer_->GetCurrentPosition(lastCursor_, write);
    if (sourceEnded_ && played_ >= sourceWritten_) {
        // Everything taken from the file has been heard.
        buffer_->Stop();
        playing_ = false;
        completed_ = true;
    }
}

void MediaStream::Refill() {
    Poll();
    if (playing_) Fill();
}

void MediaStream::Fill() {
    // Frames may be written up to the guard distance behind the play cursor:
    // the mixer never reads there before the next refill.
    const std::uint64_t limit = played_ + ringFrames_ - guardFrames_;
    while (written_ < limit) {
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(limit - written_, kChunkFrames));
        samples_.assign(n * decoder_->Channels(), 0);
        std::size_t got = 0;
        if (!sourceEnded_) {
            got = decoder_->Read(samples_);
            if (got < n) sourceEnded_ = true;
        }
        sourceWritten_ += got;
        bytes_.resize(n * align_);
        for (std::size_t i = 0; i < samples_.size(); ++i) {
            const auto u = static_cast<std::uint16_t>(samples_[i]);
            bytes_[2 * i] = static_cast<std::uint8_t>(u & 0xFF);
            bytes_[2 * i + 1] = static_cast<std::uint8_t>(u >> 8);
        }
        const auto offset = static_cast<std::uint32_t>(written_ % ringFrames_) * align_;
        buffer_->Write(offset, bytes_);
        written_ += n;
    }
}

void MediaStream::Flush(std::uint64_t frame) {
    frame = std::min(frame, decoder_->Frames());
    buffer_->Stop();
    buffer_->SetCurrentPosition(0);
    lastCursor_ = 0;
    base_ = frame;
    played_ = 0;
    written_ = 0;
    sourceWritten_ = 0;
    completed_ = false;
    sourceEnded_ = frame >= decoder_->Frames() || !decoder_->Seek(frame);
    Fill();
}

void MediaStream::Start() {
    if (playing_) return;
    if (completed_ || (sourceEnded_ && played_ >= sourceWritten_)) {
        completed_ = true;
        return;
    }
    playing_ = true;
    Fill();
    buffer_->Play(kPlayLooping);
}

void MediaStream::Stop() {
    if (!playing_) return;
    Poll();
    if (!playing_) return;
    buffer_->Stop();
    playing_ = false;
}

void MediaStream::Seek(std::uint64_t frame) {
    const bool wasPlaying = playing_;
    playing_ = false;
    Flush(frame);
    if (wasPlaying) Start();
}

bool MediaStream::SetRate(double rate) {
    if (!std::isfinite(rate) || rate <= 0.0) return false;
    const double hz = std::round(decoder_->Hz() * rate);
    if (hz < kFrequencyMin || hz > kFrequencyMax) return false;
    if (buffer_->SetFrequency(static_cast<std::uint32_t>(hz)) != SoundResult::Ok) return false;
    rate_ = rate;
    return true;
}

bool MediaStream::SetVolume(std::int32_t hundredthsDb) {
    if (hundredthsDb < kVolumeMin || hundredthsDb > kVolumeMax) return false;
    if (buffer_->SetVolume(hundredthsDb) != SoundResult::Ok) return false;
    volume_ = hundredthsDb;
    return true;
}

}  // namespace brumil::platform::detail
