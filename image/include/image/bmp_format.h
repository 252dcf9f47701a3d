#pragma once
// Windows bitmap files.
//
// File header, 14 bytes little-endian: "BM", u32 file size, u16 0, u16 0,
// u32 offset of the pixel rows. Info header: u32 size (40 or more), i32 width,
// i32 height (negative: rows top to bottom), u16 planes 1, u16 bits per pixel,
// u32 compression (0 plain, 1 and 2 run-length coded 8 and 4 bits, 3 colour
// masks), u32 image size, i32 x and y resolution, u32 colours used, u32
// important; palette or masks follow.
//
// 24- and 32-bit files without compression (or with the masks R 0xFF0000,
// G 0xFF00, B 0xFF) are read here: rows of B, G, R (and A for 32 bits), each
// padded to a multiple of 4 bytes. The 4th byte of 32-bit files is kept as
// alpha, unless it is 0 in every pixel (padding, not alpha): the picture is
// then opaque; 24-bit files get alpha 255. Every other kind the system's
// reader takes (palette, run-length, 16-bit, other masks, the 12-byte header)
// is read through it and comes out opaque. Writing makes bottom-up files with
// a 40-byte info header.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "image/picture_data.h"

namespace brumil::image {

bool LooksLikeBmp(std::span<const std::uint8_t> bytes);
// Nothing for a damaged file, a kind no reader takes, wrong sizes or
// missing rows.
std::optional<PictureData> DecodeBmp(std::span<const std::uint8_t> bytes);
// bits is 24 or 32 (anything else is written as 24).
std::vector<std::uint8_t> EncodeBmp(const PictureData& picture, int bits);

}  // namespace brumil::image
