#pragma once
// JPEG coding through libjpeg. Pictures come and go as 32-bit ARGB
// (0xAARRGGBB), alpha 255 on decoding.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace brumil::platform {

struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // width * height, rows top to bottom
};

// Decodes a baseline or progressive JPEG (grey or colour). Nothing when the data
// is not a JPEG, is damaged, or is larger than maxSide in either direction.
std::optional<DecodedPicture> DecodeJpeg(std::span<const std::uint8_t> bytes, int maxSide);

// Encodes a picture (alpha ignored) at quality 1..100; empty on failure.
std::vector<std::uint8_t> EncodeJpeg(std::span<const std::uint32_t> argb, int width, int height,
                                     int quality);

}  // namespace brumil::platform
