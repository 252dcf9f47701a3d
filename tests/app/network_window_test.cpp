#include "app/network_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "net/net_globals.h"
#include "net/net_message.h"
#include "net_fake_session.h"
#include "platform/net/wire_text.h"
#include "poll_until.h"

namespace brumil::app {
namespace {

using net::testing::FakePeerSession;
using net::testing::RecordingEffects;

class NetworkWindowTest : public ::testing::Test {
protected:
    NetworkWindowTest()
        : window(state, effects, clock, config, [this] { return systemName; },
                 {"127.0.0.1", 0, [this](platform::net::SessionEvents& e, platform::Clock&) {
                      auto t = std::make_unique<FakePeerSession>(e);
                      fake = t.get();
                      return t;
                  }}) {}

    net::NetState state;
    RecordingEffects effects;
    platform::ManualClock clock{5'000'000};
    ConfigRecord config;
    std::string systemName = "tanaka";
    FakePeerSession* fake = nullptr;
    NetworkWindow window;
};

TEST_F(NetworkWindowTest, WizardPreparesTheWindow) {
    const struct {
        std::string configured;
        std::string system;
        std::string shown;
    } cases[] = {{"ゆき", "tanaka", "ゆき"}, {"", "tanaka", "tanaka"}, {"", "", ""}};
    for (const auto& c : cases) {
        config.NetworkUserName = c.configured;
        systemName = c.system;
        window.StartConnectWizard();
        EXPECT_TRUE(window.Active());
        EXPECT_EQ(window.txtUserName, c.shown);
        EXPECT_EQ(window.Caption(), "Brumil - 通信対戦のセットアップ ");
        EXPECT_EQ(window.RefreshCaption(), "検索");
        EXPECT_EQ(window.ServiceProviders(), std::vector<std::string>{"1 TCP/IP"});
        EXPECT_EQ(window.LabelHint().rfind("セッションを作成するか、", 0), 0u);
    }
}

TEST_F(NetworkWindowTest, AnEmptyNameStopsCreateSearchAndJoin) {
    window.StartConnectWizard();
    window.txtUserName.clear();
    using Click = void (NetworkWindow::*)();
    const Click clicks[] = {&NetworkWindow::CreateClicked, &NetworkWindow::RefreshClicked,
                            &NetworkWindow::JoinClicked};
    fake->sent.clear();
    for (const Click click : clicks) {
        window.DismissMessage();
        window.GameClicked(0);
        (window.*click)();
        EXPECT_TRUE(window.Active());
        EXPECT_FALSE(fake->inSession);
        EXPECT_FALSE(fake->searching);
    }
    // Join has no session selected, so only create and search ask for a name.
    window.CreateClicked();
    ASSERT_TRUE(window.Message());
    EXPECT_EQ(window.Message()->text, "名前を入力してください");
    EXPECT_EQ(window.Message()->title, "NetBrumil");
}

TEST_F(NetworkWindowTest, CreateMakesTheSessionAndStoresTheName) {
    window.StartConnectWizard();
    window.Show();
    window.txtUserName = "ゆき\r\n";
    window.CreateClicked();
    EXPECT_FALSE(window.Active());
    EXPECT_FALSE(window.Visible());
    EXPECT_TRUE(window.IsHost());
    EXPECT_EQ(window.ConnectedName(), "ゆき\r\n");
    EXPECT_EQ(window.SessionName(), "NetBrumil - ゆき\r\n");
    EXPECT_EQ(config.NetworkUserName, "ゆき");  // stored without line breaks
    EXPECT_EQ(window.NumPlayers(), 2);
    EXPECT_EQ(state.own.Id, 1);
}

TEST_F(NetworkWindowTest, SearchTogglesItsCaption) {
    window.StartConnectWizard();
    window.txtAddress = "127.0.0.1:4000";
    window.RefreshClicked();
    EXPECT_TRUE(fake->searching);
    EXPECT_EQ(fake->searchAddress, "127.0.0.1");
    EXPECT_EQ(fake->searchPort, 4000);
    EXPECT_EQ(window.RefreshCaption(), "検索中断");
    window.RefreshClicked();
    EXPECT_FALSE(fake->searching);
    EXPECT_EQ(window.RefreshCaption(), "検索");
}

TEST_F(NetworkWindowTest, JoinDisablesTheControlsUntilItEnds) {
    window.StartConnectWizard();
    window.RefreshClicked();
    platform::net::HostAnswer a;
    a.instance = 3;
    a.sessionName = "NetBrumil - はる";
    a.players = 1;
    a.maxPlayers = 2;
    a.address = "127.0.0.1";
    a.port = 4000;
    window.DPP()->HostFound(a);
    EXPECT_EQ(window.GameLines(),
              std::vector<std::string>{"NetBrumil - はる - 1/2 - Latency:0 ms"});
    EXPECT_FALSE(window.JoinEnabled());
    window.GameClicked(0);
    EXPECT_TRUE(window.JoinEnabled());
    window.JoinClicked();
    EXPECT_FALSE(window.ControlsEnabled());
    window.Poll();
    EXPECT_FALSE(window.ControlsEnabled());  // still joining
    // The outcome, in turn: a failure leaves the window open for another try.
    window.DPP()->ConnectComplete(false);
    window.Poll();
    EXPECT_TRUE(window.ControlsEnabled());
    EXPECT_TRUE(window.Active());
    window.JoinClicked();
    window.DPP()->ConnectComplete(true);
    window.Poll();
    EXPECT_FALSE(window.Active());
    EXPECT_FALSE(window.IsHost());
    EXPECT_EQ(window.ConnectedName(), "tanaka");
}

// Three sessions found, the first one found is the first to fall silent.
TEST_F(NetworkWindowTest, TheSelectionFollowsItsSessionWhenAnEarlierOneExpires) {
    const struct {
        Long chosen;
        Long after;            // the selected line once the first has gone
        std::uint16_t joined;  // the port joined, 0: no join
    } cases[] = {{0, -1, 0}, {1, 0, 4002}, {2, 1, 4003}};
    for (const auto& c : cases) {
        window.StartConnectWizard();
        window.RefreshClicked();
        for (std::uint16_t n = 1; n <= 3; ++n) {
            platform::net::HostAnswer a;
            a.instance = n;
            a.sessionName = "NetBrumil - " + std::to_string(n);
            a.maxPlayers = 2;
            a.address = "127.0.0.1";
            a.port = static_cast<std::uint16_t>(4000 + n);
            window.DPP()->HostFound(a);
            if (n == 1) clock.SleepMs(1500);
        }
        window.GameClicked(c.chosen);
        clock.SleepMs(600);
        window.Poll();
        ASSERT_EQ(window.GameLines().size(), 2u);
        EXPECT_EQ(window.SelectedGame(), c.after) << c.chosen;
        EXPECT_EQ(window.JoinEnabled(), c.after >= 0) << c.chosen;
        fake->joinPort = 0;
        window.JoinClicked();
        EXPECT_EQ(fake->joinPort, c.joined) << c.chosen;
    }
}

TEST_F(NetworkWindowTest, ANewWizardClosesTheSessionAndClearsTheRecords) {
    window.StartConnectWizard();
    window.CreateClicked();
    window.DPP()->CreatePlayer(2, "はる", false);
    EXPECT_EQ(state.peer.Name, "はる");
    window.StartConnectWizard();
    EXPECT_EQ(state.peer.Name, "");
    EXPECT_EQ(state.own.Id, 0);
    EXPECT_EQ(window.ConnectedName(), "");
    EXPECT_TRUE(window.Active());
    window.CloseClicked();
    EXPECT_FALSE(window.Active());
    EXPECT_EQ(window.DPP(), nullptr);
}

TEST(ChatWindow, SendsNonEmptyLinesAndEmptiesTheField) {
    net::testing::FakeGameSession game;
    net::BindGameSession(&game.session);
    ChatWindow chat;
    // Without a session the line is dropped and the field emptied.
    chat.Text1 = "やあ";
    chat.Send();
    EXPECT_EQ(chat.Text1, "");
    EXPECT_TRUE(game.fake->sent.empty());
    game.Host();
    const struct {
        std::string text;
        Long key;  // 0: the send button
        bool sends;
        bool visible;
    } cases[] = {
        {"", 0, false, true},  {"こんにちは", 0, true, true}, {"よろしく", 13, true, true},
        {"", 13, false, true}, {"まだ", 65, false, true},     {"まだ", 27, false, false},
    };
    for (const auto& c : cases) {
        chat.Show();
        chat.Text1 = c.text;
        game.fake->sent.clear();
        if (c.key == 0) {
            chat.Send();
        } else {
            chat.KeyDown(c.key);
        }
        ASSERT_EQ(game.fake->sent.size(), c.sends ? 1u : 0u) << c.text << c.key;
        if (c.sends) {
            const auto m = net::DecodeNetMessage(platform::net::AsBytes(game.fake->sent[0].bytes));
            ASSERT_TRUE(m);
            EXPECT_EQ(m->type, net::kChatMessage);
            EXPECT_EQ(m->text, c.text);
            EXPECT_TRUE(game.fake->sent[0].loopback);
            EXPECT_EQ(chat.Text1, "");
        } else {
            EXPECT_EQ(chat.Text1, c.text);
        }
        EXPECT_EQ(chat.Visible(), c.visible);
    }
    net::BindGameSession(nullptr);
    net::GameNet() = {};
}

TEST(NetworkWindow, TheBoxWhenTheNetworkLayerCannotStart) {
    net::NetState state;
    RecordingEffects effects;
    ConfigRecord config;
    config.NetworkUserName = "ゆき";
    NetworkWindow window(state, effects, platform::SystemClock(), config, {},
                         {"", 0, [](platform::net::SessionEvents&, platform::Clock&) {
                              return std::unique_ptr<platform::net::PeerSession>();
                          }});
    using Click = void (NetworkWindow::*)();
    const Click clicks[] = {&NetworkWindow::StartConnectWizard, &NetworkWindow::CreateClicked,
                            &NetworkWindow::RefreshClicked};
    for (const Click click : clicks) {
        window.DismissMessage();
        (window.*click)();
        ASSERT_TRUE(window.Message());
        EXPECT_EQ(window.Message()->text, "接続の初期化に失敗しました");
        EXPECT_EQ(window.Message()->title, "接続できません");
        EXPECT_TRUE(window.Active());
        EXPECT_EQ(window.RefreshCaption(), "検索");
    }
}

// A window over a real session on 127.0.0.1.
struct LoopbackSide {
    explicit LoopbackSide(std::string_view name, std::uint16_t port = 0,
                          net::NetSession::Factory factory = {})
        : window(state, effects, platform::SystemClock(), config, [] { return std::string(); },
                 {"127.0.0.1", port, std::move(factory)}) {
        config.NetworkUserName = std::string(name);
        window.StartConnectWizard();
    }
    net::NetState state;
    RecordingEffects effects;
    ConfigRecord config;
    NetworkWindow window;
};

// Polls the windows until `done` or `ms` pass.
bool PumpWindows(std::initializer_list<NetworkWindow*> windows, const std::function<bool()>& done,
                 std::uint32_t ms = 3000) {
    const auto poll = [&windows] {
        for (NetworkWindow* w : windows) w->Poll();
        platform::SystemClock().SleepMs(1);
    };
    return testing::PollUntil(poll, done, ms);
}

TEST(NetworkWindowLoopback, TheBoxWhenThePortIsTaken) {
    LoopbackSide holder("あき");
    holder.window.CreateClicked();
    ASSERT_FALSE(holder.window.Active());
    const std::uint16_t port = holder.window.DPP()->Port();
    LoopbackSide second("ふゆ", port);
    second.window.CreateClicked();
    ASSERT_TRUE(second.window.Message());
    EXPECT_EQ(second.window.Message()->title, "接続できません");
    EXPECT_EQ(second.window.Message()->text.rfind("接続の初期化に失敗しました", 0), 0u);
    EXPECT_NE(second.window.Message()->text.find(std::to_string(port)), std::string::npos);
    EXPECT_TRUE(second.window.Active());
    EXPECT_FALSE(second.window.IsHost());
}

// The address field holds a host name whose lookup is held until the test lets
// it go: the search click and the polls return while it is still held (a
// lookup on the game thread would not return before its answer), and the
// search then goes to the address found, or ends when the name does not
// resolve.
TEST(NetworkWindowLoopback, AHostNameIsLookedUpWithoutHoldingTheWindow) {
    // Bounds the wait of a lookup that is never let go (a failing run).
    static constexpr auto kHoldLimit = std::chrono::seconds(10);
    struct Lookup {
        std::mutex mutex;
        std::condition_variable letGo;
        bool released = false;
        bool answered = false;
        std::vector<std::string> asked;
    };
    const struct {
        std::string address;  // what the held lookup answers
        bool found;
    } cases[] = {{"127.0.0.1", true}, {"", false}};
    for (const auto& c : cases) {
        auto state = std::make_shared<Lookup>();
        const auto lookup = [state, answer = c.address](const std::string& name) {
            std::unique_lock lock(state->mutex);
            state->asked.push_back(name);
            state->letGo.wait_for(lock, kHoldLimit, [&] { return state->released; });
            state->answered = true;
            return answer;
        };
        LoopbackSide host("あき");
        host.window.CreateClicked();
        ASSERT_FALSE(host.window.Active());
        LoopbackSide join("ふゆ", 0,
                          [lookup](platform::net::SessionEvents& e, platform::Clock& clock) {
                              return platform::net::CreatePeerSession(e, clock, lookup);
                          });
        join.window.txtAddress = "brumil-host.test:" + std::to_string(host.window.DPP()->Port());
        join.window.RefreshClicked();
        for (int i = 0; i < 5; ++i) {
            host.window.Poll();
            join.window.Poll();
        }
        EXPECT_EQ(join.window.RefreshCaption(), "検索中断");
        {
            const std::lock_guard lock(state->mutex);
            EXPECT_FALSE(state->answered) << c.address;
            state->released = true;
        }
        state->letGo.notify_all();
        EXPECT_TRUE(PumpWindows({&host.window, &join.window}, [&] {
            return c.found ? !join.window.GameLines().empty()
                           : join.window.RefreshCaption() == "検索";
        })) << c.address;
        const std::lock_guard lock(state->mutex);
        EXPECT_EQ(state->asked, std::vector<std::string>{"brumil-host.test"}) << c.address;
    }
}

// Two windows over real sessions on 127.0.0.1: one makes a session, the other
// finds it by address and joins.
TEST(NetworkWindowLoopback, SearchFindsAndJoins) {
    LoopbackSide host("あき");
    LoopbackSide join("ふゆ");
    host.window.CreateClicked();
    ASSERT_FALSE(host.window.Active());
    join.window.txtAddress = "127.0.0.1:" + std::to_string(host.window.DPP()->Port());
    join.window.RefreshClicked();
    const auto pump = [&](const std::function<bool()>& done) {
        return PumpWindows({&host.window, &join.window}, done);
    };
    ASSERT_TRUE(pump([&] { return !join.window.GameLines().empty(); }));
    EXPECT_EQ(join.window.GameLines()[0].rfind("NetBrumil - あき - 1/2 - Latency:", 0), 0u);
    join.window.GameClicked(0);
    join.window.JoinClicked();
    ASSERT_TRUE(pump([&] { return !join.window.Active() && host.state.peer.Id != 0; }));
    EXPECT_EQ(join.window.ConnectedName(), "ふゆ");
    EXPECT_EQ(join.state.peer.Name, "あき");
    EXPECT_EQ(host.state.peer.Name, "ふゆ");
}

}  // namespace
}  // namespace brumil::app
