#pragma once
// A headless front end for screen tests: the real job list of an
// ApplicationConfig, the software display (back surface readable), the
// texture cache over a temporary data root holding the screens' pictures,
// and scripted input through null devices into the real input module. The
// screen host is the platform one; only the shell's part (key set-up, menu
// sounds, window menus), the frame host and the clock are the test's own.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/api.h"
#include "framework/display.h"
#include "framework/input_module.h"
#include "framework/input_state.h"
#include "framework/key_assign.h"
#include "framework/maxwell.h"
#include "framework/vkey.h"
#include "frontend/application_config.h"
#include "frontend/screen_host.h"
#include "image/cmg_bbi.h"
#include "image/cmg_bbi_function.h"
#include "platform/base/clock.h"
#include "platform/base/input_devices.h"
#include "platform/base/scan_codes.h"
#include "render/admin_lib.h"
#include "render/im_texture.h"
#include "temp_root.h"

namespace brumil::frontend::screentest {

class TestScreenHost final : public PlatformScreenHost {
public:
    TestScreenHost(platform::Clock& clock, framework::CMaxwell& maxwell)
        : PlatformScreenHost(clock), maxwell_(maxwell) {}

    framework::CMaxwell* FrameHost() override { return &maxwell_; }
    bool PaintDisable() override { return maxwell_.Config().PaintDisable; }
    void RePaint() override {
        ++repaints;
        maxwell_.RePaint();
    }
    // The shell's rule for the two counts the tests use.
    void SetupKeyAssign() override {
        keySetupCounts.push_back(GetJoystickCount());
        if (GetJoystickCount() == 0) {
            framework::SetDefaultKeyAssign1(0);
            framework::ClearKeyAssign(1);
        } else {
            framework::SetDefaultPadAssign();
        }
    }
    void PlayMenuSound(Long n) override { sounds.push_back(n); }
    void EnableScreenMenus(bool enabled) override { menus.push_back(enabled); }
    void UnLoadTheApp() override { ++unloads; }
    void SetTextureSearchPaths() override { ++searchPathResets; }

    int repaints = 0;
    std::vector<Long> keySetupCounts;  // joystick count at each key set-up
    std::vector<Long> sounds;
    std::vector<bool> menus;
    int unloads = 0;
    int searchPathResets = 0;

private:
    framework::CMaxwell& maxwell_;
};

// Colours of the generated pictures, told apart in the tests.
inline constexpr Long kBackgroundColour = 0xFF3060A0;
inline constexpr Long kCursorColour = 0xFFFFFFFF;

class ScreenFixture : public ::testing::Test {
protected:
    void SetUp() override {
        WritePictures();
        render::gIMTexture().Clear();
        render::gIMTexture().SearchPathAdd(core::gApi().GetAbolutePath("\\data") + "/", ".bmp");
        ResetKeys();
        framework::gInputModule().Attach(&devices);
        devices.ReleaseAll();
        Input();
        Input();
        app.Screens = &host;
    }
    void TearDown() override {
        app.Job().Destroy();
        app.Job().Poll();
        framework::gInputModule().Attach(nullptr);
        framework::DisplayStop();
        render::gIMTexture().Clear();
        ResetKeys();
    }

    // The display at a drawing scale of 0.5, 1.0 or 1.6.
    void StartDisplay(Single scale = 1.0f) {
        framework::DisplaySettings s;
        s.halfSize = scale == 0.5f;
        s.highQuality = scale == 1.6f;
        ASSERT_TRUE(framework::DisplayStart(s));
        ASSERT_EQ(framework::GetDrawScale(), scale);
    }

    // One logic step as the main loop runs it: input step, then the job list.
    void Step() {
        Input();
        app.Job().Poll();
    }
    void Input() { framework::gInputModule().Step(); }
    // A key down for one step, then up for one step.
    void Press(platform::ScanCode key) {
        devices.SetKey(key, true);
        Step();
        devices.SetKey(key, false);
        Step();
    }
    void PressPadButton(int pad, int button) {
        devices.Joystick(pad).buttons[static_cast<std::size_t>(button)] = true;
        Step();
        devices.Joystick(pad).buttons[static_cast<std::size_t>(button)] = false;
        Step();
    }
    void PressPadDown(int pad) {
        devices.Joystick(pad).down = true;
        Step();
        devices.Joystick(pad).down = false;
        Step();
    }

    static std::uint32_t Back(int x, int y) {
        return framework::gBackDDS()->PixelAt(x, y) & 0xFFFFFFu;
    }
    // Pixels (colour channels) where the back surface and the picture differ,
    // over the picture's size.
    static int DiffersFromBack(const image::CmgBBI& picture) {
        int differ = 0;
        for (Long y = 0; y < picture.GetHeight(); ++y) {
            for (Long x = 0; x < picture.GetWidth(); ++x) {
                const auto p = static_cast<std::uint32_t>(picture.dwGetPixel(x, y)) & 0xFFFFFFu;
                if (p != Back(x, y)) ++differ;
            }
        }
        return differ;
    }
    static bool SamePixels(const image::CmgBBI& a, const image::CmgBBI& b) {
        if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
        for (Long y = 0; y < a.GetHeight(); ++y) {
            for (Long x = 0; x < a.GetWidth(); ++x) {
                if ((a.dwGetPixel(x, y) & 0xFFFFFF) != (b.dwGetPixel(x, y) & 0xFFFFFF)) {
                    return false;
                }
            }
        }
        return true;
    }

    testing::TempDataRoot root;
    platform::ManualClock clock{1'000'000'000};  // 1000 s
    framework::CMaxwell maxwell{clock};
    TestScreenHost host{clock, maxwell};
    platform::NullInputDevices devices;
    ApplicationConfig app;

private:
    static void ResetKeys() {
        for (Long p = 0; p < framework::kKeyAssignPlayers; ++p) framework::ClearKeyAssign(p);
        framework::SetDefaultKeyAssign1(0);
        framework::gInputState() = framework::InputStateBlock{};
        for (framework::VKeyRecord& r : framework::VKey()) r = framework::VKeyRecord{};
    }
    void WritePictures() {
        std::filesystem::create_directories(root.Path() / "data");
        image::CmgBBIFunction& fx = image::gBBIFunction();
        image::CmgBBI background;
        background.CreateBBI(640, 480);
        fx.BBIDrawColorFill(background, 0, 0, 640, 480, 0, kBackgroundColour);
        // A band that the logo's stencil can tell from the rest.
        fx.BBIDrawColorFill(background, 0, 200, 640, 80, 0, 0xFF101010);
        ASSERT_EQ(background.SaveBMP("\\data\\appconfig.bmp", 24), 0);
        image::CmgBBI cursor;
        cursor.CreateBBI(64, 16);
        fx.BBIDrawColorFill(cursor, 0, 0, 64, 16, 0, kCursorColour);
        ASSERT_EQ(cursor.SaveBMP("\\data\\cursor.bmp", 32), 0);
        image::CmgBBI logo;
        logo.CreateBBI(640, 480);
        fx.BBIDrawColorFill(logo, 0, 0, 640, 480, 0, 0xFFE0C020);
        ASSERT_EQ(logo.SaveBMP("\\data\\pelmor logo w3.bmp", 24), 0);
    }
};

}  // namespace brumil::frontend::screentest
