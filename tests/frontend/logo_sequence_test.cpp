#include "frontend/logo_sequence.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "framework/input_codes.h"
#include "frontend/front_end_jobs.h"
#include "frontend/key_setup_screen.h"
#include "frontend/view.h"
#include "screen_test_fixture.h"

namespace brumil::frontend {
namespace {

namespace scan = platform::scan;

constexpr std::uint32_t kLogoColour = 0xE0C020;
constexpr std::uint32_t kBandColour = 0x101010;

TEST(LogoFade, ProgressIsTheStepShareHeldToZeroToOne) {
    const std::pair<Long, Single> cases[] = {{-3, 0.0f}, {0, 0.0f},  {16, 0.25f},
                                             {32, 0.5f}, {64, 1.0f}, {69, 1.0f}};
    for (auto [frame, progress] : cases) EXPECT_EQ(LogoFadeProgress(frame), progress) << frame;
}

class LogoSequence : public screentest::ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        // Counts the logo's steps and notes its state after each.
        app.SetJobProcedure(kLogoJob, [this](ApplicationConfig& a, Long j, Long m, Long p) {
            if (m == 0) {
                ++logoSteps;
                if (paintDisabled) maxwell.Config().PaintDisable = paintDisabled(logoSteps);
            }
            AppJob10_Logo(a, j, m, p);
            if (m == 0) stepAfter[logoSteps] = a.State.LogoStep;
            maxwell.Config().PaintDisable = false;
        });
        // The title only notes when it begins and the picture it starts from.
        app.SetJobProcedure(kTitleJob, [this](ApplicationConfig& a, Long, Long m, Long) {
            if (m == 1 && !titleBegunAfter) {
                titleBegunAfter = logoSteps;
                titleStart = a.WorkPicture;
            }
        });
    }

    // The key set-up screen's last picture stand-in: the background with a
    // dark band.
    void BeginLogo(Single scale = 1.0f) {
        StartDisplay(scale);
        image::CmgBBIFunction& fx = image::gBBIFunction();
        fx.BBIDrawColorFill(app.WorkPicture, 0, 0, 640, 480, 0, screentest::kBackgroundColour);
        fx.BBIDrawColorFill(app.WorkPicture, 0, 200, 640, 80, 0, 0xFF000000 | kBandColour);
        startPicture = app.WorkPicture;
        app.Job().Add(ApplicationConfig::Key(kLogoJob), 0);
    }
    void RunUntilTitle(int limit = 300) {
        for (int i = 0; i < limit && !titleBegunAfter; ++i) Step();
    }

    int logoSteps = 0;
    std::map<int, Long> stepAfter;  // LogoStep after each message-0 step
    std::function<bool(int)> paintDisabled;
    std::optional<int> titleBegunAfter;
    image::CmgBBI titleStart;
    image::CmgBBI startPicture;
};

TEST_F(LogoSequence, WithoutInputItEndsOnStepNinetyEight) {
    BeginLogo();
    RunUntilTitle();
    ASSERT_TRUE(titleBegunAfter);
    EXPECT_EQ(*titleBegunAfter, 98) << "1 set-up + 64 fade + 32 hold + 1 ending step";
    EXPECT_EQ(logoSteps, 98);
    const std::pair<int, Long> checkpoints[] = {{1, 1}, {64, 1}, {65, 2}, {96, 2}, {97, 6}};
    for (auto [step, logoStep] : checkpoints) EXPECT_EQ(stepAfter[step], logoStep) << step;
    EXPECT_EQ(host.repaints, 64);
    // The title fades in from the finished logo.
    EXPECT_EQ(titleStart.dwGetPixel(10, 10) & 0xFFFFFF, static_cast<Long>(kLogoColour));
    EXPECT_EQ(titleStart.dwGetPixel(10, 240) & 0xFFFFFF, static_cast<Long>(kLogoColour));
    // The logo's pictures went with it.
    EXPECT_FALSE(app.Job().Test(ApplicationConfig::Key(kLogoJob)));
    EXPECT_EQ(app.State.CurrentPicture.GetWidth(), 1);
    EXPECT_EQ(app.State.ToPicture.GetWidth(), 1);
    EXPECT_FALSE(app.State.ScaledPicture);
}

TEST_F(LogoSequence, MidFadeTheLogoGivesWayWhereTheStartPictureIsDark) {
    BeginLogo();
    while (logoSteps < 33) Step();  // fade progress 0.5
    // The stencil is the inverted start picture: its dark band is revealed
    // last, the brighter rest already shows the logo.
    EXPECT_EQ(Back(10, 10), kLogoColour);
    EXPECT_EQ(Back(10, 240), kBandColour);
    EXPECT_EQ(DiffersFromBack(app.State.CurrentPicture), 0);
    EXPECT_FALSE(SamePixels(app.State.CurrentPicture, app.State.FromPicture));
    EXPECT_FALSE(SamePixels(app.State.CurrentPicture, app.State.ToPicture));
}

