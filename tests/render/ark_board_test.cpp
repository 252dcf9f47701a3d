// The object container: slots, sizing, the depth-ordered pass over a
// recording device, and a board of 150 land patches drawn on the software
// device the way the battle's stage draws it.
#include "render/ark_board.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "framework/display.h"
#include "render/admin_lib.h"
#include "render/ark.h"
#include "render/im_device.h"
#include "render/im_texture.h"
#include "render_test_env.h"

namespace brumil::render {
namespace {

class BoardTest : public testing::RecordedDisplayTest {
protected:
    CIMArk ark;
    CIMDevice device;
    std::unique_ptr<CIMArkBoard> board =
        std::make_unique<CIMArkBoard>(ark, device, gIMTexture(), FrameworkArkHost());

    std::size_t DrawCount() {
        return recorder_->CallsNamed("DrawIndexedPrimitive").size() +
               recorder_->CallsNamed("DrawPrimitive").size();
    }
};

TEST_F(BoardTest, SizedToOneHundredFifty) {
    EXPECT_EQ(board->IMArkObjectCount(), 0);
    EXPECT_EQ(board->IMArkObject(0), nullptr);
    board->IMArkObjectCount(150);
    EXPECT_EQ(board->IMArkObjectCount(), 150);
    const auto last = board->IMArkObject(149);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(board->IMArkObject(149), last);  // the same object every time
    EXPECT_EQ(board->IMArkObject(150), nullptr);
    EXPECT_EQ(board->IMArkObject(-1), nullptr);
    EXPECT_TRUE(last->Visible);
    EXPECT_EQ(last->Kind(), kArkNothing);
}

TEST_F(BoardTest, ShrinkingKeepsTheRemainingObjects) {
    board->IMArkObjectCount(150);
    std::vector<std::shared_ptr<CIMArkObject>> kept;
    for (Long i = 0; i < 10; ++i) kept.push_back(board->IMArkObject(i));
    std::weak_ptr<CIMArkObject> cut = board->IMArkObject(120);
    board->IMArkObjectCount(10);
    EXPECT_EQ(board->IMArkObjectCount(), 10);
    for (Long i = 0; i < 10; ++i) EXPECT_EQ(board->IMArkObject(i), kept[static_cast<size_t>(i)]);
    EXPECT_TRUE(cut.expired());  // released with its slot
    EXPECT_EQ(board->IMArkObject(10), nullptr);
    // Growing again gives fresh objects in the added slots.
    board->IMArkObjectCount(20);
    EXPECT_EQ(board->IMArkObject(3), kept[3]);
    const auto fresh = board->IMArkObject(15);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->Kind(), kArkNothing);
}

TEST_F(BoardTest, ACountOfZeroOrLessEmptiesIt) {
    for (Long n : {0L, -5L}) {
        board->IMArkObjectCount(30);
        std::weak_ptr<CIMArkObject> held = board->IMArkObject(2);
        board->IMArkObjectCount(n);
        EXPECT_EQ(board->IMArkObjectCount(), 0) << n;
        EXPECT_EQ(board->IMArkObject(0), nullptr) << n;
        EXPECT_TRUE(held.expired()) << n;
    }
}

TEST_F(BoardTest, AnEmptyBoardMakesNoDeviceCall) {
    recorder_->ClearCalls();
    board->DoRender(0);
    EXPECT_TRUE(recorder_->Calls().empty());
}

std::string Patch() {
    std::string s = "f7 w0 1 2 3 4 5 6 7 h0 1 2 3 4 5 6 7 f80 a\r\n";
    for (int r = 0; r < 8; ++r) s += " 10 20 30 40 40 30 20 10\r\n";
    return s;
}

TEST_F(BoardTest, DoRenderSkipsInvisibleObjectsAndUnbindsTextures) {
    board->IMArkObjectCount(6);
    for (Long i = 0; i < 5; ++i) {  // slot 5 stays empty
        auto o = board->IMArkObject(i);
        o->Create(2, Patch(), -1, 10, 1, 1, 1, 0, 0, 0);
        o->SetTransform(static_cast<Single>(i), 0, 0, 0, 0, 0);
        o->SetTextureIndex(gIMTexture().Add("?stage128x128"));
    }
    board->IMArkObject(1)->Visible = false;
    board->IMArkObject(3)->Visible = false;
    recorder_->ClearCalls();
    board->DoRender(0);
    EXPECT_EQ(board->RenderFlags(), 0);
    EXPECT_EQ(DrawCount(), 3u);
    // Each draw follows the world transform of its own object: 4, 2, 0.
    std::vector<Single> xs;
    for (const auto& c : recorder_->Calls()) {
        if (c.name == "SetTransform" && c.args[0] == platform::D3DTRANSFORMSTATE_WORLD) {
            xs.push_back(c.values[12]);
        }
    }
    // The empty slot 5 was filled with a new visible object, recorded with its
    // all-zero world matrix, and draws nothing.
    EXPECT_EQ(xs, (std::vector<Single>{0, 4, 2, 0}));
    // Both stages are unbound last (stage 1 had no texture, so its cache
    // sends nothing).
    const auto calls = Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "SetTexture 0");
    EXPECT_EQ(device.LastTextureIndex(), -1);
    EXPECT_EQ(board->IMArkObject(5)->Kind(), kArkNothing);
    EXPECT_TRUE(board->IMArkObject(5)->Visible);
}

