#include "shell_screen_host.h"

#include "app/key_setup.h"
#include "app/sound_effects.h"

namespace brumil::app {
namespace {

class ShellScreenHost final : public frontend::PlatformScreenHost {
public:
    void SetupKeyAssign() override { app::SetupKeyAssign(); }
    void PlayMenuSound(Long n) override {
        switch (n) {
            case 1:
                PlayMenuSound1();
                break;
            case 2:
                PlayMenuSound2();
                break;
            case 3:
                PlayMenuSound3();
                break;
            case 4:
                PlayMenuSound4();
                break;
            default:
                break;
        }
    }
    void EnableScreenMenus(bool enabled) override {
        if (menus != nullptr) menus->EnableScreenMenus(enabled);
    }

    ScreenMenuSwitch* menus = nullptr;  // not owned
};

}  // namespace

frontend::ScreenHost& PlatformScreenHostOfShell(ScreenMenuSwitch& menus) {
    static ShellScreenHost host;
    host.menus = &menus;
    return host;
}

}  // namespace brumil::app
