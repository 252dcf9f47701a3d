#pragma once
// The pixels of one picture as the format readers and writers exchange them.

#include <cstdint>
#include <vector>

namespace brumil::image {

// Largest side of any picture, in pixels.
constexpr int kMaxPictureSide = 8000;

struct PictureData {
    int width = 0;
    int height = 0;
    int margin = 0;                   // the BBI record's spare pixels per side (0..128)
    std::vector<std::uint32_t> argb;  // width * height, 0xAARRGGBB, rows top to bottom
};

}  // namespace brumil::image
