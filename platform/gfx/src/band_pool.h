#pragma once
// Worker threads that run numbered tasks (the bands of a scene) and wait for
// the last one. The calling thread takes tasks too, so a pool of one thread
// runs everything on the caller.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace brumil::platform::raster {

class BandPool {
public:
    // `threads` counts the caller: threads - 1 workers are started.
    explicit BandPool(int threads);
    ~BandPool();
    BandPool(const BandPool&) = delete;
    BandPool& operator=(const BandPool&) = delete;

    int Threads() const { return static_cast<int>(workers_.size()) + 1; }

    // Runs task(0) .. task(count - 1), each once, on any of the threads, and
    // answers when all have returned. Tasks must share no writable state.
    void Run(int count, const std::function<void(int)>& task);

private:
    void WorkerLoop();
    // Takes and runs tasks of the current job until none is left.
    void Drain();

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    const std::function<void(int)>* task_ = nullptr;  // the job's, during Run only
    int count_ = 0;
    std::uint64_t generation_ = 0;  // counts jobs, so a worker joins each once
    std::atomic<int> next_{0};      // the next task to take
    int finished_ = 0;              // tasks returned (under mutex_)
    int active_ = 0;                // workers inside the job (under mutex_)
    bool stop_ = false;
};

// The worker count a device takes by default: BRUMIL_RENDER_THREADS when it
// holds a number from 1 to 64, else the machine's hardware threads, at most 8.
int DefaultRenderThreads();

}  // namespace brumil::platform::raster
