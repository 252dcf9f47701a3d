// Main: the program's entry, from the framework's start-up checks to the
// release of the last global object.
#include "app/the_app.h"
#include "battle/mod_sumpa.h"
#include "core/api.h"
#include "framework/splib.h"
#include "render/admin_lib.h"

namespace brumil::app {

int Main(const AppServices& services) {
    // A failed check has shown its box already; the program just ends.
    if (!framework::gSpLib().Init(true)) return 1;
    // The library singletons (pictures, text, device wrapper, camera, textures).
    render::AdminLibInit();
    // Ends the process at once, silently, when another copy runs.
    core::gApi().AppPrevInstance("");
    if (!battle::SumpaLoad()) {
        render::AdminLibTerminate();
        return 1;
    }

    // The menu window: a second, hidden instance that only carries the menu
    // bar in full-screen mode.
    gTheAppForm() = std::make_unique<TheApp>();
    services.clock->SleepMs(10);

    if (!gTheApp()) gTheApp() = std::make_unique<TheApp>();
    gTheApp()->TheAppInit(services);

    gTheAppForm().reset();
    gTheApp().reset();
    battle::SumpaUnload();
    render::AdminLibTerminate();
    return 0;
}

}  // namespace brumil::app
