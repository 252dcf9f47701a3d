#include "frontend/service_jobs.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "frontend/application_config.h"
#include "frontend/quadefects.h"

namespace brumil::frontend {
namespace {

class FakeDialog final : public SettingsDialog {
public:
    std::vector<std::string> calls;
    bool open = false;
    Long x = -1, y = -1;
    void Place(Long px, Long py) override {
        calls.push_back("Place");
        x = px;
        y = py;
    }
    void Init() override {
        calls.push_back("Init");
        open = true;
    }
    void Show() override { calls.push_back("Show"); }
    bool IsOpen() const override { return open; }
    void Step() override { ++steps; }
    int steps = 0;
};

class FakeHost final : public ServiceJobHost {
public:
    // Main window.
    int updates = 0, settings = 0, unloads = 0;
    std::vector<bool> menuShows;
    std::vector<bool> menusEnabled;
    int restoredMaximised = 0;
    // Display.
    bool fullScreen = false, halfSize = false;
    std::vector<bool> modeSwitches;
    Long renderLevel = 0;
    std::vector<GraphicsApply> applied;
    int restores = 0;
    std::vector<Long> textureLimits;  // answered in turn; the last repeats
    std::size_t limitReads = 0;
    int cashes = 0;
    // Input.
    bool moved = false;
    Long mouseY = 0;
    bool menuInUse = false;
    int keyboardSetups = 0;
    // Dialogs and settings.
    FakeDialog dialogs[2];
    bool haveDialogs = true;
    GraphicsSettings graphics;
    // Closing.
    bool paintDisable = false;
    std::vector<Long> fades;
    int searchPathResets = 0;
    Long sleepSaver = -1, sleepFrame = -1;
    int captures = 0, draws = 0, repaints = 0;
    platform::Millis now = 5000;
    core::MathRandom random{42};

    void UpdateMainMenu() override { ++updates; }
    void SettingMainMenu(bool force) override {
        EXPECT_FALSE(force);
        ++settings;
    }
    void MainMenu(bool show) override { menuShows.push_back(show); }
    bool MenuInUse() override { return menuInUse; }
    void UnLoadTheApp() override { ++unloads; }
    void EnableScreenAndSystemMenus(bool enabled) override { menusEnabled.push_back(enabled); }
    void PictureOrigin(Long& x, Long& y) override {
        x = 120;
        y = 77;
    }
    void RestoreMaximisedWindow() override { ++restoredMaximised; }
    bool IsFullScreenMode() override { return fullScreen; }
    bool IsHalfSizeMode() override { return halfSize; }
    void SetFullScreenMode(bool f) override {
        modeSwitches.push_back(f);
        fullScreen = f;
    }
    Long GetRenderLevel() override { return renderLevel; }
    void ApplyDisplay(const GraphicsApply& a) override { applied.push_back(a); }
    void RestoreDDS() override { ++restores; }
    Long GetTextureLimit() override {
        if (textureLimits.empty()) return 0;
        const Long v = textureLimits[std::min(limitReads, textureLimits.size() - 1)];
        ++limitReads;
        return v;
    }
    void VideoMemoryCash() override { ++cashes; }
    bool MouseMoved() override { return moved; }
    Long MouseScreenY() override { return mouseY; }
    void SetupKeyboardMouse() override { ++keyboardSetups; }
    SettingsDialog* Dialog(Long job) override {
        if (!haveDialogs) return nullptr;
        return job == kKeyDialogJob ? &dialogs[0] : &dialogs[1];
    }
    GraphicsSettings Graphics() override { return graphics; }
    bool PaintDisable() override { return paintDisable; }
    void FadeOutSound(Long ms) override { fades.push_back(ms); }
    void SetTextureSearchPaths() override { ++searchPathResets; }
    void SetFramePacing(Long saver, Long frame) override {
        sleepSaver = saver;
        sleepFrame = frame;
    }
    void CaptureScreen() override { ++captures; }
    void RePaint() override { ++repaints; }
    std::unique_ptr<CQuadefects> MakeQuad(core::MathRandom& r) override {
        return std::make_unique<CQuadefects>(r);
    }
    void DrawQuadFrame(CQuadefects&) override { ++draws; }
    platform::Millis NowMs() override { return now; }
    core::MathRandom& LooksRandom() override { return random; }
};

class ServiceJobsTest : public ::testing::Test {
protected:
    ServiceJobsTest() { app_.ServiceHost = &host_; }
    void Step() { app_.Job().Poll(); }
    bool Linked(Long job) const { return app_.Jobs.Test(job); }

