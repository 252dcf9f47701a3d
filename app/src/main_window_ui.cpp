// The main window joined to the frame host, the front end and, on a real
// display, the menu overlay.
#include "app/main_window_ui.h"

#include "app/overlay_font_file.h"
#include "frontend/application_config.h"
#include "net/net_globals.h"
#include "platform/ui/menu_overlay.h"
#include "shell_service_job_host.h"

namespace brumil::app {

namespace {

constexpr std::string_view kMenuFontName = "ＭＳ ゴシック";
constexpr float kMenuFontPixels = 14.0f;

WindowKey FromOverlayKey(platform::OverlayKey key) {
    switch (key) {
        case platform::OverlayKey::F1:
            return WindowKey::F1;
        case platform::OverlayKey::F5:
            return WindowKey::F5;
        case platform::OverlayKey::Alt:
            return WindowKey::Alt;
        case platform::OverlayKey::Enter:
            return WindowKey::Enter;
        case platform::OverlayKey::Other:
            return WindowKey::Other;
    }
    return WindowKey::Other;
}

// Hands the menu model to the overlay each frame and the user's actions back
// to the main window.
class OverlayAdapter final : public platform::OverlayClient {
public:
    explicit OverlayAdapter(MainWindow& app) : app_(app) {}

    platform::OverlayFrame Describe() override {
        platform::OverlayFrame f;
        for (const MenuTop& top : app_.MenuModel().Menus()) {
            platform::OverlayMenu m{top.caption, top.enabled, {}};
            for (const MenuItem& item : top.items) {
                m.items.push_back({item.caption, item.separator, item.checked, item.enabled});
            }
            f.menus.push_back(std::move(m));
        }
        f.fullScreenBarShown = app_.MenuOverlayVisible();
        f.logVisible = CPane().Visible;
        f.logText = &net::gNetLog().Text;
        return f;
    }
    void MenuItemChosen(int menu, int item) override {
        const auto& menus = app_.MenuModel().Menus();
        if (menu < 0 || std::size_t(menu) >= menus.size()) return;
        const auto& items = menus[std::size_t(menu)].items;
        if (item < 0 || std::size_t(item) >= items.size()) return;
        const MenuItem& chosen = items[std::size_t(item)];
        app_.MenuClick(chosen.control, chosen.index);
    }
    void KeyDown(platform::OverlayKey key) override { app_.KeyDown(FromOverlayKey(key)); }
    void KeyUp(platform::OverlayKey key, bool altHeld) override {
        app_.KeyUp(FromOverlayKey(key), altHeld);
    }
    void BarLostFocus() override { app_.MenuOverlayHidden(); }

private:
    MainWindow& app_;
};

class Attachment final : public MainWindowAttachment {
public:
    Attachment(MainWindow& app, framework::CMaxwell& host) : host_(host), adapter_(app) {
        host_.SetCloseQuery([&app] { return app.QueryClose(); });
        host_.SetAfterPoll([this, &app] {
            app.ApplyDisplayChanges();
            if (overlay_) overlay_->FrameDone();
        });
        PlatformServiceJobHost().window = &app;
        if (auto& front = frontend::gAppConfig()) {
            front->ServiceHost = &PlatformServiceJobHost();
            front_ = front.get();
        }
        if (platform::Window* window = host_.Window()) {
            platform::OverlayFont font;
            font.file = MenuFontFile(font.index);
            font.size = kMenuFontPixels;
            font.glyphs = app.MenuModel().AllCaptions();
            overlay_ = platform::AttachMenuOverlay(*window, font, adapter_);
            PlatformServiceJobHost().overlay = overlay_.get();
        }
        app.SettingMainMenu(true);
    }
    ~Attachment() override {
        PlatformServiceJobHost().overlay = nullptr;
        overlay_.reset();
        if (front_ != nullptr && frontend::gAppConfig().get() == front_)
            front_->ServiceHost = nullptr;
        host_.SetAfterPoll({});
        host_.SetCloseQuery({});
        PlatformServiceJobHost().window = nullptr;
    }

private:
    framework::CMaxwell& host_;
    OverlayAdapter adapter_;
    frontend::ApplicationConfig* front_ = nullptr;
    std::unique_ptr<platform::MenuOverlay> overlay_;
};

}  // namespace

std::unique_ptr<MainWindowAttachment> AttachMainWindow(MainWindow& window,
                                                       framework::CMaxwell& host) {
    return std::make_unique<Attachment>(window, host);
}

std::string MenuFontFile(int& faceIndex) {
    return OverlayFontFile(kMenuFontName, faceIndex);
}

}  // namespace brumil::app
