// The program's device steps for the frame host: the sound module follows
// Connect and UnConnect.
#include <gtest/gtest.h>

#include "app/the_app.h"
#include "framework/maxwell.h"
#include "framework/sound.h"
#include "platform/base/clock.h"
#include "platform/base/headless_window.h"

namespace brumil::app {
namespace {

TEST(PlatformMaxwellDevices, ConnectStartsSoundInTheSettingsFormatAndUnConnectStopsIt) {
    ASSERT_TRUE(platform::HeadlessRequested());  // the null output, never a sound card
    framework::SoundStop();
    platform::ManualClock clock;
    framework::CMaxwell host(clock);
    host.Config().ddInit = false;
    host.Config().dsHz = 22050;
    host.Config().dsChannel = 1;
    host.SetDevices(PlatformMaxwellDevices());
    ASSERT_TRUE(host.Connect(std::make_unique<platform::HeadlessWindow>(), nullptr));
    ASSERT_TRUE(framework::SoundIsStarted());
    platform::PcmFormat f;
    framework::gDSPrimaryBuffer()->GetFormat(f);
    EXPECT_EQ(f.samplesPerSec, 22050u);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.bitsPerSample, 16);
    host.UnConnect();
    EXPECT_FALSE(framework::SoundIsStarted());
}

}  // namespace
}  // namespace brumil::app
