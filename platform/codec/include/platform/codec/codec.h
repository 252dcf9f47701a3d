#pragma once
// Codec blocks: the byte-stream codec programs of the helper library.
//
// Block layout (all numbers little-endian):
//   offset 0, 4 bytes   magic "BRC1"
//   offset 4, 4 bytes   program number (u32)
//   offset 8, 4 bytes   decoded length in bytes (u32)
//   offset 12           the coded bytes, to the end of the block
//
// Programs:
//   0  stored: the coded bytes are the decoded bytes
//   1  zlib stream, fastest level
//   2  zlib stream, default level
//   3  zlib stream, best level
//   4  byte deltas (each byte minus the previous, mod 256), then zlib best
//      level: suits sample data whose neighbours are close
//
// A block is refused (nothing decoded) when it is shorter than its header, the
// magic or program is unknown, the decoded length exceeds kMaxDecodedLength,
// or the coded bytes do not decode to exactly the decoded length.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace brumil::platform {

inline constexpr std::size_t kCodecHeaderSize = 12;
inline constexpr std::uint32_t kCodecProgramCount = 5;
inline constexpr std::uint32_t kMaxDecodedLength = 1u << 30;

// One codec block of `program` holding `data`; nothing for an unknown program
// or data longer than kMaxDecodedLength.
std::optional<std::vector<std::uint8_t>> EncodeBlock(std::span<const std::uint8_t> data,
                                                     std::uint32_t program);

// The decoded bytes of a block, or nothing when the block is refused.
std::optional<std::vector<std::uint8_t>> DecodeBlock(std::span<const std::uint8_t> block);

// The program named by a block's header, or nothing when it has no valid header.
std::optional<std::uint32_t> BlockProgram(std::span<const std::uint8_t> block);

// CRC-32 (the zlib / PNG polynomial) of the bytes, continuing from `crc`.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

}  // namespace brumil::platform
