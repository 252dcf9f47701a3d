#pragma once
// Worker threads that run numbered tasks (the bands of a scene) and wait for
// the last one. The calling thread takes tasks too, so a pool of one thread
// runs everything on the caller, and so may one other thread that helps. Between jobs the workers
// spin a little before they sleep, so jobs that follow one another closely start without waking
// anyone.

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

    // Takes tasks of the job another thread runs now, if any, as a worker
    // would, and answers when none is left to take (or at once when no job
    // runs): whether it ran any.
    bool Help();
    // Helps with every job that runs until done() answers true; gives up
    // when it has found nothing to take for as long as the pool's threads
    // spin. Answers done().
    bool HelpUntil(const std::function<bool()>& done);

private:
    void WorkerLoop();
    // Takes and runs tasks of the current job until none is left; answers
    // how many it ran.
    int Drain();
    // Waits until the job's generation passes `seen` (or the pool stops).
    std::uint64_t AwaitJob(std::uint64_t seen);

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    const std::function<void(int)>* task_ = nullptr;  // the job's, during Run only
    std::atomic<int> count_{0};
    std::atomic<std::uint64_t> generation_{0};  // counts jobs, so a worker joins each once
    std::atomic<int> next_{0};                  // the next task to take
    std::atomic<int> finished_{0};              // tasks returned
    std::atomic<int> active_{0};                // workers inside a job
    std::atomic<bool> open_{false};             // a job's tasks may be taken
    int sleepers_ = 0;                          // workers waiting on wake_ (under mutex_)
    bool callerWaits_ = false;                  // the caller waits on done_ (under mutex_)
    std::atomic<bool> stop_{false};
};

// The worker count a device takes by default: BRUMIL_RENDER_THREADS when it
// holds a number from 1 to 64, else the machine's hardware threads, at most 8.
int DefaultRenderThreads();

}  // namespace brumil::platform::raster