TEST_F(BoardTest, PassFlagsReachEveryObject) {
    board->IMArkObjectCount(2);
    auto twin = board->IMArkObject(0);
    twin->Create(0x202, Patch(), 0x40000000, 10, 1, 1, 1, 0, 0, 0);
    twin->SetTransform(0, 0, 0, 0, 0, 0);
    twin->SetLightedRenderMode(0);
    auto plain = board->IMArkObject(1);
    plain->Create(2, Patch(), 0, 10, 1, 1, 1, 0, 0, 0);
    plain->SetTransform(1, 0, 0, 0, 0, 0);
    recorder_->ClearCalls();
    board->DoRender(1);
    EXPECT_EQ(board->RenderFlags(), 1);
    const auto draws = recorder_->CallsNamed("DrawIndexedPrimitive");
    ASSERT_EQ(draws.size(), 1u);  // only the twin takes part, pre-lit
    EXPECT_EQ(draws[0].args[1], platform::D3DFVF_LVERTEX);
}

struct SceneCodeCase {
    Long shape;
    Long typeCode;
};

TEST(BoardScene, ShapesAreClampedBelowTheVertexChoice) {
    for (const auto c :
         {SceneCodeCase{2, 0x202}, SceneCodeCase{0, 0x200}, SceneCodeCase{-3, 0x200},
          SceneCodeCase{255, 0x2FF}, SceneCodeCase{256, 0x2FF}, SceneCodeCase{0x102, 0x2FF}}) {
        EXPECT_EQ(CIMArkBoard::SceneTypeCode(c.shape), c.typeCode) << c.shape;
    }
    EXPECT_EQ(CIMArkBoard::SceneRenderMode(true, true), 0x171);
    EXPECT_EQ(CIMArkBoard::SceneRenderMode(true, false), 0x70);
    EXPECT_EQ(CIMArkBoard::SceneRenderMode(false, true), 0x101);
    EXPECT_EQ(CIMArkBoard::SceneRenderMode(false, false), 0);
}

// ---- The stage floor on the software device ------------------------------------------------

constexpr std::uint32_t kBackground = 0xFF00FF;  // magenta: no floor there

// A height grid of 211 rows and 36 columns in 0..40 (80ths of a board), the
// patches of a board sharing their edge rows and columns.
int Height(int row, int col) {
    return (row * 7 + col * 13 + (row * col) % 11) % 41;
}

std::string PatchScript(int m, int c) {
    std::string s = "f7 w0 1 2 3 4 5 6 7 h0 1 2 3 4 5 6 7 f80 a\r\n";
    for (int r = 0; r < 8; ++r) {
        for (int k = 0; k < 8; ++k) {
            s += ' ';
            s += std::to_string(Height(7 * m + r, 7 * (c + 2) + k));
        }
        s += "\r\n";
    }
    return s;
}

class StageFloorPicture : public testing::DisplayTest {
protected:
    CIMArkBoard board;

    void SetUp() override {
        DisplayTest::SetUp();
        board.IMArkObjectCount(150);
        for (int m = 0; m < 30; ++m) {
            for (int c = -2; c <= 2; ++c) {
                auto o = board.IMArkObject(5 * m + 2 + c);
                o->Create(2, PatchScript(m, c), -1, 10, 1, 1, 1, 0, 0, 0);
                o->SetMaterialLE(0.8f);
            }
        }
    }

