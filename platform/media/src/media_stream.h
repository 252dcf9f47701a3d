#pragma once
// One decoded file streamed through a looping ring buffer of the mixer: the
// engine shared by the media graph and the command interpreter.
//
// The ring holds kRingSeconds of sound at the file's own rate. Refill (on the
// framework's timer) first counts the frames the play cursor has passed since
// the previous call, then tops the ring up to a guard distance behind the play
// cursor, with silence once the file has run out. The end has been heard when
// the play cursor has passed every frame taken from the file: the stream then
// stops and reports completion. Between two refills the play cursor must not
// go round the ring, so the callers refill at least every second (the
// framework's timer delta is capped at one second; at rate 2 the ring lasts two).

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/media/media_decoder.h"
#include "platform/media/media_output.h"
#include "platform/sound/sound_buffer.h"

namespace brumil::platform::detail {

class MediaStream {
public:
    static constexpr std::uint32_t kRingSeconds = 4;
    static constexpr std::uint32_t kGuardDivisor = 10;  // guard: a tenth of a second

    // Nothing when the file does not decode or the buffer cannot be made.
    static std::unique_ptr<MediaStream> Open(std::string_view path, const MediaBufferMaker& make);

    // Plays from the current position. At the end of the file nothing plays and
    // the stream reports completion at once.
    void Start();
    // Stops; the position stays, and Start resumes there.
    void Stop();
    // Moves to a source frame (clamped to the end), discarding what was queued;
    // a playing stream goes on from there.
    void Seek(std::uint64_t frame);

    bool Playing() const { return playing_; }
    bool Completed() const { return completed_; }
    // The source frame being heard.
    std::uint64_t PositionFrames() const;
    double Position() const;
    double Duration() const { return decoder_->Duration(); }
    std::uint64_t Frames() const { return decoder_->Frames(); }
    std::uint32_t Hz() const { return decoder_->Hz(); }

    // Speed factor (> 0, the resulting rate within 100..100000 Hz); false and
    // nothing changed otherwise.
    bool SetRate(double rate);
    double Rate() const { return rate_; }
    // Hundredths of a decibel, -10000..0; false and nothing changed otherwise.
    bool SetVolume(std::int32_t hundredthsDb);
    std::int32_t Volume() const { return volume_; }

    // Counts what was heard and completes the stream at the end.
    void Poll();
    // Poll, then tops the ring up.
    void Refill();

private:
    MediaStream(std::unique_ptr<MediaDecoder> decoder, std::unique_ptr<SoundBuffer> buffer);
    std::uint64_t CursorAdvance() const;  // frames passed since the last count
    void Fill();
    void Flush(std::uint64_t frame);

    std::unique_ptr<MediaDecoder> decoder_;
    std::unique_ptr<SoundBuffer> buffer_;
    std::uint32_t align_ = 0;
    std::uint32_t ringFrames_ = 0;
    std::uint32_t guardFrames_ = 0;

    std::uint64_t base_ = 0;           // source frame at ring offset 0 since the last flush
    std::uint64_t played_ = 0;         // frames the play cursor passed since the flush
    std::uint64_t written_ = 0;        // frames written since the flush, silence included
    std::uint64_t sourceWritten_ = 0;  // of those, frames taken from the file
    std::uint32_t lastCursor_ = 0;     // play cursor (bytes) at the last count
    bool sourceEnded_ = false;
    bool playing_ = false;
    bool completed_ = false;
    double rate_ = 1.0;
    std::int32_t volume_ = 0;

    std::vector<std::int16_t> samples_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace brumil::platform::detail
