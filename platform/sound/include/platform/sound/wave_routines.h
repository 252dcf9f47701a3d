#pragma once
// Sample routines over PCM blocks: format conversion, resampling and access to
// single frames. All arithmetic on sample values lives here.
//
// Rules:
// - A wave is described by a format code (bits, channels, rate), a count of
//   frames (blocks) and its bytes. Bits are 8 (unsigned, silence 128), 16 or 24
//   (signed little-endian); channels 1 or 2. A description is usable when the
//   code decodes and its bytes hold at least blocks x block align bytes.
// - Inside a conversion every sample is carried on the 24-bit scale:
//   8-bit u -> (u - 128) << 16, 16-bit s -> s << 8, 24-bit unchanged. Going
//   down drops the low bits with an arithmetic shift (rounds towards minus
//   infinity), so widening and narrowing back gives the original bytes.
// - Mono to stereo copies the sample to both sides; stereo to mono takes
//   floor((left + right) / 2).
// - Resampling by a step (source frames per destination frame): destination
//   frame j reads the source at t = j x step (double precision), interpolating
//   linearly between frames floor(t) and floor(t) + 1 on the 24-bit scale,
//   rounding there to the nearest (halves to even) before narrowing. Reads past
//   the last source frame take the last frame: a source position is clamped to
//   0 .. blocks - 1.
// - Frame access uses the 16-bit scale (GetWave, LetWave: 8-bit values are
//   shifted up by 8, 24-bit ones down by 8) or the 24-bit scale (GetWave24,
//   LetWave24). A mono frame reads as the same value on both sides and is
//   written as floor((left + right) / 2). Written values are clamped to the
//   scale's range. A position outside 0 .. blocks - 1 reads (0, 0) and writes
//   nothing; both then answer 1.
// - Routines answer 0 on success and 1 on failure; a failure writes nothing.
//
// Block operations (WaveBlt .. WaveBltLoopBlur) combine n frames of the
// source from srcIndex into the destination from dstIndex, frame j of the
// block at a time, each side (left, right) on its own on the 24-bit scale:
// s is the source sample, d the destination's before the call, L the level.
// - Ranges: dstIndex must lie in 0 .. dst.blocks - 1 and srcIndex in
//   0 .. src.blocks - 1, length be >= 1 and every float finite, else the call
//   answers 1; n = length clipped to what both waves hold from their index.
//   Source and destination may be the same wave, overlapping or not: the
//   source frames are read before anything is written.
// - Each result is rounded to the nearest (halves to even), clamped to the
//   24-bit range and written in the destination's format as WaveFormat
//   writes (a mono destination takes floor((left + right) / 2)).
// - x = j / (n - 1) is the frame's place in the block (0 when n = 1); t = j /
//   hz is its time in seconds at the destination's rate.
//   Blt          d = L s
//   BltAdd       d = d + L s
//   BltSub       d = d - L s
//   BltMul       d = d s L / 2^23 (ring modulation; L 1 keeps the scale)
//   BltAddNoise  d = s + L u, u uniform in -2^23 .. 2^23 - 1, drawn left then
//                right for every frame from a 32-bit xorshift generator
//                started at kWaveNoiseSeed by every call (same call, same
//                noise)
//   BltBlur      d = mean of the source over frames i - R .. i + R that exist
//                in the source (i the frame's source position, R the blur
//                level; R <= 0 copies)
//   BltGluder    y = s(first); then for every frame y = y + (s - y) / G and
//                d = y, G the gluder level (at least 1; 1 copies): a glide
//                that lets the sound follow its source slowly
//   BltSin       d = m d + s (1 + L sin(2 pi v t + a)): a tremolo of depth L
//                at v Hz from phase a, keeping m of the destination
//   BltEndLoop   d = (1 - w) d + w s, w = L x'^m: the destination fades into
//                the source; the fade takes the v percent of the block that
//                ends where the last a percent begins (x' runs 0 to 1 there,
//                0 before, 1 after); m <= 0 counts as 0 (a constant L)
//   BltLoopBlur  d = m d + L (mean of the source over i - r .. i + r), with
//                the radius r = a + (v - a) x growing from a frames at the
//                block's start to v at its end (rounded, limited to
//                0 .. src.blocks)

