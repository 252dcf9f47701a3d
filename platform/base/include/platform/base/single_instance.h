#pragma once
// Single running copy: an advisory lock (flock) on a file in the data root.
// The lock lives as long as its holder; the operating system drops it when the
// process ends, so a crashed copy never blocks the next start.

#include <memory>
#include <string_view>

namespace brumil::platform {

class InstanceLock {
public:
    InstanceLock(InstanceLock&&) noexcept;
    InstanceLock& operator=(InstanceLock&&) noexcept;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

private:
    friend class InstanceLockAccess;
    explicit InstanceLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

enum class InstanceLockResult {
    kAcquired,       // this is the only copy; the holder keeps it so
    kHeldElsewhere,  // another copy (another open file description) holds it
    kUnavailable,    // the lock file could not be opened; the caller carries on
};

// Takes the lock on `fileName` (a program path, "\brumil.lock" by default).
// On kAcquired `holder` receives the lock.
InstanceLockResult AcquireInstanceLock(std::unique_ptr<InstanceLock>& holder,
                                       std::string_view fileName = "\\brumil.lock");

// Ends a second copy at once with `code`: it has opened nothing of its own, so
// no destructor needs to run and nothing is saved.
[[noreturn]] void EndSecondCopy(int code);

}  // namespace brumil::platform
