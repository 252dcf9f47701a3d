#include "framework/frame_pacer.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/base/clock.h"

namespace brumil::framework {
namespace {

TEST(FramePacer, StepsDueForOneFrame) {
    struct Case {
        std::uint64_t frameMicros;
        int steps;
    };
    const std::vector<Case> table = {
        {0, 0},         {16'666, 0}, {16'667, 1},  {33'334, 2},
        {50'000, 3},    {99'999, 5}, {100'000, 6}, {116'667, 6},  // 7 due, 1 dropped
        {2'000'000, 6},  // a two-second stall still gives 6
    };
    for (const Case& c : table) {
        FramePacer p(1000);
        EXPECT_EQ(p.BeginFrame(1000 + c.frameMicros), c.steps) << c.frameMicros;
    }
}

TEST(FramePacer, BacklogBeyondSixIsDroppedNotCarried) {
    FramePacer p(0);
    EXPECT_EQ(p.BeginFrame(1'000'000), 6);
    EXPECT_EQ(p.StepsDropped(), 54u);
    // The next frame only sees what fell due since.
    EXPECT_EQ(p.BeginFrame(1'000'000 + 16'667), 1);
}

TEST(FramePacer, WaitEndsExactlyWhenAStepFallsDue) {
    FramePacer p(0);
    EXPECT_EQ(p.WaitMicros(0), 16'667u);
    EXPECT_EQ(p.WaitMicros(16'000), 667u);
    EXPECT_EQ(p.WaitMicros(16'667), 0u);
    EXPECT_EQ(p.BeginFrame(16'667), 1);
    EXPECT_EQ(p.WaitMicros(16'667), 16'667u);  // step 2 due at 33'334
}

// Runs a frame loop for `seconds` where each frame's own work takes
// `workMicros`, with the pacer's sleep in between; returns frames and steps.
struct LoopResult {
    int frames = 0;
    std::uint64_t steps = 0;
};
LoopResult RunLoop(std::uint64_t workMicros, int seconds) {
    platform::ManualClock clock(5'000'000);
    FramePacer p(clock.NowMicros());
    LoopResult r;
    const std::uint64_t end = clock.NowMicros() + std::uint64_t(seconds) * 1'000'000;
    while (clock.NowMicros() < end) {
        p.WaitForStep(clock, 1);
        const int steps = p.BeginFrame(clock.NowMicros());
        EXPECT_GE(steps, 1);  // a frame never starts with nothing due
        r.steps += steps;
        ++r.frames;
        clock.AdvanceMicros(workMicros);
    }
    return r;
}

TEST(FramePacer, SixtyStepsPerSecondWhateverTheFrameCost) {
    struct Case {
        const char* name;
        std::uint64_t workMicros;
        int minFrames, maxFrames;
    };
    const std::vector<Case> table = {
        {"144 Hz display", 6'944, 599, 601},   {"1000 Hz busy loop", 1'000, 599, 601},
        {"60 Hz display", 16'667, 599, 601},   {"30 fps renderer", 33'333, 299, 301},
        {"12 fps renderer", 83'333, 119, 121},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.name);
        const LoopResult r = RunLoop(c.workMicros, 10);
        // Steps are counted at frame starts, so the last frame's share may be missing.
        EXPECT_NEAR(double(r.steps), 600.0, 6.0);
        EXPECT_GE(r.frames, c.minFrames);
        EXPECT_LE(r.frames, c.maxFrames);
    }
}

TEST(FramePacer, SlowerThanTenFpsLosesSteps) {
    const LoopResult r = RunLoop(200'000, 10);  // 5 fps: 12 due per frame, 6 kept
    EXPECT_NEAR(double(r.steps), 300.0, 6.0);
}

}  // namespace
}  // namespace brumil::framework
