#include "core/text_file.h"

#include <utility>

#include "core/pak_archive.h"
#include "core/save_text.h"
#include "platform/base/files.h"

namespace brumil::core {

std::string LoadTextFile(std::string_view fileName, TextFileState& state) {
    const auto where = LocatePakFile(fileName);
    if (!where) {
        state =
            platform::FileExists(fileName) ? TextFileState::kUnreadable : TextFileState::kMissing;
        return {};
    }
    state = TextFileState::kUnreadable;
    const auto bytes = platform::ReadFileRange(where->filePath, where->offset,
                                               static_cast<std::size_t>(where->length));
    if (!bytes) return {};
    if (IsSaveTextEncoded(*bytes)) {
        auto decoded = DecodeSaveText(*bytes);
        if (!decoded) return {};
        state = TextFileState::kRead;
        return std::move(*decoded);
    }
    state = TextFileState::kRead;
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    text = text.substr(0, text.find('\0'));
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return std::string(text);
}

}  // namespace brumil::core
