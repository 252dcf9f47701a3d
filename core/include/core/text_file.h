#pragma once
// Reading a text file the way CApi::LoadText does, telling a missing file from
// one that is there but cannot be read: the save files keep the latter aside
// before writing over it.

#include <string>
#include <string_view>

namespace brumil::core {

// What a read of a text file found. kUnreadableInArchive is kUnreadable for an
// entry of the folder's archive: no plain file stands at the path.
enum class TextFileState { kMissing, kRead, kUnreadable, kUnreadableInArchive };

// Judges the whole bytes of a non-empty file that is not in the save-text
// encoded form: true when they are a text of the kind the caller reads.
using PlainTextCheck = bool (*)(std::string_view bytes);

// The text a plain file's bytes stand for: cut at the first NUL, a leading
// UTF-8 byte-order mark dropped.
std::string_view PlainFileText(std::string_view bytes);

// True when the bytes hold no control byte other than tab, CR and LF (NUL and
// DEL included): nothing a text file has.
bool HoldsOnlyTextBytes(std::string_view bytes);

// The file (plain or archive entry) as text: a save-text encoded file is
// decoded; any other file is its PlainFileText. "" unless `state` is kRead: an
// existing file that cannot be opened or read, whose encoded form fails its
// length or checksum, or that `check` (when given) refuses is unreadable.
std::string LoadTextFile(std::string_view fileName, TextFileState& state,
                         PlainTextCheck check = nullptr);

}  // namespace brumil::core
