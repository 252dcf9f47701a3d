#include "core/api_form.h"

#include <gtest/gtest.h>

#include <string>

#include "core/api.h"

namespace brumil::core {
namespace {

// A window of 300x200 (a client area of 292x170 at 4, 26 inside it) at
// 100, 50 on a 1024x768 screen, drawn in "Face" at 10 points.
class FakeForm final : public ApiForm {
public:
    Long x = 100, y = 50, clientW = 292, clientH = 170;
    Long screenW = 1024, screenH = 768;
    bool sizeKnown = true;
    bool topmost = false, noCaption = false;
    std::string font = "Face";
    Long points = 10;
    int moves = 0, fonts = 0, sizes = 0;

    void Position(Long& px, Long& py) const override {
        px = x;
        py = y;
    }
    void Move(Long px, Long py) override {
        x = px;
        y = py;
        ++moves;
    }
    void ClientOrigin(Long& px, Long& py) const override {
        px = x + 4;
        py = y + 26;
    }
    void ScreenSize(Long& w, Long& h) const override {
        w = screenW;
        h = screenH;
    }
    void OuterSize(Long& w, Long& h) const override {
        w = sizeKnown ? clientW + 8 : 0;
        h = sizeKnown ? clientH + 30 : 0;
    }
    void ClientSize(Long& w, Long& h) const override {
        w = clientW;
        h = clientH;
    }
    void SetClientSize(Long w, Long h) override {
        clientW = w;
        clientH = h;
        ++sizes;
    }
    void SetTopmost(bool t) override { topmost = t; }
    void SetFont(std::string_view name, Long p) override {
        font = std::string(name);
        points = p;
        ++fonts;
    }
    std::string FontName() const override { return font; }
    Long FontPoints() const override { return points; }
    void SetNoCaption(bool n) override { noCaption = n; }
};

struct SetupCase {
    const char* name;
    FormSetup setup;
    bool sizeKnown;
    Long x, y, clientW, clientH;
    std::string font;
    Long points;
    bool noCaption;
    int moves, fonts;
};

TEST(ApiForm, SetupFormAppliesOnlyTheGivenValues) {
    const SetupCase cases[] = {
        {"nothing given keeps everything", {}, true, 100, 50, 292, 170, "Face", 10, false, 0, 0},
        {"x alone keeps y", {.x = 30}, true, 30, 50, 292, 170, "Face", 10, false, 1, 0},
        {"y alone keeps x", {.y = 70}, true, 100, 70, 292, 170, "Face", 10, false, 1, 0},
        {"kept inside the screen's right and bottom",
         {.x = 900, .y = 700},
         true,
         1024 - 300,
         768 - 200,
         292,
         170,
         "Face",
         10,
         false,
         1,
         0},
        {"kept inside the screen's left and top",
         {.x = -40, .y = -5},
         true,
         0,
         0,
         292,
         170,
         "Face",
         10,
         false,
         1,
         0},
        {"an unknown size keeps only the corner inside",
         {.x = 2000, .y = 900},
         false,
         1024,
         768,
         292,
         170,
         "Face",
         10,
         false,
         1,
         0},
        {"client width alone keeps the height",
         {.clientWidth = 640},
         true,
         100,
         50,
         640,
         170,
         "Face",
         10,
         false,
         0,
         0},
        {"font size 0 gives 9",
         {.fontSize = 0, .fontName = "Gothic"},
         true,
         100,
         50,
         292,
         170,
         "Gothic",
         9,
         false,
         0,
         1},
        {"font size alone keeps the face",
         {.fontSize = 8},
         true,
         100,
         50,
         292,
         170,
         "Face",
         8,
         false,
         0,
         1},
        {"font name alone keeps the size",
         {.fontName = "Mincho"},
         true,
         100,
         50,
         292,
         170,
         "Mincho",
         10,
         false,
         0,
         1},
        {"no caption", {.noCaption = true}, true, 100, 50, 292, 170, "Face", 10, true, 0, 0},
        {"a grown client area is kept inside when placed with it",
         {.x = 0, .y = 0, .clientWidth = 1024, .clientHeight = 0, .noCaption = true},
         true,
         0,
         0,
         1024,
         0,
         "Face",
         10,
         true,
         1,
         0},
    };
    for (const SetupCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeForm form;
        form.sizeKnown = c.sizeKnown;
        gApi().SetupForm(form, c.setup);
        EXPECT_EQ(form.x, c.x);
        EXPECT_EQ(form.y, c.y);
        EXPECT_EQ(form.clientW, c.clientW);
        EXPECT_EQ(form.clientH, c.clientH);
        EXPECT_EQ(form.font, c.font);
        EXPECT_EQ(form.points, c.points);
        EXPECT_EQ(form.noCaption, c.noCaption);
        EXPECT_EQ(form.moves, c.moves);
        EXPECT_EQ(form.fonts, c.fonts);
    }
}

TEST(ApiForm, FormOnPositionConvertsClientPointsToTheScreen) {
    struct Case {
        Long x, y, screenX, screenY;
    };
    const Case cases[] = {{0, 0, 104, 76}, {10, 20, 114, 96}, {-4, -26, 100, 50}};
    FakeForm form;
    for (const Case& c : cases) {
        Long x = c.x, y = c.y;
        gApi().FormOnPosition(form, x, y);
        EXPECT_EQ(x, c.screenX);
        EXPECT_EQ(y, c.screenY);
    }
}

TEST(ApiForm, FontPointsAsScreenPixels) {
    struct Case {
        Long points, pixels;
    };
    for (const Case c : {Case{8, 11}, Case{9, 12}, Case{10, 13}, Case{12, 16}, Case{0, 0}}) {
        EXPECT_EQ(FontPixelsOfPoints(c.points), c.pixels) << c.points << " points";
    }
}

}  // namespace
}  // namespace brumil::core
