// The paint job on the devices: what it draws in which order, the back
// screen, the pool painters' codes and the presented area.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "battle/battle_scene.h"
#include "battle/character_overlays.h"
#include "battle/match_seams.h"
#include "battle/network_match.h"
#include "framework/display.h"
#include "net/net_globals.h"
#include "paint_fixture.h"
#include "render/admin_lib.h"
#include "render/im_device.h"

namespace brumil::battle::test {
namespace {

using RecordedPaint = PaintFixtureOf<render::testing::RecordedDisplayTest>;
using SoftPaint = PaintFixtureOf<render::testing::DisplayTest>;

constexpr Long kPaintJob = 4;

class PaintOrder : public RecordedPaint {
public:
    std::string NameOfSurface(const platform::Surface* s) const { return NameOf(s); }
};

// The texture of every screen-vertex draw, in order.
std::vector<std::string> TexturedDraws(const PaintOrder& fixture,
                                       const std::vector<platform::RecordedCall>& calls,
                                       std::vector<Long>* types = nullptr) {
    std::vector<std::string> out;
    std::string bound = "none";
    for (const auto& c : calls) {
        if (c.name == "SetTexture" && c.args[0] == 0) bound = fixture.NameOfSurface(c.texture);
        if (c.name == "DrawPrimitive" && c.args[1] == platform::D3DFVF_TLVERTEX) {
            out.push_back(bound);
            if (types) types->push_back(c.args[0]);
        }
    }
    return out;
}

TEST_F(PaintOrder, PoolsCharactersOverlaysThenTheHud) {
    Game().gd().CharaID(0, 1);  // circles in slots 13 and 11
    Game().gd().CharaID(1, 5);  // circles in slots 12 and 13
    const Long hud = SolidTexture("hud");
    ForEachHudSprite(Scene().Hud, [&](const HudSpriteEntry& entry, HudSprite& s) {
        s = MakeHudSprite(hud, entry.width, entry.height, 0.5f, 0.5f, 0, 0, 1, 1);
    });
    for (Long p = 0; p < 2; ++p) {
        const std::string n = std::to_string(p);
        PlayerRecord& r = P(p);
        r.Vulnerable = 1;
        r.ArtFrame = 12;
        r.Gauge = 1000;
        r.Life = 10;
        r.CharaSlot = p;
        r.X = (200 + 200 * p) * kPx;
        r.Y = 240 * kPx;
        r.ArtX = r.X;
        r.ArtY = r.Y;
        r.Shots[kThirdPoolStart] = LiveShot(40, 100, 100);
        r.Shots[kSecondPoolStart] = LiveShot(41, 100, 100);
        Slot(p, 40, "third" + n);
        Slot(p, 41, "second" + n);
        Slot(p, p, "chara" + n);
    }
    Slot(0, 13, "circleA0");
    Slot(0, 11, "circleB0");
    Slot(1, 12, "circleA1");
    Slot(1, 13, "circleB1");
    P(0).Shots[0] = LiveShot(42, 300, 300);  // below the line
    P(0).Shots[1] = LiveShot(43, 300, 100);  // above it
    P(1).Shots[0] = LiveShot(42, 300, 200);
    Slot(0, 42, "mainBelow0");
    Slot(0, 43, "mainAbove0");
    Slot(1, 42, "main1");

    recorder_->ClearCalls();
    PaintMatchFrame(Game());
    const auto calls = recorder_->Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().name, "BeginScene");
    EXPECT_EQ(calls.back().name, "EndScene");

    std::vector<Long> types;
    const auto draws = TexturedDraws(*this, calls, &types);
    const std::vector<std::string> expected = {"third1",     "third0",   "circleA1",   "circleB1",
                                               "circleA0",   "circleB0", "chara1",     "chara0",
                                               "second1",    "second0",  "mainBelow0", "main1",
                                               "mainAbove0", "chara1",   "chara0"};
    ASSERT_GT(draws.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(draws.begin(), draws.begin() + expected.size()), expected);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(types[i], platform::D3DPT_TRIANGLELIST) << i;
    }
    for (std::size_t i = expected.size(); i < draws.size(); ++i) {
        EXPECT_EQ(draws[i], "hud") << i;
        EXPECT_EQ(types[i], platform::D3DPT_TRIANGLESTRIP) << i;
    }
}

