// The block operations of the wave routines: a range of one wave combined
// into a range of another, frame by frame on the 24-bit scale.
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <vector>

#include "platform/sound/wave_routines.h"
#include "wave_samples.h"

namespace brumil::platform {
namespace {

using namespace wave_detail;

using Sides = std::array<double, 2>;

// The checked and clipped block of one call.
struct Block {
    Layout dl, sl;
    std::int32_t dstIndex = 0, srcIndex = 0, n = 0;
};

bool Finite(std::initializer_list<float> values) {
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

bool Prepare(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex, std::int32_t srcIndex,
             std::int32_t length, Block& b) {
    if (!DescLayout(dst, b.dl) || !DescLayout(src, b.sl)) return false;
    if (dstIndex < 0 || dstIndex >= dst.blocks || srcIndex < 0 || srcIndex >= src.blocks) {
        return false;
    }
    if (length < 1) return false;
    b.dstIndex = dstIndex;
    b.srcIndex = srcIndex;
    b.n = std::min({length, dst.blocks - dstIndex, src.blocks - srcIndex});
    return true;
}

// The frame's place in the block, 0 .. 1.
double Place(std::int32_t j, std::int32_t n) {
    return n > 1 ? static_cast<double>(j) / (n - 1) : 0.0;
}

std::int32_t ToSample(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<std::int32_t>(
        std::clamp(std::nearbyint(v), static_cast<double>(k24Min), static_cast<double>(k24Max)));
}

// Source frames from..from + count - 1, read before anything is written so
// that source and destination may share their bytes.
std::vector<Sides> ReadFrames(const WaveDesc& w, const Layout& l, std::int32_t from,
                              std::int32_t count) {
    std::vector<Sides> out(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const Frame f = ReadFrame(w.data.data() + static_cast<std::size_t>(from + i) * l.align, l);
        out[static_cast<std::size_t>(i)] = {static_cast<double>(f.left),
                                            static_cast<double>(f.right)};
    }
    return out;
}

// Writes every frame of the block: f(j, destination sides) gives the result.
template <typename F>
void WriteBlock(const WaveDesc& dst, const Block& b, F f) {
    for (std::int32_t j = 0; j < b.n; ++j) {
        std::uint8_t* p = dst.data.data() + static_cast<std::size_t>(b.dstIndex + j) * b.dl.align;
        const Frame d = ReadFrame(p, b.dl);
        const Sides r = f(j, Sides{static_cast<double>(d.left), static_cast<double>(d.right)});
        WriteFrame(p, b.dl, {ToSample(r[0]), ToSample(r[1])});
    }
}

// A point-by-point operation: out = f(j, d, s).
template <typename F>
std::int32_t PointBlock(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                        std::int32_t srcIndex, std::int32_t length, F f) {
    Block b;
    if (!Prepare(dst, src, dstIndex, srcIndex, length, b)) return 1;
    const std::vector<Sides> s = ReadFrames(src, b.sl, b.srcIndex, b.n);
    WriteBlock(dst, b, [&](std::int32_t j, const Sides& d) {
        const Sides& sj = s[static_cast<std::size_t>(j)];
        return Sides{f(j, b.n, d[0], sj[0]), f(j, b.n, d[1], sj[1])};
    });
    return 0;
}

// Means of the source over windows around the block's source frames, from
// prefix sums over every frame a window can reach.
class SourceWindows {
public:
    SourceWindows(const WaveDesc& src, const Block& b, std::int32_t maxRadius)
        : blocks_(src.blocks) {
        lo_ = std::max<std::int64_t>(0, std::int64_t{b.srcIndex} - maxRadius);
        const std::int64_t hi =
            std::min<std::int64_t>(src.blocks - 1, std::int64_t{b.srcIndex} + b.n - 1 + maxRadius);
        const auto frames = ReadFrames(src, b.sl, static_cast<std::int32_t>(lo_),
                                       static_cast<std::int32_t>(hi - lo_ + 1));
        sums_.assign(frames.size() + 1, Sides{0, 0});
        for (std::size_t i = 0; i < frames.size(); ++i) {
            sums_[i + 1] = {sums_[i][0] + frames[i][0], sums_[i][1] + frames[i][1]};
        }
    }

    // The mean over source frames i - r .. i + r that exist.
    Sides Mean(std::int32_t i, std::int32_t r) const {
        const std::int64_t first = std::max<std::int64_t>(0, std::int64_t{i} - r);
        const std::int64_t last = std::min<std::int64_t>(blocks_ - 1, std::int64_t{i} + r);
        const auto a = static_cast<std::size_t>(first - lo_);
        const auto z = static_cast<std::size_t>(last - lo_ + 1);
        const auto count = static_cast<double>(z - a);
        return {(sums_[z][0] - sums_[a][0]) / count, (sums_[z][1] - sums_[a][1]) / count};
    }

private:
    std::int32_t blocks_;
    std::int64_t lo_ = 0;
    std::vector<Sides> sums_;
};

std::int32_t Radius(double r, std::int32_t blocks) {
    return static_cast<std::int32_t>(
        std::clamp(std::nearbyint(r), 0.0, static_cast<double>(blocks)));
}

// The fade of BltEndLoop at place x: 0 before the fade, 1 after it.
double FadePlace(double x, double v, double a) {
    const double fadeEnd = 1.0 - std::clamp(a, 0.0, 100.0) / 100.0;
    const double fadeStart = fadeEnd * (1.0 - std::clamp(v, 0.0, 100.0) / 100.0);
    if (fadeEnd <= fadeStart) return x >= fadeEnd ? 1.0 : 0.0;
    return std::clamp((x - fadeStart) / (fadeEnd - fadeStart), 0.0, 1.0);
}

constexpr double k23 = 8388608.0;

}  // namespace

std::int32_t WaveBlt(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                     std::int32_t srcIndex, std::int32_t length, float level) {
    if (!Finite({level})) return 1;
    return PointBlock(dst, src, dstIndex, srcIndex, length,
                      [&](std::int32_t, std::int32_t, double, double s) { return level * s; });
}

std::int32_t WaveBltAdd(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                        std::int32_t srcIndex, std::int32_t length, float level) {
    if (!Finite({level})) return 1;
    return PointBlock(
        dst, src, dstIndex, srcIndex, length,
        [&](std::int32_t, std::int32_t, double d, double s) { return d + level * s; });
}

std::int32_t WaveBltSub(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                        std::int32_t srcIndex, std::int32_t length, float level) {
    if (!Finite({level})) return 1;
    return PointBlock(
        dst, src, dstIndex, srcIndex, length,
        [&](std::int32_t, std::int32_t, double d, double s) { return d - level * s; });
}

std::int32_t WaveBltMul(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                        std::int32_t srcIndex, std::int32_t length, float level) {
    if (!Finite({level})) return 1;
    return PointBlock(
        dst, src, dstIndex, srcIndex, length,
        [&](std::int32_t, std::int32_t, double d, double s) { return d * s * level / k23; });
}

std::int32_t WaveBltAddNoise(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                             std::int32_t srcIndex, std::int32_t length, float level) {
    if (!Finite({level})) return 1;
    Block b;
    if (!Prepare(dst, src, dstIndex, srcIndex, length, b)) return 1;
    const std::vector<Sides> s = ReadFrames(src, b.sl, b.srcIndex, b.n);
    std::uint32_t x = kWaveNoiseSeed;
    auto draw = [&x] {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return static_cast<double>(static_cast<std::int32_t>(x) >> 8);
    };
    WriteBlock(dst, b, [&](std::int32_t j, const Sides&) {
        const Sides& sj = s[static_cast<std::size_t>(j)];
        const double left = sj[0] + level * draw();
        const double right = sj[1] + level * draw();
        return Sides{left, right};
    });
    return 0;
}

std::int32_t WaveBltBlur(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                         std::int32_t srcIndex, std::int32_t length, std::int32_t blurLevel) {
    Block b;
    if (!Prepare(dst, src, dstIndex, srcIndex, length, b)) return 1;
    const std::int32_t r = std::clamp(blurLevel, 0, src.blocks);
    const SourceWindows windows(src, b, r);
    WriteBlock(dst, b,
               [&](std::int32_t j, const Sides&) { return windows.Mean(b.srcIndex + j, r); });
    return 0;
}

std::int32_t WaveBltGluder(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                           std::int32_t srcIndex, std::int32_t length, std::int32_t gluderLevel) {
    Block b;
    if (!Prepare(dst, src, dstIndex, srcIndex, length, b)) return 1;
    const std::vector<Sides> s = ReadFrames(src, b.sl, b.srcIndex, b.n);
    const double g = std::max(gluderLevel, 1);
    Sides y = s.front();
    WriteBlock(dst, b, [&](std::int32_t j, const Sides&) {
        const Sides& sj = s[static_cast<std::size_t>(j)];
        y = {y[0] + (sj[0] - y[0]) / g, y[1] + (sj[1] - y[1]) / g};
        return y;
    });
    return 0;
}

std::int32_t WaveBltSin(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                        std::int32_t srcIndex, std::int32_t length, float level, float v, float m,
                        float a) {
    if (!Finite({level, v, m, a})) return 1;
    const double hz = std::max(WaveFormatHz(dst.format), 1);
    return PointBlock(dst, src, dstIndex, srcIndex, length,
                      [&](std::int32_t j, std::int32_t, double d, double s) {
                          const double t = j / hz;
                          const double gain =
                              1.0 + level * std::sin(2.0 * std::numbers::pi * v * t + a);
                          return m * d + s * gain;
                      });
}

std::int32_t WaveBltEndLoop(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                            std::int32_t srcIndex, std::int32_t length, float level, float v,
                            float m, float a) {
    if (!Finite({level, v, m, a})) return 1;
    const double power = std::max(static_cast<double>(m), 0.0);
    return PointBlock(dst, src, dstIndex, srcIndex, length,
                      [&](std::int32_t j, std::int32_t n, double d, double s) {
                          const double w = level * std::pow(FadePlace(Place(j, n), v, a), power);
                          return (1.0 - w) * d + w * s;
                      });
}

std::int32_t WaveBltLoopBlur(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                             std::int32_t srcIndex, std::int32_t length, float level, float v,
                             float m, float a) {
    if (!Finite({level, v, m, a})) return 1;
    Block b;
    if (!Prepare(dst, src, dstIndex, srcIndex, length, b)) return 1;
    auto radius = [&](std::int32_t j) {
        return Radius(a + (static_cast<double>(v) - a) * Place(j, b.n), src.blocks);
    };
    const SourceWindows windows(src, b, std::max(radius(0), radius(b.n - 1)));
    WriteBlock(dst, b, [&](std::int32_t j, const Sides& d) {
        const Sides mean = windows.Mean(b.srcIndex + j, radius(j));
        return Sides{m * d[0] + level * mean[0], m * d[1] + level * mean[1]};
    });
    return 0;
}

}  // namespace brumil::platform
