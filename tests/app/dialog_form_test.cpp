// The settings dialogs' windows as CApi::SetupForm sets them up: the dialog
// font from their load on, and a placement kept inside the screen.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/dialog_text.h"
#include "app/graphics_config_dialog.h"
#include "app/key_config_dialog.h"
#include "core/api_form.h"

namespace brumil::app {
namespace {

// Both dialogs through the same steps: the window, placing it, opening it.
struct Dialog {
    const char* name;
    std::function<void(const std::function<void(frontend::SettingsDialog&, DialogWindow&)>&)> with;
};

const Dialog kDialogs[] = {
    {"graphics settings",
     [](const auto& f) {
         frmGraphicsConfig d;
         f(d, d.Form());
         d.Form_Close();
     }},
    {"key configuration",
     [](const auto& f) {
         frmKeyConfig d;
         f(d, d.Form());
         d.Form_Close();
     }},
};

TEST(DialogForm, TheWindowCarriesTheDialogFontBeforeAndAfterItLoads) {
    for (const Dialog& dialog : kDialogs) {
        SCOPED_TRACE(dialog.name);
        dialog.with([](frontend::SettingsDialog& d, DialogWindow& form) {
            EXPECT_EQ(form.FontName(), kDialogFontName);
            EXPECT_EQ(form.FontPoints(), 9);
            EXPECT_EQ(core::FontPixelsOfPoints(form.FontPoints()), 12);
            d.Init();
            d.Show();
            EXPECT_TRUE(form.Visible());
            EXPECT_EQ(form.FontName(), kDialogFontName);
            EXPECT_EQ(form.FontPoints(), 9);
        });
    }
}

TEST(DialogForm, PlacingKeepsTheCornerInsideTheScreen) {
    struct Case {
        Long screenWidth, screenHeight;
        Long x, y;
        Long placedX, placedY;
    };
    const Case cases[] = {
        {1024, 768, 100, 50, 100, 50},      // inside: as asked
        {1024, 768, -20, 30, 0, 30},        // left of the screen
        {1024, 768, 300, -8, 300, 0},       // above it
        {1024, 768, 2000, 900, 1024, 768},  // beyond its corner
        {0, 0, 2000, 900, 2000, 900},       // screen not known: as asked
    };
    for (const Dialog& dialog : kDialogs) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(dialog.name) + " at " + std::to_string(c.x) + ", " +
                         std::to_string(c.y));
            dialog.with([&c](frontend::SettingsDialog& d, DialogWindow& form) {
                form.SetScreenSize(c.screenWidth, c.screenHeight);
                Long x = -1, y = -1;
                EXPECT_FALSE(form.Placement(x, y));
                d.Place(c.x, c.y);
                ASSERT_TRUE(form.Placement(x, y));
                EXPECT_EQ(x, c.placedX);
                EXPECT_EQ(y, c.placedY);
                EXPECT_EQ(form.FontName(), kDialogFontName);  // placing keeps the font
            });
        }
    }
}

}  // namespace
}  // namespace brumil::app
