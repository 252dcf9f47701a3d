#include "app/main_menu_services.h"

#include "app/network_windows_ui.h"
#include "framework/display.h"
#include "framework/maxwell.h"
#include "framework/sound.h"
#include "framework/splib.h"
#include "frontend/application_config.h"

namespace brumil::app {

namespace {

class PlatformServices final : public MainMenuServices {
public:
    bool IsFullScreenMode() override { return framework::IsFullScreenMode(); }
    bool IsDisplayReady() override { return framework::IsDisplayReady(); }
    void SetFullScreenMode(bool fullScreen) override {
        framework::SetFullScreenMode(fullScreen);
        // The window follows the display at the frame host's next Poll.
        if (auto& host = framework::gMaxwell(); host && host->Window() != nullptr) {
            host->Window()->RequestFullScreen(framework::IsFullScreenMode());
        }
    }
    framework::CJobResis* Jobs() override {
        auto& front = frontend::gAppConfig();
        return front ? &front->Job() : nullptr;
    }
    void SetVolumeLevel(Long step) override { framework::SetVolumeLevel(step); }
    void AudioVolumeReset() override { framework::gSpLib().DirectSoundAudioVolumeReset(); }
    bool ShowChat() override { return ShowNetworkChat(); }
    // The main loop ends when the job list is empty; whatever is still on it
    // when the window goes is removed.
    void UnloadWindow() override {
        if (framework::CJobResis* jobs = Jobs()) jobs->Destroy();
    }
};

}  // namespace

MainMenuServices& PlatformMainMenuServices() {
    static PlatformServices services;
    return services;
}

}  // namespace brumil::app
