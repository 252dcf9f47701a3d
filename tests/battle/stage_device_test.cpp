// The stage on the devices: its calls on the recording device, the ground
// on the software device, the music on the null mixer.
#include <gtest/gtest.h>

#include <cmath>

#include "battle/b_game_stage.h"
#include "battle/match_seams.h"
#include "core/api.h"
#include "framework/sound.h"
#include "paint_fixture.h"
#include "platform/sound/ogg_encoder.h"
#include "render/admin_lib.h"
#include "render/ark.h"
#include "render/ark_board.h"
#include "render/im_device.h"
#include "sound/bgm.h"
#include "temp_root.h"

namespace brumil::battle::test {
namespace {

class StageRecorded : public PaintFixtureOf<render::testing::RecordedDisplayTest> {
protected:
    // The ground patches drawn by a Paint, and the lights set.
    struct Seen {
        std::size_t boards = 0;
        std::vector<Long> lights;
        std::vector<Long> cull;
    };
    Seen PaintOnce(BGameStage& stage) {
        recorder_->ClearCalls();
        stage.Paint(1);
        Seen seen;
        for (const auto& c : recorder_->Calls()) {
            if (c.name == "DrawIndexedPrimitive" ||
                (c.name == "DrawPrimitive" && c.args[1] != platform::D3DFVF_TLVERTEX)) {
                ++seen.boards;
            }
            if (c.name == "SetLight") seen.lights.push_back(c.args[0]);
            if (c.name == "SetRenderState" && c.args[0] == platform::D3DRENDERSTATE_CULLMODE) {
                seen.cull.push_back(c.args[1]);
            }
        }
        return seen;
    }
};

struct StageDrawCase {
    Long stage;
    std::size_t boards;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const StageDrawCase& c, std::ostream* os) {
    *os << "stage=" << c.stage << " boards=" << c.boards;
}

class StageDraws : public StageRecorded, public ::testing::WithParamInterface<StageDrawCase> {};

TEST_P(StageDraws, PatchesPerGroupAndNothingOutsideTheSevenStages) {
    BGameStage stage;
    stage.Reset(GetParam().stage, 42);
    const Seen seen = PaintOnce(stage);
    EXPECT_EQ(seen.boards, GetParam().boards);
    if (GetParam().boards == 0) {
        EXPECT_TRUE(seen.lights.empty());
        EXPECT_EQ(stage.Grid()[100][10], 0);
        stage.FrameStep();
        EXPECT_EQ(stage.Travel, 0.0f) << "no travel outside the stages";
        EXPECT_EQ(stage.StageFrame, 1);
    } else {
        EXPECT_EQ(seen.lights, (std::vector<Long>{0, 1, 2}));
        EXPECT_EQ(render::gIMArk().ViewPortRect(), render::gIMArk().ViewPortRect());
    }
}

INSTANTIATE_TEST_SUITE_P(Stages, StageDraws,
                         ::testing::Values(StageDrawCase{0, 25}, StageDrawCase{4, 25},
                                           StageDrawCase{1, 15}, StageDrawCase{3, 15},
                                           StageDrawCase{6, 15}, StageDrawCase{-1, 0},
                                           StageDrawCase{7, 0}));

TEST_F(StageRecorded, CullingIsCounterClockwiseFromTheStageOn) {
    BGameStage stage;
    stage.Reset(0, 3);
    render::gIMDevice().SetCullingMode(1);
    const Seen seen = PaintOnce(stage);
    ASSERT_FALSE(seen.cull.empty());
    EXPECT_EQ(seen.cull.back(), platform::D3DCULL_CCW);
}

TEST_F(StageRecorded, ResetBuildsEveryPatchFromTheSeededGrid) {
    BGameStage a, b;
    a.Reset(0, 99);
    b.Reset(0, 99);
    EXPECT_EQ(a.Grid(), b.Grid()) << "same seed, same ground";
    BGameStage c;
    c.Reset(0, 100);
    EXPECT_NE(a.Grid(), c.Grid());
    EXPECT_EQ(a.Boards().IMArkObjectCount(), 150);
    for (Long i : {0, 77, 149}) {
        auto board = a.Boards().IMArkObject(i);
        ASSERT_TRUE(board);
        EXPECT_EQ(board->Kind(), render::kArkPlain) << i;
        EXPECT_EQ(board->Vertices().size() > 0, true) << i;
    }
    EXPECT_EQ(a.StageFrame, 0);
    EXPECT_EQ(a.Travel, 0.0f);
}

TEST_F(StageRecorded, EachMatchOfARunGetsNewGroundAndARunRepeats) {
    BGameStage run1, run2;
    run1.Reset(0);
    const HeightGrid first = run1.Grid();
    run1.Reset(0);
    EXPECT_NE(run1.Grid(), first) << "the next match has other hills";
    run2.Reset(0);
    EXPECT_EQ(run2.Grid(), first) << "a run starts from the same seed";
    // The match's own generators are not drawn from.
    core::gApi().SeedHelperRandom(7);
    const Long before = core::gApi().RndDLL(1000000);
    core::gApi().SeedHelperRandom(7);
    GameJob1_SystemInit_StageReset(Game(), 4);
    EXPECT_EQ(core::gApi().RndDLL(1000000), before);
}

// Only stages 2, 3 and 6 tilt the camera; the others level it, whatever
// tilt the last match left.
TEST_F(StageRecorded, TheNextMatchOnALevelStageHasNoTilt) {
    for (Long level : {0, 1, 4, 5}) {
        BGameStage tilted;
        tilted.Reset(2, 5);
        tilted.StageFrame = 1024;  // a quarter turn: the largest tilt
        tilted.Paint(1);
        ASSERT_NEAR(render::gIMArk().roll(), 0.1f, 1e-4f);
        BGameStage next;
        next.Reset(level, 5);
        next.StageFrame = 1024;
        next.Paint(1);
        EXPECT_EQ(render::gIMArk().roll(), 0.0f) << level;
    }
}

TEST_F(StageRecorded, ColoursGoToBothPlayers) {
    GameJob1_SystemInit_ColorSet(Game(), 2);
    EXPECT_EQ(P(0).StageColors[0], Long(0xFF007832));
    EXPECT_EQ(P(1).StageColors[1], Long(0xFF904000));
    GameJob1_SystemInit_ColorSet(Game(), 3);
    EXPECT_EQ(P(0).StageColors[0], Long(0xFF000078));
    EXPECT_EQ(P(1).StageColors[0], Long(0xFF980000));
}

// The ground fills the battle viewport under the 3D library's projection;
// the viewport is never cleared, so a pixel left uncovered keeps the marker.
struct CoverCase {
    Long stage;
    bool zBuffer;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const CoverCase& c, std::ostream* os) {
    *os << "stage=" << c.stage << " zBuffer=" << c.zBuffer;
}

class StageCover : public PaintFixtureOf<render::testing::DisplayTest>,
                   public ::testing::WithParamInterface<CoverCase> {
protected:
    framework::DisplaySettings Settings() const override {
        framework::DisplaySettings s;
        s.zBuffer = GetParam().zBuffer;
        return s;
    }
};

TEST_P(StageCover, GroundCoversTheViewport) {
    BGameStage stage;
    stage.Reset(GetParam().stage, 5);
    for (int i = 0; i < 120; ++i) stage.FrameStep();
    constexpr std::uint32_t kMarker = 0xFF123456;
    framework::gBackDDS()->BltColorFill(kMarker);
    auto& device = render::gIMDevice();
    ASSERT_TRUE(device.SceneBegin());
    const core::CRect viewport{0, 4, 640, 472};
    device.SceneViewPort(viewport.X, viewport.Y, viewport.Width, viewport.Height);
    render::gIMArk().SetViewPortRect(viewport);
    stage.Paint(1);
    device.SceneEnd();
    Long uncovered = 0;
    for (Long y = 4; y < 476; y += 3) {
        for (Long x = 0; x < 640; x += 3) {
            if ((framework::gBackDDS()->PixelAt(x, y) | 0xFF000000) == kMarker) ++uncovered;
        }
    }
    EXPECT_EQ(uncovered, 0);
    EXPECT_EQ(framework::gBackDDS()->PixelAt(10, 1) | 0xFF000000, kMarker) << "band untouched";
}

INSTANTIATE_TEST_SUITE_P(Stages, StageCover,
                         ::testing::Values(CoverCase{0, true}, CoverCase{0, false},
                                           CoverCase{1, true}, CoverCase{2, false},
                                           CoverCase{6, true}));

// Music on the null mixer from a temporary data root.
class StageMusic : public ::testing::Test {
protected:
    void SetUp() override {
        framework::SoundStartOptions o;
        o.nullOutput = true;
        ASSERT_TRUE(framework::SoundStart(o));
        sound::gBGM() = std::make_unique<sound::CAudio36>();
        std::vector<std::int16_t> tone(2 * 44100);
        for (std::size_t i = 0; i < tone.size(); ++i) {
            tone[i] = static_cast<std::int16_t>(5000 * std::sin(static_cast<double>(i / 2) * 0.05));
        }
        const auto ogg = platform::EncodeOggVorbis(tone, platform::OggEncodeOptions{});
        root_.Write("data/bgm/regos.ogg", std::string(ogg.begin(), ogg.end()));
    }
    void TearDown() override {
        sound::gBGM().reset();
        framework::SoundStop();
    }
    brumil::testing::TempDataRoot root_;
};

TEST_F(StageMusic, StartsOnceAtTheFirstFrameStep) {
    BGameStage stage;
    stage.Reset(0, 1);
    auto& music = *sound::gBGM();
    EXPECT_EQ(music.PlayStateNow().State, 0);
    stage.FrameStep();
    EXPECT_EQ(music.PlayStateNow().State, 1);
    EXPECT_EQ(music.PlayerKind(), sound::CAudio36::kWIT) << "the stage's Ogg tune";
    music.Config.FadeOutTime = 0;
    music.Pose();
    for (int i = 0; i < 5; ++i) stage.FrameStep();
    EXPECT_NE(music.PlayStateNow().State, 1) << "later steps do not start it again";
    EXPECT_NEAR(stage.Travel, 6 * 0.005f, 1e-5f);
    stage.Reset(0, 2);
    stage.FrameStep();
    EXPECT_EQ(music.PlayStateNow().State, 1) << "a new match starts it again";
}

TEST_F(StageMusic, MissingTuneOrUnknownStageLeavesTheMatchSilent) {
    for (Long stage : {1, 9}) {
        BGameStage s;
        s.Reset(stage, 1);
        for (int i = 0; i < 3; ++i) s.FrameStep();
        EXPECT_EQ(sound::gBGM()->PlayStateNow().State, 0) << stage;
        EXPECT_EQ(s.StageFrame, 3);
    }
}

}  // namespace
}  // namespace brumil::battle::test
