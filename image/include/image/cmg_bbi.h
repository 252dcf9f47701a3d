#pragma once
// CmgBBI: one 32-bit ARGB picture in main memory (0xAARRGGBB per pixel, rows
// top to bottom), the object all drawing code passes around. A new picture is
// 1 x 1 and cleared; every operation leaves it valid (at least 1 x 1).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"
#include "image/picture_data.h"

namespace brumil::core {
class CRect;
}
namespace brumil::platform {
class Surface;
}

namespace brumil::image {

class CmgBBI {
public:
    CmgBBI();

    // Makes the picture width x height (each clamped to 1..8000) with the margin
    // dataSize (clamped to 0..128). Answers 1 when it already had that size and
    // margin and kept its pixels, 0 when a new cleared buffer was made.
    Long CreateBBI(Long width, Long height, Long dataSize = 0);
    // The same with the answer in a by-reference status.
    void CreateBBI(Long width, Long height, Long dataSize, Long& status) {
        status = CreateBBI(width, height, dataSize);
    }

    // Loads a BMP (24 or 32 bits), JPEG or ".bbi" file, found as a plain file or
    // inside the ".pak" archive of its folder. 0 when loaded; 1 when the file is
    // missing, damaged or too large, and the picture is then unchanged. A
    // non-empty errorMsg is handed to the load-error prompt on failure.
    Long CreateBBIfromFile(std::string_view fileName, std::string_view errorMsg = {});
    // Decodes the bytes of a picture file (kind recognised from its content).
    Long CreateBBIfromMemory(std::span<const std::uint8_t> bytes);

    // Writes the picture as a bottom-up BMP of 24 or 32 bits (32 keeps alpha),
    // or as a BBI record. 0 when written, 1 on failure.
    Long SaveBMP(std::string_view fileName, Long bits = 24) const;
    Long SaveBBI(std::string_view fileName) const;

    // Copies to a surface, converted to its pixel format by the surface; a
    // missing or lost surface draws nothing. Both pictures clip.
    // BltToDDS: width x height from (srcX, srcY) to (dstX, dstY); sizes 0
    // mean the rest of the picture from the source position.
    void BltToDDS(platform::Surface* target, Long dstX, Long dstY, Long width = 0, Long height = 0,
                  Long srcX = 0, Long srcY = 0) const;
    // The part of the picture inside rect to the same place; nothing when the
    // rectangle is empty.
    void BltToDDSRect(platform::Surface* target, const core::CRect& rect) const;
    // Nearest-pixel stretch of (sx, sy, sw, sh) onto (dx, dy, dw, dh); sizes 0
    // mean the picture's (source) or the surface's (destination) rest.
    void BltToDDSStretch(platform::Surface* target, Long dx, Long dy, Long dw, Long dh, Long sx,
                         Long sy, Long sw, Long sh) const;
    // Copies the surface's pixels into the picture over the part both cover,
    // from their top-left corners; the picture keeps its size.
    void BltToBBIGetDDS(const platform::Surface* source);

    // The picture becomes a copy of src (size, margin and pixels).
    void CreateBBICopy(const CmgBBI& src);

    Long GetWidth() const { return width_; }
    Long GetHeight() const { return height_; }
    Integer Width() const { return static_cast<Integer>(width_); }
    Integer Height() const { return static_cast<Integer>(height_); }
    Long Margin() const { return margin_; }

    // One pixel; reads outside the picture answer 0, writes outside do nothing.
    Long dwGetPixel(Long x, Long y) const;
    void dwSetPixel(Long x, Long y, Long color);

    // Direct access for the pixel operations: width * height pixels.
    std::uint32_t* Row(Long y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* Row(Long y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    std::span<std::uint32_t> Pixels() { return pixels_; }
    std::span<const std::uint32_t> Pixels() const { return pixels_; }

    // Takes over decoded pixels (sizes already validated by the decoder).
    void Assign(PictureData&& data);
    PictureData ToPictureData() const;

private:
    Long width_ = 1;
    Long height_ = 1;
    Long margin_ = 0;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace brumil::image
