#include "app/texture_search_paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_root.h"

namespace brumil::app {
namespace {

using Paths = std::vector<TextureSearchPath>;

Paths Pairs(std::initializer_list<std::string> prefixes) {
    Paths out;
    for (const std::string& p : prefixes) {
        out.push_back({p, ".bmp"});
        out.push_back({p, ""});
    }
    return out;
}

TEST(TextureSearchPaths, FolderSelectionAndOrder) {
    struct Case {
        std::vector<std::string> folders;
        Paths expected;
    };
    const Case cases[] = {
        {{}, Pairs({"/r/data/"})},
        {{"bgm", "sound", "font", "chara", "images", "xchara_a"}, Pairs({"/r/data/"})},
        // Case-insensitive order whatever order the folders were listed in.
        {{"image_b", "Chara_a", "IMAGE_A", "chara_B"},
         Pairs({"/r/data/", "/r/data/Chara_a/", "/r/data/chara_B/", "/r/data/IMAGE_A/",
                "/r/data/image_b/"})},
        {{"chara_B", "IMAGE_A", "Chara_a", "image_b"},
         Pairs({"/r/data/", "/r/data/Chara_a/", "/r/data/chara_B/", "/r/data/IMAGE_A/",
                "/r/data/image_b/"})},
        // Names equal but for case keep one fixed order.
        {{"chara_x", "CHARA_X"}, Pairs({"/r/data/", "/r/data/CHARA_X/", "/r/data/chara_x/"})},
        {{"image_", "chara_"}, Pairs({"/r/data/", "/r/data/chara_/", "/r/data/image_/"})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextureSearchPaths("/r/data", c.folders), c.expected) << c.folders.size();
    }
}

TEST(TextureSearchPaths, ReadsTheDataFolderOfTheDataRoot) {
    testing::TempDataRoot root;
    for (const char* f : {"data/image_title/x.bmp", "data/Chara_vesna/x.bmp", "data/bgm/x.ogg"}) {
        root.Write(f, "x");
    }
    const std::string base = (root.Path() / "data").lexically_normal().string() + "/";
    EXPECT_EQ(SetTextureSearchPaths(), Pairs({base, base + "Chara_vesna/", base + "image_title/"}));
}

}  // namespace
}  // namespace brumil::app
