#include "core/text_file.h"

#include <algorithm>
#include <utility>

#include "core/pak_archive.h"
#include "core/save_text.h"
#include "platform/base/files.h"

namespace brumil::core {

std::string_view PlainFileText(std::string_view bytes) {
    std::string_view text = bytes.substr(0, bytes.find('\0'));
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return text;
}

bool HoldsOnlyTextBytes(std::string_view bytes) {
    return std::none_of(bytes.begin(), bytes.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7F;
    });
}

std::string LoadTextFile(std::string_view fileName, TextFileState& state, PlainTextCheck check) {
    const auto where = LocatePakFile(fileName);
    if (!where) {
        state =
            platform::FileExists(fileName) ? TextFileState::kUnreadable : TextFileState::kMissing;
        return {};
    }
    state = where->inArchive ? TextFileState::kUnreadableInArchive : TextFileState::kUnreadable;
    const auto bytes = platform::ReadFileRange(where->filePath, where->offset,
                                               static_cast<std::size_t>(where->length));
    if (!bytes) return {};
    if (IsSaveTextEncoded(*bytes)) {
        auto decoded = DecodeSaveText(*bytes);
        if (!decoded) return {};
        state = TextFileState::kRead;
        return std::move(*decoded);
    }
    const std::string_view whole(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (check && !whole.empty() && !check(whole)) return {};
    state = TextFileState::kRead;
    return std::string(PlainFileText(whole));
}

}  // namespace brumil::core
