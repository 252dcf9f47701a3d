#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/input_devices.h"
#include "platform/sdl_subsystems.h"
#include "platform/sdl_window.h"

namespace brumil::platform {
namespace {

// The real window on SDL's dummy driver: closing the last SDL user must end
// SDL as a whole (its process-wide state would otherwise outlive the program).
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

TEST_F(SdlLifetime, ReleasingWhatWasNeverTakenIsHarmless) {
    ReleaseSdlSubSystem(0);
    EXPECT_FALSE(SdlStarted());
}

}  // namespace
}  // namespace brumil::platform
