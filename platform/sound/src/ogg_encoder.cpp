#include "platform/sound/ogg_encoder.h"

#include <vorbis/vorbisenc.h>

namespace brumil::platform {
namespace {

// The libvorbis and libogg encoder records, released in reverse order.
class Encoder {
public:
    explicit Encoder(const OggEncodeOptions& o) {
        vorbis_info_init(&info_);
        if (vorbis_encode_init_vbr(&info_, o.channels, o.hz, o.quality) != 0) return;
        vorbis_comment_init(&comment_);
        vorbis_analysis_init(&dsp_, &info_);
        vorbis_block_init(&dsp_, &block_);
        ogg_stream_init(&stream_, o.serial);
        ready_ = true;
    }

    ~Encoder() {
        if (ready_) {
            ogg_stream_clear(&stream_);
            vorbis_block_clear(&block_);
            vorbis_dsp_clear(&dsp_);
            vorbis_comment_clear(&comment_);
        }
        vorbis_info_clear(&info_);
    }

    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    bool Ready() const { return ready_; }

    void Headers(std::vector<std::uint8_t>& out) {
        ogg_packet id, comments, codebooks;
        vorbis_analysis_headerout(&dsp_, &comment_, &id, &comments, &codebooks);
        ogg_stream_packetin(&stream_, &id);
        ogg_stream_packetin(&stream_, &comments);
        ogg_stream_packetin(&stream_, &codebooks);
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0) Append(page, out);
    }

    // Feeds frames (none to mark the end) and drains the finished pages.
    void Feed(std::span<const std::int16_t> samples, int channels, std::vector<std::uint8_t>& out) {
        const int frames = static_cast<int>(samples.size() / static_cast<std::size_t>(channels));
        if (frames > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp_, frames);
            for (int f = 0; f < frames; ++f) {
                for (int c = 0; c < channels; ++c) {
                    buffer[c][f] = samples[static_cast<std::size_t>(f * channels + c)] / 32768.0f;
                }
            }
        }
        vorbis_analysis_wrote(&dsp_, frames);
        while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
            vorbis_analysis(&block_, nullptr);
            vorbis_bitrate_addblock(&block_);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp_, &packet) == 1) {
                ogg_stream_packetin(&stream_, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&stream_, &page) != 0) Append(page, out);
            }
        }
    }

    void Finish(std::vector<std::uint8_t>& out) {
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0) Append(page, out);
    }

private:
    static void Append(const ogg_page& page, std::vector<std::uint8_t>& out) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    }

    vorbis_info info_{};
    vorbis_comment comment_{};
    vorbis_dsp_state dsp_{};
    vorbis_block block_{};
    ogg_stream_state stream_{};
    bool ready_ = false;
};

}  // namespace

std::vector<std::uint8_t> EncodeOggVorbis(std::span<const std::int16_t> samples,
                                          const OggEncodeOptions& options) {
    if (options.channels < 1 || options.channels > 8) return {};
    if (options.hz < 8000 || options.hz > 192000) return {};
    if (samples.size() % static_cast<std::size_t>(options.channels) != 0) return {};
    Encoder encoder(options);
    if (!encoder.Ready()) return {};
    std::vector<std::uint8_t> out;
    encoder.Headers(out);
    constexpr std::size_t kChunkFrames = 4096;
    const std::size_t chunk = kChunkFrames * static_cast<std::size_t>(options.channels);
    for (std::size_t i = 0; i < samples.size(); i += chunk) {
        encoder.Feed(samples.subspan(i, std::min(chunk, samples.size() - i)), options.channels,
                     out);
    }
    encoder.Feed({}, options.channels, out);  // end of stream
    encoder.Finish(out);
    return out;
}

}  // namespace brumil::platform
