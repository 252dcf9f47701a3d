#pragma once
// The session set-up window (frmNetwork): a player makes a two-player session
// or searches for one and joins it. The window holds the session for the rest
// of the run and binds it as the game's session (net::GetDPP), so every
// sender uses it; its events feed the records and the log it was given.
//
// This is the window's model: its controls' contents and what their clicks
// do. A view draws it (platform/ui) and reports the clicks; nothing here waits
// — a join runs on while Poll watches for its outcome, with the controls
// disabled.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/config_record.h"
#include "frontend/network_jobs.h"
#include "net/net_session.h"
#include "platform/base/clock.h"

namespace brumil::app {

inline constexpr std::string_view kNetworkCaption = "Brumil - 通信対戦のセットアップ ";
inline constexpr std::string_view kSearchCaption = "検索";
inline constexpr std::string_view kStopSearchCaption = "検索中断";
inline constexpr std::string_view kServiceProvider = "1 TCP/IP";

struct NetworkWindowOptions {
    std::string bindAddress;           // where a made session listens; empty for every address
    std::uint16_t port = 0;            // the session port; 0 picks a free one
    net::NetSession::Factory factory;  // the transport (ENet when empty)
};

struct NetworkMessageBox {
    std::string text;
    std::string title;
};

class NetworkWindow final : public frontend::NetworkDialog {
public:
    // `userName` answers the system's user name (for an empty configured
    // name). The state, sink, clock and config outlive the window.
    NetworkWindow(net::NetState& state, net::EffectSink& effects, platform::Clock& clock,
                  ConfigRecord& config, std::function<std::string()> userName,
                  NetworkWindowOptions options);
    ~NetworkWindow() override;
    NetworkWindow(const NetworkWindow&) = delete;
    NetworkWindow& operator=(const NetworkWindow&) = delete;

    // frontend::NetworkDialog.
    void StartConnectWizard() override;
    bool Active() const override { return Active_; }
    std::string ConnectedName() const override { return ConnectedName_; }
    void Place(Long x, Long y) override;
    void Show() override { visible_ = true; }

    // Once per logic step, before the jobs: runs the session and settles a
    // join that has ended.
    void Poll();

    // Clicks.
    void CreateClicked();
    void RefreshClicked();
    void GameClicked(Long index);  // a single click selects, enabling join
    void JoinClicked();
    void CloseClicked();  // the window's close box: the session ends
    void DismissMessage() { message_.reset(); }

    // Controls.
    std::string txtUserName;
    std::string txtAddress;  // the host's address for the search; empty for the LAN
    std::string Caption() const { return std::string(kNetworkCaption) + captionSuffix_; }
    const std::string& LabelHint() const { return labelHint_; }
    std::vector<std::string> ServiceProviders() const;
    std::vector<std::string> GameLines() const;
    std::string RefreshCaption() const;
    Long SelectedGame() const { return selectedGame_; }
    bool ControlsEnabled() const { return !joining_; }
    bool JoinEnabled() const { return !joining_ && selectedGame_ >= 0; }
    bool Visible() const { return visible_; }
    bool Placed() const { return placed_; }
    Long PlaceX() const { return placeX_; }
    Long PlaceY() const { return placeY_; }
    const std::optional<NetworkMessageBox>& Message() const { return message_; }

    // Read-only properties.
    bool IsHost() const override { return IsHost_; }
    const std::string& SessionName() const { return SessionName_; }
    const std::string& UserName() const { return UserName_; }
    Long NumPlayers() const { return NumPlayers_; }
    net::NetSession* DPP() { return DPP_.get(); }

private:
    void InitDPlay();
    void CleanupDPlay();
    bool CheckUserName();
    void Box(std::string_view text, std::string_view title);

    net::NetState& state_;
    net::EffectSink& effects_;
    platform::Clock& clock_;
    ConfigRecord& config_;
    std::function<std::string()> systemUserName_;
    NetworkWindowOptions options_;

    std::string ConnectedName_;
    bool Active_ = false;
    std::unique_ptr<net::NetSession> DPP_;
    std::string UserName_;
    Long Searching_ = 0;
    std::string SessionName_;
    Long MaxPlayers_ = 0;
    Long NumPlayers_ = 0;
    bool IsHost_ = false;

    std::string captionSuffix_;
    std::string labelHint_;
    Long selectedGame_ = -1;
    bool joining_ = false;
    bool visible_ = false;
    bool placed_ = false;
    Long placeX_ = 0;
    Long placeY_ = 0;
    std::optional<NetworkMessageBox> message_;
};

// The chat window (frmChat): one line typed and sent to the session as a
// chat message; the line comes back through the log like the peer's.
class ChatWindow {
public:
    std::string Text1;

    // Sends a non-empty line through the game's session (dropped silently
    // without one) and empties the field.
    void Send();
    // Enter sends, Escape hides.
    void KeyDown(Long keyCode);
    void Show() { visible_ = true; }
    void Hide() { visible_ = false; }
    bool Visible() const { return visible_; }

private:
    bool visible_ = false;
};

}  // namespace brumil::app
