// Loading pictures from files: finding the bytes (plain file or ".pak" entry),
// recognising the kind from the content, and reporting failures.

#include <optional>
#include <vector>

#include "core/pak_archive.h"
#include "image/bbi_format.h"
#include "image/bmp_format.h"
#include "image/cmg_bbi.h"
#include "image/cmg_bbi_function.h"
#include "platform/base/files.h"
#include "platform/pixel/jpeg_codec.h"

namespace brumil::image {
namespace {

// No picture file of the game comes near this; anything larger is refused
// before its bytes are read.
constexpr std::uint64_t kMaxPictureFileBytes = 512ull << 20;

// The bytes of a picture file, found as a plain file or as the entry of the
// ".pak" archive standing for its folder; nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadPictureBytes(std::string_view fileName) {
    if (fileName.empty()) return std::nullopt;
    const auto where = core::LocatePakFile(fileName);
    if (!where || where->length > kMaxPictureFileBytes) return std::nullopt;
    auto bytes = platform::ReadFileRange(where->filePath, where->offset,
                                         static_cast<std::size_t>(where->length));
    if (!bytes || bytes->size() != where->length) return std::nullopt;
    return bytes;
}

std::optional<PictureData> DecodeAny(std::span<const std::uint8_t> bytes) {
    if (LooksLikeBmp(bytes)) return DecodeBmp(bytes);
    if (LooksLikeBbi(bytes)) return DecodeBbi(bytes);
    if (auto jpeg = platform::DecodeJpeg(bytes, kMaxPictureSide)) {
        PictureData d;
        d.width = jpeg->width;
        d.height = jpeg->height;
        d.argb = std::move(jpeg->argb);
        return d;
    }
    return std::nullopt;
}

}  // namespace

Long CmgBBI::CreateBBIfromMemory(std::span<const std::uint8_t> bytes) {
    auto decoded = DecodeAny(bytes);
    if (!decoded) return 1;
    Assign(std::move(*decoded));
    return 0;
}

Long CmgBBI::CreateBBIfromFile(std::string_view fileName, std::string_view errorMsg) {
    Long status = 1;
    if (auto bytes = ReadPictureBytes(fileName)) status = CreateBBIfromMemory(*bytes);
    if (status != 0 && !errorMsg.empty()) {
        const auto& prompt = gBBIFunction().LoadErrorPrompt;
        if (prompt) prompt(errorMsg, fileName);
    }
    return status;
}

}  // namespace brumil::image
