// Window-menu commands in a whole headless run: what they do to the first
// screen's job and to the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/the_app.h"
#include "framework/job_list.h"
#include "frontend/application_config.h"
#include "platform/base/headless_window.h"
#include "temp_root.h"

namespace brumil::app {
namespace {

// Runs the program on a headless window with a manual clock. The first
// screen (job 1) is replaced by one that records its messages, calls `act`
// on its first step and closes the window after `closeAfter` steps;
// `atClose` sees the window just before that. A run whose screen is
// suspended ends by its frame limit.
struct HeadlessRun {
    std::vector<Long> messages;
    std::function<void(TheApp&, platform::HeadlessWindow&)> act;
    std::function<void(platform::HeadlessWindow&)> atClose;
    int closeAfter = 4;
    std::string config;

    void Go() {
        testing::TempDataRoot root;
        root.Write("save/config.fig", config);
        platform::ManualClock clock;
        TheApp app;
        AppServices services;
        services.clock = &clock;
        // A screen suspended by a modal job never closes the window itself.
        services.frameLimit = 12;
        services.connect = [&](framework::CMaxwell& host) {
            auto window = std::make_unique<platform::HeadlessWindow>();
            platform::HeadlessWindow* w = window.get();
            const bool ok = host.Connect(std::move(window), nullptr);
            frontend::gAppConfig()->SetJobProcedure(
                1, [this, w, &app](frontend::ApplicationConfig&, Long, Long message, Long) {
                    messages.push_back(message);
                    if (message != framework::kJobMessageStep) return;
                    const auto steps =
                        std::count(messages.begin(), messages.end(), framework::kJobMessageStep);
                    if (steps == 1 && act) act(app, *w);
                    if (steps == closeAfter) {
                        if (atClose) atClose(*w);
                        w->InjectClose();
                    }
                });
            return ok;
        };
        app.TheAppInit(services);
    }
    bool Suspended() const {
        return std::find(messages.begin(), messages.end(), framework::kJobMessageSuspended) !=
               messages.end();
    }
};

// Each modal menu item opens its window as a modal job (the network set-up
// included), and that job suspends the screen on show. A case that did not
// suspend would have to leave the screen running for every step.
TEST(WindowMenuRun, ModalItemsSuspendTheScreenOnShow) {
    struct Case {
        const char* name;
        MenuControl control;
        Long index;
        bool suspends;
    };
    const Case cases[] = {
        {"network set-up", MenuControl::NetworkSetup, -1, true},
        {"key configuration", MenuControl::KeyConfig, -1, true},
        {"detailed graphics settings", MenuControl::DeviceChange, 10, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessRun run;
        run.config = "GraphicsAutomation=0\r\nScreenMode=0\r\n";
        run.act = [&c](TheApp& app, platform::HeadlessWindow&) {
            app.MenuClick(c.control, c.index);
        };
        run.Go();
        EXPECT_EQ(run.Suspended(), c.suspends);
        if (!c.suspends) {
            // Every step of the run reached the screen.
            EXPECT_EQ(
                std::count(run.messages.begin(), run.messages.end(), framework::kJobMessageStep),
                run.closeAfter);
        }
    }
}

// Applying a graphics preset puts a window that the window manager maximised
// or minimised back to its normal size, in window mode only.
TEST(WindowMenuRun, ApplyingAPresetRestoresTheWindowInWindowMode) {
    using S = platform::WindowSizeState;
    struct Case {
        const char* name;
        int screenMode;
        S before;
        S after;
    };
    const Case cases[] = {
        {"maximised window", 0, S::Maximised, S::Normal},
        {"minimised window", 0, S::Minimised, S::Normal},
        {"normal window", 0, S::Normal, S::Normal},
        {"full screen leaves it", 1, S::Maximised, S::Maximised},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessRun run;
        run.config = "GraphicsAutomation=0\r\nScreenMode=" + std::to_string(c.screenMode) + "\r\n";
        S seen = S::Normal;
        bool full = false;
        run.act = [&c](TheApp& app, platform::HeadlessWindow& w) {
            w.InjectSizeState(c.before);
            app.MenuClick(MenuControl::DeviceChange, 1);
        };
        run.atClose = [&](platform::HeadlessWindow& w) {
            seen = w.SizeState();
            full = w.IsFullScreen();
        };
        run.Go();
        EXPECT_EQ(full, c.screenMode == 1);
        EXPECT_EQ(seen, c.after);
    }
}

}  // namespace
}  // namespace brumil::app
