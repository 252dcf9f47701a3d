#pragma once
// Path text helpers. Program paths use "\" between folders ("/" is accepted as
// well); a path that begins with "\" is relative to the data root.

#include <string>
#include <string_view>

namespace brumil::core {

// The folder part, without the final separator ("" when there is none).
std::string GetFilePath(std::string_view fullPath);
// The file name without folder and extension.
std::string GetFileName(std::string_view fullPath);
// The extension without the dot ("" when the name has none).
std::string GetFileExt(std::string_view fullPath);

// A path that begins with "\" becomes the data root text (ending with its
// separator) followed by the rest of the path; any other path is unchanged.
void ExepathAddition(std::string& basePath);
// The absolute form: data-root paths as ExepathAddition, other relative paths
// from the current folder; "." and ".." steps are resolved and separators
// become "/" (a trailing separator is kept).
std::string GetAbolutePath(std::string_view path);

}  // namespace brumil::core
