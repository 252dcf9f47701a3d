#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/base/headless_window.h"
#include "platform/base/input_devices.h"

namespace brumil::platform {
namespace {

TEST(HeadlessWindow, PresentKeepsTheFrameWithoutPitchPadding) {
    HeadlessWindow w;
    // 3x2 picture in a buffer 4 pixels wide.
    const std::vector<std::uint32_t> buffer = {1, 2, 3, 0xDEAD, 4, 5, 6};
    w.Present(buffer, 3, 2, 4);
    EXPECT_EQ(w.LastFrame().width, 3);
    EXPECT_EQ(w.LastFrame().height, 2);
    EXPECT_EQ(w.LastFrame().argb, (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(w.PresentCount(), 1);
}

TEST(HeadlessWindow, BadBuffersLeaveAnEmptyFrame) {
    struct Case {
        std::size_t size;
        int width, height, pitch;
    };
    const std::vector<Case> table = {
        {5, 3, 2, 3},   // too short
        {6, 3, 2, 2},   // pitch below width
        {6, 0, 2, 3},   // no width
        {6, 3, -1, 3},  // negative height
        {0, 640, 480, 640},
    };
    for (const Case& c : table) {
        HeadlessWindow w;
        const std::vector<std::uint32_t> ok(4, 9);
        w.Present(ok, 2, 2, 2);
        const std::vector<std::uint32_t> buffer(c.size, 7);
        w.Present(buffer, c.width, c.height, c.pitch);
        EXPECT_EQ(w.LastFrame().width, 0);
        EXPECT_TRUE(w.LastFrame().argb.empty());
    }
}

TEST(HeadlessWindow, FullScreenChangesOnlyBetweenFrames) {
    HeadlessWindow w;
    w.RequestFullScreen(true);
    EXPECT_FALSE(w.IsFullScreen());
    w.PumpEvents();
    EXPECT_FALSE(w.IsFullScreen());
    EXPECT_TRUE(w.ApplyPendingMode());
    EXPECT_TRUE(w.IsFullScreen());
    EXPECT_FALSE(w.ApplyPendingMode());
}

TEST(HeadlessWindow, CloseRequestReachesThePumpOnce) {
    HeadlessWindow w;
    EXPECT_FALSE(w.PumpEvents().closeRequested);
    w.InjectClose();
    EXPECT_TRUE(w.PumpEvents().closeRequested);
    EXPECT_FALSE(w.PumpEvents().closeRequested);
}

TEST(HeadlessWindow, PointerWheelAndMovementArePerTake) {
    HeadlessWindow w;
    w.InjectPointer({3, true, 0.5f, 0.25f, 320, 120});
    const PointerActivity first = w.TakePointerActivity();
    EXPECT_EQ(first.wheel, 3);
    EXPECT_TRUE(first.moved);
    const PointerActivity second = w.TakePointerActivity();
    EXPECT_EQ(second.wheel, 0);
    EXPECT_FALSE(second.moved);
    EXPECT_EQ(second.screenX, 320);
}

TEST(OpenWindow, HeadlessWhenAsked) {
    ::setenv("BRUMIL_HEADLESS", "1", 1);
    EXPECT_TRUE(HeadlessRequested());
    EXPECT_EQ(VideoUnavailableReason(), "");
    auto w = OpenWindow({});
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->IsHeadless());
    auto input = OpenInputDevices(*w);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->EnumerateJoysticks(), 0);
    InputSnapshot s;
    input->Sample(s);
    EXPECT_TRUE(s.joysticks.empty());
}

TEST(NullInputDevices, SamplesWhatWasSet) {
    NullInputDevices d;
    d.SetKey(0x2C, true);
    d.SetKey(0, true);  // scan code 0 is no key
    d.Mouse().pointer.wheel = -1;
    d.PlugJoysticks(2);
    d.Joystick(1).buttons[31] = true;
    InputSnapshot s;
    d.Sample(s);
    EXPECT_TRUE(s.keys[0x2C]);
    EXPECT_FALSE(s.keys[0]);
    EXPECT_EQ(s.mouse.pointer.wheel, -1);
    EXPECT_TRUE(s.joysticks.empty());  // not enumerated yet
    EXPECT_EQ(d.EnumerateJoysticks(), 2);
    d.Sample(s);
    EXPECT_EQ(s.mouse.pointer.wheel, 0);
    ASSERT_EQ(s.joysticks.size(), 2u);
    EXPECT_TRUE(s.joysticks[1].buttons[31]);
}

}  // namespace
}  // namespace brumil::platform
