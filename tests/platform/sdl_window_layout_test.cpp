#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/base/sdl_window.h"

namespace brumil::platform {
namespace {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Rect&) const = default;
};

Rect PictureOf(const SdlWindow& w) {
    Rect r;
    w.PictureRect(r.x, r.y, r.w, r.h);
    return r;
}

// The real window on SDL's dummy driver, with rows kept for a menu bar.
std::unique_ptr<SdlWindow> OpenWithBar(bool fullScreen) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    WindowSettings settings;
    settings.fullScreen = fullScreen;
    settings.vsync = false;
    auto w = SdlWindow::Open(settings);
    if (w != nullptr) w->SetTopInset(20);
    return w;
}

// Full screen: the whole display holds the 4:3 picture, centred, with no rows
// kept for the bar (the bar is drawn over the picture there).
void ExpectFillsTheDisplay(const SdlWindow& w) {
    const Rect r = PictureOf(w);
    EXPECT_EQ(w.TopInset(), 0);
    EXPECT_EQ(r.w * 3, r.h * 4);
    EXPECT_GT(r.w, 0);
    EXPECT_TRUE(r.x == 0 || r.y == 0);  // touches two opposite sides
    EXPECT_GE(r.x, 0);
    EXPECT_GE(r.y, 0);
}

TEST(SdlWindowLayout, FullScreenAtOpenFillsTheDisplayWithoutTheBarRows) {
    auto w = OpenWithBar(true);
    if (w == nullptr) GTEST_SKIP() << "SDL's dummy video driver is not available";
    ASSERT_TRUE(w->IsFullScreen());
    ExpectFillsTheDisplay(*w);
    EXPECT_NE(PictureOf(*w), (Rect{0, 20, 640, 480}));
}

TEST(SdlWindowLayout, SwitchingKeepsEachModesLayout) {
    auto w = OpenWithBar(true);
    if (w == nullptr) GTEST_SKIP() << "SDL's dummy video driver is not available";
    const Rect full = PictureOf(*w);

    w->RequestFullScreen(false);
    ASSERT_TRUE(w->ApplyPendingMode());
    EXPECT_FALSE(w->IsFullScreen());
    EXPECT_EQ(w->TopInset(), 20);
    // The window is the picture at 1:1 below the bar.
    EXPECT_EQ(PictureOf(*w), (Rect{0, 20, 640, 480}));

    w->RequestFullScreen(true);
    ASSERT_TRUE(w->ApplyPendingMode());
    EXPECT_TRUE(w->IsFullScreen());
    ExpectFillsTheDisplay(*w);
    EXPECT_EQ(PictureOf(*w), full);
    EXPECT_FALSE(w->ApplyPendingMode());  // nothing pending
}

TEST(SdlWindowLayout, WindowModeAtOpenShowsThePictureBelowTheBar) {
    auto w = OpenWithBar(false);
    if (w == nullptr) GTEST_SKIP() << "SDL's dummy video driver is not available";
    EXPECT_FALSE(w->IsFullScreen());
    EXPECT_EQ(PictureOf(*w), (Rect{0, 20, 640, 480}));
}

}  // namespace
}  // namespace brumil::platform
