#include "band_pool.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace brumil::platform::raster {

namespace {

// How long a worker looks for the next job before it sleeps, and the caller
// for the job's last task before it sleeps: long enough to cover the gap
// between the jobs of one frame, short enough to leave an idle machine be.
constexpr auto kSpin = std::chrono::microseconds(250);
// After this long a spinning thread yields its core on every round, so that
// on a crowded machine the threads with work to do get to run.
constexpr auto kPause = std::chrono::microseconds(30);

void Relax() {
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#else
    std::this_thread::yield();
#endif
}

// Spins until done() or the spin time is up; answers done().
template <typename Done>
bool SpinUntil(Done done) {
    const auto start = std::chrono::steady_clock::now();
    bool yielding = false;
    for (int i = 1;; ++i) {
        if (done()) return true;
        if (yielding) {
            std::this_thread::yield();
        } else {
            Relax();
        }
        if (i % 32 == 0) {
            const auto spent = std::chrono::steady_clock::now() - start;
            if (spent >= kSpin) return done();
            yielding = spent >= kPause;
        }
    }
}

}  // namespace

BandPool::BandPool(int threads) {
    const int workers = std::clamp(threads, 1, 64) - 1;
    workers_.reserve(static_cast<std::size_t>(workers));
    for (int i = 0; i < workers; ++i) workers_.emplace_back([this] { WorkerLoop(); });
}

BandPool::~BandPool() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stop_.store(true);
    }
    wake_.notify_all();
    for (std::thread& t : workers_) t.join();
}

void BandPool::Run(int count, const std::function<void(int)>& task) {
    if (count <= 0) return;
    task_ = &task;
    count_.store(count, std::memory_order_relaxed);
    next_.store(0, std::memory_order_relaxed);
    finished_.store(0, std::memory_order_relaxed);
    open_.store(true);
    generation_.fetch_add(1);
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (sleepers_ > 0) wake_.notify_all();
    }
    Drain();
    const auto allReturned = [&] { return finished_.load(std::memory_order_acquire) == count; };
    if (!SpinUntil(allReturned)) {
        std::unique_lock<std::mutex> lock(mutex_);
        callerWaits_ = true;
        done_.wait(lock, allReturned);
        callerWaits_ = false;
    }
    // No worker may still be reading this job's task when Run answers: one
    // that joins from now on finds the job closed.
    open_.store(false);
    while (active_.load() != 0) Relax();
    task_ = nullptr;
}

int BandPool::Drain() {
    const int count = count_.load(std::memory_order_relaxed);
    for (int ran = 0;; ++ran) {
        const int i = next_.fetch_add(1, std::memory_order_relaxed);
        if (i >= count) return ran;
        (*task_)(i);
        if (finished_.fetch_add(1, std::memory_order_acq_rel) + 1 == count) {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (callerWaits_) done_.notify_one();
        }
    }
}

bool BandPool::Help() {
    active_.fetch_add(1);
    const int ran = open_.load() ? Drain() : 0;
    active_.fetch_sub(1, std::memory_order_release);
    return ran > 0;
}

bool BandPool::HelpUntil(const std::function<bool()>& done) {
    // The spin's time runs only while there is nothing to take.
    for (;;) {
        bool helped = false;
        if (SpinUntil([&] {
                helped = Help();
                return helped || done();
            })) {
            if (!helped) return true;
        } else {
            return done();
        }
    }
}

std::uint64_t BandPool::AwaitJob(std::uint64_t seen) {
    const auto moved = [&] {
        return stop_.load(std::memory_order_acquire) ||
               generation_.load(std::memory_order_acquire) != seen;
    };
    if (!SpinUntil(moved)) {
        std::unique_lock<std::mutex> lock(mutex_);
        ++sleepers_;
        wake_.wait(lock, moved);
        --sleepers_;
    }
    return generation_.load();
}

void BandPool::WorkerLoop() {
    std::uint64_t seen = 0;
    for (;;) {
        seen = AwaitJob(seen);
        if (stop_.load()) return;
        active_.fetch_add(1);
        if (open_.load()) Drain();
        active_.fetch_sub(1, std::memory_order_release);
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
