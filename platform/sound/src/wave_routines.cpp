#include "platform/sound/wave_routines.h"

#include <algorithm>
#include <cmath>

namespace brumil::platform {
namespace {

constexpr std::int32_t k24Min = -8388608;
constexpr std::int32_t k24Max = 8388607;
constexpr std::int32_t kMaxHz = 400000;

struct Layout {
    std::int32_t bits = 0;
    std::int32_t channels = 0;
    std::size_t bytes = 0;  // per sample
    std::size_t align = 0;  // per frame
};

bool MakeLayout(std::int32_t bits, std::int32_t channels, Layout& out) {
    if (bits != 8 && bits != 16 && bits != 24) return false;
    if (channels != 1 && channels != 2) return false;
    out.bits = bits;
    out.channels = channels;
    out.bytes = static_cast<std::size_t>(bits / 8);
    out.align = out.bytes * static_cast<std::size_t>(channels);
    return true;
}

// The bytes hold `blocks` whole frames.
bool Holds(std::size_t size, const Layout& l, std::int32_t blocks) {
    return blocks >= 0 && static_cast<std::uint64_t>(blocks) * l.align <= size;
}

bool DescLayout(const WaveDesc& w, Layout& l) {
    return MakeLayout(WaveFormatBits(w.format), WaveFormatChannels(w.format), l) &&
           Holds(w.data.size(), l, w.blocks);
}

bool Overlap(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    if (a.empty() || b.empty()) return false;
    return a.data() < b.data() + b.size() && b.data() < a.data() + a.size();
}

std::int32_t ReadSample(const std::uint8_t* p, std::int32_t bits) {
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

void WriteSample(std::uint8_t* p, std::int32_t bits, std::int32_t v24) {
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

Frame ReadFrame(const std::uint8_t* p, const Layout& l) {
    Frame f;
    f.left = ReadSample(p, l.bits);
    f.right = l.channels == 2 ? ReadSample(p + l.bytes, l.bits) : f.left;
    return f;
}

std::int32_t FloorHalf(std::int64_t sum) {
    return static_cast<std::int32_t>(sum >= 0 ? sum / 2 : -((-sum + 1) / 2));
}

void WriteFrame(std::uint8_t* p, const Layout& l, Frame f) {
    if (l.channels == 1) {
        WriteSample(p, l.bits, FloorHalf(std::int64_t{f.left} + f.right));
    } else {
        WriteSample(p, l.bits, f.left);
        WriteSample(p + l.bytes, l.bits, f.right);
    }
}

std::int32_t RoundHalfEven(double v) {
    return static_cast<std::int32_t>(std::nearbyint(v));
}

// Shared checks of the frame-access routines; answers the frame's first byte.
std::size_t FrameOffset(std::size_t size, std::int32_t position, std::int32_t bits,
                        std::int32_t channels, std::int32_t blocks, Layout& l, bool& ok) {
    ok = MakeLayout(bits, channels, l) && Holds(size, l, blocks) && position >= 0 &&
         position < blocks;
    return ok ? static_cast<std::size_t>(position) * l.align : 0;
}

}  // namespace

std::int32_t WaveFormatEnc(std::int32_t bits, std::int32_t channels, std::int32_t hz) {
    Layout l;
    if (!MakeLayout(bits, channels, l) || hz < 1 || hz > kMaxHz) return 0;
    return bits | (channels << 8) | (hz << 12);
}

std::int32_t WaveFormatBits(std::int32_t code) {
    return code & 0xFF;
}
std::int32_t WaveFormatChannels(std::int32_t code) {
    return (code >> 8) & 0xF;
}
std::int32_t WaveFormatHz(std::int32_t code) {
    return (code >> 12) & 0x7FFFF;
}

std::int32_t WaveFormat(const WaveDesc& dst, const WaveDesc& src) {
    Layout dl, sl;
    if (!DescLayout(dst, dl) || !DescLayout(src, sl) || Overlap(dst.data, src.data)) return 1;
    const std::int32_t n = std::min(dst.blocks, src.blocks);
    for (std::int32_t i = 0; i < n; ++i) {
        const Frame f = ReadFrame(src.data.data() + static_cast<std::size_t>(i) * sl.align, sl);
        WriteFrame(dst.data.data() + static_cast<std::size_t>(i) * dl.align, dl, f);
    }
    return 0;
}

std::int32_t WaveExpand(const WaveDesc& dst, const WaveDesc& src, float step) {
    Layout dl, sl;
    if (!DescLayout(dst, dl) || !DescLayout(src, sl) || Overlap(dst.data, src.data)) return 1;
    if (!std::isfinite(step) || step <= 0.0f || src.blocks < 1) return 1;
    const double last = src.blocks - 1;
    for (std::int32_t j = 0; j < dst.blocks; ++j) {
        const double t = std::clamp(j * static_cast<double>(step), 0.0, last);
        const auto i0 = static_cast<std::int32_t>(std::floor(t));
        const std::int32_t i1 = std::min(i0 + 1, src.blocks - 1);
        const double frac = t - i0;
        const Frame a = ReadFrame(src.data.data() + static_cast<std::size_t>(i0) * sl.align, sl);
        const Frame b = ReadFrame(src.data.data() + static_cast<std::size_t>(i1) * sl.align, sl);
        Frame f;
        f.left = RoundHalfEven(a.left + (b.left - a.left) * frac);
        f.right = RoundHalfEven(a.right + (b.right - a.right) * frac);
        WriteFrame(dst.data.data() + static_cast<std::size_t>(j) * dl.align, dl, f);
    }
    return 0;
}

std::int32_t GetWave24(std::span<const std::uint8_t> data, std::int32_t position, std::int32_t bits,
                       std::int32_t channels, std::int32_t blocks, std::int32_t& left,
                       std::int32_t& right) {
    Layout l;
    bool ok = false;
    const std::size_t at = FrameOffset(data.size(), position, bits, channels, blocks, l, ok);
    left = 0;
    right = 0;
    if (!ok) return 1;
    const Frame f = ReadFrame(data.data() + at, l);
    left = f.left;
    right = f.right;
    return 0;
}

std::int32_t LetWave24(std::span<std::uint8_t> data, std::int32_t position, std::int32_t bits,
                       std::int32_t channels, std::int32_t blocks, std::int32_t left,
                       std::int32_t right) {
    Layout l;
    bool ok = false;
    const std::size_t at = FrameOffset(data.size(), position, bits, channels, blocks, l, ok);
    if (!ok) return 1;
    WriteFrame(data.data() + at, l,
               {std::clamp(left, k24Min, k24Max), std::clamp(right, k24Min, k24Max)});
    return 0;
}

std::int32_t GetWave(std::span<const std::uint8_t> data, std::int32_t position, std::int32_t bits,
                     std::int32_t channels, std::int32_t blocks, std::int32_t& left,
                     std::int32_t& right) {
    const std::int32_t r = GetWave24(data, position, bits, channels, blocks, left, right);
    left >>= 8;
    right >>= 8;
    return r;
}

std::int32_t LetWave(std::span<std::uint8_t> data, std::int32_t position, std::int32_t bits,
                     std::int32_t channels, std::int32_t blocks, std::int32_t left,
                     std::int32_t right) {
    const std::int32_t l16 = std::clamp(left, -32768, 32767);
    const std::int32_t r16 = std::clamp(right, -32768, 32767);
    return LetWave24(data, position, bits, channels, blocks, l16 * 256, r16 * 256);
}

}  // namespace brumil::platform
