#pragma once
// A headless sound device at a chosen output rate and a temporary data root,
// for the player tests; and the stereo 16-bit samples the mixer renders for
// PCM bytes at unity gain.

#include <cstdint>
#include <string>
#include <vector>

#include "core/vb_types.h"
#include "framework/sound.h"
#include "temp_root.h"

namespace brumil::sound::test {

class SoundTestEnv {
public:
    explicit SoundTestEnv(Long hz = 44100, Long channels = 2) {
        framework::SoundStartOptions o;
        o.hz = hz;
        o.channels = channels;
        o.nullOutput = true;
        started_ = framework::SoundStart(o);
    }
    ~SoundTestEnv() {
        framework::SoundStop();
        framework::gVolumeOffset() = 0;
    }
    SoundTestEnv(const SoundTestEnv&) = delete;
    SoundTestEnv& operator=(const SoundTestEnv&) = delete;

    bool Started() const { return started_; }
    std::vector<std::int16_t> Render(std::size_t frames) {
        return framework::gDirectSound()->RenderFrames(frames);
    }
    void Write(const std::string& relative, const std::vector<Byte>& bytes) {
        root_.Write(relative, std::string(bytes.begin(), bytes.end()));
    }
    const brumil::testing::TempDataRoot& Root() const { return root_; }

private:
    brumil::testing::TempDataRoot root_;
    bool started_ = false;
};

// Interleaved stereo 16-bit samples of PCM bytes (8-bit unsigned or 16-bit
// signed, mono or stereo) as heard at unity gain and centre pan.
inline std::vector<std::int16_t> HeardAs(const std::vector<Byte>& pcm, int bits, int channels) {
    std::vector<std::int16_t> out;
    const std::size_t bytesPerSample = static_cast<std::size_t>(bits / 8);
    const std::size_t frame = bytesPerSample * static_cast<std::size_t>(channels);
    for (std::size_t at = 0; at + frame <= pcm.size(); at += frame) {
        std::int16_t side[2] = {0, 0};
        for (int c = 0; c < channels; ++c) {
            const std::size_t p = at + static_cast<std::size_t>(c) * bytesPerSample;
            side[c] = bits == 8 ? static_cast<std::int16_t>((pcm[p] - 128) * 256)
                                : static_cast<std::int16_t>(pcm[p] | (pcm[p + 1] << 8));
        }
        out.push_back(side[0]);
        out.push_back(channels == 2 ? side[1] : side[0]);
    }
    return out;
}

// 16-bit samples as little-endian bytes.
inline std::vector<Byte> Pcm16(const std::vector<std::int16_t>& samples) {
    std::vector<Byte> out;
    for (auto s : samples) {
        out.push_back(static_cast<Byte>(s & 0xFF));
        out.push_back(static_cast<Byte>((s >> 8) & 0xFF));
    }
    return out;
}

// A recognisable non-silent 16-bit waveform of n samples.
inline std::vector<std::int16_t> Tone(std::size_t n, int seed = 1) {
    std::vector<std::int16_t> v(n);
    for (std::size_t i = 0; i < n; ++i) {
        v[i] = static_cast<std::int16_t>(((static_cast<int>(i) * 37 * seed) % 2000 - 1000) * 16);
    }
    return v;
}

}  // namespace brumil::sound::test