    FakeHost host_;
    ApplicationConfig app_;
};

// ---- Job 2 -------------------------------------------------------------------

struct TickerCase {
    bool moved;
    Long y;
    std::vector<bool> shows;  // MainMenu calls
    bool menuInUse = false;   // a drop-down open or pointed at
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const TickerCase& c, std::ostream* os) {
    *os << "moved=" << c.moved << " y=" << c.y << " menuInUse=" << c.menuInUse;
}

class MenuTickerTest : public ServiceJobsTest, public ::testing::WithParamInterface<TickerCase> {};

TEST_P(MenuTickerTest, ShowsAtTheTopHidesBelowOnlyWhenTheMouseMoved) {
    const TickerCase& c = GetParam();
    host_.moved = c.moved;
    host_.mouseY = c.y;
    host_.menuInUse = c.menuInUse;
    app_.Coming(kMenuTickerJob, 0, 0);
    EXPECT_EQ(host_.menuShows, c.shows)
        << "y " << c.y << (c.moved ? " moved" : " still") << (c.menuInUse ? " menu in use" : "");
    EXPECT_EQ(host_.settings, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, MenuTickerTest,
    ::testing::Values(TickerCase{true, 0, {true}}, TickerCase{true, 19, {true}},
                      TickerCase{true, 20, {}}, TickerCase{true, 25, {}}, TickerCase{true, 30, {}},
                      TickerCase{true, 31, {false}}, TickerCase{true, 479, {false}},
                      TickerCase{false, 19, {}}, TickerCase{false, 31, {}},
                      // Over an open drop-down's rows the bar stays.
                      TickerCase{true, 31, {}, true}, TickerCase{true, 33, {}, true},
                      TickerCase{true, 200, {}, true}, TickerCase{true, 5, {true}, true}));

TEST_F(ServiceJobsTest, TheTickerActsOnStepsOnly) {
    host_.moved = true;
    host_.renderLevel = 4;
    for (Long message : {1, 2, 3, 4, 5}) app_.Coming(kMenuTickerJob, message, 0);
    EXPECT_EQ(host_.settings, 0);
    EXPECT_EQ(host_.updates, 0);
    EXPECT_TRUE(host_.menuShows.empty());
}

TEST_F(ServiceJobsTest, ARenderLevelChangeUpdatesTheMenuOnce) {
    app_.Job().Add(kMenuTickerJob, 2);
    Step();
    EXPECT_EQ(host_.updates, 0);  // the level has not changed
    host_.renderLevel = 3;
    Step();
    Step();
    Step();
    EXPECT_EQ(host_.updates, 1);
    EXPECT_EQ(app_.State.MenuRenderLevel, 3);
    host_.renderLevel = 4;
    Step();
    EXPECT_EQ(host_.updates, 2);
    EXPECT_EQ(host_.settings, 5);
}

// ---- Jobs 5 and 6 ------------------------------------------------------------

struct DialogCase {
    Long job;
    bool fullScreen;
    bool halfSize;
    bool leavesFullScreen;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << "job=" << c.job << " fullScreen=" << c.fullScreen << " halfSize=" << c.halfSize
        << " leavesFullScreen=" << c.leavesFullScreen;
}

class DialogJobTest : public ServiceJobsTest, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(DialogJobTest, RunsTheDialogUntilItCloses) {
    const DialogCase& c = GetParam();
    host_.fullScreen = c.fullScreen;
    host_.halfSize = c.halfSize;
    // The screen on show: a job that does nothing of its own here.
    app_.SetJobProcedure(11, [](ApplicationConfig&, Long, Long, Long) {});
    app_.Job().Add(11, 0);
    Step();
    app_.Job().Add(c.job, 1);
    Step();  // begins and shows the dialog in the same step
    FakeDialog& dialog = host_.dialogs[c.job == kKeyDialogJob ? 0 : 1];
    const FakeDialog& other = host_.dialogs[c.job == kKeyDialogJob ? 1 : 0];
    EXPECT_TRUE(other.calls.empty());
    if (c.leavesFullScreen) {
        EXPECT_EQ(host_.modeSwitches, std::vector<bool>{false});
        EXPECT_EQ(dialog.calls, (std::vector<std::string>{"Init", "Show"}));
    } else {
        EXPECT_TRUE(host_.modeSwitches.empty());
        EXPECT_EQ(dialog.calls, (std::vector<std::string>{"Place", "Init", "Show"}));
        EXPECT_EQ(dialog.x, 120);
        EXPECT_EQ(dialog.y, 77);
    }
    EXPECT_EQ(host_.menusEnabled, std::vector<bool>{false});
    EXPECT_EQ(host_.keyboardSetups, c.job == kKeyDialogJob ? 1 : 0);
    EXPECT_FALSE(app_.Jobs.IsActive(11));
    Step();
    Step();
    EXPECT_TRUE(Linked(c.job));
    EXPECT_EQ(dialog.calls.size(), c.leavesFullScreen ? 2u : 3u);  // shown once only
    EXPECT_EQ(dialog.steps, 2);  // polled on each step after the one that showed it

    dialog.open = false;
    Step();  // sees it closed and removes itself
    Step();  // unlinked: message 2
    EXPECT_FALSE(Linked(c.job));
    EXPECT_TRUE(app_.Jobs.IsActive(11));
    EXPECT_EQ(host_.menusEnabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(host_.keyboardSetups, c.job == kKeyDialogJob ? 2 : 0);
    if (c.leavesFullScreen) {
        EXPECT_EQ(host_.modeSwitches, (std::vector<bool>{false, true}));
    } else {
        EXPECT_TRUE(host_.modeSwitches.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DialogJobTest,
    ::testing::Values(DialogCase{5, true, true, true}, DialogCase{6, true, true, true},
                      DialogCase{5, true, false, false}, DialogCase{6, true, false, false},
                      DialogCase{5, false, false, false}, DialogCase{6, false, true, false}));

TEST_F(ServiceJobsTest, ADialogJobWithoutADialogEndsAndGivesTheMenusBack) {
    host_.haveDialogs = false;
    app_.Job().Add(kGraphicsDialogJob, 1);
    Step();
    Step();
    EXPECT_FALSE(Linked(kGraphicsDialogJob));
    EXPECT_EQ(host_.menusEnabled, std::vector<bool>{true});
}

// ---- Job 8 -------------------------------------------------------------------

class ClosingTest : public ServiceJobsTest {
protected:
    // Adds the job and runs its begin and first step.
    void Begin() {
        app_.Job().Add(kClosingJob, 0);
        Step();
        ASSERT_TRUE(app_.State.Quad);
        endCount_ = app_.State.Quad->EndCount();
        ASSERT_GT(endCount_, 0);
    }
    Long endCount_ = 0;
};

TEST_F(ClosingTest, BeginsWithTheFadeAndSlowerFrames) {
    Begin();
    EXPECT_EQ(host_.fades, std::vector<Long>{1000});
    EXPECT_EQ(host_.searchPathResets, 1);
    EXPECT_EQ(host_.sleepSaver, 1);
    EXPECT_GE(host_.sleepFrame, 4);
    EXPECT_LE(host_.sleepFrame, 7);
    EXPECT_EQ(host_.captures, 1);
    EXPECT_EQ(app_.State.TransFrame, 0);
    EXPECT_EQ(app_.State.TransTimeout, 5000u + 2500u);
    EXPECT_EQ(host_.draws, 0);
}

TEST_F(ClosingTest, EndsAfterItsEndCountOfDrawnSteps) {
    Begin();
    Long drawn = 0;
    for (int i = 0; i < 1000 && host_.unloads == 0; ++i) {
        host_.paintDisable = (i % 3) == 1;  // extra logic steps draw nothing
        const int before = host_.draws;
        Step();
        if (host_.paintDisable) {
            EXPECT_EQ(host_.draws, before);
        }
        drawn += host_.draws - before;
    }
    EXPECT_EQ(drawn, endCount_);
    EXPECT_EQ(host_.repaints, endCount_);
    EXPECT_EQ(host_.unloads, 1);
    Step();
    EXPECT_FALSE(Linked(kClosingJob));  // the list is empty: the program ends
    EXPECT_EQ(app_.Jobs.LinkedCount(), 0u);
    EXPECT_FALSE(app_.State.Quad);
    EXPECT_EQ(host_.unloads, 1);
}

TEST_F(ClosingTest, EndsOnTheFirstDrawnStepPast2500Ms) {
    Begin();
    app_.State.Quad->EndCount(1000);  // frames enough to outlast the time-out
    Step();
    Step();
    EXPECT_EQ(host_.draws, 2);
    host_.now += 2500;  // exactly at the time-out: not yet past
    Step();
    EXPECT_EQ(host_.draws, 3);
    EXPECT_EQ(host_.unloads, 0);
    host_.now += 1;
    host_.paintDisable = true;  // not a drawn step
    Step();
    EXPECT_EQ(host_.unloads, 0);
    host_.paintDisable = false;
    Step();
    EXPECT_EQ(host_.draws, 3);
    EXPECT_EQ(host_.unloads, 1);
    Step();
    EXPECT_FALSE(Linked(kClosingJob));
}

TEST_F(ClosingTest, TheTimeOutHoldsAcrossTheClockWrap) {
    host_.now = 0xFFFFFF00u;
    Begin();
    app_.State.Quad->EndCount(1000);
    host_.now = 0xFFFFFF00u + 2400;  // wrapped past zero, still in time
    Step();
    EXPECT_EQ(host_.unloads, 0);
    EXPECT_EQ(host_.draws, 1);
    host_.now = 0xFFFFFF00u + 2501;
    Step();
    EXPECT_EQ(host_.unloads, 1);
}

// ---- Job 9 -------------------------------------------------------------------

struct ApplyCase {
    GraphicsSettings settings;
    Long firstDepth;
    bool hardware, zBuffer, compression, no32, half, xga;
    bool pacing, waitVsinkSP, paintManual;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ApplyCase& c, std::ostream* os) {
    *os << "firstDepth=" << c.firstDepth << " hardware=" << c.hardware << " zBuffer=" << c.zBuffer
        << " compression=" << c.compression << " no32=" << c.no32 << " half=" << c.half
        << " xga=" << c.xga << " pacing=" << c.pacing << " waitVsinkSP=" << c.waitVsinkSP
        << " paintManual=" << c.paintManual;
}

GraphicsSettings Preset(Long preset, Long screenMode = 1) {
    GraphicsSettings g;
    g.GraphicsAutomation = preset;
    g.ScreenMode = screenMode;
    return g;
}

GraphicsSettings Detailed(Long device, Long bits, Long size, Long z, Long no32, Long vsink) {
    GraphicsSettings g = Preset(10, 0);
    g.DeviceMode = device;
    g.PixelBits = bits;
    g.DisplaySize = size;
    g.ZBuffer = z;
    g.Disable32BitTexture = no32;
    g.WaitVsink = vsink;
    return g;
}

class ApplyGraphicsTest : public ServiceJobsTest,
                          public ::testing::WithParamInterface<ApplyCase> {};

TEST_P(ApplyGraphicsTest, AppliesThePresetOnceAndRemovesItself) {
    const ApplyCase& c = GetParam();
    host_.graphics = c.settings;
    app_.Job().Add(kApplyGraphicsJob, 2);
    Step();
    ASSERT_EQ(host_.applied.size(), 1u);
    const GraphicsApply& a = host_.applied[0];
    EXPECT_EQ(a.firstDepth, c.firstDepth);
    const auto& ch = a.change;
    EXPECT_EQ(ch.width, 640);
    EXPECT_EQ(ch.height, 480);
    EXPECT_EQ(ch.depth, 0);
    EXPECT_EQ(ch.refreshRate, 60);
    EXPECT_EQ(ch.fullScreen, c.settings.ScreenMode != 0);
    EXPECT_EQ(ch.direct3D, true);
    EXPECT_EQ(ch.hardware, c.hardware);
    EXPECT_EQ(ch.zBuffer, c.zBuffer);
    EXPECT_EQ(ch.textureCompression, c.compression);
    EXPECT_EQ(ch.no32BitTextures, c.no32);
    EXPECT_EQ(ch.halfSize, c.half);
    EXPECT_EQ(ch.highQuality, c.xga);
    EXPECT_FALSE(ch.secondZBuffer.has_value());
    EXPECT_FALSE(ch.menuAutoHide.has_value());
    EXPECT_EQ(a.setsPacing, c.pacing);
    if (c.pacing) {
        EXPECT_EQ(a.waitVsinkSP, c.waitVsinkSP);
        EXPECT_EQ(a.paintManual, c.paintManual);
    }
    Step();
    EXPECT_FALSE(Linked(kApplyGraphicsJob));
    EXPECT_EQ(host_.applied.size(), 1u);
    EXPECT_EQ(host_.restores, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Presets, ApplyGraphicsTest,
    ::testing::Values(
        ApplyCase{Preset(0), 32, true, false, false, false, false, false, false, false, false},
        ApplyCase{Preset(1, 0), 16, true, false, true, true, false, false, false, false, false},
        ApplyCase{Preset(2), 32, true, false, true, true, true, false, false, false, false},
        ApplyCase{Preset(3), 32, false, false, false, false, false, false, false, false, false},
        ApplyCase{Preset(11), 32, true, false, false, false, false, true, false, false, false},
        ApplyCase{Detailed(1, 24, 0, 0, 0, 3), 24, true, false, false, false, false, false, true,
                  true, true},
        ApplyCase{Detailed(1, 16, 1, 1, 1, 1), 16, true, true, true, true, true, false, true, true,
                  false},
        ApplyCase{Detailed(0, 24, 2, 0, 1, 0), 16, false, false, true, true, false, true, true,
                  false, false},
        ApplyCase{Detailed(0, 24, 3, 0, 0, 2), 32, false, false, false, false, true, true, true,
                  false, true}));

TEST_F(ServiceJobsTest, AnotherPresetAppliesNothingButTheJobStillEnds) {
    for (Long preset : {4L, 9L, 12L, -1L}) {
        host_.graphics = Preset(preset);
        app_.Job().Add(kApplyGraphicsJob, 2);
        Step();
        Step();
        EXPECT_TRUE(host_.applied.empty()) << preset;
        EXPECT_FALSE(Linked(kApplyGraphicsJob)) << preset;
    }
    EXPECT_EQ(host_.restores, 4);
}

TEST_F(ServiceJobsTest, TheTextureCacheIsReloadedUntilTheLimitSettles) {
    struct {
        std::vector<Long> limits;
        int cashes;
    } cases[] = {
        {{0}, 1},            // already settled
        {{0, 1, 0}, 2},      // back after the second reload
        {{0, 1, 1, 1}, 10},  // never back: ten at most
    };
    for (const auto& c : cases) {
        host_.textureLimits = c.limits;
        host_.limitReads = 0;
        host_.cashes = 0;
        app_.Job().Add(kApplyGraphicsJob, 2);
        Step();
        Step();
        EXPECT_EQ(host_.cashes, c.cashes);
    }
}

TEST_F(ServiceJobsTest, BeginRestoresAMaximisedWindowOnlyInWindowMode) {
    app_.Job().Add(kApplyGraphicsJob, 2);
    Step();
    EXPECT_EQ(host_.restoredMaximised, 1);
    host_.fullScreen = true;
    app_.Job().Add(kApplyGraphicsJob, 2);
    Step();
    EXPECT_EQ(host_.restoredMaximised, 1);
}

TEST_F(ServiceJobsTest, WithoutAHostTheJobsDoNothing) {
    app_.ServiceHost = nullptr;
    for (Long job : {2L, 5L, 6L, 8L, 9L}) app_.Job().Add(job, job == 8 ? 0 : 2);
    Step();
    Step();
    EXPECT_EQ(app_.Jobs.LinkedCount(), 5u);
    EXPECT_EQ(host_.settings + host_.draws + host_.cashes, 0);
}

}  // namespace
}  // namespace brumil::frontend
