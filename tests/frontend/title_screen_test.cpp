#include "frontend/title_screen.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "frontend/level_select.h"
#include "menu_screen_fixture.h"

namespace brumil::frontend {
namespace {

namespace scan = platform::scan;

// The finished title picture's colour: "start" lifted by 0x10 per channel.
std::uint32_t TitleRgb() {
    return (static_cast<std::uint32_t>(screentest::kStartColour) & 0xFFFFFFu) + 0x101010u;
}

class TitleScreen : public screentest::MenuScreenFixture {
protected:
    void Accept() { Press(scan::Return); }
};

TEST_F(TitleScreen, APressDuringEitherFadeShowsTheMenuAtOnceAndChoosesNothing) {
    for (int fadeSteps : {3, 60}) {  // inside the first fade, inside the second
        SCOPED_TRACE(fadeSteps);
        StartDisplay();
        app.Job().Add(ApplicationConfig::Key(kTitleJob), kJobKindNormal);
        Steps(fadeSteps);
        ASSERT_LT(St().TitleStep, 2);
        host.sounds.clear();
        devices.SetKey(scan::Return, true);
        Step();
        EXPECT_EQ(St().TitleStep, 3) << "the menu was painted in the same step";
        devices.SetKey(scan::Return, false);
        Steps(3);
        EXPECT_FALSE(On(kArcadeLevelJob));
        EXPECT_TRUE(host.sounds.empty());
        app.Job().Destroy();
        Step();
    }
}

TEST_F(TitleScreen, WithoutInputTheFadesTakeFiftyAndEightySteps) {
    StartDisplay();
    app.Job().Add(ApplicationConfig::Key(kTitleJob), kJobKindNormal);
    Step();  // begins and takes its first step
    int steps = 1;
    while (St().TitleStep == 0 && steps < 500) {
        Step();
        ++steps;
    }
    EXPECT_EQ(steps, 50);
    while (St().TitleStep < 3 && steps < 500) {
        Step();
        ++steps;
    }
    EXPECT_EQ(steps, 50 + 80 + 1);
    // The finished picture is on the back surface: "start" lifted by 0x10.
    EXPECT_EQ(Back(20, 20), TitleRgb());
}

struct ChoiceCase {
    const char* name;
    int downs;
    int source;  // 0 keyboard, 1 pad 1, 2 pad 2
    Long titleMode;
    Long gameMode;
    Long nextJob;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.name;
}

class TitleChoice : public TitleScreen, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(TitleChoice, SetsTheModesAndOpensTheLevelSelectAsModal) {
    const ChoiceCase& c = GetParam();
    PlugPads();
    TitleMenu();
    for (int i = 0; i < c.downs; ++i) PressPadDown(0);
    host.sounds.clear();
    if (c.source == 0) {
        Accept();
    } else {
        PressPadButton(c.source - 1, 0);
    }
    EXPECT_EQ(app.TitleMode, c.titleMode);
    EXPECT_EQ(Options().GameMode, c.gameMode);
    EXPECT_TRUE(On(c.nextJob));
    EXPECT_FALSE(Active(kTitleJob)) << "the title is suspended below the level select";
    EXPECT_TRUE(St().TitleLeaving);
    ASSERT_FALSE(host.sounds.empty());
    EXPECT_EQ(host.sounds.front(), 1);
}

INSTANTIATE_TEST_SUITE_P(Items, TitleChoice,
                         ::testing::Values(ChoiceCase{"arcade", 0, 0, 1, 1, kArcadeLevelJob},
                                           ChoiceCase{"free_keyboard", 1, 0, 2, 2,
                                                      kFreeFightLevelJob},
                                           ChoiceCase{"free_pad1", 1, 1, 2, 2, kFreeFightLevelJob},
                                           ChoiceCase{"free_pad2", 1, 2, 2, 3, kFreeFightLevelJob},
                                           ChoiceCase{"versus_pad2", 2, 2, 3, 4, kVersusLevelJob},
                                           ChoiceCase{"network", 3, 0, 4, 7, kNetworkLevelJob}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TitleScreen, BackFromTheLevelSelectFadesInTwentyStepsOnTheLastMode) {
    TitleMenu();
    Down(2);
    Accept();
    ASSERT_TRUE(On(kVersusLevelJob));
    Steps(3);
    host.sounds.clear();
    Press(scan::Backspace);
    EXPECT_FALSE(On(kVersusLevelJob));
    EXPECT_EQ(host.sounds, std::vector<Long>{3});
    EXPECT_EQ(St().TitleStep, 1) << "a return skips the first fade";
    EXPECT_EQ(St().TitleFadeFrames, 20);
    EXPECT_EQ(Cursor(), 2);
    EXPECT_FALSE(St().TitleLeaving);
    // The fade's first step ran in the step of the return; 19 more and the
    // menu's first paint follow.
    EXPECT_EQ(St().TitleFrame, 1);
    int steps = 0;
    while (St().TitleStep < 3 && steps < 100) {
        Step();
        ++steps;
    }
    EXPECT_EQ(steps, 20);
    // The menu runs again and chooses again.
    Accept();
    EXPECT_TRUE(On(kVersusLevelJob));
}

TEST_F(TitleScreen, EndPlaysSoundTwoAndEndsTheProgram) {
    TitleMenu();
    Down(4);
    ASSERT_EQ(Cursor(), kTitleEndItem);
    host.sounds.clear();
    Accept();
    EXPECT_EQ(host.unloads, 1);
    EXPECT_EQ(host.sounds, std::vector<Long>{2});
}

TEST_F(TitleScreen, AClickOutsideEveryItemRemovesTheCursorAndChoosesNothing) {
    TitleMenu();
    const auto click = [&](float x, float y) {
        devices.Mouse().pointer.x = x / 640.0f;
        devices.Mouse().pointer.y = y / 480.0f;
        devices.Mouse().pointer.moved = true;
        devices.Mouse().left = true;
        Step();
        devices.Mouse().left = false;
        Step();
    };
    EXPECT_NE(Back(20, 240), TitleRgb()) << "the bar lies under item 0";
    click(20.0f, 20.0f);
    EXPECT_EQ(Cursor(), -1);
    EXPECT_EQ(Back(20, 240), TitleRgb()) << "the bar is gone";
    Accept();
    for (Long job : {kArcadeLevelJob, kFreeFightLevelJob, kVersusLevelJob, kNetworkLevelJob}) {
        EXPECT_FALSE(On(job)) << job;
    }
    EXPECT_EQ(host.unloads, 0);
    // A click on an item chooses it.
    click(300.0f, 265.0f);
    EXPECT_TRUE(On(kFreeFightLevelJob));
}

TEST_F(TitleScreen, ADamagedStartPictureStillRunsAndChooses) {
    {
        std::ofstream bad(root.Path() / "data" / "start.bmp", std::ios::binary | std::ios::trunc);
        bad << "BM not a picture";
    }
    TitleMenu();
    Accept();
    EXPECT_TRUE(On(kArcadeLevelJob));
    EXPECT_EQ(Options().GameMode, 1);
}

}  // namespace
}  // namespace brumil::frontend