TEST_F(LogoSequence, StepsWithPaintDisableCountButDoNotDraw) {
    struct Case {
        const char* name;
        std::function<bool(int)> disabled;
        int endStep;
        int repaints;
    };
    const Case cases[] = {
        {"every other step drawn", [](int s) { return s % 2 == 0; }, 98, 32},
        // The 64th fade step is not drawn: the fade ends on the next drawn
        // step, fully shown.
        {"only step 70 drawn", [](int s) { return s != 70; }, 103, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.Job().Destroy();
        app.Job().Poll();
        framework::DisplayStop();
        logoSteps = 0;
        titleBegunAfter.reset();
        host.repaints = 0;
        paintDisabled = c.disabled;
        BeginLogo();
        RunUntilTitle();
        ASSERT_TRUE(titleBegunAfter);
        EXPECT_EQ(*titleBegunAfter, c.endStep);
        EXPECT_EQ(host.repaints, c.repaints);
        EXPECT_EQ(Back(10, 240), kLogoColour) << "the last drawn fade step shows the logo whole";
    }
}

TEST_F(LogoSequence, ScaledPictureFollowsTheDrawingScale) {
    struct Case {
        Single scale;
        Long width, height;  // 0: no scaled picture
    };
    const Case cases[] = {{0.5f, 320, 240}, {1.0f, 0, 0}, {1.6f, 1024, 768}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        app.Job().Destroy();
        app.Job().Poll();
        framework::DisplayStop();
        logoSteps = 0;
        BeginLogo(c.scale);
        while (logoSteps < 33) Step();
        const auto& scaled = app.State.ScaledPicture;
        if (c.width == 0) {
            EXPECT_FALSE(scaled);
            EXPECT_EQ(DiffersFromBack(app.State.CurrentPicture), 0);
            continue;
        }
        ASSERT_TRUE(scaled);
        EXPECT_EQ(scaled->GetWidth(), c.width);
        EXPECT_EQ(scaled->GetHeight(), c.height);
        EXPECT_EQ(framework::gBackDDS()->Width(), c.width);
        EXPECT_EQ(DiffersFromBack(*scaled), 0);
        EXPECT_EQ(Back(c.width - 1, 2), kLogoColour);
    }
}

TEST_F(LogoSequence, ASkipOnTheFirstStepCarriesTheStartPictureToTheTitle) {
    struct Case {
        const char* name;
        std::function<void(bool)> input;
    };
    const Case cases[] = {
        {"Enter", [this](bool d) { devices.SetKey(scan::Return, d); }},
        {"Backspace", [this](bool d) { devices.SetKey(scan::Backspace, d); }},
        {"button 1 (Z)", [this](bool d) { devices.SetKey(scan::Z, d); }},
        {"button 2 (X)", [this](bool d) { devices.SetKey(scan::X, d); }},
        {"left click", [this](bool d) { devices.Mouse().left = d; }},
        {"right click", [this](bool d) { devices.Mouse().right = d; }},
        // A pointer moving over no item in the same step does not take the
        // report from the key.
        {"Enter while the mouse moves",
         [this](bool d) {
             devices.SetKey(scan::Return, d);
             devices.Mouse().pointer.moved = d;
             devices.Mouse().pointer.x = 0.5f;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.Job().Destroy();
        app.Job().Poll();
        framework::DisplayStop();
        logoSteps = 0;
        titleBegunAfter.reset();
        BeginLogo();
        c.input(true);
        Step();  // the logo begins and takes its first step
        c.input(false);
        RunUntilTitle(5);
        ASSERT_TRUE(titleBegunAfter);
        EXPECT_EQ(*titleBegunAfter, 1);
        EXPECT_TRUE(SamePixels(titleStart, startPicture));
    }
}

TEST_F(LogoSequence, FollowsTheKeySetupScreenAndCanBeSkippedAtOnce) {
    StartDisplay();
    framework::gKeyAssign()[0][4] = framework::KeyboardCode(scan::S);
    app.Job().Add(ApplicationConfig::Key(kKeySetupJob), 0);
    Step();
    app.CurrentView->InterfaceReset(kKeySetupDecideItem);
    devices.SetKey(scan::Return, true);
    Step();  // confirmed: the key set-up screen's picture is the work picture
    const image::CmgBBI keySetupPicture = app.WorkPicture;
    EXPECT_EQ(DiffersFromBack(keySetupPicture), 0);
    devices.SetKey(scan::Return, false);
    devices.SetKey(scan::Backspace, true);
    Step();  // job 1 ends; the logo begins and is skipped on its first step
    devices.SetKey(scan::Backspace, false);
    RunUntilTitle(5);
    ASSERT_TRUE(titleBegunAfter);
    EXPECT_EQ(*titleBegunAfter, 1);
    EXPECT_TRUE(SamePixels(titleStart, keySetupPicture));
    EXPECT_FALSE(app.Job().Test(ApplicationConfig::Key(kKeySetupJob)));
}

}  // namespace
}  // namespace brumil::frontend
