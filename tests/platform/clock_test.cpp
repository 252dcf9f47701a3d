#include "platform/base/clock.h"

#include <gtest/gtest.h>

namespace brumil::platform {
namespace {

TEST(Clock, DeadlinesStayRightAcrossTheWrap) {
    struct Case {
        Millis now;
        Millis deadline;
        bool passed;
    };
    const Case cases[] = {
        {100, 200, false},
        {200, 200, true},
        {300, 200, true},
        {0xFFFFFFF0u, DeadlineAfter(0xFFFFFFF0u, 0x20), false},  // deadline wrapped to 0x10
        {0x00000005u, DeadlineAfter(0xFFFFFFF0u, 0x20), false},
        {0x00000010u, DeadlineAfter(0xFFFFFFF0u, 0x20), true},
        {0x00000100u, 0xFFFFFF00u, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DeadlinePassed(c.now, c.deadline), c.passed) << c.now << " vs " << c.deadline;
    }
    EXPECT_EQ(MsSince(0x00000010u, 0xFFFFFFF0u), 0x20);
    EXPECT_EQ(MsSince(0xFFFFFFF0u, 0x00000010u), -0x20);
}

TEST(Clock, ManualClockMovesOnlyWhenTold) {
    ManualClock clock(1500);
    EXPECT_EQ(clock.NowMs(), 1u);
    clock.SleepMs(10);
    EXPECT_EQ(clock.NowMicros(), 11500u);
    clock.SetMs(0xFFFFFFFFu);
    clock.AdvanceMs(2);
    EXPECT_EQ(clock.NowMs(), 1u);  // the 32-bit view wraps
}

}  // namespace
}  // namespace brumil::platform
