// The settings dialog views driven through a bare Dear ImGui context (no
// renderer): the pointer sweeps the screen on a grid, one frame a point, and
// the reports of the view are collected, so the tests hold whatever the
// layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/graphics_dialog_view.h"
#include "platform/ui/key_dialog_view.h"
#include "platform/ui/overlay_window_driver.h"

namespace brumil::platform {
namespace {

constexpr float kStep = 8.0f;
constexpr float kWidth = 900.0f;
constexpr float kHeight = 700.0f;

// Sweeps the pointer over the screen on a grid, one move (or one click) a
// point.
class Sweeper {
public:
    void Sweep(OverlayWindow& view, bool click) {
        OverlayPlace place;
        place.pictureX = 20;
        place.pictureY = 30;
        for (float y = 0; y < kHeight; y += kStep) {
            for (float x = 0; x < kWidth; x += kStep) {
                if (click) driver_.Frame(view, x, y, true, place);
                driver_.Frame(view, x, y, false, place);
            }
        }
    }

private:
    OverlayWindowDriver driver_{kWidth, kHeight};
};

class FakeGraphicsClient final : public GraphicsDialogClient {
public:
    GraphicsDialogFrame frame;
    std::set<std::pair<int, int>> pointed, clicked;
    int freeArea = 0, ok = 0, cancel = 0, closeBox = 0;

