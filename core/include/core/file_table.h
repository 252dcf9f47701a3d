#pragma once
// Open files by number, as the original language numbers them: readers ask for
// a free number, open a file under it, read or write bytes at 1-based
// positions and close it by number. Numbers run from 1 to kMaxFileNumber.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/vb_types.h"
#include "platform/base/open_file.h"

namespace brumil::core {

class FileTable {
public:
    static constexpr Long kMaxFileNumber = 511;

    // The lowest number not in use, 0 when all are taken.
    Long FreeFile() const;
    bool InUse(Long number) const { return files_.count(number) != 0; }

    // Opens a file for reading under `number`; false when the number is
    // invalid or taken, or the file cannot be opened.
    bool OpenRead(Long number, std::string_view path);
    // Opens a file for writing under `number`. With `replace` an existing file
    // is deleted first (failing when it cannot be); without it an existing
    // file is not opened.
    bool OpenWrite(Long number, std::string_view path, bool replace);
    void Close(Long number) { files_.erase(number); }
    void CloseAll() { files_.clear(); }

    // Reads into `out` from the 1-based position; answers the bytes read (fewer
    // at the end of the file) or -1 for an unknown number, a position below 1
    // or a read error.
    Long ReadBytes(Long number, Long position, std::span<std::uint8_t> out) const;
    // Writes all bytes at the 1-based position: 0, or 1 on any failure.
    Long WriteBytes(Long number, Long position, std::span<const std::uint8_t> bytes);
    // The file's length in bytes (clamped to the 32-bit range), -1 when unknown.
    Long Length(Long number) const;
    // The path the file was opened with, "" for an unknown number.
    std::string PathOf(Long number) const;

private:
    struct Entry {
        platform::OpenFile file;
        std::string path;
    };
    std::map<Long, Entry> files_;
};

}  // namespace brumil::core
