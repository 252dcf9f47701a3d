// The mix: every playing voice is resampled to the output rate and added into a
// stereo float accumulator, which is then rounded (halves to even) and clamped
// to 16 bits.
//
// Rules:
// - Samples are taken on the 16-bit scale: 8-bit as (u - 128) x 256, 24-bit as
//   s / 256 (fraction kept).
// - A voice advances by its rate / output rate frames per output frame (32.32
//   fixed point). Between two frames the value is interpolated linearly; at the
//   same rate the position stays whole and the samples come through unchanged.
// - The frame after the last is frame 0 for a looping voice and the last frame
//   itself for a voice playing once. A voice playing once stops after its last
//   frame and rewinds to 0.
// - A mono voice feeds both sides; a stereo voice feeds each side from its own
//   channel.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "mixer_state.h"

namespace brumil::platform::detail {
namespace {

template <int Bits>
float SampleAt(const std::uint8_t* p) {
    if constexpr (Bits == 8) {
        return (static_cast<int>(p[0]) - 128) * 256.0f;
    } else if constexpr (Bits == 16) {
        return static_cast<float>(static_cast<std::int16_t>(p[0] | (p[1] << 8)));
    } else {
        const std::int32_t v = static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) << 8 |
                                                         static_cast<std::uint32_t>(p[1]) << 16 |
                                                         static_cast<std::uint32_t>(p[2]) << 24) >>
                               8;
        return static_cast<float>(v) * (1.0f / 256.0f);
    }
}

template <int Bits, int Channels>
void MixVoice(Voice& v, SideGains g, std::uint64_t step, float* acc, std::size_t frames) {
    constexpr int kBytes = Bits / 8;
    constexpr std::size_t kAlign = kBytes * Channels;
    const std::uint8_t* data = v.data.data();
    const std::uint64_t total = v.frames;
    const std::uint64_t end = total << 32;
    std::uint64_t pos = v.position;
    for (std::size_t i = 0; i < frames; ++i) {
        if (pos >= end) {
            if (!v.looping) {
                v.playing = false;
                pos = 0;
                break;
            }
            pos %= end;
        }
        const std::uint64_t index = pos >> 32;
        std::uint64_t next = index + 1;
        if (next >= total) next = v.looping ? 0 : index;
        const float frac = static_cast<float>(pos & 0xFFFFFFFFu) * (1.0f / 4294967296.0f);
        const std::uint8_t* a = data + index * kAlign;
        const std::uint8_t* b = data + next * kAlign;
        const float l0 = SampleAt<Bits>(a);
        const float l1 = SampleAt<Bits>(b);
        const float left = l0 + (l1 - l0) * frac;
        float right = left;
        if constexpr (Channels == 2) {
            const float r0 = SampleAt<Bits>(a + kBytes);
            const float r1 = SampleAt<Bits>(b + kBytes);
            right = r0 + (r1 - r0) * frac;
        }
        acc[2 * i] += left * g.left;
        acc[2 * i + 1] += right * g.right;
        pos += step;
    }
    if (v.playing && !v.looping && pos >= end) {
        v.playing = false;  // the last frame has gone out
        pos = 0;
    }
    v.position = pos;
}

using MixFn = void (*)(Voice&, SideGains, std::uint64_t, float*, std::size_t);

MixFn PickMix(const PcmFormat& f) {
    const bool stereo = f.channels == 2;
    switch (f.bitsPerSample) {
        case 8:
            return stereo ? MixVoice<8, 2> : MixVoice<8, 1>;
        case 16:
            return stereo ? MixVoice<16, 2> : MixVoice<16, 1>;
        case 24:
            return stereo ? MixVoice<24, 2> : MixVoice<24, 1>;
        default:
            return nullptr;
    }
}

std::int16_t ToSample(float v) {
    const float r = std::nearbyint(v);  // default rounding: halves to even
    if (r >= 32767.0f) return 32767;
    if (r <= -32768.0f) return -32768;
    return static_cast<std::int16_t>(r);
}

}  // namespace

void MixerState::RenderLocked(std::span<std::int16_t> out) {
    const std::size_t frames = out.size() / 2;
    accumulator.assign(frames * 2, 0.0f);
    for (Voice* v : voices) {
        if (!v->playing || v->lost || v->frames == 0) continue;
        const MixFn mix = PickMix(v->format);
        if (!mix) continue;
        const std::uint32_t rate =
            v->frequency == kFrequencyOriginal ? v->format.samplesPerSec : v->frequency;
        const std::uint64_t step = (std::uint64_t{rate} << 32) / outputHz;
        mix(*v, VoiceGains(*v, listenerApplied), step, accumulator.data(), frames);
    }
    for (std::size_t i = 0; i < frames * 2; ++i) out[i] = ToSample(accumulator[i]);
    if (out.size() > frames * 2) out.back() = 0;
}

}  // namespace brumil::platform::detail
