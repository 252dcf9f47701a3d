#include "app/texture_search_paths.h"

#include <algorithm>
#include <cctype>

#include "core/api.h"
#include "framework/display.h"
#include "render/admin_lib.h"
#include "render/im_texture.h"

namespace brumil::app {
namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string LowerText(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), Lower);
    return out;
}

// Case-insensitive order; names equal but for case fall back to byte order so
// that the order never depends on how the folder was listed.
bool FolderBefore(const std::string& a, const std::string& b) {
    const std::string la = LowerText(a), lb = LowerText(b);
    if (la != lb) return la < lb;
    return a < b;
}

bool IsTextureFolder(std::string_view name) {
    const std::string head = LowerText(name.substr(0, 6));
    return head == "chara_" || head == "image_";
}

}  // namespace

std::vector<TextureSearchPath> TextureSearchPaths(std::string_view root,
                                                  std::vector<std::string> folders) {
    std::sort(folders.begin(), folders.end(), FolderBefore);
    std::vector<TextureSearchPath> paths;
    const auto addPair = [&](std::string prefix) {
        paths.push_back({prefix, ".bmp"});
        paths.push_back({std::move(prefix), ""});
    };
    const std::string base = std::string(root) + "/";
    addPair(base);
    for (const std::string& f : folders) {
        if (IsTextureFolder(f)) addPair(base + f + "/");
    }
    return paths;
}

std::vector<TextureSearchPath> SetTextureSearchPaths() {
    render::gIMTexture().Clear();
    framework::ClampTextureLimit();
    core::CApi& api = core::gApi();
    const std::string root = api.GetAbolutePath("\\data");
    std::vector<TextureSearchPath> paths =
        TextureSearchPaths(root, api.GetFolders(root, 0, 0, true));
    for (const TextureSearchPath& p : paths) render::gIMTexture().SearchPathAdd(p.Prefix, p.Suffix);
    return paths;
}

}  // namespace brumil::app