    GraphicsDialogFrame Describe() override { return frame; }
    void OptionClicked(int g, int o) override { clicked.insert({g, o}); }
    void PointerOverOption(int g, int o) override { pointed.insert({g, o}); }
    void PointerOverFreeArea() override { ++freeArea; }
    void OkClicked() override { ++ok; }
    void CancelClicked() override { ++cancel; }
    void CloseBoxClicked() override { ++closeBox; }
};

GraphicsDialogFrame GraphicsFrame() {
    GraphicsDialogFrame f;
    f.visible = true;
    f.caption = "Graphics";
    f.groups = {{"Render", {"32bit", "16bit", "Software"}, 0},
                {"Size", {"640", "320", "1024"}, 0},
                {"Texture", {"8888", "4444"}, 1},
                {"Sync", {"Strict", "Simple", "None"}, 2},
                {"Z", {"No", "Yes"}, 0}};
    f.help = "line 1\r\nline 2";
    f.ok = "OK";
    f.cancel = "Cancel";
    return f;
}

std::set<std::pair<int, int>> AllOptions(const GraphicsDialogFrame& f) {
    std::set<std::pair<int, int>> all;
    for (std::size_t g = 0; g < f.groups.size(); ++g)
        for (std::size_t o = 0; o < f.groups[g].options.size(); ++o) all.insert({int(g), int(o)});
    return all;
}

TEST(GraphicsDialogView, EveryOptionReportsItsOwnPointingAndClick) {
    Sweeper imgui;
    FakeGraphicsClient client;
    client.frame = GraphicsFrame();
    auto view = MakeGraphicsDialogView(client, OverlayFont{});
    imgui.Sweep(*view, false);
    EXPECT_EQ(client.pointed, AllOptions(client.frame));
    EXPECT_GT(client.freeArea, 0);  // the window's free area empties the help
    EXPECT_TRUE(client.clicked.empty());
    EXPECT_EQ(client.ok + client.cancel + client.closeBox, 0);  // moving clicks nothing

    imgui.Sweep(*view, true);
    EXPECT_EQ(client.clicked, AllOptions(client.frame));
    EXPECT_GT(client.ok, 0);
    EXPECT_GT(client.cancel, 0);
    EXPECT_GT(client.closeBox, 0);
}

// The top-left corner of the area in which the pointer finds options.
std::pair<float, float> FirstPointedCorner(OverlayWindow& view, FakeGraphicsClient& client,
                                           const OverlayPlace& place) {
    OverlayWindowDriver driver(kWidth, kHeight);
    float minX = kWidth, minY = kHeight;
    for (float y = 0; y < kHeight; y += kStep) {
        for (float x = 0; x < kWidth; x += kStep) {
            client.pointed.clear();
            driver.Frame(view, x, y, false, place);
            if (!client.pointed.empty()) {
                minX = std::min(minX, x);
                minY = std::min(minY, y);
            }
        }
    }
    return {minX, minY};
}

TEST(GraphicsDialogView, OpensAtItsScreenPositionOrElseAtThePicturesCorner) {
    OverlayPlace place;
    place.clientScreenX = 100;
    place.clientScreenY = 50;
    place.pictureX = 24;
    place.pictureY = 32;
    FakeGraphicsClient client;
    client.frame = GraphicsFrame();
    auto unplaced = MakeGraphicsDialogView(client, OverlayFont{});
    const auto [ux, uy] = FirstPointedCorner(*unplaced, client, place);
    EXPECT_GE(ux, 24.0f);
    EXPECT_GE(uy, 32.0f);
    EXPECT_LT(ux, 124.0f);

    // Screen (420, 330) is client (320, 280): the options lie beyond it.
    client.frame.placed = true;
    client.frame.screenX = 420;
    client.frame.screenY = 330;
    auto placed = MakeGraphicsDialogView(client, OverlayFont{});
    const auto [px, py] = FirstPointedCorner(*placed, client, place);
    EXPECT_GE(px, 320.0f);
    EXPECT_GE(py, 280.0f);
    EXPECT_LT(px, 420.0f);
    // The same layout, moved from the picture's corner to the placement.
    EXPECT_EQ(px - ux, 296.0f);
    EXPECT_EQ(py - uy, 248.0f);
}

// A placement partly or wholly off the display is pulled inside it: every
// option can still be pointed at.
TEST(GraphicsDialogView, APlacementBeyondTheDisplayIsKeptInsideIt) {
    struct Case {
        int screenX, screenY;
    };
    for (const Case c : {Case{5000, 5000}, Case{850, 10}, Case{10, 650}, Case{-400, -300}}) {
        SCOPED_TRACE(std::to_string(c.screenX) + ", " + std::to_string(c.screenY));
        FakeGraphicsClient client;
        client.frame = GraphicsFrame();
        client.frame.placed = true;
        client.frame.screenX = c.screenX;
        client.frame.screenY = c.screenY;
        auto view = MakeGraphicsDialogView(client, OverlayFont{});
        Sweeper().Sweep(*view, false);
        EXPECT_EQ(client.pointed, AllOptions(client.frame));
    }
}

// Points of one kind, each found by a move onto it from outside the window.
struct Landmarks {
    std::pair<float, float> option{-1.0f, -1.0f};
    std::pair<float, float> free{-1.0f, -1.0f};
};

constexpr float kOutside = kWidth - 1.0f;  // far right of the dialog

Landmarks FindLandmarks(OverlayWindow& view, FakeGraphicsClient& client,
                        const OverlayPlace& place) {
    OverlayWindowDriver driver(kWidth, kHeight);
    Landmarks found;
    for (float y = 0; y < kHeight; y += kStep) {
        for (float x = 0; x < kWidth; x += kStep) {
            driver.Frame(view, kOutside, kOutside, false, place);
            client.pointed.clear();
            const int free = client.freeArea;
            driver.Frame(view, x, y, false, place);
            if (!client.pointed.empty() && found.option.first < 0) found.option = {x, y};
            if (client.freeArea > free && found.free.first < 0) found.free = {x, y};
        }
    }
    return found;
}

TEST(GraphicsDialogView, AMoveStraightFromAnOptionToTheFreeAreaEmptiesTheHelp) {
    FakeGraphicsClient client;
    client.frame = GraphicsFrame();
    auto view = MakeGraphicsDialogView(client, OverlayFont{});
    OverlayPlace place;
    const Landmarks at = FindLandmarks(*view, client, place);
    ASSERT_GE(at.option.first, 0.0f);
    ASSERT_GE(at.free.first, 0.0f);

    // One frame on the option, then one move onto the free area: the frame
    // of the move already knows the option is no longer under the pointer.
    OverlayWindowDriver driver(kWidth, kHeight);
    for (int settle = 0; settle < 3; ++settle)  // the window sizes itself first
        driver.Frame(*view, kOutside, kOutside, false, place);
    driver.Frame(*view, at.option.first, at.option.second, false, place);
    driver.Frame(*view, at.option.first + 1.0f, at.option.second, false, place);
    ASSERT_FALSE(client.pointed.empty());
    const int free = client.freeArea;
    driver.Frame(*view, at.free.first, at.free.second, false, place);
    EXPECT_EQ(client.freeArea, free + 1);
}

TEST(GraphicsDialogView, TheTitleBarIsNeitherAnOptionNorTheFreeArea) {
    FakeGraphicsClient client;
    client.frame = GraphicsFrame();
    auto view = MakeGraphicsDialogView(client, OverlayFont{});
    OverlayPlace place;
    place.pictureX = 20;
    place.pictureY = 30;
    const Landmarks at = FindLandmarks(*view, client, place);
    ASSERT_GE(at.free.first, 0.0f);
    client.pointed.clear();
    client.freeArea = 0;

    OverlayWindowDriver driver(kWidth, kHeight);
    for (int settle = 0; settle < 3; ++settle)  // the window sizes itself first
        driver.Frame(*view, kOutside, kOutside, false, place);
    // Across the caption and the close box, a few rows into the bar.
    for (float x = 24.0f; x < 400.0f; x += kStep) {
        driver.Frame(*view, kOutside, kOutside, false, place);
        driver.Frame(*view, x, 34.0f, false, place);
    }
    EXPECT_TRUE(client.pointed.empty());
    EXPECT_EQ(client.freeArea, 0);
    // The window was there all along: below the bar its free area answers.
    driver.Frame(*view, at.free.first, at.free.second, false, place);
    EXPECT_EQ(client.freeArea, 1);
}

TEST(GraphicsDialogView, AHiddenDialogDrawsAndReportsNothing) {
    Sweeper imgui;
    FakeGraphicsClient client;
    client.frame = GraphicsFrame();
    client.frame.visible = false;
    auto view = MakeGraphicsDialogView(client, OverlayFont{});
    imgui.Sweep(*view, true);
    EXPECT_TRUE(client.pointed.empty());
    EXPECT_TRUE(client.clicked.empty());
    EXPECT_EQ(client.freeArea + client.ok + client.cancel + client.closeBox, 0);
}

class FakeKeyClient final : public KeyDialogClient {
public:
    KeyDialogFrame frame;
    std::set<int> clicked;
    int ok = 0, cancel = 0, closeBox = 0;

