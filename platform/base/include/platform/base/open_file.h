#pragma once
// An open file for positioned byte reads and writes (RAII: closed by the
// destructor). Paths are program paths as in files.h.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace brumil::platform {

class OpenFile {
public:
    enum class WriteMode {
        kCreateNew,  // fails when the file exists
        kReplace,    // an existing file is removed first; fails when that fails
    };

    static std::optional<OpenFile> OpenRead(std::string_view path);
    static std::optional<OpenFile> OpenWrite(std::string_view path, WriteMode mode);

    OpenFile(OpenFile&& other) noexcept;
    OpenFile& operator=(OpenFile&& other) noexcept;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile();

    // Bytes read at `offset` (0-based), fewer at the end of the file; nothing
    // on an error.
    std::optional<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const;
    // Writes all bytes at `offset`; false on an error or a read-only file.
    bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    std::uint64_t Size() const;
    bool Writable() const { return writable_; }

private:
    OpenFile(int fd, bool writable) : fd_(fd), writable_(writable) {}
    int fd_ = -1;
    bool writable_ = false;
};

}  // namespace brumil::platform
