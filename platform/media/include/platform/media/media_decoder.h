#pragma once
// Decoding of music files to 16-bit PCM for the media players: WAV, FLAC, Ogg
// Vorbis, Opus, MP3 and whatever else the codec library reads, found by their
// content, not by their name.
//
// The decoder hands out one or two channels: a file with more channels gives
// its first two (front left and right). Reads and seeks work in sample frames.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace brumil::platform {

class MediaDecoder {
public:
    // Opens a program path (files.h). Nothing when the file is missing, does not
    // decode, has no frames or a rate outside 100..100000 Hz.
    static std::unique_ptr<MediaDecoder> Open(std::string_view path);
    ~MediaDecoder();
    MediaDecoder(const MediaDecoder&) = delete;
    MediaDecoder& operator=(const MediaDecoder&) = delete;

    std::uint32_t Hz() const { return hz_; }
    // 1 or 2: the channels that Read delivers.
    std::uint16_t Channels() const { return channels_; }
    std::uint64_t Frames() const { return frames_; }
    // Seconds, frames / rate.
    double Duration() const { return static_cast<double>(frames_) / hz_; }

    // Moves the read position to `frame` (clamped to Frames()); false when the
    // file cannot seek there.
    bool Seek(std::uint64_t frame);
    // Interleaved samples of up to out.size() / Channels() frames from the read
    // position on; answers the frames delivered, 0 at the end.
    std::size_t Read(std::span<std::int16_t> out);

private:
    struct Handle;
    explicit MediaDecoder(std::unique_ptr<Handle> handle);

    std::unique_ptr<Handle> handle_;
    std::uint32_t hz_ = 0;
    std::uint16_t channels_ = 0;
    std::uint16_t sourceChannels_ = 0;
    std::uint64_t frames_ = 0;
};

// True when MediaDecoder::Open would take the file.
bool MediaFileDecodes(std::string_view path);

// Container and coding of a file written by WriteMediaFile.
enum class MediaFileKind : std::uint8_t { Wav16, Flac16, OggVorbis };

// Writes interleaved 16-bit samples (frames x channels values) as a file of the
// kind, for tests and tools; false on any failure.
bool WriteMediaFile(std::string_view path, MediaFileKind kind,
                    std::span<const std::int16_t> samples, int channels, int hz);

}  // namespace brumil::platform
