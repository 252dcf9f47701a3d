// Main: the program's entry, from the framework's start-up checks to the
// release of the last global object.
#include <string>

#include "app/data_folder_check.h"
#include "app/save_files.h"
#include "app/the_app.h"
#include "battle/mod_sumpa.h"
#include "core/api.h"
#include "framework/splib.h"
#include "image/cmg_bbi_function.h"
#include "platform/base/message_box.h"
#include "render/admin_lib.h"

namespace brumil::app {
namespace {

// A picture that fails to load with an error text asks whether to go on;
// Cancel ends the program the way closing the window does, so the settings and
// the progress are saved. Pictures load only while the main window runs; the
// loading screen carries on with the picture missing until its job is removed.
void AskAfterFailedLoad(std::string_view message, std::string_view fileName) {
    const std::string text = std::string(message) + "\n" + std::string(fileName);
    if (platform::ShowMessageBox(text, "Brumil", platform::MessageKind::kWarning,
                                 platform::MessageButtons::kOkCancel) ==
        platform::MessageAnswer::kCancel) {
        if (gTheApp()) gTheApp()->UnLoadTheApp();
    }
}

}  // namespace

int Main(const AppServices& services) {
    // A failed check has shown its box already; the program just ends.
    if (!framework::gSpLib().Init(true)) return 1;
    if (!CheckDataFolder(services.startupBox, services.log)) return 1;
    // The library singletons (pictures, text, device wrapper, camera, textures).
    render::AdminLibInit();
    image::gBBIFunction().LoadErrorPrompt = AskAfterFailedLoad;
    // Ends the process at once, silently, when another copy runs.
    core::gApi().AppPrevInstance("");
    // With the lock held no other copy can be inside a save: whatever an
    // earlier run killed inside one left behind can go.
    if (core::gApi().HoldsInstanceLock()) RemoveInterruptedWrites();
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
