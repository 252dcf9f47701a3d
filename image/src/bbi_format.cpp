#include "image/bbi_format.h"

#include "byte_io.h"

namespace brumil::image {

using detail::PutU16;
using detail::PutU32;
using detail::ReadU16;
using detail::ReadU32;

bool LooksLikeBbi(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kBbiHeaderSize && ReadU16(bytes, 0) == kBbiHead;
}

std::optional<PictureData> DecodeBbi(std::span<const std::uint8_t> bytes) {
    if (!LooksLikeBbi(bytes)) return std::nullopt;
    const int pict = ReadU16(bytes, 2);
    const int width = ReadU16(bytes, 4);
    const int height = ReadU16(bytes, 6);
    const int xlen = ReadU16(bytes, 8);
    const int bits = ReadU16(bytes, 10);
    const int margin = ReadU16(bytes, 12);
    const int format = ReadU16(bytes, 14);
    if (pict != kBbiPict || bits != kBbiBits || format != 0) return std::nullopt;
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide)
        return std::nullopt;
    if (xlen != width || margin > 128) return std::nullopt;
    const std::size_t need = kBbiHeaderSize + static_cast<std::size_t>(width) * height * 4;
    if (bytes.size() < need) return std::nullopt;
    PictureData pic;
    pic.width = width;
    pic.height = height;
    pic.margin = margin;
    pic.argb.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pic.argb.size(); ++i)
        pic.argb[i] = ReadU32(bytes, kBbiHeaderSize + i * 4);
    return pic;
}

std::vector<std::uint8_t> EncodeBbi(const PictureData& picture) {
    std::vector<std::uint8_t> out;
    out.reserve(kBbiHeaderSize + picture.argb.size() * 4);
    PutU16(out, kBbiHead);
    PutU16(out, kBbiPict);
    PutU16(out, static_cast<std::uint32_t>(picture.width));
    PutU16(out, static_cast<std::uint32_t>(picture.height));
    PutU16(out, static_cast<std::uint32_t>(picture.width));
    PutU16(out, kBbiBits);
    PutU16(out, static_cast<std::uint32_t>(picture.margin));
    PutU16(out, 0);
    for (std::uint32_t p : picture.argb) PutU32(out, p);
    return out;
}

}  // namespace brumil::image
