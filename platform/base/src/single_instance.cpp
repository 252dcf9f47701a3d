#include "platform/base/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "platform/base/files.h"

namespace brumil::platform {

class InstanceLockAccess {
public:
    static std::unique_ptr<InstanceLock> Make(int fd) {
        return std::unique_ptr<InstanceLock>(new InstanceLock(fd));
    }
};

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);  // closing the description releases the flock
}

InstanceLockResult AcquireInstanceLock(std::unique_ptr<InstanceLock>& holder,
                                       std::string_view fileName) {
    const auto host = MapPath(fileName);
    const int fd = ::open(host.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return InstanceLockResult::kUnavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? InstanceLockResult::kHeldElsewhere
                                  : InstanceLockResult::kUnavailable;
    }
    holder = InstanceLockAccess::Make(fd);
    return InstanceLockResult::kAcquired;
}

void EndSecondCopy(int code) {
    std::exit(code);
}

}  // namespace brumil::platform
