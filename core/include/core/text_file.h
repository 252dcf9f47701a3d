#pragma once
// Reading a text file the way CApi::LoadText does, telling a missing file from
// one that is there but cannot be read: the save files keep the latter aside
// before writing over it.

#include <string>
#include <string_view>

namespace brumil::core {

// What a read of a text file found.
enum class TextFileState { kMissing, kRead, kUnreadable };

// The file (plain or archive entry) as text: a save-text encoded file is
// decoded; any other file is cut at the first NUL, a leading UTF-8 byte-order
// mark dropped. "" unless `state` is kRead: an existing file that cannot be
// opened or read, or whose encoded form fails its length or checksum, is
// kUnreadable.
std::string LoadTextFile(std::string_view fileName, TextFileState& state);

}  // namespace brumil::core
