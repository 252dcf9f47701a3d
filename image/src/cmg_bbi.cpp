#include "image/cmg_bbi.h"

#include <algorithm>

#include "image/bbi_format.h"
#include "image/bmp_format.h"
#include "platform/base/files.h"

namespace brumil::image {

CmgBBI::CmgBBI() : pixels_(1, 0) {}

Long CmgBBI::CreateBBI(Long width, Long height, Long dataSize) {
    width = std::clamp<Long>(width, 1, kMaxPictureSide);
    height = std::clamp<Long>(height, 1, kMaxPictureSide);
    dataSize = std::clamp<Long>(dataSize, 0, 128);
    if (width == width_ && height == height_ && dataSize == margin_ &&
        pixels_.size() == static_cast<std::size_t>(width) * height)
        return 1;
    // A fresh buffer first, so that a failing allocation leaves the old picture.
    std::vector<std::uint32_t> fresh(static_cast<std::size_t>(width) * height, 0);
    pixels_.swap(fresh);
    width_ = width;
    height_ = height;
    margin_ = dataSize;
    return 0;
}

void CmgBBI::CreateBBICopy(const CmgBBI& src) {
    if (&src == this) return;
    width_ = src.width_;
    height_ = src.height_;
    margin_ = src.margin_;
    pixels_ = src.pixels_;
}

Long CmgBBI::dwGetPixel(Long x, Long y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return static_cast<Long>(pixels_[static_cast<std::size_t>(y) * width_ + x]);
}

void CmgBBI::dwSetPixel(Long x, Long y, Long color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * width_ + x] = static_cast<std::uint32_t>(color);
}

void CmgBBI::Assign(PictureData&& data) {
    width_ = data.width;
    height_ = data.height;
    margin_ = std::clamp(data.margin, 0, 128);
    pixels_ = std::move(data.argb);
}

PictureData CmgBBI::ToPictureData() const {
    PictureData d;
    d.width = width_;
    d.height = height_;
    d.margin = margin_;
    d.argb = pixels_;
    return d;
}

Long CmgBBI::SaveBMP(std::string_view fileName, Long bits) const {
    const auto bytes = EncodeBmp(ToPictureData(), bits == 32 ? 32 : 24);
    return platform::WriteFileAtomic(fileName, std::span<const std::uint8_t>(bytes)) ? 0 : 1;
}

Long CmgBBI::SaveBBI(std::string_view fileName) const {
    const auto bytes = EncodeBbi(ToPictureData());
    return platform::WriteFileAtomic(fileName, std::span<const std::uint8_t>(bytes)) ? 0 : 1;
}

}  // namespace brumil::image
