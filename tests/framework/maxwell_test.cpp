#include "framework/maxwell.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/input_module.h"
#include "framework/splib.h"
#include "platform/base/clock.h"
#include "platform/base/headless_window.h"
#include "platform/base/input_devices.h"
#include "platform/base/scan_codes.h"

namespace brumil::framework {
namespace {

struct EventLog : ILibEvents {
    std::vector<double> timers;
    std::vector<std::string> order;
    void xLib_Timer(double d) override { timers.push_back(d); }
    void xLib_TerminateInput() override { order.push_back("input"); }
    void xLib_TerminateSound() override { order.push_back("sound"); }
    void xLib_TerminateDraw() override { order.push_back("draw"); }
};

class MaxwellTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto w = std::make_unique<platform::HeadlessWindow>();
        auto in = std::make_unique<platform::NullInputDevices>();
        window = w.get();
        devices = in.get();
        devices->PlugJoysticks(2);
        host.SetDevices(MaxwellDevices{
            [this](platform::Window&, const CMaxwellConfig& c) {
                log.order.push_back("start display " + std::to_string(c.BackBufferWidth()));
                return true;
            },
            [this] { log.order.push_back("stop display"); },
            [this] { log.order.push_back("restore"); },
            nullptr,
            nullptr,
        });
        ASSERT_TRUE(host.Connect(std::move(w), std::move(in)));
    }

    // Declared so that the host goes before the log its device steps write to.
    platform::ManualClock clock{10'000'000};
    EventLog log;
    CMaxwell host{clock};
    LibEventSubscription sub{&log};
    platform::HeadlessWindow* window = nullptr;
    platform::NullInputDevices* devices = nullptr;
};

TEST_F(MaxwellTest, ConnectEnumeratesJoysticksAndStartsTheDisplay) {
    EXPECT_EQ(GetJoystickCount(), 2);
    EXPECT_EQ(log.order, (std::vector<std::string>{"start display 640"}));
}

