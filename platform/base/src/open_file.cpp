#include "platform/base/open_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>

#include "platform/base/files.h"

namespace brumil::platform {

std::optional<OpenFile> OpenFile::OpenRead(std::string_view path) {
    const std::filesystem::path host = MapPath(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(host, ec)) return std::nullopt;
    const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    return OpenFile(fd, false);
}

std::optional<OpenFile> OpenFile::OpenWrite(std::string_view path, WriteMode mode) {
    const std::filesystem::path host = MapPath(path);
    if (mode == WriteMode::kReplace && ::unlink(host.c_str()) != 0 && errno != ENOENT) {
        return std::nullopt;
    }
    const int fd = ::open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return std::nullopt;
    return OpenFile(fd, true);
}

OpenFile::OpenFile(OpenFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), writable_(other.writable_) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        writable_ = other.writable_;
    }
    return *this;
}

OpenFile::~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<std::size_t> OpenFile::ReadAt(std::uint64_t offset,
                                            std::span<std::uint8_t> out) const {
    if (fd_ < 0 || writable_) return std::nullopt;
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n =
            ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool OpenFile::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (fd_ < 0 || !writable_) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::uint64_t OpenFile::Size() const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

}  // namespace brumil::platform
