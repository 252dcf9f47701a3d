#include "shell_screen_host.h"

#include "app/key_setup.h"
#include "app/texture_search_paths.h"
#include "sound/sound_effects.h"

namespace brumil::app {
namespace {

class ShellScreenHost final : public frontend::PlatformScreenHost {
public:
    void SetupKeyAssign() override { app::SetupKeyAssign(); }
    void PlayMenuSound(Long n) override {
        switch (n) {
            case 1:
                sound::PlayMenuSound1();
                break;
            case 2:
                sound::PlayMenuSound2();
                break;
            case 3:
                sound::PlayMenuSound3();
                break;
            case 4:
                sound::PlayMenuSound4();
                break;
            default:
                break;
        }
    }
    void EnableScreenMenus(bool enabled) override {
        if (requests != nullptr) requests->EnableScreenMenus(enabled);
    }
    void UnLoadTheApp() override {
        if (requests != nullptr) requests->UnLoadTheApp();
    }
    void SetTextureSearchPaths() override { app::SetTextureSearchPaths(); }

    ShellRequests* requests = nullptr;  // not owned
};

}  // namespace

frontend::ScreenHost& PlatformScreenHostOfShell(ShellRequests& requests) {
    static ShellScreenHost host;
    host.requests = &requests;
    return host;
}

}  // namespace brumil::app
