#pragma once
// The screen fixture with the pictures of the menus from the title to the
// match, the run's battle object and helpers that drive the screens from the
// title on. Pictures are plain colours the tests can tell apart; only two
// characters have portraits, the others show the cache's empty picture.

#include <cstdint>
#include <memory>

#include "battle/b_game.h"
#include "battle/system_save_record.h"
#include "core/api.h"
#include "frontend/job_numbers.h"
#include "frontend/view.h"
#include "screen_test_fixture.h"

namespace brumil::frontend::screentest {

inline constexpr Long kStartColour = 0xFF204080;
inline constexpr std::uint32_t kLevelColours[4] = {0xFF602020, 0xFF206020, 0xFF202060, 0xFF606020};
inline constexpr Long kLabelColour = 0xFF808080;  // multiplies to half brightness
inline constexpr Long kSelectColour = 0xFF305070;
inline constexpr std::uint32_t kPortraitColours[2] = {0xFFC04040, 0xFF40C040};  // ids 1 and 2

class MenuScreenFixture : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        WriteMenuPictures();
        // Names given with their extension are found as they are.
        render::gIMTexture().SearchPathAdd(core::gApi().GetAbolutePath("\\data") + "/", "");
        battle::gGame() = std::make_unique<battle::bGame>(clock);
        battle::SystemSaveReset(battle::gSystemSave());
        battle::gSystemSave().Permit = 4;
        core::gApi().SeedHelperRandom(7);
        app.TitleMode = 0;
    }
    void TearDown() override {
        ScreenFixture::TearDown();
        battle::gGame().reset();
        battle::SystemSaveReset(battle::gSystemSave());
    }

    battle::bGame& Game() { return *battle::gGame(); }
    battle::BGameOption& Options() { return Game().gd(); }
    CView& View() { return *app.CurrentView; }
    Long Cursor() { return app.CurrentView->InterfaceCursor(); }
    ScreenState& St() { return app.State; }
    bool On(Long job) { return app.Job().Test(ApplicationConfig::Key(job)); }
    bool Active(Long job) { return app.Job().IsActive(ApplicationConfig::Key(job)); }

    // Player 1 and 2 on pads 1 and 2.
    void PlugPads() {
        devices.PlugJoysticks(2);
        host.SetupJoysticks();
        framework::SetDefaultPadAssign();
        Input();
    }

    // The title with its menu running (a press skips the fades).
    void TitleMenu() {
        StartDisplay();
        app.Job().Add(ApplicationConfig::Key(kTitleJob), kJobKindNormal);
        Step();
        Press(platform::scan::Return);
        ASSERT_EQ(St().TitleStep, 3);
        host.sounds.clear();
    }
    // Keyboard: Down n times.
    void Down(int n) {
        for (int i = 0; i < n; ++i) Press(platform::scan::Down);
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) Step();
    }
    // Steps until the predicate holds; false when it never did.
    template <typename F>
    bool StepUntil(F done, int limit = 400) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            Step();
        }
        return done();
    }

private:
    void WriteMenuPictures() {
        image::CmgBBIFunction& fx = image::gBBIFunction();
        const auto plain = [&](const char* name, Long w, Long h, std::uint32_t colour, Long bits) {
            image::CmgBBI p;
            p.CreateBBI(w, h);
            fx.BBIDrawColorFill(p, 0, 0, w, h, 0, static_cast<Long>(colour));
            ASSERT_EQ(p.SaveBMP(name, bits), 0) << name;
        };
        plain("\\data\\start.bmp", 640, 480, kStartColour, 24);
        plain("\\data\\start1.bmp", 640, 480, 0xFFFFFFFF, 24);
        plain("\\data\\font64-x13-256x256.bmp", 256, 256, 0xFFFFFFFF, 32);
        const char* levels[] = {"\\data\\level1.bmp", "\\data\\level2.bmp", "\\data\\level3.bmp",
                                "\\data\\level4.bmp"};
        for (int i = 0; i < 4; ++i) plain(levels[i], 640, 480, kLevelColours[i], 24);
        plain("\\data\\level.bmp", 640, 480, kLabelColour, 24);
        plain("\\data\\select_character1.bmp", 640, 480, kSelectColour, 24);
        plain("\\data\\select_character2.bmp", 640, 480, 0xFF000000, 32);
        std::filesystem::create_directories(root.Path() / "data" / "chara_vesna");
        std::filesystem::create_directories(root.Path() / "data" / "chara_pell");
        plain("\\data\\chara_vesna\\images_1.bmp", 42, 42, kPortraitColours[0], 32);
        plain("\\data\\chara_pell\\images_1.bmp", 42, 42, kPortraitColours[1], 32);
    }
};

}  // namespace brumil::frontend::screentest
