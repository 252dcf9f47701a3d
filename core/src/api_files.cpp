// CApi members over files: archives, file numbers, text files and codec blocks.
#include <algorithm>

#include "core/api.h"
#include "core/pak_archive.h"
#include "core/save_text.h"
#include "core/text_file.h"
#include "platform/base/files.h"
#include "platform/codec/codec.h"

namespace brumil::core {
namespace {
Long ClampLong(std::uint64_t v) {
    return static_cast<Long>(std::min<std::uint64_t>(v, INT32_MAX));
}
}  // namespace

Long CApi::PakFileOpen(std::string_view fileName) {
    const auto where = LocatePakFile(fileName);
    if (!where) return 1;
    const Long number = files_.FreeFile();
    if (number == 0 || !files_.OpenRead(number, where->filePath)) return 1;
    pak_.number = number;
    pak_.recnumber = ClampLong(where->offset + 1);
    pak_.length = ClampLong(where->length);
    pak_.path = platform::MapPath(where->filePath).string();
    return 0;
}

void CApi::PakFileClose() {
    if (pak_.number != 0) files_.Close(pak_.number);
    pak_ = {};
}

void CApi::FileClose(Long fileNumber) {
    if (fileNumber == pak_.number && fileNumber != 0) {
        PakFileClose();
        return;
    }
    files_.Close(fileNumber);
}

Long CApi::FileOpenWrite(std::string_view fileName, Long fileNumber, bool deleteOldFile) {
    return files_.OpenWrite(fileNumber, fileName, deleteOldFile) ? 0 : 1;
}

std::string CApi::LoadText(std::string_view fileName) {
    TextFileState state = TextFileState::kMissing;
    return LoadTextFile(fileName, state);
}

Long CApi::SaveText(std::string_view fileName, std::string_view text) {
    return platform::WriteFileAtomic(fileName, text) ? 0 : 1;
}

Long CApi::SaveTextEncode(std::string_view fileName, std::string_view text) {
    const auto bytes = EncodeSaveText(text);
    return platform::WriteFileAtomic(fileName, std::span<const std::uint8_t>(bytes)) ? 0 : 1;
}

Long CApi::Encoder(std::vector<std::uint8_t>& buf, Long codingMode) {
    if (codingMode < 0) return 1;
    auto block = platform::EncodeBlock(buf, static_cast<std::uint32_t>(codingMode));
    if (!block) return 1;
    buf = std::move(*block);
    return 0;
}

Long CApi::Decoder(std::vector<std::uint8_t>& buf) {
    auto plain = platform::DecodeBlock(buf);
    if (!plain) return 1;
    buf = std::move(*plain);
    return 0;
}

Long CApi::DecoderByProg(std::vector<std::uint8_t>& dst, std::span<const std::uint8_t> src) {
    auto plain = platform::DecodeBlock(src);
    if (!plain) return 1;
    dst = std::move(*plain);
    return 0;
}

}  // namespace brumil::core
