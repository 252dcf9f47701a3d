#pragma once
// The texture cache's search paths: the data folder itself, then each of its
// character and image folders, each tried with ".bmp" appended and as named.

#include <string>
#include <string_view>
#include <vector>

namespace brumil::app {

struct TextureSearchPath {
    std::string Prefix;
    std::string Suffix;

    friend bool operator==(const TextureSearchPath&, const TextureSearchPath&) = default;
};

// The search paths for the data folder `root` (absolute, without a trailing
// separator) and the names of its sub-folders: (root/, ".bmp"), (root/, ""),
// then for each sub-folder whose name begins with "chara_" or "image_" (any
// case) the same two pairs. The sub-folders are taken in case-insensitive
// name order, so that every machine searches them in the same order.
std::vector<TextureSearchPath> TextureSearchPaths(std::string_view root,
                                                  std::vector<std::string> folders);

// Resets the texture limit to what the device allows and works out the search
// paths of the data folder "\data", which it answers.
std::vector<TextureSearchPath> SetTextureSearchPaths();

}  // namespace brumil::app
