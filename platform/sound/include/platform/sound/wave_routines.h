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

}  // namespace brumil::platform