TEST_F(PaintOrder, PaintDisableDrawsNothingButNoticesTheRenderLevel) {
    Game().Coming(kPaintJob, 1, 0);
    Game().BackScreenDirty = false;
    Game().DrawnRenderLevel = framework::GetRenderLevel() + 3;
    framework::gMaxwell()->Config().PaintDisable = true;
    recorder_->ClearCalls();
    Game().Coming(kPaintJob, 0, 0);
    EXPECT_TRUE(recorder_->Calls().empty());
    EXPECT_TRUE(Game().BackScreenDirty);
    EXPECT_EQ(Game().DrawnRenderLevel, framework::GetRenderLevel());

    framework::gMaxwell()->Config().PaintDisable = false;
    Game().Coming(kPaintJob, 0, 0);
    EXPECT_FALSE(Game().BackScreenDirty);
    EXPECT_EQ(recorder_->CallsNamed("BeginScene").size(), 1u);
    EXPECT_EQ(recorder_->CallsNamed("EndScene").size(), 1u);
}

TEST_F(PaintOrder, ShotRecordOutsideTheSlotsDrawsNothing) {
    Slot(0, 63, "last");
    Slot(0, 0, "first");
    struct Case {
        Long kind;
        std::size_t draws;
    };
    for (const Case c : {Case{64, 0}, Case{-1, 0}, Case{1000, 0}, Case{63, 1}, Case{0, 1}}) {
        recorder_->ClearCalls();
        Scene().Painter.DrawShotRecord(P(0), LiveShot(c.kind, 50, 50), 0);
        EXPECT_EQ(recorder_->CallsNamed("DrawPrimitive").size(), c.draws) << c.kind;
    }
}

TEST_F(PaintOrder, SpriteRecordDrawsOneQuadAtThePixelCentre) {
    Slot(1, 7, "sprite");
    recorder_->ClearCalls();
    Scene().Painter.DrawSpriteRecord(P(1), 7, 0, 100 * kPx + 200, 50 * kPx, 10, 20, 0,
                                     static_cast<Long>(0x80FFFFFF), 0, 1);
    const auto draws = recorder_->CallsNamed("DrawPrimitive");
    ASSERT_EQ(draws.size(), 1u);
    ASSERT_EQ(draws[0].args[2], 6);
    std::array<platform::D3DTLVERTEX, 6> v{};
    std::memcpy(v.data(), draws[0].bytes.data(), sizeof(v));
    Single minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const auto& p : v) {
        minX = std::min(minX, p.sx);
        maxX = std::max(maxX, p.sx);
        minY = std::min(minY, p.sy);
        maxY = std::max(maxY, p.sy);
        EXPECT_EQ(static_cast<std::uint32_t>(p.color), 0x80FFFFFFu);
    }
    EXPECT_NEAR((minX + maxX) / 2, 100.5f, 0.01f);
    EXPECT_NEAR(maxX - minX, 10.0f, 0.01f);
    EXPECT_NEAR((minY + maxY) / 2, 50.5f, 0.01f);
    EXPECT_NEAR(maxY - minY, 20.0f, 0.01f);
}

TEST(SpriteRecord, FieldsOfTheTemporaryRecord) {
    const ShotRecord r = SpriteRecordOf(12, 3, 100 * kPx + 255, -1, 224, 88,
                                        static_cast<Long>(0xC0123456), 37.5f, 0.625f);
    EXPECT_EQ(r.State, 1);
    EXPECT_EQ(r.DrawKind, 12);
    EXPECT_EQ(r.SpriteSlot, 3);
    EXPECT_EQ(r.X, 100 * kPx + 128);
    EXPECT_EQ(r.Y, -kPx + 128) << "low bits cleared toward minus";
    EXPECT_EQ(r.ScaleX, 128);
    EXPECT_EQ(r.Color, 0x123456);
    EXPECT_EQ(r.Alpha, 0xC0);
    EXPECT_EQ(r.Spin, 38) << "37.5 to even";
    EXPECT_EQ(r.Scale, 160);
    EXPECT_EQ(r.DrawW, 224 * kPx);
    EXPECT_EQ(r.DrawH, 88 * kPx);
}

struct CodeCase {
    const char* pool;
    Long blend;
    Long given;
    Long expected;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const CodeCase& c, std::ostream* os) {
    *os << c.pool << " blend=" << c.blend << " given=" << c.given << " expected=" << c.expected;
}

