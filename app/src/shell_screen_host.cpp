#include "shell_screen_host.h"

#include <string_view>

#include "app/key_setup.h"
#include "app/main_menu.h"
#include "app/texture_search_paths.h"
#include "app/the_app.h"
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
    // On the main window and, when it exists, on its loaded form.
    void EnableScreenMenus(bool enabled) override {
        for (TheApp* a : {gTheApp().get(), gTheAppForm().get()}) {
            if (a == nullptr) continue;
            for (std::string_view menu : {kScreenMenu, kVolumeMenu, kSystemMenu}) {
                a->Menu.SetTopEnabled(menu, enabled);
            }
        }
    }
    void UnLoadTheApp() override {
        if (TheApp* a = gTheApp().get()) a->UnLoadTheApp();
    }
    void SetTextureSearchPaths() override { app::SetTextureSearchPaths(); }
};

}  // namespace

frontend::ScreenHost& PlatformScreenHostOfShell() {
    static ShellScreenHost host;
    return host;
}

}  // namespace brumil::app
