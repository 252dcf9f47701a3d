#include "app/save_files.h"
#include "core/api.h"

namespace brumil::app {
namespace {

// Forwards to the helper object, which reads plain and encoded files alike and
// replaces files atomically.
class ApiFiles final : public SaveTextFiles {
public:
    std::string LoadText(std::string_view path) override { return core::gApi().LoadText(path); }
    Long SaveText(std::string_view path, std::string_view text) override {
        return core::gApi().SaveText(path, text);
    }
    Long SaveTextEncode(std::string_view path, std::string_view text) override {
        return core::gApi().SaveTextEncode(path, text);
    }
    void MakeDir(std::string_view path) override { core::gApi().MakeDir(path); }
};

}  // namespace

SaveTextFiles& ApiSaveTextFiles() {
    static ApiFiles files;
    return files;
}

}  // namespace brumil::app
