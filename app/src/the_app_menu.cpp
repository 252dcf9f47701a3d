// TheApp's menu, keys and closing: every way of changing the screen mode,
// the graphics preset and the volume, of opening the dialogs, and of closing
// the window ends up here, whichever surface (bar, overlay, key) asked.
#include "app/save_files.h"
#include "app/the_app.h"
#include "framework/job_list.h"
#include "frontend/job_numbers.h"

namespace brumil::app {

namespace {

// The graphics preset of device items 0 to 4 (item 4 has no menu entry).
constexpr Long kPresetOfDeviceItem[] = {11, 0, 1, 2, 3};

}  // namespace

MainMenuServices& TheApp::Services() {
    return MenuServices != nullptr ? *MenuServices : PlatformMainMenuServices();
}

void TheApp::UpdateMainMenu() {
    if (Running) MenuDirty = true;
}

void TheApp::SettingMainMenu(bool force) {
    if (!force && !MenuDirty) return;
    const bool full = Services().IsFullScreenMode();
    Menu.SetChecked(MenuControl::WindowMode, -1, !full);
    Menu.SetChecked(MenuControl::FullScreenMode, -1, full);
    const ConfigRecord& config = gConfig();
    for (Long index : {0, 1, 2, 3}) {
        Menu.SetChecked(MenuControl::DeviceChange, index,
                        config.GraphicsAutomation == kPresetOfDeviceItem[index]);
    }
    Menu.SetChecked(MenuControl::DeviceChange, 10, config.GraphicsAutomation == 10);
    for (Long k = 0; k <= 5; ++k) Menu.SetChecked(MenuControl::Volume, k, config.Volume == k);
    // The overlay draws from this same model, so both bars agree at once.
    MenuDirty = false;
}

void TheApp::MainMenu(bool show) {
    if (!Running) return;
    MainMenuServices& s = Services();
    if (show) {
        if (!s.IsFullScreenMode() || !s.IsDisplayReady() || MenuShown) return;
        MenuShown = true;
        if (!menuOverlayVisible_) {
            SettingMainMenu(true);
            menuOverlayVisible_ = true;
        }
        return;
    }
    if (!MenuShown) return;
    MenuShown = false;
    menuOverlayVisible_ = false;
}

void TheApp::MenuOverlayHidden() {
    menuOverlayVisible_ = false;
    MenuShown = false;
}

void TheApp::UnLoadTheApp() {
    if (!Running) return;
    if (Closing) {
        Services().UnloadWindow();
        return;
    }
    Closing = true;
    if (framework::CJobResis* jobs = Services().Jobs()) {
        jobs->Destroy();
        jobs->Add(frontend::kClosingJob, framework::kJobKindNormal);
    }
}

bool TheApp::QueryClose() {
    if (Running && !Closing) {
        UnLoadTheApp();
        return false;
    }
    return true;
}

void TheApp::RequestDisplayChange(std::function<void()> change) {
    pendingDisplay_.push_back(std::move(change));
}

void TheApp::ApplyDisplayChanges() {
    // A change may ask for another; that one waits for the next call.
    std::vector<std::function<void()>> changes;
    changes.swap(pendingDisplay_);
    for (auto& change : changes) change();
}

void TheApp::SwitchScreenMode(bool fullScreen) {
    MainMenuServices& s = Services();
    s.SetFullScreenMode(fullScreen);
    gConfig().ScreenMode = s.IsFullScreenMode() ? 1 : 0;
    UpdateMainMenu();
}

void TheApp::MenuClick(MenuControl control, Long index) {
    MainMenuServices& s = Services();
    framework::CJobResis* jobs = s.Jobs();
    switch (control) {
        case MenuControl::FullScreenMode:
            RequestDisplayChange([this] { SwitchScreenMode(true); });
            break;
        case MenuControl::WindowMode:
            RequestDisplayChange([this] { SwitchScreenMode(false); });
            break;
        case MenuControl::DeviceChange:
            if (index >= 0 && index <= 4) {
                // The job runs at the next poll and so sees the new preset.
                if (jobs != nullptr)
                    jobs->Add(frontend::kApplyGraphicsJob, framework::kJobKindAlways);
                gConfig().GraphicsAutomation = kPresetOfDeviceItem[index];
                UpdateMainMenu();
            } else if (index == 10) {
                // The preset changes only with the dialog's OK.
                if (jobs != nullptr)
                    jobs->Add(frontend::kGraphicsDialogJob, framework::kJobKindModal);
            }
            break;
        case MenuControl::Volume:
            if (index < 0 || index > 5) break;
            gConfig().Volume = index;
            s.SetVolumeLevel(index);
            s.AudioVolumeReset();
            UpdateMainMenu();
            break;
        case MenuControl::KeyConfig:
            if (jobs != nullptr) jobs->Add(frontend::kKeyDialogJob, framework::kJobKindModal);
            break;
        case MenuControl::NetworkSetup:
            if (jobs != nullptr) jobs->Add(frontend::kNetworkSetupJob, framework::kJobKindModal);
            break;
        case MenuControl::ChatSend:
            s.ShowChat();
            break;
        case MenuControl::BackToStart:
            // Back to the character select below the match: only the battle
            // start and the match sequence go.
            if (jobs != nullptr) {
                jobs->Remove(frontend::kBattleStartJob);
                jobs->Remove(frontend::kMatchSequenceJob);
            }
            break;
        case MenuControl::Exit:
            UnLoadTheApp();
            break;
        case MenuControl::ScreenModeBar:
        case MenuControl::SystemBar:
            break;
    }
}

void TheApp::KeyDown(WindowKey key) {
    if (!Running) return;
    if (key == WindowKey::F1) MenuClick(MenuControl::BackToStart, -1);
    if (key == WindowKey::F5) MenuClick(MenuControl::ChatSend, -1);
}

void TheApp::KeyUp(WindowKey key, bool altHeld) {
    if (key == WindowKey::Alt) {
        // On the overlay, Alt puts it away; on the picture it brings it up.
        MainMenu(!menuOverlayVisible_);
        return;
    }
    if (key == WindowKey::Enter && altHeld) {
        RequestDisplayChange([this] { SwitchScreenMode(!Services().IsFullScreenMode()); });
    }
}

}  // namespace brumil::app
