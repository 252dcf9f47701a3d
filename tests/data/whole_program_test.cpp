// The whole program headless over the generated data set: from the key
// set-up screen through the logo, title, level and character select to an
// arcade match, the continue question after a loss and back to the title.
// A person's clicks and key presses go in through null devices; the loss is
// scripted by emptying the player's life once the match runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/the_app.h"
#include "battle/b_game.h"
#include "battle/player_record.h"
#include "core/rect.h"
#include "data_root.h"
#include "framework/key_assign.h"
#include "frontend/application_config.h"
#include "frontend/job_numbers.h"
#include "frontend/key_setup_screen.h"
#include "frontend/service_jobs.h"
#include "frontend/view.h"
#include "platform/base/headless_window.h"
#include "platform/base/input_devices.h"
#include "platform/base/scan_codes.h"
#include "temp_root.h"

namespace brumil {
namespace {

using frontend::ApplicationConfig;

// Keys of player 1: Z, X, C, A, S as buttons 1 to 5 and the arrows.
constexpr const char* kKeys = "4140,4141,4142,4126,4127,0,0,0,0,0,4296,4304,4299,4301";
constexpr int kStepLimit = 6000;

// Plays a person at the machine, one logic step at a time.
class Person {
public:
    Person(platform::NullInputDevices& devices, platform::HeadlessWindow& window)
        : devices_(devices), window_(window) {}

    void Step(ApplicationConfig& app) {
        ++steps_;
        // Presses last one step.
        devices_.Mouse().left = false;
        devices_.SetKey(platform::scan::Z, false);
        if (steps_ > kStepLimit) {
            window_.InjectClose();
            return;
        }
        if (steps_ % 3 != 0 || !app.CurrentView) return;
        const auto active = [&](Long job) {
            return app.Job().IsActive(ApplicationConfig::Key(job));
        };
        const frontend::ScreenState& st = app.State;
        if (active(frontend::kKeySetupJob)) {
            Click(app, frontend::kKeySetupDecideItem);
        } else if (active(frontend::kTitleJob)) {
            sawTitleAgain = sawMatch;
            if (sawTitleAgain && st.TitleStep == 3) {
                titleMenuAgain = true;
                window_.InjectClose();
            } else if (!sawMatch) {
                Click(app, 0);  // skips the fades, then "Start Game"
            }
        } else if (active(frontend::kArcadeLevelJob) && st.LevelStep == 2) {
            Click(app, 0);
        } else if (active(frontend::kArcadeCharaJob) && st.CharaStep == 2 && st.CharaFrame > 1) {
            devices_.SetKey(platform::scan::Z, true);
        } else if (active(frontend::kBattleStartJob)) {
            Match();
        } else if (active(frontend::kMatchSequenceJob) && st.ContinueShown == 1) {
            sawQuestion = true;
            Click(app, 1);  // "No"
        }
    }

    bool sawMatch = false;
    bool sawQuestion = false;
    bool sawTitleAgain = false;
    bool titleMenuAgain = false;
    Long matchFrames = 0;
    Long winner = -2;

private:
    void Click(ApplicationConfig& app, Long item) {
        const core::CRect* r = app.CurrentView->GetRects().Item(item);
        if (r == nullptr) return;
        auto& mouse = devices_.Mouse();
        mouse.pointer.x = (static_cast<float>(r->X) + r->Width / 2.0f) / 640.0f;
        mouse.pointer.y = (static_cast<float>(r->Y) + r->Height / 2.0f) / 480.0f;
        mouse.pointer.moved = true;
        mouse.left = true;
    }
    void Match() {
        battle::bGame& game = *battle::gGame();
        if (!game.Jobs.Test(battle::bGame::JobKey(7))) return;
        sawMatch = true;
        matchFrames = game.FrameCount;
        // Once the players have moved a while, the first player loses.
        if (game.FrameCount > 120 && game.EndCount == 0) battle::gPlayers()[0].Life = 0;
        winner = game.Winner;
    }

    platform::NullInputDevices& devices_;
    platform::HeadlessWindow& window_;
    int steps_ = 0;
};

TEST(WholeProgram, FromTheKeySetUpThroughAnArcadeLossBackToTheTitle) {
    testing::TempDataRoot root;
    std::filesystem::create_directory_symlink(datatest::GeneratedRoot() / "data",
                                              root.Path() / "data");
    root.Write("save/config.fig",
               std::string("[Brumil8x コンフィグデータ]\r\nGraphicsAutomation=11\r\n"
                           "Volume=0\r\nPad0=") +
                   kKeys + "\r\n");
    framework::gKeyAssign() = {};
    platform::ManualClock clock;
    std::unique_ptr<Person> person;

    app::AppServices services;
    services.clock = &clock;
    services.log = [](std::string_view line) { ADD_FAILURE() << line; };
    services.connect = [&](framework::CMaxwell& host) {
        auto window = std::make_unique<platform::HeadlessWindow>();
        auto devices = std::make_unique<platform::NullInputDevices>();
        person = std::make_unique<Person>(*devices, *window);
        const bool ok = host.Connect(std::move(window), std::move(devices));
        // The person acts in every step, after the window menu's own job.
        frontend::gAppConfig()->SetJobProcedure(
            frontend::kMenuTickerJob, [&](ApplicationConfig& a, Long job, Long message, Long p) {
                frontend::AppJob2_MenuTicker(a, job, message, p);
                if (message == 0) person->Step(a);
            });
        return ok;
    };
    app::TheApp app;
    app.TheAppInit(services);

    ASSERT_NE(person, nullptr);
    EXPECT_TRUE(person->sawMatch);
    EXPECT_EQ(person->winner, 1) << "the computer won the scripted match";
    EXPECT_GT(person->matchFrames, 120);
    EXPECT_TRUE(person->sawQuestion);
    EXPECT_TRUE(person->titleMenuAgain) << "back on the title's menu after \"No\"";
    EXPECT_EQ(frontend::gAppConfig(), nullptr) << "the program ended";
}

}  // namespace
}  // namespace brumil
