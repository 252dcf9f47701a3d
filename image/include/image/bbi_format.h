#pragma once
// The BBI picture record (".bbi" files and in-memory records).
//
// Header: eight little-endian 16-bit words, 16 bytes in all.
//   offset  0  Head        0x4942 ("BI")
//   offset  2  Pict        1 (32-bit ARGB picture)
//   offset  4  Width       1..8000
//   offset  6  Height      1..8000
//   offset  8  XLen        pixels per stored row (equals Width)
//   offset 10  XFormat     32, bits per pixel
//   offset 12  DataLen     the margin: spare pixels per side, 0..128 (kept, not stored)
//   offset 14  DataFormat  0: rows top to bottom, each pixel 4 bytes B, G, R, A
// Then Height rows of XLen pixels. Anything after the last row is ignored.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "image/picture_data.h"

namespace brumil::image {

constexpr std::uint16_t kBbiHead = 0x4942;
constexpr std::uint16_t kBbiPict = 1;
constexpr std::uint16_t kBbiBits = 32;
constexpr std::size_t kBbiHeaderSize = 16;

bool LooksLikeBbi(std::span<const std::uint8_t> bytes);
// Nothing when the header is wrong, a size is out of range or rows are missing.
std::optional<PictureData> DecodeBbi(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> EncodeBbi(const PictureData& picture);

}  // namespace brumil::image
