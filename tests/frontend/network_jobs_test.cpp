#include "frontend/network_jobs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/vkey.h"
#include "frontend/application_config.h"
#include "frontend/quadefects.h"
#include "frontend/service_jobs.h"
#include "net/net_globals.h"
#include "net/net_message.h"
#include "net_fake_session.h"
#include "platform/net/wire_text.h"

namespace brumil::frontend {
namespace {

class FakeNetworkDialog final : public NetworkDialog {
public:
    void StartConnectWizard() override {
        calls.push_back("Wizard");
        active = true;
    }
    bool Active() const override { return active; }
    std::string ConnectedName() const override { return connected; }
    void Place(Long x, Long y) override {
        calls.push_back("Place " + std::to_string(x) + "," + std::to_string(y));
    }
    void Show() override { calls.push_back("Show"); }

    std::vector<std::string> calls;
    bool active = false;
    std::string connected;
};

// Only what jobs 3 and 4 use answers anything.
class NetHost final : public ServiceJobHost {
public:
    bool MenuInUse() override { return false; }
    void UpdateMainMenu() override {}
    void SettingMainMenu(bool) override {}
    void MainMenu(bool) override {}
    void UnLoadTheApp() override {}
    void EnableScreenAndSystemMenus(bool enabled) override { menusEnabled.push_back(enabled); }
    void PictureOrigin(Long& x, Long& y) override {
        x = 30;
        y = 40;
    }
    void RestoreMaximisedWindow() override {}
    bool IsFullScreenMode() override { return fullScreen; }
    bool IsHalfSizeMode() override { return false; }
    void SetFullScreenMode(bool f) override {
        modeSwitches.push_back(f);
        fullScreen = f;
    }
    Long GetRenderLevel() override { return 0; }
    void ApplyDisplay(const GraphicsApply&) override {}
    void RestoreDDS() override {}
    Long GetTextureLimit() override { return 0; }
    void VideoMemoryCash() override {}
    bool MouseMoved() override { return false; }
    Long MouseScreenY() override { return 0; }
    void SetupKeyboardMouse() override {}
    SettingsDialog* Dialog(Long) override { return nullptr; }
    GraphicsSettings Graphics() override { return {}; }
    bool PaintDisable() override { return paintDisable; }
    void FadeOutSound(Long) override {}
    void SetTextureSearchPaths() override {}
    void SetFramePacing(Long, Long) override {}
    void CaptureScreen() override {}
    void RePaint() override {}
    std::unique_ptr<CQuadefects> MakeQuad(core::MathRandom& r) override {
        return std::make_unique<CQuadefects>(r);
    }
    void DrawQuadFrame(CQuadefects&) override {}
    platform::Millis NowMs() override { return 0; }
    core::MathRandom& LooksRandom() override { return random; }

    NetworkDialog* NetworkSetup(bool create) override {
        if (create) made = true;
        return made ? &dialog : nullptr;
    }
    void ShowLogPanel(bool show) override {
        logShown = show;
        logCalls.push_back(show);
    }
    bool LogPanelShown() override { return logShown; }
    void ShowMainWindow() override { ++mainWindowShows; }

    FakeNetworkDialog dialog;
    bool made = false;
    bool fullScreen = false;
    bool paintDisable = false;
    bool logShown = false;
    std::vector<bool> logCalls;
    std::vector<bool> menusEnabled;
    std::vector<bool> modeSwitches;
    int mainWindowShows = 0;
    core::MathRandom random{1};
};

class NetworkJobsTest : public ::testing::Test {
protected:
    NetworkJobsTest() {
        app_.ServiceHost = &host_;
        net::GameNet() = {};
        framework::VKey()[0] = {};
        net::BindGameSession(&session_.session);
        session_.Host();
    }
    ~NetworkJobsTest() override {
        net::BindGameSession(nullptr);
        net::GameNet() = {};
        framework::VKey()[0] = {};
    }
    void Step() { app_.Job().Poll(); }
    bool Linked(Long job) const { return app_.Jobs.Test(ApplicationConfig::Key(job)); }
    // Sets up job 4 with a session, as a successful set-up leaves it.
    void StartLink() {
        host_.made = true;
        app_.Job().Add(ApplicationConfig::Key(kNetworkLinkJob), 2);
        Step();
        session_.fake->sent.clear();
    }
    std::vector<std::vector<Long>> SentInputs() const {
        std::vector<std::vector<Long>> out;
        for (const auto& m : session_.fake->sent) {
            const auto d = net::DecodeNetMessage(platform::net::AsBytes(m.bytes));
            if (d && d->type == net::kInputMessage) {
                out.push_back(
                    {d->values[0], d->values[1], d->values[2], d->values[3], d->values[4]});
            }
        }
        return out;
    }

