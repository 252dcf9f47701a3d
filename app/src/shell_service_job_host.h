#pragma once
// The shell's side of the front end's service jobs: the main window, the
// display, input and the closing transition's devices.

#include <array>
#include <memory>

#include "app/graphics_preset.h"
#include "app/main_window.h"
#include "app/network_windows_ui.h"
#include "app/save_files.h"
#include "app/service_job_host.h"
#include "app/texture_search_paths.h"
#include "core/api.h"
#include "framework/display.h"
#include "framework/input_module.h"
#include "framework/input_state.h"
#include "framework/maxwell.h"
#include "framework/splib.h"
#include "frontend/quadefects.h"
#include "main_window_form.h"
#include "platform/base/clock.h"
#include "platform/ui/menu_overlay.h"

namespace brumil::app {

class ShellServiceJobHost final : public frontend::ServiceJobHost {
public:
    std::array<frontend::SettingsDialog*, 2> dialogs{};
    platform::MenuOverlay* overlay = nullptr;     // set while a display shows the menu
    MainWindow* window = nullptr;                 // set while the main window is attached
    NetworkWindowsAttachment* network = nullptr;  // set while the network windows exist

    void UpdateMainMenu() override {
        if (MainWindow* a = App()) a->UpdateMainMenu();
    }
    void SettingMainMenu(bool force) override {
        if (MainWindow* a = App()) a->SettingMainMenu(force);
    }
    void MainMenu(bool show) override {
        if (MainWindow* a = App()) a->MainMenu(show);
    }
    void UnLoadTheApp() override {
        if (MainWindow* a = App()) a->UnLoadTheApp();
    }
    bool MenuInUse() override { return overlay != nullptr && overlay->MenuInUse(); }
    void EnableScreenAndSystemMenus(bool enabled) override {
        if (MainWindow* a = App()) {
            a->MenuModel().SetTopEnabled(kScreenMenu, enabled);
            a->MenuModel().SetTopEnabled(kSystemMenu, enabled);
        }
    }
    void PictureOrigin(Long& x, Long& y) override {
        // The main window's client origin on the screen.
        const MainWindowForm form(overlay);
        x = 0;
        y = 0;
        core::gApi().FormOnPosition(form, x, y);
    }
    void RestoreMaximisedWindow() override {
        // Window managers maximise and minimise the window on their own.
        if (auto& host = framework::gMaxwell(); host && host->Window() != nullptr) {
            host->Window()->RestoreNormalSize();
        }
    }

    bool IsFullScreenMode() override { return framework::IsFullScreenMode(); }
    bool IsHalfSizeMode() override { return framework::IsHalfSizeMode(); }
    void SetFullScreenMode(bool fullScreen) override {
        framework::SetFullScreenMode(fullScreen);
        FollowDisplay();
    }
    Long GetRenderLevel() override { return framework::GetRenderLevel(); }
    void ApplyDisplay(const frontend::GraphicsApply& apply) override {
        auto& list = framework::gPixelBitsList();
        if (list.empty()) list.push_back(apply.firstDepth);
        list[0] = apply.firstDepth;
        if (apply.setsPacing) {
            if (auto& host = framework::gMaxwell()) {
                host->Config().WaitVsinkSP = apply.waitVsinkSP;
                host->Config().PaintManual = apply.paintManual;
            }
        }
        framework::DirectDrawApplySettings(apply.change);
        FollowDisplay();
    }
    void RestoreDDS() override {
        if (auto& host = framework::gMaxwell()) host->RestoreDDS();
    }
    Long GetTextureLimit() override { return framework::GetTextureLimit(); }
    void VideoMemoryCash() override { framework::gSpLib().DirectDrawVideoMemoryCash(); }

    bool MouseMoved() override { return framework::gInputState().MouseMoved; }
    Long MouseScreenY() override { return framework::gInputState().MouseScreenY; }
    void SetupKeyboardMouse() override { framework::DirectInputSetupKeyboardMouse(); }

    frontend::SettingsDialog* Dialog(Long job) override {
        if (job == frontend::kKeyDialogJob) return dialogs[0];
        if (job == frontend::kGraphicsDialogJob) return dialogs[1];
        return nullptr;
    }
    frontend::GraphicsSettings Graphics() override { return GraphicsSettingsOf(gConfig()); }

    bool PaintDisable() override {
        auto& host = framework::gMaxwell();
        return host && host->Config().PaintDisable;
    }
    void FadeOutSound(Long ms) override { framework::gSpLib().DirectSoundAudioVolumeFadeout(ms); }
    void SetTextureSearchPaths() override { app::SetTextureSearchPaths(); }
    void SetFramePacing(Long sleepSaver, Long sleepFrame) override {
        if (auto& host = framework::gMaxwell()) {
            host->Config().SleepSaver = sleepSaver;
            host->Config().SleepFrame = sleepFrame;
        }
    }
    void CaptureScreen() override { framework::GetWorkDDS(2); }
    void RePaint() override {
        if (auto& host = framework::gMaxwell()) host->RePaint();
    }
    std::unique_ptr<frontend::CQuadefects> MakeQuad(core::MathRandom& random) override {
        return std::make_unique<frontend::CQuadefects>(random);
    }
    void DrawQuadFrame(frontend::CQuadefects& quad) override { quad.DoCompose(); }
    platform::Millis NowMs() override { return platform::SystemClock().NowMs(); }
    core::MathRandom& LooksRandom() override { return random_; }

    frontend::NetworkDialog* NetworkSetup(bool create) override {
        return network != nullptr ? network->SetupWindow(create) : nullptr;
    }
    void ShowLogPanel(bool show) override { CPane().Visible = show; }
    bool LogPanelShown() override { return CPane().Visible; }
    // The main window stays on show under the set-up window.
    void ShowMainWindow() override {}

private:
    MainWindow* App() const { return window; }
    // The window follows the display's mode at the frame host's next Poll.
    static void FollowDisplay() {
        if (auto& host = framework::gMaxwell(); host && host->Window() != nullptr) {
            host->Window()->RequestFullScreen(framework::IsFullScreenMode());
        }
    }

    core::MathRandom random_{platform::SystemClock().NowMicros()};
};

}  // namespace brumil::app
