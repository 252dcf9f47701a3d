#include "app/save_files.h"
#include "core/api.h"
#include "platform/base/files.h"

namespace brumil::app {
namespace {

// Forwards to the helper object's readers and writers, which read plain and
// encoded files alike and replace files atomically; renames go to the
// platform's files.
class ApiFiles final : public SaveTextFiles {
public:
    std::string LoadText(std::string_view path, core::TextFileState& state,
                         core::PlainTextCheck check) override {
        return core::LoadTextFile(path, state, check);
    }
    Long SaveText(std::string_view path, std::string_view text) override {
        return core::gApi().SaveText(path, text);
    }
    Long SaveTextEncode(std::string_view path, std::string_view text) override {
        return core::gApi().SaveTextEncode(path, text);
    }
    void MakeDir(std::string_view path) override { core::gApi().MakeDir(path); }
    Long RenameFile(std::string_view from, std::string_view to) override {
        return platform::RenameFile(from, to) ? 0 : 1;
    }
};

}  // namespace

SaveTextFiles& ApiSaveTextFiles() {
    static ApiFiles files;
    return files;
}

}  // namespace brumil::app
