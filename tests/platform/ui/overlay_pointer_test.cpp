// The pointer's way from SDL's event queue through the window's event hook to
// the overlay's windows: the real SDL window on the dummy video driver, the
// menu overlay attached to it and the graphics dialog view added to the
// overlay. Events pushed onto SDL's queue never reach SDL's own mouse state,
// so the overlay sees the pointer only if it follows the events.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <utility>

#include "platform/base/sdl_window.h"
#include "platform/ui/graphics_dialog_view.h"
#include "platform/ui/menu_overlay.h"
#include "platform/ui/overlay_window.h"

namespace brumil::platform {
namespace {

class NoMenu final : public OverlayClient {
public:
    OverlayFrame Describe() override { return {}; }
    void MenuItemChosen(int, int) override {}
    void KeyDown(OverlayKey) override {}
    void KeyUp(OverlayKey, bool) override {}
    void BarLostFocus() override {}
};

class Dialog final : public GraphicsDialogClient {
public:
    std::set<std::pair<int, int>> pointed, clicked;
    int freeArea = 0;

    GraphicsDialogFrame Describe() override {
        GraphicsDialogFrame f;
        f.visible = true;
        f.caption = "Graphics";
        f.groups = {{"Render", {"32bit", "16bit", "Software"}, 0},
                    {"Size", {"640", "320", "1024"}, 0},
                    {"Sync", {"Strict", "Simple", "None"}, 0}};
        f.help = "help";
        f.ok = "OK";
        f.cancel = "Cancel";
        return f;
    }
    void OptionClicked(int g, int o) override { clicked.insert({g, o}); }
    void PointerOverOption(int g, int o) override { pointed.insert({g, o}); }
    void PointerOverFreeArea() override { ++freeArea; }
    void OkClicked() override {}
    void CancelClicked() override {}
    void CloseBoxClicked() override {}
};

std::set<std::pair<int, int>> AllOptions() {
    std::set<std::pair<int, int>> all;
    for (int g = 0; g < 3; ++g)
        for (int o = 0; o < 3; ++o) all.insert({g, o});
    return all;
}

// The game's window with the overlay and the dialog, as the game sets them up.
class OverlayOnWindow {
public:
    explicit OverlayOnWindow(bool fullScreen) {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        WindowSettings settings;
        settings.fullScreen = fullScreen;
        settings.vsync = false;
        window = SdlWindow::Open(settings);
        if (window == nullptr) return;
        overlay = AttachMenuOverlay(*window, OverlayFont{}, menu);
        view = MakeGraphicsDialogView(dialog, OverlayFont{});
        overlay->AddWindow(*view);
        Step();  // the window appears before the pointer comes
    }
    ~OverlayOnWindow() {
        if (overlay != nullptr) overlay->RemoveWindow(*view);
    }

    // One game frame: the events pumped, nothing presented, the overlay
    // redrawn.
    void Step() {
        (void)window->PumpEvents();
        overlay->FrameDone();
    }
    void MoveTo(int x, int y) {
        window->InjectPointerMotion(x, y);
        Step();
    }
    void Button(int x, int y, bool down) {
        window->InjectPointerButton(x, y, down);
        Step();
    }
    // Sweeps the window's top-left part, where the dialog opens, on a grid;
    // answers the smallest row and column at which an option was pointed.
    std::pair<int, int> SweepForOptions() {
        int w = 0, h = 0;
        window->ClientSize(w, h);
        w = std::min(w, 640);
        h = std::min(h, 520);
        int minX = w, minY = h;
        for (int y = 0; y < h; y += 8) {
            for (int x = 0; x < w; x += 16) {
                dialog.pointed.clear();
                MoveTo(x, y);
                if (!dialog.pointed.empty()) {
                    minX = std::min(minX, x);
                    minY = std::min(minY, y);
                    found.insert(dialog.pointed.begin(), dialog.pointed.end());
                }
            }
        }
        return {minX, minY};
    }

    NoMenu menu;
    Dialog dialog;
    std::unique_ptr<SdlWindow> window;
    std::unique_ptr<MenuOverlay> overlay;
    std::unique_ptr<OverlayWindow> view;
    std::set<std::pair<int, int>> found;
};

// Window mode keeps the bar's rows above the picture; full screen lays the
// picture out at the display's size: in both the dialog follows the events'
// window coordinates.
TEST(OverlayPointer, MotionEventsHoverEveryOptionInBothScreenModes) {
    for (const bool fullScreen : {false, true}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "window");
        OverlayOnWindow o(fullScreen);
        if (o.window == nullptr) GTEST_SKIP() << "SDL's dummy video driver is not available";
        ASSERT_NE(o.overlay, nullptr);
        const auto [x, y] = o.SweepForOptions();
        EXPECT_EQ(o.found, AllOptions());
        EXPECT_GT(o.dialog.freeArea, 0);
        EXPECT_TRUE(o.dialog.clicked.empty());  // moving clicks nothing
        // The dialog opens at the picture's top-left corner: below the bar in
        // window mode, at the centred picture's corner in full screen.
        int px = 0, py = 0, pw = 0, ph = 0;
        o.window->PictureRect(px, py, pw, ph);
        if (!fullScreen) {
            EXPECT_EQ(py, o.overlay->BarHeight());
        }
        EXPECT_GE(x, px);
        EXPECT_GE(y, py);
        EXPECT_LT(y, py + 80);
    }
}

TEST(OverlayPointer, AClickLandsOnTheOptionTheMotionHovers) {
    OverlayOnWindow o(false);
    if (o.window == nullptr) GTEST_SKIP() << "SDL's dummy video driver is not available";
    int w = 0, h = 0;
    o.window->ClientSize(w, h);
    int x = 0, y = 0;
    for (y = 0; y < h && o.dialog.pointed.empty(); y += 4) {
        for (x = 0; x < w && o.dialog.pointed.empty(); x += 8) o.MoveTo(x, y);
    }
    ASSERT_EQ(o.dialog.pointed.size(), 1u);
    const auto option = *o.dialog.pointed.begin();
    x -= 8;  // the loops stepped past the point that found it
    y -= 4;
    o.Button(x, y, true);
    o.Button(x, y, false);
    EXPECT_EQ(o.dialog.clicked, (std::set<std::pair<int, int>>{option}));
}

}  // namespace
}  // namespace brumil::platform
