#include "platform/sound/wave_routines.h"

#include <algorithm>
#include <cmath>

#include "wave_samples.h"

namespace brumil::platform {
namespace {

using namespace wave_detail;

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
