#pragma once
// Files as the program sees them.
//
// Program paths use the original's notation: a path that begins with "\" is
// relative to the data root, "\" separates folders. Any other path is taken as a
// host path. Every component is found case-insensitively when the exact name is
// missing (candidates sorted, so the choice is the same on every machine).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brumil::platform {

// The folder that "\..." paths are relative to. By default the program's folder,
// or the folder named by "exepath.txt" beside the program.
const std::filesystem::path& DataRoot();
void SetDataRoot(const std::filesystem::path& root);

// The folder of the running program.
std::filesystem::path ProgramFolder();

// The process's working folder (empty when it cannot be read), and setting it
// (false when refused). Relative host paths are taken from it.
std::filesystem::path CurrentFolder();
bool SetCurrentFolder(const std::filesystem::path& folder);

// Sets the data root from a program folder: the folder itself, or the folder
// named by the first line of "exepath.txt" inside it (relative names are taken
// from the program folder; a name that is not a folder is ignored).
void InitDataRoot(const std::filesystem::path& programFolder);

// The data root as the original's text form: a host path ending with "/".
std::string DataRootText();

// Maps a program path to an existing host path when one matches
// case-insensitively; otherwise the literal mapping (for files to create).
std::filesystem::path MapPath(std::string_view path);

bool FileExists(std::string_view path);
bool FolderExists(std::string_view path);
std::optional<std::uintmax_t> FileSize(std::string_view path);

// The whole file, or nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path);

// Reads up to `length` bytes at `offset`; fewer at the end of the file.
std::optional<std::vector<std::uint8_t>> ReadFileRange(std::string_view path, std::uint64_t offset,
                                                       std::size_t length);

// Replaces the file atomically: the bytes go to a temporary file in the same
// folder, are flushed, then renamed over the target. On failure the old file
// is untouched and false is returned.
bool WriteFileAtomic(std::string_view path, std::span<const std::uint8_t> bytes);
bool WriteFileAtomic(std::string_view path, std::string_view text);

// Removes the temporary files that a process killed inside WriteFileAtomic of
// `path` left beside it: regular files named "." + the file name + "." and six
// letters or digits, in the file's own folder. Nothing else is touched. Answers
// how many were removed.
int RemoveAtomicWriteLeftovers(std::string_view path);

bool RemoveFile(std::string_view path);
// Gives a regular file a new name, replacing a file of that name; false (and
// nothing changed) when `from` is not a regular file or the rename is refused.
// Needs no read access to the file itself.
bool RenameFile(std::string_view from, std::string_view to);
// Creates one folder level; true when it exists afterwards.
bool MakeDir(std::string_view path);

// Names (not paths) of the files or sub-folders of a folder, sorted.
std::vector<std::string> ListFolder(std::string_view path, bool folders);

}  // namespace brumil::platform
