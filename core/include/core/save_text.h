#pragma once
// The save-text encoding: how progress files are stored so that casual edits
// and damage are detected.
//
// Layout (numbers little-endian):
//   offset 0, 8 bytes   magic "BRSAVTX1"
//   offset 8, 4 bytes   text length in bytes (u32)
//   offset 12, 4 bytes  CRC-32 of the plain text bytes
//   offset 16           the text bytes, each XORed with a keystream
//                       (xorshift32 seeded with 0x2545F491 XOR the length)
// The file is exactly 16 + length bytes. Any text round-trips byte for byte,
// NUL characters included. A file that starts with the magic but is short,
// long or fails the checksum is damaged.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brumil::core {

inline constexpr char kSaveTextMagic[8] = {'B', 'R', 'S', 'A', 'V', 'T', 'X', '1'};

std::vector<std::uint8_t> EncodeSaveText(std::string_view text);

// True when the bytes start with the encoding's magic.
bool IsSaveTextEncoded(std::span<const std::uint8_t> bytes);

// The text, or nothing when the bytes are not an intact encoded file.
std::optional<std::string> DecodeSaveText(std::span<const std::uint8_t> bytes);

}  // namespace brumil::core
