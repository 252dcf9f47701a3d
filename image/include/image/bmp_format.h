#pragma once
// Windows bitmap files, the 24- and 32-bit uncompressed kinds.
//
// File header, 14 bytes little-endian: "BM", u32 file size, u16 0, u16 0,
// u32 offset of the pixel rows. Info header: u32 size (40 or more), i32 width,
// i32 height (negative: rows top to bottom), u16 planes 1, u16 bits 24 or 32,
// u32 compression (0 plain, or 3 with the masks R 0xFF0000, G 0xFF00, B 0xFF),
// u32 image size, i32 x and y resolution, u32 colours used, u32 important.
// Rows hold B, G, R (and A for 32 bits), each padded to a multiple of 4 bytes.
// Reading keeps the 4th byte of 32-bit files as alpha and gives 24-bit files
// alpha 255. Writing makes bottom-up files with a 40-byte info header.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "image/picture_data.h"

namespace brumil::image {

bool LooksLikeBmp(std::span<const std::uint8_t> bytes);
// Nothing for another kind of bitmap, wrong sizes or missing rows.
std::optional<PictureData> DecodeBmp(std::span<const std::uint8_t> bytes);
// bits is 24 or 32 (anything else is written as 24).
std::vector<std::uint8_t> EncodeBmp(const PictureData& picture, int bits);

}  // namespace brumil::image
