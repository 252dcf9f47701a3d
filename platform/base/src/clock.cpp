#include "platform/base/clock.h"

#include <chrono>
#include <random>
#include <thread>

namespace brumil::platform {
namespace {

class SteadyClock final : public Clock {
public:
    Millis NowMs() override { return static_cast<Millis>(NowMicros() / 1000); }
    std::uint64_t NowMicros() override {
        auto d = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(d).count());
    }
    void SleepMs(std::uint32_t ms) override {
        if (ms == 0) {
            std::this_thread::yield();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        }
    }
};

}  // namespace

Clock& SystemClock() {
    static SteadyClock clock;
    return clock;
}

std::uint64_t StartupSeed() {
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    try {
        std::random_device device;
        seed ^= (std::uint64_t{device()} << 32) | device();
    } catch (const std::exception&) {
        // No entropy source: the clock alone still varies from run to run.
    }
    return seed;
}

}  // namespace brumil::platform
