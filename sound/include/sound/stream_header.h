#pragma once
// The "<W1>" stream header of the streamed WAV player: a file that begins with
// the tag "<W1>" carries, instead of RIFF chunks, this 36-byte record, then 4
// bytes the player skips, then the sample bytes.
//
// | offset | size | field |
// |---|---|---|
// | 0 | 4 | fmt chunk size |
// | 4 | 4 | fact chunk size |
// | 8 | 4 | data size in bytes |
// | 12 | 4 | RIFF size |
// | 16 | 4 | block align |
// | 20 | 2 | bits per sample |
// | 22 | 2 | channels |
// | 24 | 4 | sample rate in Hz |
// | 28 | 4 | reserved (not read) |
// | 32 | 4 | reserved (not read) |
//
// All numbers are little-endian and signed.

#include <array>
#include <span>

#include "core/vb_types.h"

namespace brumil::sound {

struct StreamHeader {
    static constexpr std::size_t kSize = 36;
    // Bytes between the record and the first sample byte.
    static constexpr std::size_t kTrailer = 4;

    Long fmtSize = 0;
    Long factSize = 0;
    Long dataSize = 0;
    Long riffSize = 0;
    Long blockAlign = 0;
    Integer bits = 0;
    Integer channels = 0;
    Long hz = 0;
    Long reserved1 = 0;
    Long reserved2 = 0;

    // From the first kSize bytes of `bytes` (which must hold them).
    static StreamHeader Read(std::span<const Byte> bytes);
    std::array<Byte, kSize> Bytes() const;

    bool operator==(const StreamHeader&) const = default;
};

}  // namespace brumil::sound
