#include "band_runner.h"

#include <chrono>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace brumil::platform::raster {

namespace {

// How long Wait spins before it sleeps (jobs are a scene's bands, usually
// near their end when waited for), and the runner for its next job.
constexpr auto kSpin = std::chrono::microseconds(150);

// A round of a spin: a pause at first, then the core yielded, so that on a
// crowded machine the threads with work to do get to run.
void Relax(int round) {
#if defined(__x86_64__) || defined(__i386__)
    if (round < 256) {
        _mm_pause();
        return;
    }
#endif
    std::this_thread::yield();
}

}  // namespace

BandRunner::BandRunner() : thread_([this] { Loop(); }) {}

BandRunner::~BandRunner() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void BandRunner::Start(std::function<void()> job) {
    Wait();
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        job_ = std::move(job);
        pending_ = true;
        pendingSeen_.store(true, std::memory_order_release);
        busy_.store(true, std::memory_order_release);
    }
    wake_.notify_one();
}

void BandRunner::Wait() {
    if (Idle()) return;
    const auto until = std::chrono::steady_clock::now() + kSpin;
    for (int i = 1; !Idle(); ++i) {
        Relax(i);
        if (i % 64 == 0 && std::chrono::steady_clock::now() >= until) {
            std::unique_lock<std::mutex> lock(mutex_);
            waiting_ = true;
            done_.wait(lock, [&] { return Idle(); });
            waiting_ = false;
            return;
        }
    }
}

void BandRunner::Loop() {
    for (;;) {
        // A job follows another closely within a scene: look for it a while
        // before sleeping.
        const auto until = std::chrono::steady_clock::now() + kSpin;
        for (int i = 1; !pendingSeen_.load(std::memory_order_acquire); ++i) {
            Relax(i);
            if (i % 64 == 0 && std::chrono::steady_clock::now() >= until) break;
        }
        std::function<void()> job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stop_ || pending_; });
            if (stop_ && !pending_) return;
            pending_ = false;
            pendingSeen_.store(false, std::memory_order_relaxed);
            job = std::move(job_);
        }
        job();
        const std::lock_guard<std::mutex> lock(mutex_);
        busy_.store(false, std::memory_order_release);
        if (waiting_) done_.notify_one();
    }
}

}  // namespace brumil::platform::raster