#include <cstdint>
#include <span>

namespace brumil::platform {

// The format code of bits, channels and rate: bits | channels << 8 | rate << 12.
// 0 when the combination is not supported (rate outside 1..400000).
std::int32_t WaveFormatEnc(std::int32_t bits, std::int32_t channels, std::int32_t hz);
std::int32_t WaveFormatBits(std::int32_t code);
std::int32_t WaveFormatChannels(std::int32_t code);
std::int32_t WaveFormatHz(std::int32_t code);

// A wave handed to the routines. `data` is the wave's byte array; the routines
// that only read a wave never write through it.
struct WaveDesc {
    std::int32_t format = 0;
    std::int32_t blocks = 0;
    std::span<std::uint8_t> data;
};

// Converts min(dst.blocks, src.blocks) frames from the source's format to the
// destination's; the rates are not looked at.
std::int32_t WaveFormat(const WaveDesc& dst, const WaveDesc& src);

// Fills all dst.blocks frames by resampling the source with `step` source
// frames per destination frame (finite, > 0), converting the format on the way.
std::int32_t WaveExpand(const WaveDesc& dst, const WaveDesc& src, float step);

// One frame on the 16-bit scale.
std::int32_t GetWave(std::span<const std::uint8_t> data, std::int32_t position, std::int32_t bits,
                     std::int32_t channels, std::int32_t blocks, std::int32_t& left,
                     std::int32_t& right);
std::int32_t LetWave(std::span<std::uint8_t> data, std::int32_t position, std::int32_t bits,
                     std::int32_t channels, std::int32_t blocks, std::int32_t left,
                     std::int32_t right);

// One frame on the 24-bit scale.
std::int32_t GetWave24(std::span<const std::uint8_t> data, std::int32_t position, std::int32_t bits,
                       std::int32_t channels, std::int32_t blocks, std::int32_t& left,
                       std::int32_t& right);
std::int32_t LetWave24(std::span<std::uint8_t> data, std::int32_t position, std::int32_t bits,
                       std::int32_t channels, std::int32_t blocks, std::int32_t left,
                       std::int32_t right);

// ---- Block operations (see the rules above) --------------------------------------
constexpr std::uint32_t kWaveNoiseSeed = 0x2545F491u;

std::int32_t WaveBlt(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                     std::int32_t srcIndex, std::int32_t length, float level);
std::int32_t WaveBltAdd(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                        std::int32_t srcIndex, std::int32_t length, float level);
std::int32_t WaveBltSub(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                        std::int32_t srcIndex, std::int32_t length, float level);
std::int32_t WaveBltMul(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                        std::int32_t srcIndex, std::int32_t length, float level);
std::int32_t WaveBltAddNoise(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                             std::int32_t srcIndex, std::int32_t length, float level);
std::int32_t WaveBltBlur(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                         std::int32_t srcIndex, std::int32_t length, std::int32_t blurLevel);
std::int32_t WaveBltGluder(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                           std::int32_t srcIndex, std::int32_t length, std::int32_t gluderLevel);
std::int32_t WaveBltSin(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                        std::int32_t srcIndex, std::int32_t length, float level, float v, float m,
                        float a);
std::int32_t WaveBltEndLoop(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                            std::int32_t srcIndex, std::int32_t length, float level, float v,
                            float m, float a);
std::int32_t WaveBltLoopBlur(const WaveDesc& dst, const WaveDesc& src, std::int32_t dstIndex,
                             std::int32_t srcIndex, std::int32_t length, float level, float v,
                             float m, float a);

}  // namespace brumil::platform