    NetHost host_;
    ApplicationConfig app_;
    net::testing::FakeGameSession session_;
};

TEST_F(NetworkJobsTest, SetupOpensTheWindowAndStartsTheLinkOnASession) {
    host_.fullScreen = true;
    app_.Job().Add(ApplicationConfig::Key(kNetworkSetupJob), 1);
    Step();  // begin and first step
    EXPECT_EQ(host_.modeSwitches, std::vector<bool>{false});
    EXPECT_EQ(host_.menusEnabled, std::vector<bool>{false});
    EXPECT_EQ(host_.dialog.calls, (std::vector<std::string>{"Place 30,40", "Wizard", "Show"}));
    for (int i = 0; i < 5; ++i) Step();
    EXPECT_TRUE(Linked(kNetworkSetupJob));
    host_.dialog.connected = "ゆき";
    host_.dialog.active = false;
    Step();
    Step();
    EXPECT_FALSE(Linked(kNetworkSetupJob));
    EXPECT_TRUE(Linked(kNetworkLinkJob));
    EXPECT_EQ(host_.modeSwitches, (std::vector<bool>{false, true}));
    EXPECT_EQ(host_.menusEnabled, (std::vector<bool>{false, true}));
}

TEST_F(NetworkJobsTest, SetupClosedWithoutASessionRemovesTheLink) {
    StartLink();
    ASSERT_TRUE(Linked(kNetworkLinkJob));
    app_.Job().Add(ApplicationConfig::Key(kNetworkSetupJob), 1);
    Step();
    host_.dialog.active = false;  // closed, no session
    Step();
    Step();
    EXPECT_FALSE(Linked(kNetworkSetupJob));
    EXPECT_FALSE(Linked(kNetworkLinkJob));
    EXPECT_EQ(host_.mainWindowShows, 1);
    EXPECT_TRUE(host_.modeSwitches.empty());
}

TEST_F(NetworkJobsTest, LinkSendsOnlyOnChangeAndOnlyInDrawnSteps) {
    StartLink();
    // Each row is one logic step: drawn or not, the first player's keys, and
    // whether an input message goes out (with its frame and bits).
    const struct {
        bool paintDisable;
        Long y;
        Long button1;
        bool sends;
        Long frame;
        Long bits;
    } rows[] = {
        {false, 0, 0, false, 0, 0},    // nothing held: nothing to say
        {false, -1, 0, true, 3, 0x1},  // up goes down
        {false, -1, 0, false, 0, 0},   // held: silent
        {true, 1, 5, false, 0, 0},     // changed in an extra step
        {false, 1, 5, true, 6, 0x12},  // sent with the next drawn step
        {true, 0, 0, false, 0, 0},     // released in an extra step ...
        {true, -1, 0, false, 0, 0},    // ... and pressed again: never drawn
        {false, 0, 0, true, 9, 0x0},   // the release is sent
        {false, 0, 0, false, 0, 0},
    };
    std::vector<std::vector<Long>> want;
    for (const auto& r : rows) {
        host_.paintDisable = r.paintDisable;
        framework::VKey()[0][framework::kVKeyY] = r.y;
        framework::VKey()[0][framework::kVKeyButton1] = r.button1;
        Step();
        if (r.sends) want.push_back({r.frame, r.bits, 0, 0, 0});
        EXPECT_EQ(SentInputs(), want) << "frame " << net::gNetOwn().Frame;
    }
    EXPECT_EQ(net::gNetOwn().Frame, 10);
    // A moved position is sent even with unchanged keys.
    net::gNetOwn().X = 0x100;
    Step();
    ASSERT_EQ(SentInputs().size(), want.size() + 1);
    EXPECT_EQ(SentInputs().back(), (std::vector<Long>{11, 0, 0x100, 0, 0}));
}

TEST_F(NetworkJobsTest, LinkClearsTheRecordsWhenItBegins) {
    net::gNetOwn().Frame = 77;
    net::gNetPeer().KeyBits = 0x3;
    net::gNetPeer().Pending = true;
    net::gNetPeer().Name = "はる";
    StartLink();
    EXPECT_EQ(net::gNetOwn().Frame, 1);  // cleared, then the first step
    EXPECT_EQ(net::gNetPeer().KeyBits, 0);
    EXPECT_FALSE(net::gNetPeer().Pending);
    EXPECT_EQ(net::gNetPeer().Name, "はる");
    EXPECT_EQ(host_.logCalls.front(), true);
}

TEST_F(NetworkJobsTest, LogPanelDuringABattleShowsForAWhileAfterEachLine) {
    StartLink();
    net::gNetLog().Timer = 0;  // the session's own line is long past
    // A battle stands in as a job that does nothing.
    app_.SetJobProcedure(kBattleStartJob, [](ApplicationConfig&, Long, Long, Long) {});
    app_.Job().Add(ApplicationConfig::Key(kBattleStartJob), 2);
    Step();
    EXPECT_FALSE(host_.logShown);  // a battle and no fresh line: hidden
    net::AddNetworkLogLine("<はる> がんばって");
    Step();
    EXPECT_TRUE(host_.logShown);
    for (Long i = 1; i < net::kNetLogShowSteps; ++i) Step();
    EXPECT_TRUE(host_.logShown);
    Step();
    EXPECT_FALSE(host_.logShown);
    EXPECT_EQ(net::gNetLog().Timer, 0);
    // The battle ends: the panel comes back.
    app_.Job().Remove(ApplicationConfig::Key(kBattleStartJob));
    Step();
    Step();
    EXPECT_TRUE(host_.logShown);
}

TEST_F(NetworkJobsTest, LinkEndsWithoutTheWindow) {
    StartLink();
    host_.made = false;
    Step();
    Step();
    EXPECT_FALSE(Linked(kNetworkLinkJob));
    EXPECT_FALSE(host_.logShown);
}

}  // namespace
}  // namespace brumil::frontend
