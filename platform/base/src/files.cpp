#include "platform/base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

namespace brumil::platform {
namespace fs = std::filesystem;
namespace {

fs::path& RootStorage() {
    static fs::path root = fs::current_path();
    return root;
}

std::string FoldCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// Finds `name` inside `dir`: the exact entry when it exists, else the first
// case-insensitive match in sorted order.
std::optional<std::string> MatchEntry(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(dir / name, ec)) return name;
    std::vector<std::string> hits;
    const std::string folded = FoldCase(name);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (FoldCase(entry) == folded) hits.push_back(std::move(entry));
    }
    if (hits.empty()) return std::nullopt;
    std::sort(hits.begin(), hits.end());
    return hits.front();
}

std::vector<std::string> SplitComponents(std::string_view text) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : text) {
        if (c == '/' || c == '\\') {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

// The permission bits a file written at `target` gets: those of the file it
// replaces, else what a plain create would give under the process's umask.
mode_t ReplacementMode(const fs::path& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) return existing.st_mode & 07777;
    // Reading the umask means setting it; the program writes files from its
    // one frame thread only.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

const fs::path& DataRoot() {
    return RootStorage();
}

void SetDataRoot(const fs::path& root) {
    std::error_code ec;
    fs::path abs = fs::absolute(root, ec);
    RootStorage() = ec ? root : abs.lexically_normal();
}

fs::path ProgramFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path();
    return exe.parent_path();
}

fs::path CurrentFolder() {
    std::error_code ec;
    fs::path folder = fs::current_path(ec);
    return ec ? fs::path() : folder;
}

bool SetCurrentFolder(const fs::path& folder) {
    std::error_code ec;
    fs::current_path(folder, ec);
    return !ec;
}

void InitDataRoot(const fs::path& folder) {
    std::error_code ec;
    SetDataRoot(folder);
    std::ifstream in(folder / "exepath.txt", std::ios::binary);
    if (!in) return;
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ')) {
        line.pop_back();
    }
    if (line.empty()) return;
    fs::path named(line);
    if (named.is_relative()) named = folder / named;
    if (fs::is_directory(named, ec)) SetDataRoot(named);
}

std::string DataRootText() {
    std::string text = DataRoot().string();
    if (text.empty() || text.back() != '/') text.push_back('/');
    return text;
}

fs::path MapPath(std::string_view path) {
    fs::path base;
    if (!path.empty() && path.front() == '\\') {
        base = DataRoot();
    } else if (!path.empty() && path.front() == '/') {
        base = "/";
    } else {
        base = fs::current_path();
    }
    const auto parts = SplitComponents(path);
    fs::path result = base;
    bool resolving = true;
    for (const auto& part : parts) {
        if (part == ".") continue;
        if (part == "..") {
            result = result.parent_path();
            continue;
        }
        if (resolving) {
            if (auto hit = MatchEntry(result, part)) {
                result /= *hit;
                continue;
            }
            resolving = false;
        }
        result /= part;
    }
    return result;
}

bool FileExists(std::string_view path) {
    std::error_code ec;
    return fs::is_regular_file(MapPath(path), ec);
}

bool FolderExists(std::string_view path) {
    std::error_code ec;
    return fs::is_directory(MapPath(path), ec);
}

std::optional<std::uintmax_t> FileSize(std::string_view path) {
    std::error_code ec;
    auto size = fs::file_size(MapPath(path), ec);
    if (ec) return std::nullopt;
    return size;
}

std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path) {
    const fs::path host = MapPath(path);
    std::error_code ec;
    if (!fs::is_regular_file(host, ec)) return std::nullopt;
    std::ifstream in(host, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size < 0) return std::nullopt;
    in.seekg(0, std::ios::beg);
    bytes.resize(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
    return bytes;
}

std::optional<std::vector<std::uint8_t>> ReadFileRange(std::string_view path, std::uint64_t offset,
                                                       std::size_t length) {
    std::ifstream in(MapPath(path), std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const auto size = static_cast<std::uint64_t>(std::max<std::streamoff>(in.tellg(), 0));
    if (offset > size) return std::vector<std::uint8_t>{};
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(length, size - offset));
    std::vector<std::uint8_t> bytes(n);
    in.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
    if (n > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(n))) {
        return std::nullopt;
    }
    return bytes;
}

bool WriteFileAtomic(std::string_view path, std::span<const std::uint8_t> bytes) {
    const fs::path target = MapPath(path);
    const fs::path folder = target.parent_path();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return false;
    std::string tempName = ".";
    tempName.append(target.filename().string()).append(".XXXXXX");
    std::string temp = (folder / tempName).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    // mkstemp makes the file private (0600); the replacement keeps the mode
    // of the file it replaces, and a new file gets the usual mode.
    bool ok = ::fchmod(fd, ReplacementMode(target)) == 0;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            ok = false;
        else
            done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

bool WriteFileAtomic(std::string_view path, std::string_view text) {
    return WriteFileAtomic(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

namespace {

// The name mkstemp gives the temporary file of `fileName`: the writer's
// prefix and the six characters that replace its XXXXXX.
bool IsLeftoverOf(std::string_view name, std::string_view fileName) {
    constexpr std::size_t kUnique = 6;
    if (name.size() != fileName.size() + 2 + kUnique || name.front() != '.') return false;
    if (name.substr(1, fileName.size()) != fileName || name[fileName.size() + 1] != '.') {
        return false;
    }
    const std::string_view unique = name.substr(fileName.size() + 2);
    return std::all_of(unique.begin(), unique.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

}  // namespace

int RemoveAtomicWriteLeftovers(std::string_view path) {
    const fs::path target = MapPath(path);
    const std::string fileName = target.filename().string();
    if (fileName.empty()) return 0;
    std::error_code ec;
    fs::directory_iterator it(target.parent_path(), ec);
    if (ec) return 0;
    int removed = 0;
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (!IsLeftoverOf(name, fileName)) continue;
        // A folder or a link of that name is not the writer's.
        if (!fs::is_regular_file(entry.symlink_status(ec)) || ec) continue;
        if (fs::remove(entry.path(), ec)) ++removed;
    }
    return removed;
}

bool RemoveFile(std::string_view path) {
    std::error_code ec;
    return fs::remove(MapPath(path), ec);
}

bool RenameFile(std::string_view from, std::string_view to) {
    const fs::path source = MapPath(from);
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) return false;
    const fs::path target = MapPath(to);
    if (fs::is_directory(target, ec)) return false;
    fs::rename(source, target, ec);
    return !ec;
}

bool MakeDir(std::string_view path) {
    const fs::path host = MapPath(path);
    std::error_code ec;
    fs::create_directory(host, ec);
    return fs::is_directory(host, ec);
}

std::vector<std::string> ListFolder(std::string_view path, bool folders) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(MapPath(path), ec), end; !ec && it != end; it.increment(ec)) {
        const bool isDir = it->is_directory(ec);
        if (isDir == folders) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace brumil::platform
