#pragma once
// RIFF WAV files of the whole-sound player: the header record it keeps, the
// reader's rules over the bytes of a file, and the 58-byte header it writes.
//
// Written header layout (little-endian, sample bytes follow at offset 58):
//   0 "RIFF" | 4 data bytes + 50 | 8 "WAVE" | 12 "fmt " | 16 18 | 20 1 (PCM)
//   22 channels (16) | 24 rate | 28 rate x block align | 32 block align (16)
//   34 bits (16) | 36 0 (extra size, 16) | 38 "fact" | 42 4 | 46 blocks
//   50 "data" | 54 data bytes

#include <array>
#include <cstdint>
#include <span>

#include "core/vb_types.h"

namespace brumil::sound {

// The wave header record of a whole sound, in its stored field order.
struct WaveHeaderRecord {
    Long fmtSize = 0;     // "fmt " chunk size as read by the last load
    Long factSize = 0;    // "fact" chunk size as read by the last load
    Long dataSize = 0;    // bytes of sample data
    Long blockAlign = 0;  // bytes per sample frame
    Integer bits = 0;     // 8, 16 or 24
    Integer channels = 0;
    Long hz = 0;
    Long blocks = 0;  // sample frames = dataSize / blockAlign
};

// The most steps the whole-sound reader walks looking for "data".
constexpr int kWaveScanSteps = 320;
constexpr std::size_t kWaveFileHeaderSize = 58;

enum class WaveParseStatus { Pcm, Ogg, Failed };

struct WaveParse {
    WaveParseStatus status = WaveParseStatus::Failed;
    // On failure holds what the walk had stored so far.
    WaveHeaderRecord header;
    // The sample bytes inside the file (PCM only).
    std::uint64_t dataOffset = 0;
    std::uint64_t dataLength = 0;
};

// Applies the whole-sound reader's rules to the bytes of a file: PCM only,
// 1 or 2 channels, 8, 16 or 24 bits, 4000..96000 Hz, the data size cut to
// what the file holds and to whole frames.
WaveParse ParseWaveFile(std::span<const Byte> file);

// Block align as the header computes it: bits / 8 x channels, rounded.
Long WaveBlockAlign(Long bits, Long channels);

// The 58-byte header for `blocks` frames of the given format.
std::array<Byte, kWaveFileHeaderSize> MakeWaveFileHeader(Long blocks, Long bits, Long channels,
                                                         Long hz);

}  // namespace brumil::sound
