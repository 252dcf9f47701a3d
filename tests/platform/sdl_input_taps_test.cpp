#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/base/input_devices.h"
#include "platform/base/scan_codes.h"
#include "platform/base/sdl_window.h"

namespace brumil::platform {
namespace {

// A key pressed and released between two input samples (a quick tap, or a
// keyboard driver that delivers both at once) must still count as down for
// one sample, then up.
TEST(SdlInputTaps, AKeyTappedBetweenSamplesIsSeenOnce) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    WindowSettings settings;
    settings.vsync = false;
    auto window = SdlWindow::Open(settings);
    if (window == nullptr) GTEST_SKIP() << "SDL's dummy video driver is not available";
    auto devices = OpenInputDevices(*window);
    ASSERT_NE(devices, nullptr);

    InputSnapshot snap;
    devices->Sample(snap);
    EXPECT_FALSE(snap.keys[scan::Down]);

    InjectKeyTapEvents(scan::Down);
    (void)window->PumpEvents();
    devices->Sample(snap);
    EXPECT_TRUE(snap.keys[scan::Down]);
    EXPECT_FALSE(snap.keys[scan::Up]);

    devices->Sample(snap);  // nothing new: the tap is over
    EXPECT_FALSE(snap.keys[scan::Down]);
}

}  // namespace
}  // namespace brumil::platform
