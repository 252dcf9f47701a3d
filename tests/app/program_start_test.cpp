// A whole start of the program, from its entry to the end of the run, in a
// child process (the entry sets up and releases the program-wide objects).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/the_app.h"
#include "frontend/application_config.h"
#include "platform/base/headless_window.h"
#include "temp_root.h"

namespace brumil::app {
namespace {

// Runs the program on a headless window whose first screen closes it after
// one step; answers the entry's result.
int RunOnce() {
    platform::ManualClock clock;
    AppServices services;
    services.clock = &clock;
    services.log = [](std::string_view) {};
    services.connect = [](framework::CMaxwell& host) {
        auto window = std::make_unique<platform::HeadlessWindow>();
        platform::HeadlessWindow* w = window.get();
        const bool ok = host.Connect(std::move(window), nullptr);
        frontend::gAppConfig()->SetJobProcedure(
            1, [w](frontend::ApplicationConfig&, Long, Long message, Long) {
                if (message == 0) w->InjectClose();
            });
        return ok;
    };
    return Main(services);
}

TEST(ProgramStartDeathTest, AStartRemovesWhatKilledSavesLeftAndNothingElse) {
    testing::TempDataRoot root;
    struct Case {
        const char* name;  // below the data root
        bool removed;
    };
    const Case cases[] = {
        {"save/.config.fig.Q7x2Lm", true},
        {"save/.system.sav.0aZ9yy", true},
        {".Log.txt.abcdef", true},
        {"save/.config.fig.keep", false},
        {"save/.config.fig.Q7x2Lm.bak", false},
        {"save/notes.txt", false},
        {"save/.notes.txt.abcdef", false},   // no file of the program's
        {"data/.config.fig.Q7x2Lm", false},  // no folder the program writes
    };
    for (const Case& c : cases) root.Write(c.name, "left");
    EXPECT_EXIT(std::_Exit(RunOnce()), ::testing::ExitedWithCode(0), "");
    for (const Case& c : cases) {
        EXPECT_EQ(!std::filesystem::exists(root.Path() / c.name), c.removed) << c.name;
    }
    // The run itself saved as usual.
    EXPECT_TRUE(std::filesystem::exists(root.Path() / "save" / "config.fig"));
    EXPECT_TRUE(std::filesystem::exists(root.Path() / "save" / "system.sav"));
}

}  // namespace
}  // namespace brumil::app
