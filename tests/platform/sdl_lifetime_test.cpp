#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/base/input_devices.h"
#include "platform/base/sdl_subsystems.h"
#include "platform/base/sdl_window.h"

namespace brumil::platform {
namespace {

// The real window on SDL's dummy driver: every SDL user gives back what it
// took, and the last one ends SDL as a whole.
class SdlLifetime : public testing::Test {
protected:
    void SetUp() override {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_FALSE(SdlStarted());
    }
};

TEST_F(SdlLifetime, ClosingTheWindowEndsSdl) {
    auto w = SdlWindow::Open({});
    if (w == nullptr) GTEST_SKIP() << "SDL's dummy video driver is not available";
    EXPECT_TRUE(SdlStarted());
    w.reset();
    EXPECT_FALSE(SdlStarted());
}

TEST_F(SdlLifetime, SdlStaysUpWhileAnotherUserHoldsIt) {
    auto w = SdlWindow::Open({});
    if (w == nullptr) GTEST_SKIP() << "SDL's dummy video driver is not available";
    auto input = OpenInputDevices(*w);
    ASSERT_NE(input, nullptr);
    auto second = SdlWindow::Open({});
    ASSERT_NE(second, nullptr);
    w.reset();
    EXPECT_TRUE(SdlStarted());
    second.reset();
    EXPECT_TRUE(SdlStarted());  // the input devices still hold the joysticks
    input.reset();
    EXPECT_FALSE(SdlStarted());
}

TEST_F(SdlLifetime, OnlyTheLastReleaseEndsSdl) {
    auto w = SdlWindow::Open({});
    if (w == nullptr) GTEST_SKIP() << "SDL's dummy video driver is not available";
    EXPECT_FALSE(ReleaseSdlSubSystem(0));  // the window still holds video
    EXPECT_TRUE(SdlStarted());
    w.reset();
    EXPECT_FALSE(SdlStarted());
    EXPECT_TRUE(ReleaseSdlSubSystem(0));
}

}  // namespace
}  // namespace brumil::platform
