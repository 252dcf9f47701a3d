#include "framework/frame_pacer.h"

namespace brumil::framework {

namespace {
constexpr std::uint64_t kMicrosPerSecond = 1'000'000;
}

void FramePacer::Reset(std::uint64_t nowMicros) {
    origin_ = nowMicros;
    consumed_ = 0;
    taken_ = 0;
    dropped_ = 0;
}

std::uint64_t FramePacer::StepsElapsed(std::uint64_t nowMicros) const {
    if (nowMicros <= origin_) return 0;
    return (nowMicros - origin_) * kStepsPerSecond / kMicrosPerSecond;
}

std::uint64_t FramePacer::WaitMicros(std::uint64_t nowMicros) const {
    if (StepsElapsed(nowMicros) > consumed_) return 0;
    // Step consumed_ + 1 falls due at the first microsecond t with
    // t * 60 >= (consumed_ + 1) * 1e6, i.e. the ceiling of the quotient.
    const std::uint64_t dueAt =
        origin_ + ((consumed_ + 1) * kMicrosPerSecond + kStepsPerSecond - 1) / kStepsPerSecond;
    return dueAt > nowMicros ? dueAt - nowMicros : 0;
}

void FramePacer::WaitForStep(platform::Clock& clock, std::uint32_t sliceMs) {
    const std::uint64_t slice = sliceMs == 0 ? 1 : sliceMs;
    for (;;) {
        const std::uint64_t wait = WaitMicros(clock.NowMicros());
        if (wait == 0) return;
        // Round up: sleeping a little long only delays the frame, the
        // accumulator keeps the step count exact.
        const std::uint64_t ms = (wait + 999) / 1000;
        clock.SleepMs(static_cast<std::uint32_t>(ms < slice ? ms : slice));
    }
}

int FramePacer::BeginFrame(std::uint64_t nowMicros) {
    const std::uint64_t elapsed = StepsElapsed(nowMicros);
    if (elapsed <= consumed_) return 0;
    std::uint64_t due = elapsed - consumed_;
    if (due > static_cast<std::uint64_t>(kMaxStepsPerFrame)) {
        dropped_ += due - kMaxStepsPerFrame;
        due = kMaxStepsPerFrame;
    }
    consumed_ = elapsed;
    taken_ += due;
    return static_cast<int>(due);
}

}  // namespace brumil::framework
