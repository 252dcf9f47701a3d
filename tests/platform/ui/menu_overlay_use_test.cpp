// The full-screen menu bar used with the pointer: whoever hides the bar when
// the pointer goes down the screen (the front end's menu ticker) must see the
// menu in use over a drop-down's rows, or no item could be chosen; and what
// the menu takes (clicks, the pointer over it) never reaches the game's input.
// The real SDL window on the dummy video driver with the overlay attached.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "platform/base/input_devices.h"
#include "platform/base/sdl_window.h"
#include "platform/ui/menu_overlay.h"

namespace brumil::platform {
namespace {

// One menu of five items and a separator; the bar shows while `shown`.
class OneMenu final : public OverlayClient {
public:
    bool shown = true;
    std::vector<int> chosen;

    OverlayFrame Describe() override {
        OverlayFrame f;
        OverlayMenu m{"System", true, {}};
        for (const char* caption : {"Keys", "Network", "Chat"}) m.items.push_back({caption});
        m.items.push_back({"", true});
        for (const char* caption : {"Back", "Exit"}) m.items.push_back({caption});
        f.menus.push_back(std::move(m));
        f.fullScreenBarShown = shown;
        return f;
    }
    void MenuItemChosen(int menu, int item) override {
        if (menu == 0) chosen.push_back(item);
    }
    void KeyDown(OverlayKey) override {}
    void KeyUp(OverlayKey, bool) override {}
    void BarLostFocus() override { shown = false; }
};

// The window in full screen with the overlay, and the game's input devices.
class FullScreenMenu {
public:
    FullScreenMenu() {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        WindowSettings settings;
        settings.fullScreen = true;
        settings.vsync = false;
        window = SdlWindow::Open(settings);
        if (window == nullptr) return;
        overlay = AttachMenuOverlay(*window, OverlayFont{}, menu);
        devices = OpenInputDevices(*window);
        Step();
    }

    // One game frame: events pumped, the game's input sampled, the hiding
    // rule of the menu ticker applied, the overlay drawn.
    void Step() {
        (void)window->PumpEvents();
        devices->Sample(input);
        if (input.mouse.left) ++gameClicks;
        const PointerActivity& p = input.mouse.pointer;
        if (p.moved && p.screenY < 20) menu.shown = true;
        if (p.moved && p.screenY >= 31 && !overlay->MenuInUse()) menu.shown = false;
        overlay->FrameDone();
    }
    void MoveTo(int x, int y) {
        window->InjectPointerMotion(x, y);
        Step();
    }
    void Click(int x, int y) {
        window->InjectPointerButton(x, y, true);
        Step();
        window->InjectPointerButton(x, y, false);
        Step();
    }
    // Opens the drop-down from the top of the screen, as a user does; one
    // left open (by a click on the separator) is first closed by a click
    // far from it, which the menu takes as well.
    void OpenMenu() {
        MoveTo(600, 400);
        if (overlay->MenuInUse()) Click(600, 400);
        MoveTo(20, 2);
        MoveTo(20, 8);
        Click(20, 8);
    }

    OneMenu menu;
    std::unique_ptr<SdlWindow> window;
    std::unique_ptr<MenuOverlay> overlay;
    std::unique_ptr<InputDevices> devices;
    InputSnapshot input;
    int gameClicks = 0;
};

TEST(MenuOverlayUse, EveryItemOfADropDownCanBeChosenInFullScreen) {
    FullScreenMenu m;
    if (m.window == nullptr) GTEST_SKIP() << "SDL's dummy video driver is not available";
    // Down the drop-down's rows, one at a time: the bar and the drop-down
    // stay, and the pointer over them is not the game's.
    m.OpenMenu();
    for (int y = 20; y <= 140; y += 3) {
        SCOPED_TRACE(y);
        m.MoveTo(40, y);
        EXPECT_TRUE(m.overlay->MenuInUse());
        EXPECT_TRUE(m.menu.shown);
        EXPECT_FALSE(m.input.mouse.pointer.moved);
    }
    // Each row chooses its own item, top to bottom, the separator nothing.
    std::map<int, int> rowsOfItem;
    int last = -1;
    for (int y = 20; y <= 140; y += 2) {
        m.menu.chosen.clear();
        m.OpenMenu();
        m.MoveTo(40, y);
        m.Click(40, y);
        ASSERT_LE(m.menu.chosen.size(), 1u);
        if (m.menu.chosen.empty()) continue;
        const int item = m.menu.chosen.front();
        EXPECT_GE(item, last) << "row " << y;
        last = item;
        ++rowsOfItem[item];
    }
    EXPECT_EQ(rowsOfItem.size(), 5u);
    for (const int item : {0, 1, 2, 4, 5}) EXPECT_GT(rowsOfItem[item], 0) << "item " << item;
    EXPECT_EQ(rowsOfItem.count(3), 0u);
    // No click on the menu was the game's.
    EXPECT_EQ(m.gameClicks, 0);
}

TEST(MenuOverlayUse, BelowAClosedMenuThePointerAndClicksAreTheGames) {
    FullScreenMenu m;
    if (m.window == nullptr) GTEST_SKIP() << "SDL's dummy video driver is not available";
    m.MoveTo(300, 300);
    EXPECT_FALSE(m.overlay->MenuInUse());
    EXPECT_FALSE(m.menu.shown);
    EXPECT_TRUE(m.input.mouse.pointer.moved);
    // Up to the top: the game sees the pointer arrive, the bar shows.
    m.MoveTo(20, 5);
    EXPECT_TRUE(m.input.mouse.pointer.moved);
    EXPECT_TRUE(m.menu.shown);
    // Over the shown bar the pointer is the menu's.
    m.MoveTo(20, 8);
    EXPECT_TRUE(m.overlay->MenuInUse());
    EXPECT_FALSE(m.input.mouse.pointer.moved);
    // The one motion that leaves the bar is the game's again.
    m.MoveTo(300, 300);
    EXPECT_FALSE(m.overlay->MenuInUse());
    EXPECT_FALSE(m.menu.shown);  // hidden as the ticker's rule says
    EXPECT_TRUE(m.input.mouse.pointer.moved);
    m.Click(300, 300);
    EXPECT_EQ(m.gameClicks, 1);
    EXPECT_TRUE(m.menu.chosen.empty());
}

}  // namespace
}  // namespace brumil::platform