class PoolCodes : public SoftPaint, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(PoolCodes, DefaultCodePerPool) {
    const CodeCase& c = GetParam();
    Slot(0, 20, "shot", c.blend);
    const std::string pool = c.pool;
    render::gIMDevice().SetRenderModeLE(0);
    if (pool == "third") {
        P(0).Shots[kThirdPoolStart + 3] = LiveShot(20, 100, 100);
        Scene().Painter.DrawThirdPool(P(0));
    } else if (pool == "second") {
        P(0).Shots[kSecondPoolStart + 9] = LiveShot(20, 100, 100);
        Scene().Painter.DrawSecondPool(P(0));
    } else if (pool == "main") {
        P(0).Shots[5] = LiveShot(20, 100, 100);
        Scene().Painter.DrawMainPool(P(0), 0);
    } else {
        Scene().Painter.DrawShotRecord(P(0), LiveShot(20, 100, 100), c.given);
    }
    EXPECT_EQ(render::gIMDevice().LastRenderMode(), c.expected);
    if (pool != "single") {
        EXPECT_EQ(Scene().Painter.KindCounts()[20], 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pools, PoolCodes,
    ::testing::Values(CodeCase{"third", 0, 0, 597}, CodeCase{"second", 0, 0, 597},
                      CodeCase{"main", 0, 0, 593}, CodeCase{"single", 0, 0, 593},
                      CodeCase{"third", 289, 0, 289}, CodeCase{"main", 545, 0, 545},
                      CodeCase{"single", 545, 0, 545}, CodeCase{"single", 545, 517, 517}));

TEST_F(SoftPaint, BackScreenOnlyAfterStartMessageOrLevelChange) {
    auto back = std::make_shared<render::CGraphics>();
    back->Add(640, 480, true);
    for (Long y = 0; y < 480; ++y) {
        for (Long x = 0; x < 640; ++x) back->Image.dwSetPixel(x, y, static_cast<Long>(0xFFFF0000));
    }
    back->Refresh();
    Game().BackScreen = back;
    auto& surface = framework::gBackDDS();
    const auto band = [&] { return surface->PixelAt(5, 1) & 0xFFFFFF; };

    struct Step {
        Long message;
        bool levelChange;
        std::uint32_t expected;  // band colour after the step's frame
    };
    const Step steps[] = {
        {1, false, 0xFF0000}, {0, false, 0x00FF00}, {5, false, 0xFF0000},
        {0, false, 0x00FF00}, {0, true, 0xFF0000},  {0, false, 0x00FF00},
    };
    for (const Step& s : steps) {
        surface->BltColorFill(0xFF00FF00);
        if (s.levelChange) Game().DrawnRenderLevel = framework::GetRenderLevel() - 1;
        if (s.message != 0) Game().Coming(kPaintJob, s.message, 0);
        Game().Coming(kPaintJob, 0, 0);
        EXPECT_EQ(band(), s.expected) << "message " << s.message;
    }
}

struct ScaleCase {
    framework::DisplaySettings settings;
    core::CRect viewport;
    Long bandX, bandY;  // a pixel outside the viewport, covered by the back screen
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ScaleCase& c, std::ostream* os) {
    *os << "bandX=" << c.bandX << " bandY=" << c.bandY;
}

framework::DisplaySettings Sized(Long w, Long h, bool half, bool high) {
    framework::DisplaySettings s;
    s.width = w;
    s.height = h;
    s.halfSize = half;
    s.highQuality = high;
    return s;
}

class PaintScale : public SoftPaint, public ::testing::WithParamInterface<ScaleCase> {
protected:
    framework::DisplaySettings Settings() const override { return GetParam().settings; }
};

TEST_P(PaintScale, PresentedAreaAndBandsFollowTheDrawScale) {
    const ScaleCase& c = GetParam();
    auto back = std::make_shared<render::CGraphics>();
    back->Add(640, 480, true);
    for (Long y = 0; y < 480; ++y) {
        for (Long x = 0; x < 640; ++x) back->Image.dwSetPixel(x, y, static_cast<Long>(0xFFFF0000));
    }
    back->Refresh();
    Game().BackScreen = back;
    Game().BackScreenDirty = true;
    framework::gBackDDS()->BltColorFill(0xFF00FF00);
    framework::gMaxwell()->Config().PaintRect = core::CRect{};
    PaintMatchFrame(Game());
    EXPECT_EQ(PaintViewport(Game().BattleRect, framework::GetDrawScale()), c.viewport);
    const core::CRect& r = framework::gMaxwell()->Config().PaintRect;
    EXPECT_EQ(r, c.viewport);
    EXPECT_EQ(framework::gBackDDS()->PixelAt(c.bandX, c.bandY) & 0xFFFFFF, 0xFF0000u);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, PaintScale,
    ::testing::Values(ScaleCase{Sized(320, 240, true, false), {0, 2, 320, 236}, 319, 239},
                      ScaleCase{Sized(640, 480, false, false), {0, 4, 640, 472}, 639, 479},
                      ScaleCase{Sized(1024, 768, false, true), {0, 6, 1024, 755}, 1023, 766}));

}  // namespace
}  // namespace brumil::battle::test

