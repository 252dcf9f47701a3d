// The network set-up and chat views driven through a bare Dear ImGui context:
// the pointer clicks the screen on a grid and the view's reports are counted.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/ui/network_window_view.h"
#include "platform/ui/overlay_window_driver.h"

namespace brumil::platform {
namespace {

constexpr float kStep = 8.0f;
constexpr float kWidth = 900.0f;
constexpr float kHeight = 700.0f;

void ClickEverywhere(OverlayWindow& view) {
    OverlayWindowDriver driver{kWidth, kHeight};
    for (float y = 0; y < kHeight; y += kStep) {
        for (float x = 0; x < kWidth; x += kStep) {
            driver.Frame(view, x, y, true);
            driver.Frame(view, x, y, false);
        }
    }
}

class FakeNetworkClient final : public NetworkWindowClient {
public:
    NetworkWindowFrame frame;
    std::set<int> games;
    int create = 0, refresh = 0, join = 0, closeBox = 0, dismissed = 0;

    NetworkWindowFrame Describe() override { return frame; }
    void UserNameEdited(const std::string&) override {}
    void AddressEdited(const std::string&) override {}
    void CreateClicked() override { ++create; }
    void RefreshClicked() override { ++refresh; }
    void GameClicked(int i) override { games.insert(i); }
    void JoinClicked() override { ++join; }
    void CloseBoxClicked() override { ++closeBox; }
    void MessageDismissed() override { ++dismissed; }
};

NetworkWindowFrame NetworkFrame() {
    NetworkWindowFrame f;
    f.visible = true;
    f.caption = "Network";
    f.nameLabel = "name";
    f.methodLabel = "method";
    f.addressLabel = "address";
    f.userName = "yuki";
    f.providers = {"1 TCP/IP"};
    f.games = {"game a", "game b", "game c"};
    f.hint = "hint\r\nmore";
    f.create = "Create";
    f.refresh = "Search";
    f.join = "Join";
    return f;
}

TEST(NetworkWindowView, ControlsReportWhatTheFrameAllows) {
    const struct {
        const char* name;
        bool visible, controls, joinEnabled;
        bool anyClick, joinClick;
    } cases[] = {
        {"hidden", false, true, true, false, false},
        {"all enabled", true, true, true, true, true},
        {"join disabled", true, true, false, true, false},
        {"joining: controls disabled", true, false, true, false, false},
    };
    for (const auto& c : cases) {
        FakeNetworkClient client;
        client.frame = NetworkFrame();
        client.frame.visible = c.visible;
        client.frame.controlsEnabled = c.controls;
        client.frame.joinEnabled = c.joinEnabled;
        auto view = MakeNetworkWindowView(client, OverlayFont{});
        ClickEverywhere(*view);
        EXPECT_EQ(client.create > 0, c.anyClick) << c.name;
        EXPECT_EQ(client.refresh > 0, c.anyClick) << c.name;
        EXPECT_EQ(client.games == std::set<int>({0, 1, 2}), c.anyClick) << c.name;
        // Without the button a double click on a game still joins; a sweep
        // never double-clicks, so only the button counts here.
        EXPECT_EQ(client.join > 0, c.joinClick) << c.name;
        EXPECT_EQ(client.closeBox > 0, c.visible) << c.name;
    }
}

class FakeChatClient final : public ChatWindowClient {
public:
    ChatWindowFrame frame;
    std::string edited;
    int sends = 0, escapes = 0, closeBox = 0;
    ChatWindowFrame Describe() override { return frame; }
    void TextEdited(const std::string& t) override { edited = t; }
    void SendClicked() override { ++sends; }
    void EscapePressed() override { ++escapes; }
    void CloseBoxClicked() override { ++closeBox; }
};

TEST(ChatWindowView, TheButtonSendsTheLineAsShown) {
    for (const bool visible : {false, true}) {
        FakeChatClient client;
        client.frame.visible = visible;
        client.frame.caption = "Chat";
        client.frame.text = "hello";
        client.frame.send = "Send";
        auto view = MakeChatWindowView(client, OverlayFont{});
        ClickEverywhere(*view);
        EXPECT_EQ(client.sends > 0, visible);
        EXPECT_EQ(client.edited, visible ? "hello" : "");
        EXPECT_EQ(client.closeBox > 0, visible);
        EXPECT_EQ(client.escapes, 0);
    }
}

}  // namespace
}  // namespace brumil::platform