    KeyDialogFrame Describe() override { return frame; }
    void OptionClicked(int option) override { clicked.insert(option); }
    void OkClicked() override { ++ok; }
    void CancelClicked() override { ++cancel; }
    void CloseBoxClicked() override { ++closeBox; }
};

KeyDialogFrame KeyFrame() {
    KeyDialogFrame f;
    f.visible = true;
    f.caption = "Keys";
    f.player1 = "Player 1";
    f.player2 = "Player 2";
    for (int i = 0; i < 21; ++i) {
        f.options.push_back(i == 20 ? "Aux" : "Row " + std::to_string(i));
        f.enabled.push_back(i % 10 != 5 || i == 20);
    }
    for (int i = 0; i < 20; ++i) f.labels.push_back("Key" + std::to_string(i));
    f.selected = 0;
    f.ok = "OK";
    f.cancel = "Cancel";
    return f;
}

TEST(KeyDialogView, EveryEnabledOptionAndButtonCanBeClicked) {
    Sweeper imgui;
    FakeKeyClient client;
    client.frame = KeyFrame();
    auto view = MakeKeyDialogView(client, OverlayFont{});
    imgui.Sweep(*view, true);
    std::set<int> enabled;
    for (int i = 0; i < 21; ++i)
        if (client.frame.enabled[std::size_t(i)]) enabled.insert(i);
    EXPECT_EQ(client.clicked, enabled);  // never the disabled rows 5 and 15
    EXPECT_GT(client.ok, 0);
    EXPECT_GT(client.cancel, 0);
    EXPECT_GT(client.closeBox, 0);
}

TEST(KeyDialogView, TakesTheKeysOnlyWhileOnShow) {
    FakeKeyClient client;
    client.frame = KeyFrame();
    auto view = MakeKeyDialogView(client, OverlayFont{});
    EXPECT_TRUE(view->CapturesKeys());
    client.frame.visible = false;
    EXPECT_FALSE(view->CapturesKeys());
    FakeGraphicsClient graphics;
    graphics.frame = GraphicsFrame();
    EXPECT_FALSE(MakeGraphicsDialogView(graphics, OverlayFont{})->CapturesKeys());
}

}  // namespace
}  // namespace brumil::platform