namespace brumil::battle::test {
namespace {

struct TimelineCase {
    Long frame, end;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const TimelineCase& c, std::ostream* os) {
    *os << "frame=" << c.frame << " end=" << c.end;
}

class HudTimeline : public PaintOrder, public ::testing::WithParamInterface<TimelineCase> {};

// On the device every quad of the display is one four-vertex strip, so the
// captions come and go at their boundaries in the drawn calls too.
TEST_P(HudTimeline, EveryQuadIsOneStripAtTheBoundaries) {
    const Long hud = SolidTexture("hud");
    ForEachHudSprite(Scene().Hud, [&](const HudSpriteEntry& entry, HudSprite& s) {
        s = MakeHudSprite(hud, entry.width, entry.height, 0.5f, 0.5f, 0, 0, 1, 1);
    });
    Game().FrameCount = GetParam().frame;
    Game().EndCount = GetParam().end;
    Game().Winner = GetParam().end > 0 ? 1 : -1;
    const std::size_t quads = HudDraws(Scene().Hud, HudStateOf(Game(), 0)).size();
    recorder_->ClearCalls();
    DrawHud(Game());
    std::vector<Long> types;
    const auto draws = TexturedDraws(*this, recorder_->Calls(), &types);
    EXPECT_EQ(draws.size(), quads);
    for (Long t : types) EXPECT_EQ(t, platform::D3DPT_TRIANGLESTRIP);
    // Next to the frame one later the count changes by the captions that
    // came or went.
    Game().FrameCount += 1;
    Game().EndCount += GetParam().end > 0 ? 1 : 0;
    recorder_->ClearCalls();
    DrawHud(Game());
    const std::size_t later = recorder_->CallsNamed("DrawPrimitive").size();
    EXPECT_EQ(later, HudDraws(Scene().Hud, HudStateOf(Game(), 0)).size());
    EXPECT_NE(later, quads) << "a caption boundary lies between the two frames";
}

INSTANTIATE_TEST_SUITE_P(Boundaries, HudTimeline,
                         ::testing::Values(TimelineCase{39, 0}, TimelineCase{89, 0},
                                           TimelineCase{99, 0}, TimelineCase{119, 0},
                                           TimelineCase{159, 0}, TimelineCase{300, 80},
                                           TimelineCase{300, 180}));

// The waits' text lies on their picture: only the letters cover it, in white.
TEST_F(SoftPaint, TheWaitTextShowsThePictureAroundItsLetters) {
    constexpr Long kPicture = static_cast<Long>(0xFF4080C0);
    net::GameNet() = net::NetState{};  // no session: the text of a missing name
    NetworkWaitStep(Game(), 1);
    auto picture = std::make_shared<render::CGraphics>();
    picture->Add(640, 480, true);
    for (Long y = 0; y < 480; ++y) {
        for (Long x = 0; x < 640; ++x) picture->Image.dwSetPixel(x, y, kPicture);
    }
    picture->Refresh();
    Game().WaitPicture = picture;
    NetworkWaitStep(Game(), 0);
    ASSERT_EQ(Game().NetWaitText, kTextNoSession);
    // Letter edges blend the picture towards white: no channel falls below
    // the picture's.
    const std::uint32_t shown = static_cast<std::uint32_t>(kPicture) & 0xFFFFFFu;
    int pictureSeen = 0, white = 0, darker = 0;
    for (Long y = 228; y < 228 + 96; ++y) {
        for (Long x = 32; x < 32 + 576; ++x) {
            const std::uint32_t p = framework::gBackDDS()->PixelAt(x, y) & 0xFFFFFFu;
            pictureSeen += p == shown ? 1 : 0;
            white += p == 0xFFFFFFu ? 1 : 0;
            for (int shift : {0, 8, 16}) {
                if (((p >> shift) & 0xFFu) < ((shown >> shift) & 0xFFu)) {
                    ++darker;
                    break;
                }
            }
        }
    }
    EXPECT_GT(white, 200) << "the letters are drawn";
    EXPECT_GT(pictureSeen, 576 * 96 / 2) << "the picture shows around them";
    EXPECT_EQ(darker, 0);
    // The picture itself keeps no text for the next one.
    EXPECT_EQ(picture->Image.dwGetPixel(40, 240), kPicture);
    net::GameNet() = net::NetState{};
}

}  // namespace
}  // namespace brumil::battle::test
