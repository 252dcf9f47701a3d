#pragma once
// The sample helpers shared by the wave routines: frame layouts, reading and
// writing one sample on the 24-bit scale, and the rounding rules.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/sound/wave_routines.h"

namespace brumil::platform::wave_detail {

constexpr std::int32_t k24Min = -8388608;
constexpr std::int32_t k24Max = 8388607;
constexpr std::int32_t kMaxHz = 400000;

struct Layout {
    std::int32_t bits = 0;
    std::int32_t channels = 0;
    std::size_t bytes = 0;  // per sample
    std::size_t align = 0;  // per frame
};

inline bool MakeLayout(std::int32_t bits, std::int32_t channels, Layout& out) {
    if (bits != 8 && bits != 16 && bits != 24) return false;
    if (channels != 1 && channels != 2) return false;
    out.bits = bits;
    out.channels = channels;
    out.bytes = static_cast<std::size_t>(bits / 8);
    out.align = out.bytes * static_cast<std::size_t>(channels);
    return true;
}

// The bytes hold `blocks` whole frames.
inline bool Holds(std::size_t size, const Layout& l, std::int32_t blocks) {
    return blocks >= 0 && static_cast<std::uint64_t>(blocks) * l.align <= size;
}

inline bool DescLayout(const WaveDesc& w, Layout& l) {
    return MakeLayout(WaveFormatBits(w.format), WaveFormatChannels(w.format), l) &&
           Holds(w.data.size(), l, w.blocks);
}

inline bool Overlap(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    if (a.empty() || b.empty()) return false;
    return a.data() < b.data() + b.size() && b.data() < a.data() + a.size();
}

inline std::int32_t ReadSample(const std::uint8_t* p, std::int32_t bits) {
    switch (bits) {
        case 8:
            return (static_cast<std::int32_t>(p[0]) - 128) * 65536;
        case 16:
            return static_cast<std::int16_t>(p[0] | (p[1] << 8)) * 256;
        default:
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) << 8 |
                                             static_cast<std::uint32_t>(p[1]) << 16 |
                                             static_cast<std::uint32_t>(p[2]) << 24) >>
                   8;
    }
}

inline void WriteSample(std::uint8_t* p, std::int32_t bits, std::int32_t v24) {
    const std::int32_t v = std::clamp(v24, k24Min, k24Max);
    switch (bits) {
        case 8:
            p[0] = static_cast<std::uint8_t>((v >> 16) + 128);
            break;
        case 16: {
            const std::int32_t s = v >> 8;
            p[0] = static_cast<std::uint8_t>(s);
            p[1] = static_cast<std::uint8_t>(s >> 8);
            break;
        }
        default:
            p[0] = static_cast<std::uint8_t>(v);
            p[1] = static_cast<std::uint8_t>(v >> 8);
            p[2] = static_cast<std::uint8_t>(v >> 16);
            break;
    }
}

struct Frame {
    std::int32_t left = 0;
    std::int32_t right = 0;
};

inline Frame ReadFrame(const std::uint8_t* p, const Layout& l) {
    Frame f;
    f.left = ReadSample(p, l.bits);
    f.right = l.channels == 2 ? ReadSample(p + l.bytes, l.bits) : f.left;
    return f;
}

inline std::int32_t FloorHalf(std::int64_t sum) {
    return static_cast<std::int32_t>(sum >= 0 ? sum / 2 : -((-sum + 1) / 2));
}

inline void WriteFrame(std::uint8_t* p, const Layout& l, Frame f) {
    if (l.channels == 1) {
        WriteSample(p, l.bits, FloorHalf(std::int64_t{f.left} + f.right));
    } else {
        WriteSample(p, l.bits, f.left);
        WriteSample(p + l.bytes, l.bits, f.right);
    }
}

inline std::int32_t RoundHalfEven(double v) {
    return static_cast<std::int32_t>(std::nearbyint(v));
}

}  // namespace brumil::platform::wave_detail
