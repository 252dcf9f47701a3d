#pragma once
// Fixed-step pacing of the frame loop. Logic runs at 60 steps per second on a
// monotonic microsecond clock; each drawn frame is told how many steps fell due
// since the previous one (at most 6: a longer stall drops the rest rather than
// racing to catch up), and a frame may start only when at least one step is due,
// so frames never start faster than 60 per second whatever the display's rate.
//
// The pacer counts in whole steps from its origin (step n falls due at
// origin + n / 60 s, computed exactly in integers), so it never drifts.

#include <cstdint>

#include "platform/base/clock.h"

namespace brumil::framework {

class FramePacer {
public:
    static constexpr std::uint64_t kStepsPerSecond = 60;
    static constexpr int kMaxStepsPerFrame = 6;

    explicit FramePacer(std::uint64_t originMicros = 0) { Reset(originMicros); }

    // Starts counting afresh: the first step falls due one step after `now`.
    void Reset(std::uint64_t nowMicros);

    // Microseconds until the next step falls due; 0 when one is due already.
    std::uint64_t WaitMicros(std::uint64_t nowMicros) const;

    // Sleeps on the clock until a step is due, in slices of at most
    // `sliceMs` milliseconds (at least 1), re-reading the clock after each.
    void WaitForStep(platform::Clock& clock, std::uint32_t sliceMs);

    // Takes the steps due at `now` for the frame starting now: 0 to 6. Steps
    // beyond 6 are dropped for good.
    int BeginFrame(std::uint64_t nowMicros);

    // Steps handed out and dropped since the last Reset.
    std::uint64_t StepsTaken() const { return taken_; }
    std::uint64_t StepsDropped() const { return dropped_; }

private:
    std::uint64_t StepsElapsed(std::uint64_t nowMicros) const;

    std::uint64_t origin_ = 0;
    std::uint64_t consumed_ = 0;  // steps taken or dropped
    std::uint64_t taken_ = 0;
    std::uint64_t dropped_ = 0;
};

}  // namespace brumil::framework
