#include "app/network_window.h"

#include "net/net_globals.h"
#include "net/net_message.h"

namespace brumil::app {

namespace {

constexpr std::string_view kHint =
    "セッションを作成するか、セッションを検索してください。\r\n\r\n"
    "セッションの検索にはセッションを作成したコンピュータのアドレスが必要になります。"
    "セッションを作成したプレイヤーは対戦相手にアドレスを通知してください。\r\n\r\n"
    "同一のLAN内であればアドレスを指定せずに検索することができます。\r\n";

constexpr std::string_view kCannotConnect = "接続できません";
constexpr std::string_view kInitFailed = "接続の初期化に失敗しました";

}  // namespace

NetworkWindow::NetworkWindow(net::NetState& state, net::EffectSink& effects, platform::Clock& clock,
                             ConfigRecord& config, std::function<std::string()> userName,
                             NetworkWindowOptions options)
    : state_(state),
      effects_(effects),
      clock_(clock),
      config_(config),
      systemUserName_(std::move(userName)),
      options_(std::move(options)) {}

NetworkWindow::~NetworkWindow() {
    CleanupDPlay();
}

void NetworkWindow::InitDPlay() {
    DPP_ = std::make_unique<net::NetSession>(state_, effects_, clock_, options_.factory);
    // Only the window over the game's own records serves the game's senders.
    if (&state_ == &net::GameNet()) net::BindGameSession(DPP_.get());
}

void NetworkWindow::CleanupDPlay() {
    if (!DPP_) return;
    if (net::GetDPP() == DPP_.get()) net::BindGameSession(nullptr);
    DPP_->Close();
    DPP_.reset();
    ConnectedName_.clear();
    Active_ = false;
    captionSuffix_.clear();
    selectedGame_ = -1;
    joining_ = false;
}

void NetworkWindow::StartConnectWizard() {
    CleanupDPlay();
    Searching_ = 0;
    InitDPlay();
    MaxPlayers_ = 2;
    captionSuffix_.clear();
    Active_ = true;
    labelHint_ = std::string(kHint);
    UserName_ = config_.NetworkUserName.empty() && systemUserName_ ? systemUserName_()
                                                                   : config_.NetworkUserName;
    txtUserName = UserName_;
    message_.reset();
    // The window stays open so that the player reads why and closes it.
    if (!DPP_->NetworkStarted()) Box(kInitFailed, kCannotConnect);
}

void NetworkWindow::Place(Long x, Long y) {
    placed_ = true;
    placeX_ = x;
    placeY_ = y;
}

void NetworkWindow::Box(std::string_view text, std::string_view title) {
    message_ = NetworkMessageBox{std::string(text), std::string(title)};
}

bool NetworkWindow::CheckUserName() {
    if (txtUserName.empty()) {
        Box("名前を入力してください", "NetBrumil");
        return false;
    }
    UserName_ = txtUserName;
    SetNetworkUserName(config_, UserName_);
    return true;
}

void NetworkWindow::CreateClicked() {
    if (!DPP_ || joining_ || !CheckUserName()) return;
    SessionName_ = std::string(net::kSessionNamePrefix) + UserName_;
    IsHost_ = true;
    captionSuffix_ = "セッションを作成しています...";
    NumPlayers_ = MaxPlayers_;
    if (DPP_->Host(UserName_, options_.bindAddress, options_.port)) {
        Searching_ = 0;
        ConnectedName_ = UserName_;
        Active_ = false;
        visible_ = false;
        return;
    }
    if (!DPP_->NetworkStarted()) {
        Box(kInitFailed, kCannotConnect);
    } else if (DPP_->LastHostFailure() == platform::net::HostFailure::PortUnavailable) {
        Box(std::string(kInitFailed) + "\r\n\r\nUDPポート " + std::to_string(options_.port) +
                " を開けません。ほかのプログラムが使用しているかもしれません。",
            kCannotConnect);
    } else {
        Box("作成に失敗しました。", "失敗");
    }
    captionSuffix_.clear();
    IsHost_ = false;
}

void NetworkWindow::RefreshClicked() {
    if (!DPP_ || joining_ || !CheckUserName()) return;
    if (Searching_ == 0) {
        if (!DPP_->StartSearch(txtAddress)) {
            Box(kInitFailed, kCannotConnect);
            return;
        }
        Searching_ = 1;
    } else {
        DPP_->StopSearch();
        Searching_ = 0;
    }
}

std::string NetworkWindow::RefreshCaption() const {
    return std::string(Searching_ == 0 ? kSearchCaption : kStopSearchCaption);
}

std::vector<std::string> NetworkWindow::ServiceProviders() const {
    return {std::string(kServiceProvider)};
}

std::vector<std::string> NetworkWindow::GameLines() const {
    std::vector<std::string> lines;
    if (!DPP_) return lines;
    for (const net::HostEntry& e : DPP_->Hosts().Entries())
        lines.push_back(net::HostLine(e.answer));
    return lines;
}

void NetworkWindow::GameClicked(Long index) {
    if (!DPP_ || joining_) return;
    const Long count = static_cast<Long>(DPP_->Hosts().Entries().size());
    selectedGame_ = index >= 0 && index < count ? index : -1;
}

void NetworkWindow::JoinClicked() {
    if (!DPP_ || joining_ || selectedGame_ < 0 || !CheckUserName()) return;
    const auto& entries = DPP_->Hosts().Entries();
    if (selectedGame_ >= static_cast<Long>(entries.size())) return;
    const platform::net::HostAnswer host = entries[static_cast<std::size_t>(selectedGame_)].answer;
    NumPlayers_ = static_cast<Long>(host.maxPlayers);
    joining_ = DPP_->Join(UserName_, host.address, host.port);
    if (!joining_) DPP_->Hosts().SetStopped(false);
}

void NetworkWindow::Poll() {
    if (!DPP_) return;
    // Expired entries leave the list and the later ones move up: the selection
    // follows its own session and goes with it.
    const auto& entries = DPP_->Hosts().Entries();
    const bool chosen = selectedGame_ >= 0 && selectedGame_ < static_cast<Long>(entries.size());
    const std::uint32_t instance =
        chosen ? entries[static_cast<std::size_t>(selectedGame_)].answer.instance : 0;
    DPP_->Poll();
    selectedGame_ = chosen ? DPP_->Hosts().IndexOf(instance) : -1;
    // A search for a host name that does not resolve ends by itself.
    if (Searching_ == 1 && !DPP_->Searching()) Searching_ = 0;
    if (!joining_) return;
    switch (DPP_->JoinStatus()) {
        case net::JoinState::Joined:
            joining_ = false;
            Searching_ = 0;
            ConnectedName_ = UserName_;
            Active_ = false;
            visible_ = false;
            IsHost_ = false;
            break;
        case net::JoinState::Failed:
            // The window stays open for another try.
            joining_ = false;
            DPP_->Hosts().SetStopped(false);
            break;
        default:
            break;
    }
}

void NetworkWindow::CloseClicked() {
    captionSuffix_ = "終了しています...";
    CleanupDPlay();
    visible_ = false;
}

void ChatWindow::Send() {
    if (Text1.empty()) return;
    const std::string_view texts[] = {Text1};
    net::SendTextMessage(net::kChatMessage, texts);
    Text1.clear();
}

void ChatWindow::KeyDown(Long keyCode) {
    if (keyCode == 13) Send();
    if (keyCode == 27) Hide();
}

}  // namespace brumil::app
