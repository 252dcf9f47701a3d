// Building a board from a scene object table: sizing, the fields each record
// applies, the geometry switch, and the read objects drawn on the software
// device.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/display.h"
#include "render/admin_lib.h"
#include "render/ark.h"
#include "render/ark_board.h"
#include "render/hb_data.h"
#include "render/im_device.h"
#include "render/im_texture.h"
#include "render_test_env.h"

namespace brumil::render {
namespace {

// A table of `count` boxes named o0, o1, ... at x = 0, 1, ...
void Boxes(CHBData& t, Long count) {
    for (Long i = 0; i < count; ++i) {
        t.ObjectAdd();
        t.ObjectInit(i, "o" + std::to_string(i));
        t.NumberPrimitiveType2(0);  // box
        t.PosX(static_cast<Single>(i));
    }
}

class BoardSceneTest : public testing::RecordedDisplayTest {
protected:
    CIMArk ark;
    CIMDevice device;
    CIMArkBoard board{ark, device, gIMTexture(), FrameworkArkHost()};
    CHBData table;
};

TEST_F(BoardSceneTest, ThreeRecordsSizeTheBoard) {
    board.IMArkObjectCount(7);
    const auto reused = board.IMArkObject(1);
    Boxes(table, 3);
    for (Long i = 0; i < 3; ++i) {
        table.Active(i);
        table.NumberShadow(0);  // the shadow would paint over the pre-lit colours
    }
    table.Active(0);
    board.ReadHBData(table);
    EXPECT_EQ(board.IMArkObjectCount(), 3);
    EXPECT_EQ(table.GetActiveIndex(), 2);
    EXPECT_EQ(board.IMArkObject(1), reused);
    for (Long i = 0; i < 3; ++i) {
        const auto o = board.IMArkObject(i);
        EXPECT_EQ(o->Kind(), kArkPlain) << i;
        EXPECT_TRUE(o->Twin()) << i;  // the record asks for both vertex forms
        EXPECT_EQ(o->Vertices().size(), 36u) << i;
        EXPECT_EQ(o->LVertices()[0].color, 0x40000000) << i;
        EXPECT_EQ(o->GetTransform().px, static_cast<Single>(i)) << i;
        EXPECT_TRUE(o->HasTransform());
    }
    // An empty table empties the board and leaves the active index alone.
    CHBData empty;
    empty.Active(5);
    board.ReadHBData(empty);
    EXPECT_EQ(board.IMArkObjectCount(), 0);
    EXPECT_EQ(empty.GetActiveIndex(), 5);
}

TEST_F(BoardSceneTest, EachFieldReachesItsObject) {
    Boxes(table, 1);
    table.RotateY(0.5f);
    table.NumberMaterialDifR(0.25f);
    table.NumberMaterialDifG(0.5f);
    table.NumberMaterialDifB(0.75f);
    table.NumberMaterialAmbR(0.1f);  // not used
    table.DataTexture1("?stage64x64");
    table.DataTexture2("?stage32x32");
    table.NumberRenderMode2(0x55);
    table.NumberShadowColor(0x123456);
    table.NumberShadowAlpha(128);
    board.ReadHBData(table);
    const auto o = board.IMArkObject(0);
    EXPECT_EQ(o->GetTransform().ry, 0.5f);
    const auto& m = o->GetMaterial();
    EXPECT_EQ(m.diffuse.r, 0.25f);
    EXPECT_EQ(m.diffuse.g, 0.5f);
    EXPECT_EQ(m.diffuse.b, 0.75f);
    EXPECT_EQ(m.ambient.r, 1.0f);
    EXPECT_EQ(m.ambient.b, 1.0f);
    EXPECT_EQ(m.emissive.g, 0.0f);
    EXPECT_EQ(o->GetTextureIndex(), gIMTexture().Add("?stage64x64"));
    // Without NumberMultiple the second stage is switched off and its
    // texture not touched; the default shadow is on.
    EXPECT_EQ(o->GetRenderModeSecondStage(), -1);
    EXPECT_EQ(o->GetTextureIndexSecondStage(), -1);
    EXPECT_EQ(o->GetShadowRenderMode(), 1);
    table.Active(0);
    table.NumberMultiple(1);
    table.NumberShadow(0);
    table.Visible(0);
    board.ReadHBDataActive(table);
    EXPECT_EQ(o->GetRenderModeSecondStage(), 0x55);
    EXPECT_EQ(o->GetTextureIndexSecondStage(), gIMTexture().Add("?stage32x32"));
    EXPECT_EQ(o->GetShadowRenderMode(), -1);
    EXPECT_FALSE(o->Visible);
}

TEST_F(BoardSceneTest, RenderCodesFromTheTextureSwitches) {
    struct Case {
        Long textureUse, alphaUse, code;
    };
    Boxes(table, 1);
    board.ReadHBData(table);
    for (const Case c : {Case{1, 1, 0x171}, Case{0, 0, 0}, Case{3, 0, 0x70}, Case{0, -1, 0x101}}) {
        table.Active(0);
        table.NumberTextureUse(c.textureUse);
        table.NumberTextureAlphaUse(c.alphaUse);
        table.NumberRenderMode1(0x999);  // not used
        board.ReadHBDataActive(table);
        EXPECT_EQ(board.IMArkObject(0)->GetRenderMode(), c.code) << c.textureUse << c.alphaUse;
    }
}

TEST_F(BoardSceneTest, ASecondGeometrySwitchKeepsTheShape) {
    Boxes(table, 1);
    board.ReadHBData(table);
    const auto o = board.IMArkObject(0);
    ASSERT_EQ(o->Vertices().size(), 36u);
    table.Active(0);
    table.NumberPrimitiveType1(1);
    table.NumberPrimitiveType2(1);  // a sphere, not built
    table.ScaleX(5);
    table.PosZ(9);
    board.ReadHBDataActive(table);
    EXPECT_EQ(o->Vertices().size(), 36u);
    EXPECT_EQ(o->GetTransform().sx, 1.0f);
    EXPECT_EQ(o->GetTransform().pz, 9.0f);
    // With the switch back at 0 the sphere is built.
    table.NumberPrimitiveType1(0);
    board.ReadHBDataActive(table);
    EXPECT_NE(o->Vertices().size(), 36u);
    EXPECT_TRUE(o->Indexed());
}

TEST_F(BoardSceneTest, ActiveIndexOutsideTheTableChangesNothing) {
    Boxes(table, 2);
    board.ReadHBData(table);
    const auto o = board.IMArkObject(1);
    for (const Long active : {-1L, 2L, 40L}) {
        table.Active(1);
        table.PosY(3);
        table.Active(active);
        board.ReadHBDataActive(table);
        EXPECT_EQ(o->GetTransform().py, 0.0f) << active;
    }
    // A board smaller than the table is not grown by a single record.
    board.IMArkObjectCount(1);
    table.Active(1);
    board.ReadHBDataActive(table);
    EXPECT_EQ(board.IMArkObjectCount(), 1);
}

// ---- Drawn on the software device ------------------------------------------------------

constexpr std::uint32_t kBackground = 0x0000FF;

class BoardScenePicture : public testing::DisplayTest {
protected:
    CIMArkBoard board;
    CHBData table;

