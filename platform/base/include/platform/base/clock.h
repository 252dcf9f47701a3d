#pragma once
// Time. The program reads a 32-bit millisecond clock like the original's
// multimedia timer; it wraps after 49.7 days, so every deadline is compared
// through DeadlinePassed / MsSince, which stay right across the wrap.

#include <cstdint>

namespace brumil::platform {

using Millis = std::uint32_t;

// Milliseconds from `then` to `now`, signed, right across the 32-bit wrap as
// long as the two are less than 2^31 ms apart.
constexpr std::int32_t MsSince(Millis now, Millis then) {
    return static_cast<std::int32_t>(now - then);
}
constexpr bool DeadlinePassed(Millis now, Millis deadline) {
    return MsSince(now, deadline) >= 0;
}
constexpr Millis DeadlineAfter(Millis now, std::uint32_t ms) {
    return now + ms;
}

// A clock service. The frame host, the effect preload and every timed job get
// one passed in, so tests drive time by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Millis NowMs() = 0;
    // Monotonic microseconds for frame pacing.
    virtual std::uint64_t NowMicros() = 0;
    virtual void SleepMs(std::uint32_t ms) = 0;
};

// The real clock (monotonic; the 32-bit value starts at an arbitrary point).
Clock& SystemClock();

// A seed that differs from run to run (the system's entropy source mixed with
// the wall clock), for the random generators at program start.
std::uint64_t StartupSeed();

// A clock that only moves when told; sleeping advances it.
class ManualClock final : public Clock {
public:
    explicit ManualClock(std::uint64_t startMicros = 0) : micros_(startMicros) {}
    Millis NowMs() override { return static_cast<Millis>(micros_ / 1000); }
    std::uint64_t NowMicros() override { return micros_; }
    void SleepMs(std::uint32_t ms) override { micros_ += std::uint64_t{ms} * 1000; }
    void AdvanceMicros(std::uint64_t us) { micros_ += us; }
    void AdvanceMs(std::uint64_t ms) { micros_ += ms * 1000; }
    void SetMs(Millis ms) { micros_ = std::uint64_t{ms} * 1000; }

private:
    std::uint64_t micros_;
};

}  // namespace brumil::platform
