#include "app/network_windows_ui.h"

#include "app/config_record.h"
#include "app/overlay_font_file.h"
#include "net/net_globals.h"
#include "platform/base/user_name.h"
#include "platform/net/peer_session.h"
#include "platform/ui/network_window_view.h"
#include "shell_service_job_host.h"
#include "sound/sound_effects.h"

namespace brumil::app {

namespace {

// The network side's effects through the game's sound-effect table.
class GameEffects final : public net::EffectSink {
public:
    void PlayEffect(Long effect, Single volume, Single pan) override {
        if (auto player = sound::GetSoundEffect(effect)) player->PlaySE(volume, pan, 0.0f);
    }
};

constexpr std::string_view kNetworkFontName = "ＭＳ pゴシック";
constexpr std::string_view kChatFontName = "ＭＳ ゴシック";
// Points to pixels at the usual 96 dots per inch.
constexpr float kNetworkFontPixels = 9.0f * 96.0f / 72.0f;
constexpr float kChatFontPixels = 8.0f * 96.0f / 72.0f;

platform::OverlayFont WindowFont(std::string_view face, float pixels) {
    platform::OverlayFont font;
    font.file = OverlayFontFile(face, font.index);
    font.size = pixels;
    font.japanese = true;  // names, hints and chat
    return font;
}

// The set-up window's model described to its view; the window is made only
// when job 3 first asks for it, so until then there is nothing to show.
class NetworkAdapter final : public platform::NetworkWindowClient {
public:
    explicit NetworkAdapter(NetworkWindowsAttachment& owner) : owner_(owner) {}

    platform::NetworkWindowFrame Describe() override {
        platform::NetworkWindowFrame f;
        NetworkWindow* w = owner_.SetupWindow(false);
        if (w == nullptr || !w->Visible()) return f;
        f.visible = true;
        f.placed = w->Placed();
        f.screenX = w->PlaceX();
        f.screenY = w->PlaceY();
        f.caption = w->Caption();
        f.nameLabel = "あなたのリングネイム";
        f.methodLabel = "接続方法を選びます";
        f.addressLabel = "ホストのアドレス";
        f.userName = w->txtUserName;
        f.address = w->txtAddress;
        f.providers = w->ServiceProviders();
        f.games = w->GameLines();
        f.selectedGame = w->SelectedGame();
        f.hint = w->LabelHint();
        f.create = "作成";
        f.refresh = w->RefreshCaption();
        f.join = "参加";
        f.controlsEnabled = w->ControlsEnabled();
        f.joinEnabled = w->JoinEnabled();
        if (const auto& box = w->Message()) {
            f.messageText = box->text;
            f.messageTitle = box->title;
        }
        return f;
    }
    void UserNameEdited(const std::string& text) override {
        With([&](auto& w) { w.txtUserName = text; });
    }
    void AddressEdited(const std::string& text) override {
        With([&](auto& w) { w.txtAddress = text; });
    }
    void CreateClicked() override {
        With([](auto& w) { w.CreateClicked(); });
    }
    void RefreshClicked() override {
        With([](auto& w) { w.RefreshClicked(); });
    }
    void GameClicked(int index) override {
        With([&](auto& w) { w.GameClicked(index); });
    }
    void JoinClicked() override {
        With([](auto& w) { w.JoinClicked(); });
    }
    void CloseBoxClicked() override {
        With([](auto& w) { w.CloseClicked(); });
    }
    void MessageDismissed() override {
        With([](auto& w) { w.DismissMessage(); });
    }

private:
    template <class F>
    void With(F f) {
        if (NetworkWindow* w = owner_.SetupWindow(false)) f(*w);
    }
    NetworkWindowsAttachment& owner_;
};

class ChatAdapter final : public platform::ChatWindowClient {
public:
    explicit ChatAdapter(ChatWindow& chat) : chat_(chat) {}
    platform::ChatWindowFrame Describe() override {
        platform::ChatWindowFrame f;
        f.visible = chat_.Visible();
        f.caption = "チャット";
        f.text = chat_.Text1;
        f.send = "送信";
        return f;
    }
    void TextEdited(const std::string& text) override { chat_.Text1 = text; }
    void SendClicked() override { chat_.Send(); }
    void EscapePressed() override { chat_.KeyDown(27); }
    void CloseBoxClicked() override { chat_.Hide(); }

private:
    ChatWindow& chat_;
};

class Attachment final : public NetworkWindowsAttachment {
public:
    explicit Attachment(platform::MenuOverlay* overlay) : overlay_(overlay) {
        PlatformServiceJobHost().network = this;
        if (overlay_ == nullptr) return;
        networkView_ = platform::MakeNetworkWindowView(
            networkAdapter_, WindowFont(kNetworkFontName, kNetworkFontPixels));
        chatView_ =
            platform::MakeChatWindowView(chatAdapter_, WindowFont(kChatFontName, kChatFontPixels));
        overlay_->AddWindow(*networkView_);
        overlay_->AddWindow(*chatView_);
    }
    ~Attachment() override {
        if (overlay_ != nullptr) {
            overlay_->RemoveWindow(*chatView_);
            overlay_->RemoveWindow(*networkView_);
        }
        if (PlatformServiceJobHost().network == this) PlatformServiceJobHost().network = nullptr;
        // The session ends with the window, while the records still exist.
        setup_.reset();
    }

    NetworkWindow* SetupWindow(bool create) override {
        if (!setup_ && create) {
            NetworkWindowOptions options;
            options.port = platform::net::ConfiguredPort();
            setup_ = std::make_unique<NetworkWindow>(
                net::GameNet(), effects_, platform::SystemClock(), gConfig(),
                [] { return platform::SystemUserName(); }, std::move(options));
        }
        return setup_.get();
    }
    ChatWindow& Chat() override { return chat_; }
    void Poll() override {
        if (setup_) setup_->Poll();
    }

private:
    platform::MenuOverlay* overlay_;
    GameEffects effects_;
    std::unique_ptr<NetworkWindow> setup_;
    ChatWindow chat_;
    NetworkAdapter networkAdapter_{*this};
    ChatAdapter chatAdapter_{chat_};
    std::unique_ptr<platform::OverlayWindow> networkView_;
    std::unique_ptr<platform::OverlayWindow> chatView_;
};

}  // namespace

std::unique_ptr<NetworkWindowsAttachment> AttachNetworkWindows() {
    return std::make_unique<Attachment>(PlatformServiceJobHost().overlay);
}

bool ShowNetworkChat() {
    NetworkWindowsAttachment* n = PlatformServiceJobHost().network;
    const net::NetSession* session = net::GetDPP();
    if (n == nullptr || session == nullptr || !session->InSession()) return false;
    n->Chat().Show();
    return true;
}

void PollNetworkSession() {
    if (NetworkWindowsAttachment* n = PlatformServiceJobHost().network) n->Poll();
}

}  // namespace brumil::app
