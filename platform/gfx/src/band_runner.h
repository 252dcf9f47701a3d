#pragma once
// A thread that runs one job at a time while its owner goes on with other
// work: the device hands it the bands of the draws recorded so far and
// records the next ones meanwhile.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace brumil::platform::raster {

class BandRunner {
public:
    BandRunner();
    ~BandRunner();
    BandRunner(const BandRunner&) = delete;
    BandRunner& operator=(const BandRunner&) = delete;

    // Starts `job` on the runner's thread; the previous job must be over.
    void Start(std::function<void()> job);
    // Whether the last job started has returned.
    bool Idle() const { return !busy_.load(std::memory_order_acquire); }
    // Waits until the last job started has returned.
    void Wait();

private:
    void Loop();

    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::function<void()> job_;
    std::atomic<bool> busy_{false};
    bool pending_ = false;                  // a job waits to be taken (under mutex_)
    std::atomic<bool> pendingSeen_{false};  // pending_, for the spinning runner
    bool waiting_ = false;                  // the owner sleeps in Wait (under mutex_)
    bool stop_ = false;
    std::thread thread_;  // last: starts once the rest is ready
};

}  // namespace brumil::platform::raster