TEST_F(MaxwellTest, PollPacesAtSixtyStepsAndCountsFrames) {
    std::uint64_t steps = 0;
    for (int i = 0; i < 120; ++i) {
        EXPECT_EQ(host.Poll(), 0);
        EXPECT_EQ(host.GetFPSA(), 1);  // no frame work: one step per frame
        steps += std::uint64_t(host.GetFPSA());
    }
    EXPECT_EQ(steps, 120u);
    EXPECT_EQ(host.GetFPS(), 60);
    // The frames took two seconds of the clock, never less.
    EXPECT_GE(clock.NowMicros(), 10'000'000u + 2'000'000u - 16'667u);
}

TEST_F(MaxwellTest, SlowFrameGivesSixSteps) {
    host.Poll();
    clock.AdvanceMs(100);
    host.Poll();
    EXPECT_EQ(host.GetFPSA(), 6);
    clock.AdvanceMs(1000);
    host.Poll();
    EXPECT_EQ(host.GetFPSA(), 6);
}

TEST_F(MaxwellTest, TimerEventCarriesTheElapsedMilliseconds) {
    host.Poll();
    clock.AdvanceMs(40);
    host.Poll();
    clock.AdvanceMs(5000);
    host.Poll();
    ASSERT_EQ(log.timers.size(), 3u);
    // 40 ms of frame work plus the pacing sleep of the previous frame.
    EXPECT_GE(log.timers[1], 40.0);
    EXPECT_LE(log.timers[1], 60.0);
    EXPECT_EQ(log.timers[2], 1000.0);  // capped
}

TEST_F(MaxwellTest, CloseRequestAnswersNonZero) {
    EXPECT_EQ(host.Poll(), 0);
    window->InjectClose();
    EXPECT_NE(host.Poll(), 0);
    EXPECT_NE(host.Poll(), 0);  // stays closing
}

TEST_F(MaxwellTest, InputStepRunsInPollAndInputRun) {
    devices->SetKey(platform::scan::Escape, true);
    host.Poll();
    EXPECT_EQ(gInputState().Escape, 1);
    host.InputRun();
    EXPECT_EQ(gInputState().Escape, 2);
    EXPECT_EQ(WaitInputCode(-1), 0);
}

TEST_F(MaxwellTest, FullScreenRequestAppliedByPoll) {
    window->RequestFullScreen(true);
    EXPECT_FALSE(window->IsFullScreen());
    host.Poll();
    EXPECT_TRUE(window->IsFullScreen());
}

TEST_F(MaxwellTest, PaintRectIsEmptiedEachFrame) {
    host.RePaintRect(core::CRect(10, 10, 20, 20));
    host.RePaintRect(core::CRect(100, 50, 10, 10));
    EXPECT_EQ(host.Config().PaintRect, core::CRect(10, 10, 100, 50));
    host.Poll();
    EXPECT_TRUE(host.Config().PaintRect.IsZero());
}

TEST_F(MaxwellTest, RestoreDDSDelegatesToTheDisplay) {
    host.RestoreDDS();
    EXPECT_EQ(log.order.back(), "restore");
}

TEST_F(MaxwellTest, UnConnectRaisesTerminateEventsThenReleases) {
    host.UnConnect();
    EXPECT_EQ(log.order, (std::vector<std::string>{"start display 640", "input", "sound", "draw",
                                                   "stop display"}));
    EXPECT_FALSE(host.IsConnected());
    EXPECT_EQ(GetJoystickCount(), 0);
    EXPECT_NE(host.Poll(), 0);
    host.UnConnect();  // twice is harmless
    EXPECT_EQ(log.order.size(), 5u);
}

TEST(MaxwellKeyRepeat, Table) {
    struct Case {
        Long count, delay, interval;
        bool frame120, expected;
    };
    const std::vector<Case> table = {
        {1, 24, 6, false, true},  {2, 24, 6, false, false},  {23, 24, 6, false, false},
        {24, 24, 6, false, true}, {25, 24, 6, false, false}, {30, 24, 6, false, true},
        {36, 24, 6, false, true}, {0, 24, 6, false, false},  {-5, 24, 6, false, false},
        {24, 24, 6, true, false}, {48, 24, 6, true, true},   {60, 24, 6, true, true},
        {54, 24, 6, true, false}, {1, 24, 6, true, true},    {30, 24, 0, false, false},
        {0, 0, 0, false, false},  {5, 3, -2, false, false},
    };
    platform::ManualClock clock;
    CMaxwell host(clock);
    for (const Case& c : table) {
        host.Config().Frame60To120 = c.frame120;
        EXPECT_EQ(host.KeyRepeat(c.count, c.delay, c.interval), c.expected)
            << c.count << " " << c.delay << " " << c.interval << " " << c.frame120;
    }
}

TEST(MaxwellKeyRepeat, HeldForFortyStepsMovesAtOne24And30And36) {
    platform::ManualClock clock;
    CMaxwell host(clock);
    std::vector<Long> fired;
    for (Long step = 1; step <= 40; ++step) {
        if (host.KeyRepeat(step, 24, 6)) fired.push_back(step);
    }
    EXPECT_EQ(fired, (std::vector<Long>{1, 24, 30, 36}));
}

TEST(MaxwellConfig, AddDDrawAndBackBufferSize) {
    CMaxwellConfig c;
    EXPECT_EQ(c.BackBufferWidth(), 640);
    c.AddDDraw(640, 480, true, true, true, false, false, false, true, false, true, false);
    EXPECT_TRUE(c.ddFullScreen);
    EXPECT_EQ(c.BackBufferWidth(), 320);
    EXPECT_EQ(c.BackBufferHeight(), 240);
    c.ddHalfSize = false;
    c.ddHighQuality = true;
    EXPECT_EQ(c.BackBufferWidth(), 1024);
    EXPECT_EQ(c.BackBufferHeight(), 768);
}

TEST(MaxwellUnconnected, PollAnswersClosing) {
    platform::ManualClock clock;
    CMaxwell host(clock);
    EXPECT_NE(host.Poll(), 0);
    EXPECT_FALSE(host.Connect(nullptr, nullptr));
}

}  // namespace
}  // namespace brumil::framework
