// The frame host when the display goes away under it: it must answer closing
// at once, whatever the close query would say, and show nothing more.
#include <gtest/gtest.h>

#include "framework/display.h"
#include "framework/maxwell.h"
#include "lost_display_window.h"

namespace brumil::framework {
namespace {

class MaxwellDisplayLossTest : public ::testing::Test {
protected:
    void Connect(int lostAtPump) {
        // A real back buffer, so that every drawn frame reaches the window.
        host.Config().dsInit = false;
        host.SetDevices(MaxwellDevices{
            [](platform::Window&, const CMaxwellConfig&) { return DisplayStart({}); },
            [] { DisplayStop(); },
            nullptr,
            nullptr,
            nullptr,
        });
        auto w = std::make_unique<testing::LostDisplayWindow>(lostAtPump);
        window = w.get();
        ASSERT_TRUE(host.Connect(std::move(w), nullptr));
    }
    platform::ManualClock clock{1'000'000};
    CMaxwell host{clock};
    testing::LostDisplayWindow* window = nullptr;
};

TEST_F(MaxwellDisplayLossTest, ClosesAtOnceWithoutAskingOrShowingAnything) {
    Connect(3);
    int asked = 0;
    int afterPolls = 0;
    host.SetCloseQuery([&] {
        ++asked;
        return false;  // the game would start its closing transition
    });
    host.SetAfterPoll([&] { ++afterPolls; });
    EXPECT_EQ(host.Poll(), 0);
    EXPECT_EQ(host.Poll(), 0);
    const int shown = window->presents;
    EXPECT_GT(shown, 0);
    const std::uint64_t before = clock.NowMicros();
    EXPECT_EQ(host.Poll(), 1);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(afterPolls, 2);
    EXPECT_EQ(window->presentsAfterLoss, 0);
    // No pacing wait for a frame nobody will see.
    EXPECT_EQ(clock.NowMicros(), before);
    // Every later poll answers the same.
    EXPECT_EQ(host.Poll(), 1);
    EXPECT_EQ(window->presents, shown);
}

TEST_F(MaxwellDisplayLossTest, OverridesACloseTheQueryCancelled) {
    Connect(3);
    host.SetCloseQuery([] { return false; });
    window->closePending = true;
    EXPECT_EQ(host.Poll(), 0);  // cancelled: the game runs its own closing
    EXPECT_EQ(host.Poll(), 0);
    EXPECT_EQ(host.Poll(), 1);
}

}  // namespace
}  // namespace brumil::framework
