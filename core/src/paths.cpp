#include "core/paths.h"

#include <vector>

#include "platform/base/files.h"

namespace brumil::core {
namespace {

std::size_t LastSeparator(std::string_view p) {
    return p.find_last_of("\\/");
}

std::string_view NamePart(std::string_view p) {
    const std::size_t cut = LastSeparator(p);
    return cut == std::string_view::npos ? p : p.substr(cut + 1);
}

}  // namespace

std::string GetFilePath(std::string_view fullPath) {
    const std::size_t cut = LastSeparator(fullPath);
    return cut == std::string_view::npos ? std::string() : std::string(fullPath.substr(0, cut));
}

std::string GetFileName(std::string_view fullPath) {
    const std::string_view name = NamePart(fullPath);
    const std::size_t dot = name.find_last_of('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string GetFileExt(std::string_view fullPath) {
    const std::string_view name = NamePart(fullPath);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

void ExepathAddition(std::string& basePath) {
    if (basePath.empty() || basePath.front() != '\\') return;
    basePath = platform::DataRootText() + basePath.substr(1);
}

std::string GetAbolutePath(std::string_view path) {
    std::string text(path);
    ExepathAddition(text);
    if (text.empty() || text.front() != '/') {
        std::string cwd = platform::CurrentFolder().string();
        if (cwd.empty() || cwd.back() != '/') cwd.push_back('/');
        text = cwd + text;
    }
    // Resolve "." and ".." steps; every separator becomes "/".
    std::vector<std::string> parts;
    std::string current;
    const auto flush = [&] {
        if (current == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!current.empty() && current != ".") {
            parts.push_back(current);
        }
        current.clear();
    };
    for (char c : text) {
        if (c == '/' || c == '\\')
            flush();
        else
            current.push_back(c);
    }
    flush();
    std::string out;
    for (const auto& p : parts) out += "/" + p;
    if (out.empty()) out = "/";
    const bool trailing = !path.empty() && (path.back() == '\\' || path.back() == '/');
    if (trailing && out.back() != '/') out.push_back('/');
    return out;
}

}  // namespace brumil::core
