#pragma once
// ".pak" archives: one file standing for a whole data folder.
//
// Layout (numbers little-endian):
//   offset 0, 8 bytes   magic "BRUMPAK1"
//   offset 8, 4 bytes   entry count N (u32, at most kMaxPakEntries)
//   offset 12           N entries, each:
//                         2 bytes  name length L (u16, 1..kMaxPakNameLength)
//                         L bytes  file name, UTF-8, no "/" or "\"
//                         4 bytes  offset of the file's first byte in the archive (u32)
//                         4 bytes  length in bytes (u32)
//   then the files' bytes, anywhere after the table.
// Names are compared without regard to ASCII case; when two entries share a
// name the first wins. An archive whose table runs past the end of the file,
// or any entry that does, or a bad name, is refused as a whole.
//
// Lookup: "\data\sound\x.wav" is the plain file when it exists, else entry
// "x.wav" of "\data\sound.pak". Only the file's own folder is packed: the
// archive holds plain names, no sub-folders.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brumil::core {

inline constexpr char kPakMagic[8] = {'B', 'R', 'U', 'M', 'P', 'A', 'K', '1'};
inline constexpr std::uint32_t kMaxPakEntries = 65536;
inline constexpr std::size_t kMaxPakNameLength = 255;

struct PakEntry {
    std::string name;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// Reads and checks the entry table of the archive at `archivePath` (a program
// path); nothing when the file is missing or not a valid archive.
std::optional<std::vector<PakEntry>> ReadPakIndex(std::string_view archivePath);

// Checks a table held in memory; `fileSize` is the whole archive's size.
std::optional<std::vector<PakEntry>> ParsePakIndex(std::span<const std::uint8_t> head,
                                                   std::uint64_t fileSize);

// The entry named `name` (ASCII case ignored), or nothing.
const PakEntry* FindPakEntry(const std::vector<PakEntry>& entries, std::string_view name);

// Where a program path's bytes are: a plain file or an archive entry.
struct PakLocation {
    std::string filePath;      // the program path of the file to open
    std::uint64_t offset = 0;  // of the first byte, 0-based
    std::uint64_t length = 0;
    bool inArchive = false;
};
std::optional<PakLocation> LocatePakFile(std::string_view path);

// Builds an archive from named files (for the packing tool and tests). Nothing
// when a name is invalid, names repeat (case ignored) or the total passes 4 GiB.
struct PakInput {
    std::string name;
    std::vector<std::uint8_t> bytes;
};
std::optional<std::vector<std::uint8_t>> BuildPak(std::span<const PakInput> files);

}  // namespace brumil::core