    std::uint32_t Pixel(Long x, Long y) { return framework::gBackDDS()->PixelAt(x, y) & 0xFFFFFFu; }

    void Draw() {
        CIMArk& ark = gIMArk();
        CIMDevice& device = gIMDevice();
        ASSERT_TRUE(device.SceneBegin());
        device.SceneClear(true, true, static_cast<Long>(0xFF000000u | kBackground));
        device.SetZBufferMode(true);
        ark.vFrom({0, 0, 0});
        ark.vTo({0, 0, 1});
        ark.SettingProperty();
        ark.SetLightAmbient(static_cast<Long>(0xFFFFFFFFu));
        board.DoRender(0);
        device.SceneEnd();
    }
};

TEST_F(BoardScenePicture, ReadObjectsShow) {
    // A box ahead on the left, an invisible one ahead on the right.
    Boxes(table, 2);
    table.Active(0);
    table.PosX(-1.5f);
    table.PosZ(5);
    table.NumberShadow(0);
    table.Active(1);
    table.PosX(1.5f);
    table.PosZ(5);
    table.Visible(0);
    board.ReadHBData(table);
    Draw();
    const D3DTLVERTEX left = gIMArk().ProjectVertex(-1.5f, 0, 5);
    const D3DTLVERTEX right = gIMArk().ProjectVertex(1.5f, 0, 5);
    ASSERT_GT(left.sx, 0.0f);
    ASSERT_LT(right.sx, 640.0f);
    const auto at = [&](const D3DTLVERTEX& p) {
        return Pixel(static_cast<Long>(p.sx), static_cast<Long>(p.sy));
    };
    EXPECT_NE(at(left), kBackground);
    EXPECT_EQ(at(right), kBackground);
    EXPECT_EQ(Pixel(320, 240), kBackground);
    // Made visible through the table, the second box shows too.
    table.Active(1);
    table.Visible(1);
    board.ReadHBDataActive(table);
    Draw();
    EXPECT_NE(at(right), kBackground);
}

}  // namespace
}  // namespace brumil::render
