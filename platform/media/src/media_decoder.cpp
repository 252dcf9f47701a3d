// The decoder over libsndfile.
#include "platform/media/media_decoder.h"

#include <sndfile.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/base/files.h"

namespace brumil::platform {

struct MediaDecoder::Handle {
    SNDFILE* file = nullptr;
    std::vector<std::int16_t> scratch;  // whole source frames when down-mixing
    ~Handle() {
        if (file != nullptr) sf_close(file);
    }
};

namespace {

constexpr int kMinHz = 100;
constexpr int kMaxHz = 100000;
// Larger counts are taken as "unknown length", which the players cannot use.
constexpr sf_count_t kMaxFrames = sf_count_t{1} << 40;

}  // namespace

MediaDecoder::MediaDecoder(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
MediaDecoder::~MediaDecoder() = default;

std::unique_ptr<MediaDecoder> MediaDecoder::Open(std::string_view path) {
    if (path.empty()) return nullptr;
    const std::string host = MapPath(path).string();
    SF_INFO info{};
    auto handle = std::make_unique<Handle>();
    handle->file = sf_open(host.c_str(), SFM_READ, &info);
    if (handle->file == nullptr) return nullptr;
    if (info.channels < 1 || info.samplerate < kMinHz || info.samplerate > kMaxHz ||
        info.frames <= 0 || info.frames >= kMaxFrames) {
        return nullptr;
    }
    // Floating-point sources are scaled to the full 16-bit range, not clipped.
    sf_command(handle->file, SFC_SET_SCALE_FLOAT_INT_READ, nullptr, SF_TRUE);
    std::unique_ptr<MediaDecoder> d(new MediaDecoder(std::move(handle)));
    d->hz_ = static_cast<std::uint32_t>(info.samplerate);
    d->sourceChannels_ = static_cast<std::uint16_t>(std::min(info.channels, 0xFFFF));
    d->channels_ = static_cast<std::uint16_t>(std::min(info.channels, 2));
    d->frames_ = static_cast<std::uint64_t>(info.frames);
    return d;
}

bool MediaDecoder::Seek(std::uint64_t frame) {
    frame = std::min(frame, frames_);
    return sf_seek(handle_->file, static_cast<sf_count_t>(frame), SEEK_SET) >= 0;
}

std::size_t MediaDecoder::Read(std::span<std::int16_t> out) {
    const std::size_t want = out.size() / channels_;
    if (want == 0) return 0;
    if (sourceChannels_ == channels_) {
        const sf_count_t got =
            sf_readf_short(handle_->file, out.data(), static_cast<sf_count_t>(want));
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    std::vector<std::int16_t>& s = handle_->scratch;
    s.resize(want * sourceChannels_);
    const sf_count_t got = sf_readf_short(handle_->file, s.data(), static_cast<sf_count_t>(want));
    const std::size_t n = got > 0 ? static_cast<std::size_t>(got) : 0;
    for (std::size_t f = 0; f < n; ++f) {
        out[2 * f] = s[f * sourceChannels_];
        out[2 * f + 1] = s[f * sourceChannels_ + 1];
    }
    return n;
}

bool MediaFileDecodes(std::string_view path) {
    return MediaDecoder::Open(path) != nullptr;
}

bool WriteMediaFile(std::string_view path, MediaFileKind kind,
                    std::span<const std::int16_t> samples, int channels, int hz) {
    if (channels < 1 || hz < kMinHz || hz > kMaxHz ||
        samples.size() % static_cast<std::size_t>(channels) != 0) {
        return false;
    }
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = hz;
    switch (kind) {
        case MediaFileKind::Wav16:
            info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
            break;
        case MediaFileKind::Flac16:
            info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
            break;
        case MediaFileKind::OggVorbis:
            info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
            break;
    }
    if (sf_format_check(&info) == SF_FALSE) return false;
    const std::string host = MapPath(path).string();
    SNDFILE* file = sf_open(host.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return false;
    const auto frames =
        static_cast<sf_count_t>(samples.size() / static_cast<std::size_t>(channels));
    const sf_count_t written = frames > 0 ? sf_writef_short(file, samples.data(), frames) : 0;
    return sf_close(file) == 0 && written == frames;
}

}  // namespace brumil::platform
