// The head-up display's set-up and drawing on the software device, from
// pictures in a temporary data root.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "battle/b_game_stage.h"
#include "battle/hud_sprite.h"
#include "battle/match_seams.h"
#include "paint_fixture.h"
#include "render/admin_lib.h"
#include "render/ark.h"
#include "render/graphics.h"
#include "render/im_device.h"
#include "render/im_texture.h"
#include "temp_root.h"

namespace brumil::battle::test {
namespace {

void Put16(std::string& s, std::uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// A 24-bit bottom-up BMP of a colourful pattern.
std::string PatternBmp(int w, int h) {
    const int row = (w * 3 + 3) / 4 * 4;
    std::string s = "BM";
    Put32(s, static_cast<std::uint32_t>(54 + row * h));
    Put32(s, 0);
    Put32(s, 54);
    Put32(s, 40);
    Put32(s, static_cast<std::uint32_t>(w));
    Put32(s, static_cast<std::uint32_t>(h));
    Put16(s, 1);
    Put16(s, 24);
    Put32(s, 0);
    Put32(s, static_cast<std::uint32_t>(row * h));
    for (int i = 0; i < 4; ++i) Put32(s, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            s += static_cast<char>((x * 37 + y * 11) & 0xFF);
            s += static_cast<char>((x * 5 + y * 53) & 0xFF);
            s += static_cast<char>(((x ^ y) * 29) & 0xFF);
        }
        s.append(static_cast<std::size_t>(row - w * 3), '\0');
    }
    return s;
}

class HudDevice : public PaintFixtureOf<render::testing::DisplayTest> {
protected:
    void SetUp() override {
        PaintFixtureOf<render::testing::DisplayTest>::SetUp();
        render::gIMTexture().SearchPathAdd((root.Path() / "data").string() + "/", ".bmp");
    }
    // A match start as the battle start makes it: the cache emptied first.
    void MatchStart() {
        render::gIMTexture().Clear();
        SetUpHud(Game());
    }
    std::vector<Long> Pixels(std::string_view name) {
        auto g = render::gIMTexture().ItemAs(name);
        std::vector<Long> out;
        for (Long y = 0; y < g->Height(); ++y) {
            for (Long x = 0; x < g->Width(); ++x) out.push_back(g->Image.dwGetPixel(x, y));
        }
        return out;
    }
    brumil::testing::TempDataRoot root;
};

TEST_F(HudDevice, VividPassRunsOncePerMatchOnAFreshPicture) {
    root.Write("data/lifeiconset.bmp", PatternBmp(32, 32));
    root.Write("data/font_datanumber.bmp", PatternBmp(64, 64));
    for (std::string_view name : {"lifeiconset", "font_datanumber"}) {
        // What one pass makes of the file.
        render::gIMTexture().Clear();
        auto once = render::gIMTexture().ItemAs(name);
        ASSERT_GT(once->Width(), 1) << name;
        once->ChooseVivit(0);
        std::vector<Long> expected;
        for (Long y = 0; y < once->Height(); ++y) {
            for (Long x = 0; x < once->Width(); ++x)
                expected.push_back(once->Image.dwGetPixel(x, y));
        }
        MatchStart();
        EXPECT_EQ(Pixels(name), expected) << name << ", first match";
        const auto first = render::gIMTexture().ItemAs(name);
        MatchStart();
        EXPECT_EQ(Pixels(name), expected) << name << ", second match";
        // The second match processed a picture loaded afresh, not the first
        // match's (already processed) one.
        EXPECT_NE(render::gIMTexture().ItemAs(name).get(), first.get()) << name;
    }
}

TEST_F(HudDevice, CaptionsAreRenderedIntoTheirPictures) {
    Game().gd().GameMode = 1;
    Game().gd().AILevel = 3;
    MatchStart();
    const auto arcade = Pixels("the_stage");
    ASSERT_EQ(arcade.size(), 128u * 128u);
    const auto inked = [](const std::vector<Long>& px) {
        return std::count_if(px.begin(), px.end(), [](Long p) { return (p >> 24) != 0; });
    };
    EXPECT_GT(inked(arcade), 50);
    for (std::string_view name : {"the_stagenumber", "the_start", "the_win", "the_lose"}) {
        EXPECT_GT(inked(Pixels(name)), 20) << name;
    }
    Game().gd().GameMode = 4;
    MatchStart();
    EXPECT_NE(Pixels("the_stage"), arcade) << "the mode caption changed";
    EXPECT_EQ(Scene().Hud.Level[7], HudSprite{});
}

TEST_F(HudDevice, DamagedPicturesLeaveEmptyEntriesAndEveryFrameDraws) {
    const std::string good = PatternBmp(64, 64);
    root.Write("data/gauge.bmp", good.substr(0, 70));
    root.Write("data/256x256_04.bmp", "this is not a picture\r\n");
    Game().gd().GameMode = 4;
    ::testing::internal::CaptureStderr();
    MatchStart();
    Scene().Stage.Reset(0, 1);
    P(0).Vulnerable = 1;
    P(0).Gauge = 300;
    P(0).Life = 10;
    for (int frame = 0; frame < 3; ++frame) {
        Scene().Stage.FrameStep();
        PaintMatchFrame(Game());
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "no message box";
    for (std::string_view name : {"gauge", "256x256_04"}) {
        auto g = render::gIMTexture().ItemAs(name);
        EXPECT_EQ(g->Width(), 1) << name;
        EXPECT_EQ(g->Height(), 1) << name;
    }
    EXPECT_FALSE(render::gIMDevice().InScene());
}

TEST_F(HudDevice, SpriteAppearsWherePlacedOverTheStage) {
    // A white 12 x 12 ring sprite at (100, 100) with render code 0 (flat
    // diffuse colour): drawn after the stage's counter-clockwise culling, a
    // clockwise box still shows.
    Scene().Stage.Reset(0, 1);
    const Long white = SolidTexture("white");
    const HudSprite sprite = MakeHudSprite(white, 12, 12, 0.5f, 0.5f, 0, 0, 1, 1);
    auto& device = render::gIMDevice();
    ASSERT_TRUE(device.SceneBegin());
    device.SceneViewPort(0, 4, 640, 472);
    render::gIMArk().SetViewPortRect({0, 4, 640, 472});
    Scene().Stage.Paint(1);
    DrawHudSprite(sprite, 100 * kPx, 100 * kPx, 0, static_cast<Long>(0xFF00FF00), 0, 1);
    device.SceneEnd();
    EXPECT_EQ(framework::gBackDDS()->PixelAt(100, 100) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(framework::gBackDDS()->PixelAt(95, 95) & 0xFFFFFF, 0x00FF00u);
    EXPECT_NE(framework::gBackDDS()->PixelAt(108, 100) & 0xFFFFFF, 0x00FF00u);
}

struct QuadCase {
    Long x, y;
    Single scale;
    Single qx, qy, qw;
};

TEST(HudQuads, WholePixelsAndTheDrawScale) {
    const HudSprite s = MakeHudSprite(3, 32, 20, 0.5f, 0.5f, 0.25f, 0.5f, 0.25f, 0.25f);
    const QuadCase cases[] = {
        {100 * kPx + 255, 50 * kPx, 1.0f, 100, 50, 32},
        {-1, 7, 1.0f, -1, 0, 32},
        {100 * kPx, 50 * kPx, 0.5f, 50, 25, 16},
        {100 * kPx, 50 * kPx, 1.6f, 160, 80, 51.2f},
    };
    for (const QuadCase& c : cases) {
        const HudQuad q = HudSpriteQuad(s, c.x, c.y, c.scale);
        EXPECT_FLOAT_EQ(q.x, c.qx);
        EXPECT_FLOAT_EQ(q.y, c.qy);
        EXPECT_FLOAT_EQ(q.width, c.qw);
        EXPECT_FLOAT_EQ(q.u0, 0.25f);
        EXPECT_FLOAT_EQ(q.v1, 0.75f);
    }
    const HudQuad r = HudRectQuad(100 * kPx + 128, 3 * kPx, 27, 6, 0, 0.5f, 0, 0, 1, 1, 1.6f);
    EXPECT_FLOAT_EQ(r.x, 100.5f * 1.6f) << "the rectangle keeps its fraction";
    EXPECT_FLOAT_EQ(r.width, 27 * 1.6f);
    EXPECT_FLOAT_EQ(r.originX, 0.0f);
    EXPECT_FLOAT_EQ(r.u1, 1.0f);
}

}  // namespace
}  // namespace brumil::battle::test
