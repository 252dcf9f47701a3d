#include "image/bmp_format.h"

#include <algorithm>
#include <cstdlib>

#include "byte_io.h"
#include "platform/pixel/bmp_reader.h"

namespace brumil::image {

using detail::PutU16;
using detail::PutU32;
using detail::ReadI32;
using detail::ReadU16;
using detail::ReadU32;

namespace {
constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;
constexpr int kPlain = 0;
constexpr int kRunLength8 = 1;
constexpr int kRunLength4 = 2;
constexpr int kBitFields = 3;
}  // namespace

bool LooksLikeBmp(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

namespace {

// 24- and 32-bit rows without compression (32-bit also with the masks of that
// same layout) are read here: the fourth byte is the game's alpha, which the
// system's reader would not keep as it is.
bool IsOwnKind(std::span<const std::uint8_t> bytes) {
    if (!LooksLikeBmp(bytes) || bytes.size() < kFileHeader + kInfoHeader) return false;
    if (ReadU32(bytes, 14) < kInfoHeader) return false;
    const int bits = ReadU16(bytes, 28);
    const std::uint32_t compression = ReadU32(bytes, 30);
    if (bits == 24) return compression == kPlain;
    if (bits != 32) return false;
    if (compression == kPlain) return true;
    if (compression != kBitFields || bytes.size() < kFileHeader + kInfoHeader + 12) return false;
    const std::size_t m = kFileHeader + kInfoHeader;
    return ReadU32(bytes, m) == 0xFF0000u && ReadU32(bytes, m + 4) == 0xFF00u &&
           ReadU32(bytes, m + 8) == 0xFFu;
}

// The pairs of pixel size and compression that make sense together; a file
// that names another pair is damaged, whatever a reader would make of it.
bool HeaderIsConsistent(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kFileHeader + 12) return false;
    const std::uint32_t infoSize = ReadU32(bytes, 14);
    if (infoSize == 12) {
        const int bits = ReadU16(bytes, 24);
        return bits == 1 || bits == 4 || bits == 8 || bits == 24;
    }
    if (infoSize < kInfoHeader || bytes.size() < kFileHeader + kInfoHeader) return false;
    const int bits = ReadU16(bytes, 28);
    switch (ReadU32(bytes, 30)) {
        case kPlain:
            return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        case kRunLength8:
            return bits == 8;
        case kRunLength4:
            return bits == 4;
        case kBitFields:
            return bits == 16 || bits == 32;
        default:
            return false;
    }
}

std::optional<PictureData> DecodeOwnKind(std::span<const std::uint8_t> bytes) {
    const std::uint32_t dataOffset = ReadU32(bytes, 10);
    const std::uint32_t infoSize = ReadU32(bytes, 14);
    if (kFileHeader + infoSize > bytes.size()) return std::nullopt;
    const std::int32_t width = ReadI32(bytes, 18);
    const std::int32_t rawHeight = ReadI32(bytes, 22);
    const int planes = ReadU16(bytes, 26);
    const int bits = ReadU16(bytes, 28);
    if (planes != 1) return std::nullopt;
    if (rawHeight == INT32_MIN) return std::nullopt;
    const bool topDown = rawHeight < 0;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide)
        return std::nullopt;
    const std::size_t bpp = static_cast<std::size_t>(bits) / 8;
    const std::size_t stride = (static_cast<std::size_t>(width) * bpp + 3) & ~std::size_t{3};
    if (dataOffset < kFileHeader + kInfoHeader || dataOffset > bytes.size()) return std::nullopt;
    // The last row need not carry its padding.
    const std::size_t need =
        stride * (static_cast<std::size_t>(height) - 1) + static_cast<std::size_t>(width) * bpp;
    if (bytes.size() - dataOffset < need) return std::nullopt;

    PictureData pic;
    pic.width = width;
    pic.height = height;
    pic.argb.resize(static_cast<std::size_t>(width) * height);
    for (std::int32_t y = 0; y < height; ++y) {
        const std::size_t fileRow = topDown ? y : (height - 1 - y);
        const std::uint8_t* row = bytes.data() + dataOffset + fileRow * stride;
        std::uint32_t* out = pic.argb.data() + static_cast<std::size_t>(y) * width;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint8_t* p = row + x * bpp;
            const std::uint32_t a = bits == 32 ? p[3] : 0xFFu;
            out[x] = (a << 24) | (static_cast<std::uint32_t>(p[2]) << 16) |
                     (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
        }
    }
    // Many programs write the fourth byte of 32-bit rows as padding, 0 in
    // every pixel: such a picture has no alpha and shows opaque. Any pixel
    // with alpha means the alpha is meant and is kept exactly.
    if (bits == 32 && std::all_of(pic.argb.begin(), pic.argb.end(),
                                  [](std::uint32_t p) { return p < 0x01000000u; })) {
        for (auto& p : pic.argb) p |= 0xFF000000u;
    }
    return pic;
}

}  // namespace

std::optional<PictureData> DecodeBmp(std::span<const std::uint8_t> bytes) {
    if (!LooksLikeBmp(bytes)) return std::nullopt;
    if (IsOwnKind(bytes)) return DecodeOwnKind(bytes);
    if (!HeaderIsConsistent(bytes)) return std::nullopt;
    auto any = platform::DecodeBmpAnyKind(bytes, kMaxPictureSide);
    if (!any) return std::nullopt;
    PictureData pic;
    pic.width = any->width;
    pic.height = any->height;
    pic.argb = std::move(any->argb);
    return pic;
}

std::vector<std::uint8_t> EncodeBmp(const PictureData& picture, int bits) {
    if (bits != 32) bits = 24;
    const std::size_t bpp = static_cast<std::size_t>(bits) / 8;
    const std::size_t stride =
        (static_cast<std::size_t>(picture.width) * bpp + 3) & ~std::size_t{3};
    const std::size_t dataSize = stride * picture.height;
    const std::size_t offset = kFileHeader + kInfoHeader;
    std::vector<std::uint8_t> out;
    out.reserve(offset + dataSize);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(offset + dataSize));
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(offset));
    PutU32(out, kInfoHeader);
    PutU32(out, static_cast<std::uint32_t>(picture.width));
    PutU32(out, static_cast<std::uint32_t>(picture.height));
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint32_t>(bits));
    PutU32(out, kPlain);
    PutU32(out, static_cast<std::uint32_t>(dataSize));
    PutU32(out, 2835);  // 72 dots per inch
    PutU32(out, 2835);
    PutU32(out, 0);
    PutU32(out, 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        const std::uint32_t* row =
            picture.argb.data() + static_cast<std::size_t>(y) * picture.width;
        std::size_t written = 0;
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t p = row[x];
            out.push_back(static_cast<std::uint8_t>(p & 0xFF));
            out.push_back(static_cast<std::uint8_t>((p >> 8) & 0xFF));
            out.push_back(static_cast<std::uint8_t>((p >> 16) & 0xFF));
            if (bits == 32) out.push_back(static_cast<std::uint8_t>(p >> 24));
            written += bpp;
        }
        for (; written < stride; ++written) out.push_back(0);
    }
    return out;
}

}  // namespace brumil::image