    // The first stage group's camera and lights at the start of the strip,
    // then rows k = 5 .. 1 (farthest first) of five patches each; `skip` is
    // a patch (k, c) left out. With `boardPass` the board draws its visible
    // objects itself, depth-tested.
    void Draw(int skipK = 0, int skipC = 0, bool boardPass = false) {
        CIMArk& ark = gIMArk();
        CIMDevice& device = gIMDevice();
        const Long texture = gIMTexture().Add("?stage256x256");
        ASSERT_TRUE(device.SceneBegin());
        device.SceneClear(true, true, static_cast<Long>(0xFF000000u | kBackground));
        device.SetZBufferMode(boardPass);
        device.SetCullingMode(3);
        device.SetFilterMode(true);
        ark.vFrom({0, 2.0f, 0});
        ark.vTo({0, 0, 2.0f});
        ark.SettingProperty();
        ark.SetLightAmbient(0x40404040);
        ark.SetLight(CIMArk::Get_Light_PointLight({0, 0.25f, 2.0f}, -0.2f, -0.2f, -0.2f, 0.75f), 0,
                     true);
        ark.SetLight(CIMArk::Get_Light_SpotLight({0, 2, 0}, {0, -1, 2}, 0, 0.2f, 0.2f, 1), 1, true);
        ark.SetLight(CIMArk::Get_Light_SpotLight({0, 2, 4}, {0, -1, -2}, 0, -0.2f, -0.2f, 1), 2,
                     true);
        if (boardPass) {
            board.DoRender(0);
            device.SceneEnd();
            return;
        }
        for (int i = 1; i <= 5; ++i) {
            const int k = 6 - i;
            for (int c = -2; c <= 2; ++c) {
                if (k == skipK && c == skipC) continue;
                auto o = board.IMArkObject(((268435456 - k) % 30) * 5 + 2 + c);
                o->SetTransform(static_cast<Single>(c), 0, static_cast<Single>(k), 0, 0, 0);
                o->SetRenderMode(0x90);
                o->SetTextureIndex(texture);
                o->RenderInstantSetting();
                o->Render(0);
            }
        }
        device.SceneEnd();
    }

    // Screen points of the floor plane y = 0 whose line of sight enters the
    // floor's block from above (it crosses y = 0.5, the highest ground,
    // inside the block too): each must show ground. Answers how many were
    // checked and how many showed the background.
    std::pair<int, int> CountGaps() {
        const CIMArk& ark = gIMArk();
        auto inside = [](Single x, Single z) {
            return std::fabs(x) < 2.4f && z > 0.6f && z < 5.4f;
        };
        int checked = 0, gaps = 0;
        for (Single z = 0.6f; z < 5.4f; z += 0.05f) {
            for (Single x = -2.4f; x < 2.4f; x += 0.05f) {
                if (!inside(0.75f * x, 0.75f * z)) continue;  // the sight line at y = 0.5
                const D3DTLVERTEX p = ark.ProjectVertex(x, 0, z);
                const Long sx = static_cast<Long>(std::lround(p.sx));
                const Long sy = static_cast<Long>(std::lround(p.sy));
                if (p.rhw <= 0 || sx < 0 || sy < 0 || sx >= 640 || sy >= 480) continue;
                ++checked;
                if ((framework::gBackDDS()->PixelAt(sx, sy) & 0xFFFFFFu) == kBackground) ++gaps;
            }
        }
        return {checked, gaps};
    }
};

TEST_F(StageFloorPicture, TwentyFivePatchesLeaveNoGaps) {
    Draw();
    const auto [checked, gaps] = CountGaps();
    EXPECT_GT(checked, 2000);
    EXPECT_EQ(gaps, 0);
}

TEST_F(StageFloorPicture, AMissingPatchShowsAsAGap) {
    Draw(3, 0);
    const auto [checked, gaps] = CountGaps();
    EXPECT_GT(gaps, checked / 50);
}

TEST_F(StageFloorPicture, TheBoardsOwnDepthPassLeavesNoGapsEither) {
    // Only the 25 patches in view take part; the board records them in slot
    // order and draws them through its transform, with depth testing on.
    for (Long i = 0; i < 150; ++i) board.IMArkObject(i)->Visible = false;
    for (int k = 1; k <= 5; ++k) {
        for (int c = -2; c <= 2; ++c) {
            auto o = board.IMArkObject(((268435456 - k) % 30) * 5 + 2 + c);
            o->Visible = true;
            o->SetTransform(static_cast<Single>(c), 0, static_cast<Single>(k), 0, 0, 0);
            o->SetRenderMode(0x90);
            o->SetTextureIndex(gIMTexture().Add("?stage256x256"));
        }
    }
    Draw(0, 0, true);
    const auto [checked, gaps] = CountGaps();
    EXPECT_GT(checked, 2000);
    EXPECT_EQ(gaps, 0);
    EXPECT_EQ(gIMDevice().LastTextureIndex(), -1);
}

}  // namespace
}  // namespace brumil::render
