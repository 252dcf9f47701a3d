#include "band_pool.h"

#include <algorithm>
#include <cstdlib>

namespace brumil::platform::raster {

BandPool::BandPool(int threads) {
    const int workers = std::clamp(threads, 1, 64) - 1;
    workers_.reserve(static_cast<std::size_t>(workers));
    for (int i = 0; i < workers; ++i) workers_.emplace_back([this] { WorkerLoop(); });
}

BandPool::~BandPool() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : workers_) t.join();
}

void BandPool::Run(int count, const std::function<void(int)>& task) {
    if (count <= 0) return;
    if (workers_.empty()) {
        for (int i = 0; i < count; ++i) task(i);
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        task_ = &task;
        count_ = count;
        finished_ = 0;
        next_.store(0, std::memory_order_relaxed);
        ++generation_;
    }
    wake_.notify_all();
    Drain();
    std::unique_lock<std::mutex> lock(mutex_);
    // Every task returned and no worker still inside this job: a worker that
    // wakes late finds no job and waits for the next.
    done_.wait(lock, [&] { return finished_ == count_ && active_ == 0; });
    task_ = nullptr;
}

void BandPool::Drain() {
    for (;;) {
        const int i = next_.fetch_add(1, std::memory_order_relaxed);
        if (i >= count_) return;
        (*task_)(i);
        const std::lock_guard<std::mutex> lock(mutex_);
        if (++finished_ == count_) done_.notify_all();
    }
}

void BandPool::WorkerLoop() {
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
            if (stop_) return;
            seen = generation_;
            if (task_ == nullptr) continue;
            ++active_;
        }
        Drain();
        const std::lock_guard<std::mutex> lock(mutex_);
        if (--active_ == 0) done_.notify_all();
    }
}

int DefaultRenderThreads() {
    if (const char* text = std::getenv("BRUMIL_RENDER_THREADS")) {
        char* end = nullptr;
        const long n = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && n >= 1 && n <= 64) return static_cast<int>(n);
    }
    const unsigned hw = std::thread::hardware_concurrency();
    return std::clamp(static_cast<int>(hw), 1, 8);
}

}  // namespace brumil::platform::raster
