#include "app/the_app.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
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

// What a test adds to a run: where the failure lines and boxes go (nothing:
// any of them fails the test) and what happens in the step that closes the
// window, before it closes.
struct RunHooks {
    std::vector<std::string>* logged = nullptr;
    std::vector<std::string>* boxes = nullptr;
    std::function<void()> beforeClose;
};

// Runs TheAppInit on a headless window with a manual clock; the first screen
// (job 1) records what it sees and closes the window after `closeAfter` steps.
Seen RunProgram(TheApp& app, int closeAfter, const RunHooks& hooks = {}) {
    platform::ManualClock clock;
    Seen seen;
    AppServices services;
    services.clock = &clock;
    services.log = [&hooks](std::string_view line) {
        if (hooks.logged) {
            hooks.logged->emplace_back(line);
        } else {
            ADD_FAILURE() << line;
        }
    };
    services.box = [&hooks](std::string_view text) {
        if (hooks.boxes) {
            hooks.boxes->emplace_back(text);
        } else {
            ADD_FAILURE() << text;
        }
    };
    services.connect = [&](framework::CMaxwell& host) {
        auto window = std::make_unique<platform::HeadlessWindow>();
        platform::HeadlessWindow* w = window.get();
        const bool ok = host.Connect(std::move(window), nullptr);
        auto& front = *frontend::gAppConfig();
        front.SetJobProcedure(1, [&seen, &hooks, w, closeAfter](frontend::ApplicationConfig&, Long,
                                                                Long message, Long) {
            seen.messages.push_back(message);
            if (message == 1) {
                seen.title = w->Title();
                seen.config = framework::gMaxwell()->Config();
                seen.gameExists = battle::gGame() != nullptr;
            }
            const auto steps = std::count(seen.messages.begin(), seen.messages.end(), 0);
            if (message == 0 && steps == closeAfter) {
                if (hooks.beforeClose) hooks.beforeClose();
                w->InjectClose();
            }
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

TEST(TheApp, AMatchsResultsAreOnDiskAsSoonAsTheMatchEnds) {
    testing::TempDataRoot root;
    TheApp app;
    std::string onDisk;
    RunHooks hooks;
    hooks.beforeClose = [&onDisk] {
        battle::bGame& game = *battle::gGame();
        game.gd().GameMode = 2;
        game.gd().AILevel = 4;
        game.Winner = 0;
        game.Coming(battle::bGame::JobKey(2), 2, 0);  // job 2 ends: the match is over
        // What a kill at this point would leave behind.
        onDisk = core::gApi().LoadText("\\save\\system.sav");
    };
    RunProgram(app, 2, hooks);
    battle::SystemSaveRecord saved;
    battle::SystemSaveFromText(saved, onDisk);
    EXPECT_EQ(saved.WinVSFantasitcAI, 1);
    // The end of the run writes it again, with the same win.
    battle::SystemSaveFromText(saved, core::gApi().LoadText("\\save\\system.sav"));
    EXPECT_EQ(saved.WinVSFantasitcAI, 1);
}

TEST(TheApp, SavesThatCannotBeWrittenAreShownAtShutDownAndLogged) {
    testing::TempDataRoot root;
    // A file where the save folder should be: no user, root included, can
    // write the save files into it.
    root.Write("save", "not a folder");
    std::vector<std::string> logged;
    std::vector<std::string> boxes;
    TheApp app;
    RunProgram(app, 1, {&logged, &boxes, {}});

    const std::vector<std::string> lines = {
        "could not write \\save\\system.sav; the previous file is kept",
        "could not write \\save\\config.fig; the previous file is kept"};
    EXPECT_EQ(logged, lines);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("\\save\\system.sav\n"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("\\save\\config.fig\n"), std::string::npos) << boxes[0];
    // The run report carries the lines for a player who never sees the
    // error stream.
    const std::string report = ReadAll(root.Path() / "Log.txt");
    EXPECT_EQ(report, app.LogText);
    EXPECT_TRUE(report.ends_with("------------------------\r\n\r\n" + lines[0] + "\r\n" + lines[1] +
                                 "\r\n"))
        << report;
    EXPECT_EQ(ReadAll(root.Path() / "save"), "not a folder");
}

}  // namespace
}  // namespace brumil::app
