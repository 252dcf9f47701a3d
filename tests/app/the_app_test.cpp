#include "app/the_app.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/config_record.h"
#include "battle/b_game.h"
#include "core/api.h"
#include "framework/key_assign.h"
#include "frontend/application_config.h"
#include "platform/base/headless_window.h"
#include "temp_root.h"

namespace brumil::app {
namespace {

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// What the key set-up job saw during a run.
struct Seen {
    std::vector<Long> messages;
    std::string title;
    framework::CMaxwellConfig config;
    bool gameExists = false;
};

// Runs TheAppInit on a headless window with a manual clock; the first screen
// (job 1) records what it sees and closes the window after `closeAfter` steps.
Seen RunProgram(TheApp& app, int closeAfter) {
    platform::ManualClock clock;
    Seen seen;
    AppServices services;
    services.clock = &clock;
    services.log = [](std::string_view line) { ADD_FAILURE() << line; };
    services.connect = [&](framework::CMaxwell& host) {
        auto window = std::make_unique<platform::HeadlessWindow>();
        platform::HeadlessWindow* w = window.get();
        const bool ok = host.Connect(std::move(window), nullptr);
        auto& front = *frontend::gAppConfig();
        front.SetJobProcedure(
            1, [&seen, w, closeAfter](frontend::ApplicationConfig&, Long, Long message, Long) {
                seen.messages.push_back(message);
                if (message == 1) {
                    seen.title = w->Title();
                    seen.config = framework::gMaxwell()->Config();
                    seen.gameExists = battle::gGame() != nullptr;
                }
                const auto steps = std::count(seen.messages.begin(), seen.messages.end(), 0);
                if (message == 0 && steps == closeAfter) w->InjectClose();
            });
        return ok;
    };
    app.TheAppInit(services);
    return seen;
}

TEST(TheApp, RunsFromStartToShutDown) {
    testing::TempDataRoot root;
    const std::string keys = "4126,4141,4142,4140,0,0,0,0,0,0,4296,4304,4299,4301";
    root.Write("save/config.fig",
               "[Brumil8x コンフィグデータ]\r\nGraphicsAutomation=11\r\nVolume=4\r\n"
               "NetworkUserName=ゆうしゃ\r\nPad0=" +
                   keys + "\r\n");
    framework::gKeyAssign() = {};

    TheApp app;
    const Seen seen = RunProgram(app, 3);

    // The first screen began in the start-up's poll, ran three steps (the
    // first of them in that poll), then the close destroyed it.
    EXPECT_EQ(seen.messages, (std::vector<Long>{1, 0, 0, 0, 2}));
    EXPECT_EQ(seen.title, "Brumil v103");
    EXPECT_TRUE(seen.gameExists);
    EXPECT_TRUE(app.Running);
    // Preset 11 over the start-up settings.
    EXPECT_TRUE(seen.config.ddHighQuality);
    EXPECT_TRUE(seen.config.ddFullScreen);
    EXPECT_EQ(seen.config.ddPixelBits1, 32);
    EXPECT_EQ(seen.config.ddRefreshRate, 60);
    EXPECT_EQ(seen.config.dsHz, 44100);
    EXPECT_TRUE(seen.config.WaitVsinkSP);
    EXPECT_TRUE(seen.config.PaintManual);
    EXPECT_EQ(seen.config.diCreateVKeyCounts, 4);
    EXPECT_TRUE(seen.config.FullScreenMenu);  // no menu window in this run

    // Everything made for the run is released again.
    EXPECT_EQ(framework::gMaxwell(), nullptr);
    EXPECT_EQ(frontend::gAppConfig(), nullptr);
    EXPECT_EQ(battle::gGame(), nullptr);

    // The run report is the text of this run's facts.
    const std::string log = ReadAll(root.Path() / "Log.txt");
    EXPECT_EQ(log, app.LogText);
    EXPECT_EQ(
        log.rfind(
            "[Brumilの実行データ]\r\n\r\n[サポートされている機能]\r\nFrame Buffer (no display), ",
            0),
        0u);

    // Both save files, with the settings read at start and the key text
    // stored back under no joystick.
    ConfigRecord saved;
    ConfigFromText(saved, core::gApi().LoadText("\\save\\config.fig"));
    EXPECT_EQ(saved.GraphicsAutomation, 11);
    EXPECT_EQ(saved.Volume, 4);
    EXPECT_EQ(saved.NetworkUserName, "ゆうしゃ");
    EXPECT_EQ(saved.Pad0.rfind(keys + "\r\n", 0), 0u) << saved.Pad0;
    EXPECT_TRUE(std::filesystem::exists(root.Path() / "save" / "system.sav"));
    EXPECT_EQ(core::gApi().LoadText("\\save\\system.sav"),
              battle::SystemSaveToText(battle::gSystemSave()));
}

TEST(TheApp, PresetOutsideTheTableKeepsTheHostDefaults) {
    testing::TempDataRoot root;
    root.Write("save/config.fig", "GraphicsAutomation=5\r\nScreenMode=1\r\n");
    TheApp app;
    const Seen seen = RunProgram(app, 1);
    // The start-up's own poll gives the first step; the close asked for there
    // is seen by the loop's first frame, after the loop's first step.
    EXPECT_EQ(seen.messages, (std::vector<Long>{1, 0, 0, 2}));
    const framework::CMaxwellConfig defaults;
    EXPECT_EQ(seen.config.ddFullScreen, defaults.ddFullScreen);
    EXPECT_EQ(seen.config.ddHardware, defaults.ddHardware);
    EXPECT_EQ(seen.config.ddHighQuality, defaults.ddHighQuality);
    EXPECT_EQ(seen.config.ddPixelBits1, defaults.ddPixelBits1);
    EXPECT_TRUE(std::filesystem::exists(root.Path() / "save" / "config.fig"));
}

}  // namespace
}  // namespace brumil::app
