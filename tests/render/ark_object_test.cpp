// The renderable object over a recording device: building, scaling, the
// world matrix, the passes and their device calls, colours and shadows.
#include "render/ark_object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "render/admin_lib.h"
#include "render/ark.h"
#include "render/ark_transform.h"
#include "render/im_device.h"
#include "render/im_texture.h"
#include "render_test_env.h"

namespace brumil::render {
namespace {

// A patch of the stage's kind: 8 x 8 heights over a unit square.
std::string LandScript(int height = 40) {
    std::string s = "f7 w0 1 2 3 4 5 6 7 h0 1 2 3 4 5 6 7 f80 a\r\n";
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
            s += ' ';
            s += std::to_string((height + row * col) % 81);
        }
        s += "\r\n";
    }
    return s;
}

std::string FlatScript() {
    std::string s = "f7 w0 1 2 3 4 5 6 7 h0 1 2 3 4 5 6 7 f80 a\r\n";
    for (int row = 0; row < 8; ++row) s += " 0 0 0 0 0 0 0 0\r\n";
    return s;
}

class ObjectTest : public testing::RecordedDisplayTest {
protected:
    CIMArk ark;
    CIMDevice device;

    std::unique_ptr<CIMArkObject> Make() {
        return std::make_unique<CIMArkObject>(ark, device, gIMTexture());
    }
    // Index of the first call described as `what` at or after `from`; the
    // number of calls when there is none.
    std::size_t Find(const std::vector<std::string>& calls, const std::string& what,
                     std::size_t from = 0) {
        const auto it = std::find(calls.begin() + static_cast<long>(from), calls.end(), what);
        return static_cast<std::size_t>(it - calls.begin());
    }
    std::vector<platform::RecordedCall> Draws() {
        auto d = recorder_->CallsNamed("DrawIndexedPrimitive");
        auto p = recorder_->CallsNamed("DrawPrimitive");
        d.insert(d.end(), p.begin(), p.end());
        return d;
    }
};

// ---- Create ----------------------------------------------------------------------------

TEST_F(ObjectTest, LandWithScaleZeroKeepsTheGeneratedPositions) {
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    ark.Primitive().GetD3DVERTEX_Land(v, idx, LandScript());
    auto o = Make();
    o->Create(2, LandScript(), -1, 10, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(o->Kind(), kArkPlain);
    EXPECT_FALSE(o->Twin());
    EXPECT_EQ(o->PrimitiveType(), platform::D3DPT_TRIANGLELIST);
    EXPECT_TRUE(o->Indexed());
    EXPECT_EQ(o->IndexCount(), static_cast<Long>(idx.size()));
    ASSERT_EQ(o->Vertices().size(), v.size());
    for (std::size_t k = 0; k < v.size(); ++k) {
        EXPECT_EQ(o->Vertices()[k].x, v[k].x);
        EXPECT_EQ(o->Vertices()[k].y, v[k].y);
        EXPECT_EQ(o->Vertices()[k].z, v[k].z);
    }
}

TEST_F(ObjectTest, ScaleTwoOneTwoScalesXAndZOfBothForms) {
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    ark.Primitive().GetD3DVERTEX_Land(v, idx, LandScript());
    auto o = Make();
    o->Create(0x202, LandScript(), 0x40000000, 10, 2, 1, 2, 0, 0, 0);
    EXPECT_EQ(o->Kind(), kArkPlain);
    EXPECT_TRUE(o->Twin());
    ASSERT_EQ(o->LVertices().size(), v.size());
    for (std::size_t k = 0; k < v.size(); ++k) {
        EXPECT_EQ(o->Vertices()[k].x, 2 * v[k].x);
        EXPECT_EQ(o->Vertices()[k].y, v[k].y);
        EXPECT_EQ(o->Vertices()[k].z, 2 * v[k].z);
        EXPECT_EQ(o->Vertices()[k].nx, v[k].nx);  // normals untouched
        EXPECT_EQ(o->LVertices()[k].x, 2 * v[k].x);
        EXPECT_EQ(o->LVertices()[k].z, 2 * v[k].z);
        EXPECT_EQ(o->LVertices()[k].color, 0x40000000);
    }
}

TEST_F(ObjectTest, PreLitChoiceIsKindTwoAndScalesThroughTheWorld) {
    std::vector<D3DLVERTEX> v;
    std::vector<Integer> idx;
    ark.Primitive().GetD3DLVERTEX_Land(v, idx, LandScript(), 5);
    auto o = Make();
    o->Create(0x102, LandScript(), 5, 10, 2, 1, 2, 0, 0, 0);
    EXPECT_EQ(o->Kind(), kArkPreLit);
    EXPECT_FALSE(o->Twin());
    ASSERT_EQ(o->LVertices().size(), v.size());
    EXPECT_EQ(o->LVertices()[3].x, v[3].x);
    o->SetTransform(1, 0, 0, 0, 0, 0);
    const D3DVECTOR p = CIMArk::VectorTransform(o->World(), 0.5f, 0, 0.5f);
    EXPECT_FLOAT_EQ(p.x, 2);
    EXPECT_FLOAT_EQ(p.z, 1);
}

TEST_F(ObjectTest, AnUnknownChoiceOrShapeChangesNoGeometry) {
    auto o = Make();
    o->Create(2, LandScript(), 0, 10, 1, 1, 1, 0, 0, 0);
    const Long count = o->IndexCount();
    const auto vertices = o->Vertices().size();
    for (Long code : {0x303, 0x403, 0x005, 0x207, 0x2FF}) {
        o->Create(code, "", 0, 10, 3, 3, 3, 0, 0, 0);
        EXPECT_EQ(o->Kind(), kArkPlain) << code;
        EXPECT_EQ(o->PrimitiveType(), platform::D3DPT_TRIANGLELIST) << code;
        EXPECT_EQ(o->IndexCount(), count) << code;
        EXPECT_EQ(o->Vertices().size(), vertices) << code;
    }
    // Nothing was scaled a second time.
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    ark.Primitive().GetD3DVERTEX_Land(v, idx, LandScript());
    EXPECT_EQ(o->Vertices()[7].x, v[7].x);
}

TEST_F(ObjectTest, SkySphereHasNoPreLitForm) {
    auto o = Make();
    o->Create(2, LandScript(), 0, 10, 1, 1, 1, 0, 0, 0);
    o->Create(0x108, "3", 0, 8, 1, 1, 1, 0, 0, 0);
    EXPECT_EQ(o->Kind(), kArkPreLit);
    EXPECT_TRUE(o->LVertices().empty());
    EXPECT_FALSE(o->Indexed());
    o->SetTransform(0, 0, 0, 0, 0, 0);
    recorder_->ClearCalls();
    o->Render(0);
    EXPECT_TRUE(Draws().empty());

    o->Create(0x208, "3", 0, 8, 1, 1, 1, 0, 0, 0);
    EXPECT_EQ(o->Kind(), kArkPlain);
    EXPECT_TRUE(o->Twin());
    EXPECT_FALSE(o->Vertices().empty());
    EXPECT_TRUE(o->LVertices().empty());
}

TEST_F(ObjectTest, OtherShapesPickTheirTypeAndIndexing) {
    struct Case {
        Long code;
        Long type;
        bool indexed;
    };
    for (const Case c : {Case{0, 4, false}, Case{1, 4, true}, Case{3, 5, true}, Case{4, 5, true},
                         Case{0x200, 4, false}}) {
        auto o = Make();
        o->Create(c.code, "", -1, 8, 1, 1, 1, 0, 0, 0);
        EXPECT_EQ(o->PrimitiveType(), c.type) << c.code;
        EXPECT_EQ(o->Indexed(), c.indexed) << c.code;
        EXPECT_FALSE(o->Vertices().empty()) << c.code;
        if (c.indexed) {
            EXPECT_EQ(o->IndexCount(), static_cast<Long>(o->Indices().size()));
        }
    }
}

// ---- Direct builders --------------------------------------------------------------------

TEST_F(ObjectTest, SettersIgnoreIndicesOutsideTheArray) {
    auto o = Make();
    o->CreateVertices(0, 4);
    EXPECT_EQ(o->Kind(), kArkNothing);
    o->CreateVertices(3, 4);
    D3DVERTEX v;
    v.x = 9;
    for (Long i : {-1, 3, 100}) o->SetVertex(i, v);
    o->SetVertex(2, v);
    EXPECT_EQ(o->Vertices()[2].x, 9);
    EXPECT_EQ(o->Vertices()[0].x, 0);
    o->CreateLVertices(2, 5);
    EXPECT_EQ(o->Kind(), kArkPreLit);
    D3DLVERTEX l;
    l.color = 3;
    o->SetLVertex(2, l);
    o->SetLVertex(1, l);
    EXPECT_EQ(o->LVertices()[1].color, 3);
    EXPECT_EQ(o->LVertices().size(), 2u);
}

TEST_F(ObjectTest, AnimationFramesOutsideTheTablesChangeNothing) {
    auto o = Make();
    o->CreateAnime("w32 64 h16 16 f4 x1 2 y3 3 u0 1 2 4 v4 3 2 1 i7 9");
    o->SetAnimeBillBoard(-1, 0, 1);
    o->SetAnimeBillBoard(2, 0, 1);
    EXPECT_EQ(o->Kind(), kArkNothing);
    o->SetAnimeBillBoard(1, 0x22, 1.5f);
    EXPECT_EQ(o->Kind(), kArkBillBoard);
    EXPECT_EQ(o->PrimitiveType(), platform::D3DPT_TRIANGLESTRIP);
    const auto& b = o->BillBoardParams();
    EXPECT_EQ(b.width, 64);
    EXPECT_EQ(b.originX, 0.5f);
    EXPECT_EQ(b.tu1, 0.5f);
    EXPECT_EQ(b.tu2, 1.0f);
    EXPECT_EQ(b.tv2, 0.25f);
    EXPECT_EQ(b.color, 0x22);
    EXPECT_EQ(b.scale, 1.5f);
    EXPECT_EQ(o->GetTextureIndex(), gIMTexture().Add("9"));
}

// ---- Placement -----------------------------------------------------------------------------

TEST_F(ObjectTest, PlacementAndTheWorldMatrix) {
    auto plain = Make();
    plain->Create(0, "", 0, 8, 2, 2, 2, 1, 0, 0);  // centre (1, 0, 0)
    plain->SetTransform(10, 0, 0, 0, 0, 0.5f, 9, 9, 9, 9, 9, 9);
    const ArkPlacement p = plain->GetTransform();
    EXPECT_EQ(p.rz, 0.5f);
    EXPECT_EQ(p.sx, 2);  // kind 1 ignores the optional values
    EXPECT_EQ(p.cx, 1);
    // Kind 1 carries its scale in the vertices: the centre is scaled, the
    // object origin is not.
    plain->SetTransform(10, 0, 0, 0, 0, 0);
    D3DVECTOR o = CIMArk::VectorTransform(plain->World(), 0, 0, 0);
    EXPECT_FLOAT_EQ(o.x, 12);
    o = CIMArk::VectorTransform(plain->World(), 1, 0, 0);
    EXPECT_FLOAT_EQ(o.x, 13);

    auto lit = Make();
    lit->Create(0x100, "", 0, 8, 2, 2, 2, 1, 0, 0);
    lit->SetTransform(10, 0, 0, 0, 0, 0, 3);  // scale x only replaced
    EXPECT_EQ(lit->GetTransform().sx, 3);
    EXPECT_EQ(lit->GetTransform().sy, 2);
    // Centre first, then scale, turn and move.
    o = CIMArk::VectorTransform(lit->World(), 0, 0, 0);
    EXPECT_FLOAT_EQ(o.x, 13);
    o = CIMArk::VectorTransform(lit->World(), 1, 0, 0);
    EXPECT_FLOAT_EQ(o.x, 16);

    // Without a centre a kind-1 world has no scale, another kind's has.
    plain->Create(0, "", 0, 8, 2, 2, 2, 0, 0, 0);
    plain->SetTransform(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(plain->World().rc11, 1);
    lit->Create(0x100, "", 0, 8, 2, 2, 2, 0, 0, 0);
    lit->SetTransform(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(lit->World().rc11, 2);
}

// ---- Render ----------------------------------------------------------------------------------

TEST_F(ObjectTest, RenderZeroMakesItsCallsInOrder) {
    auto o = Make();
    o->Create(2, LandScript(), -1, 10, 1, 1, 1, 0, 0, 0);
    o->SetMaterialLE(0.8f);
    o->SetTransform(1, 0, 2, 0, 0, 0);
    o->SetRenderMode(0x90);
    o->SetRenderModeSecondStage(0x20);
    o->SetTextureIndex(gIMTexture().Add("?stage128x128"));
    recorder_->ClearCalls();
    o->Render(0);
    const auto calls = Calls();
    const std::size_t tex0 = Find(calls, "SetTexture 0");
    const std::size_t tex1 = Find(calls, "SetTexture 1");
    const std::size_t colorOp = Find(calls, "TSS 0.1=13");  // blend by texture alpha
    const std::size_t antiAlias = Find(calls, "RS 2=0");
    const std::size_t stage1 = Find(calls, "TSS 1.1=4", antiAlias);  // modulate
    const std::size_t material = Find(calls, "SetMaterial");
    const std::size_t lighting = Find(calls, "RS 137=1");
    const std::size_t draw = Find(calls, "DrawIndexedPrimitive");
    ASSERT_LT(draw, calls.size());
    EXPECT_LT(tex0, tex1);
    EXPECT_LT(tex1, colorOp);
    EXPECT_LT(colorOp, antiAlias);
    EXPECT_LT(antiAlias, stage1);
    EXPECT_LT(stage1, material);
    EXPECT_LT(material, lighting);
    EXPECT_LT(lighting, draw);
    EXPECT_EQ(draw, calls.size() - 1);

    const auto d = recorder_->CallsNamed("DrawIndexedPrimitive").at(0);
    EXPECT_EQ(d.args[0], platform::D3DPT_TRIANGLELIST);
    EXPECT_EQ(d.args[1], platform::D3DFVF_VERTEX);
    EXPECT_EQ(d.args[2], static_cast<Long>(o->Vertices().size()));
    EXPECT_EQ(d.args[3], o->IndexCount());
    const auto m = recorder_->CallsNamed("SetMaterial").at(0);
    EXPECT_EQ(m.values[0], 0.8f);  // diffuse red
    EXPECT_EQ(m.values[4], 1.0f);  // ambient red
}

TEST_F(ObjectTest, PassesDrawOnlyTwins) {
    auto o = Make();
    o->Create(2, LandScript(), -1, 10, 1, 1, 1, 0, 0, 0);
    o->SetTransform(0, 0, 0, 0, 0, 0);
    recorder_->ClearCalls();
    o->Render(1);
    o->Render(2);
    EXPECT_TRUE(Draws().empty());
    EXPECT_TRUE(recorder_->CallsNamed("SetRenderState").empty());

    o->Create(0x202, LandScript(), 0x40000000, 10, 1, 1, 1, 0, 0, 0);
    o->SetLightedRenderMode(0x1);
    recorder_->ClearCalls();
    o->Render(1);
    auto draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].args[1], platform::D3DFVF_LVERTEX);
    EXPECT_LT(Find(Calls(), "RS 27=1"), Find(Calls(), "DrawIndexedPrimitive"));  // alpha blend on
    EXPECT_TRUE(recorder_->CallsNamed("SetMaterial").empty());

    recorder_->ClearCalls();
    o->Render(2);  // the shadow pass draws the plain form with the material
    draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].args[1], platform::D3DFVF_VERTEX);
}

TEST_F(ObjectTest, RenderBeforeTheFirstPlacementDrawsOnlyWhatNeedsNoMatrix) {
    ark.SettingProperty();
    struct Case {
        const char* name;
        void (*make)(CIMArkObject&);
        std::size_t draws;
        platform::D3DLong fvf;
    };
    const Case cases[] = {
        {"plain shape",
         [](CIMArkObject& o) { o.Create(2, LandScript(), -1, 10, 1, 1, 1, 0, 0, 0); }, 0, 0},
        {"pre-lit shape",
         [](CIMArkObject& o) { o.Create(0x102, LandScript(), -1, 10, 1, 1, 1, 0, 0, 0); }, 0, 0},
        {"billboard, placed by the device's world transform",
         [](CIMArkObject& o) { o.CreateBillBoard(20, 20, 0.5f, 0.5f, -1, 0, 0, 1, 1, 0); }, 1,
         platform::D3DFVF_TLVERTEX},
        {"screen sprite",
         [](CIMArkObject& o) { o.CreateSprite(10, 10, 16, 16, 0, 0, -1, 0, 0, 1, 1, 0, 1); }, 1,
         platform::D3DFVF_TLVERTEX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto o = Make();
        c.make(*o);
        EXPECT_FALSE(o->HasTransform());
        recorder_->ClearCalls();
        o->Render(0);
        const auto draws = Draws();
        ASSERT_EQ(draws.size(), c.draws);
        if (c.draws == 0) {
            EXPECT_TRUE(recorder_->Calls().empty());
            continue;
        }
        EXPECT_EQ(draws[0].args[0], platform::D3DPT_TRIANGLESTRIP);
        EXPECT_EQ(draws[0].args[1], c.fvf);
    }
}

TEST_F(ObjectTest, ABillBoardIsRebuiltAtTheWorldOrigin) {
    ark.SettingProperty();
    auto o = Make();
    o->CreateBillBoard(20, 20, 0.5f, 0.5f, -1, 0, 0, 1, 1, 0);
    o->SetTransform(1, 2, 3, 0, 0, 0);
    o->RenderInstantSetting();
    o->Render(0);
    const D3DTLVERTEX p = ark.ProjectVertex(1, 2, 3);
    ASSERT_EQ(o->TLVertices().size(), 4u);
    EXPECT_EQ(o->TLVertices()[3].sx, std::floor(p.sx) - 0.5f);
    EXPECT_EQ(o->TLVertices()[3].sy, std::floor(p.sy) - 0.5f);
}

TEST_F(ObjectTest, RenderSettingRecordsThePassesMatrix) {
    CIMArkTransform tf;
    auto o = Make();
    o->Create(0x202, LandScript(), 0, 10, 1, 1, 1, 0, 0, 0);
    o->SetTransform(0, 0, 3, 0, 0, 0);
    o->SetShadowRenderMode(-1);
    tf.Clear();
    o->RenderSetting(4, tf, 2);
    EXPECT_EQ(tf.OpaqueCount() + tf.BlendedCount(), 0);

    o->SetShadowRenderMode(1);  // blended
    o->RenderSetting(4, tf, 2);
    ASSERT_EQ(tf.BlendedCount(), 1);
    const D3DVECTOR top = CIMArk::VectorTransform(tf.Current(), 0, 1, 0);
    EXPECT_NEAR(top.y, 0.005f + 0.0001f, 1e-6);  // squashed flat and lifted
    EXPECT_FLOAT_EQ(top.z, 3);

    o->SetRenderMode(0x90);
    o->RenderSetting(5, tf, 0);
    EXPECT_EQ(tf.OpaqueCount(), 1);
    EXPECT_FLOAT_EQ(CIMArk::VectorTransform(tf.Current(), 0, 1, 0).y, 1);

    auto single = Make();
    single->Create(2, LandScript(), 0, 10, 1, 1, 1, 0, 0, 0);
    single->RenderSetting(6, tf, 1);
    EXPECT_EQ(tf.OpaqueCount() + tf.BlendedCount(), 2);
}

// ---- Colours and shadows ---------------------------------------------------------------------

std::uint32_t Alpha(const D3DLVERTEX& v) {
    return static_cast<std::uint32_t>(v.color) >> 24;
}

TEST_F(ObjectTest, ShadowScaleFadesFromTheCentreToTheRim) {
    auto o = Make();
    o->CreateLVertices(5, 4);
    const Single xs[] = {0, 0.5f, 0.25f, 1, 3};
    for (Long i = 0; i < 5; ++i) {
        D3DLVERTEX v;
        v.x = xs[i];
        o->SetLVertex(i, v);
    }
    o->SetTransform(0, 0, 0, 0, 0, 0, 2, 1, 0);  // radius |(2, 0)| / 2 = 1
    o->SetShadowScale(0x12ABCDEF, 300);          // clamped to 255
    const std::uint32_t expected[] = {255, 128, 191, 0, 0};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(Alpha(o->LVertices()[i]), expected[i]) << i;
        EXPECT_EQ(o->LVertices()[i].color & 0xFFFFFF, 0xABCDEF);
    }
    o->SetShadowScale(0x00ABCDEF, -20);
    EXPECT_EQ(Alpha(o->LVertices()[0]), 0u);

    // No radius: no shadow and no NaN in the colours.
    o->SetTransform(0, 0, 0, 0, 0, 0, 0, 1, 0);
    o->SetShadowScale(0x00ABCDEF, 255);
    for (const auto& v : o->LVertices()) EXPECT_EQ(static_cast<std::uint32_t>(v.color), 0xABCDEFu);
}

TEST_F(ObjectTest, ColoursGoWhereTheKindKeepsThem) {
    auto o = Make();
    o->Create(2, LandScript(), 0, 10, 1, 1, 1, 0, 0, 0);
    o->Create(0x102, LandScript(), 7, 10, 1, 1, 1, 0, 0, 0);
    o->Create(2, LandScript(), 0, 10, 1, 1, 1, 0, 0, 0);  // kind 1, stale pre-lit array
    o->SetColor(9);
    o->SetShadowScale(9, 255);
    EXPECT_EQ(o->LVertices()[0].color, 7);

    o->Create(0x202, LandScript(), 7, 10, 1, 1, 1, 0, 0, 0);
    o->SetColor(9);
    EXPECT_EQ(o->LVertices()[0].color, 9);

    o->CreateBillBoard(1, 1, 0, 0, 3, 0, 0, 1, 1, 1);
    o->SetColor(4);
    EXPECT_EQ(o->BillBoardParams().color, 4);
    o->CreateSprite(0, 0, 4, 4, 0, 0, 1, 0, 0, 1, 1, 0, 1);
    o->SetColor(5);
    for (const auto& v : o->TLVertices()) EXPECT_EQ(v.color, 5);
}

TEST_F(ObjectTest, ShadowMapColoursThePointsUnderTheCaster) {
    auto floor = Make();
    floor->Create(0x202, FlatScript(), 0x11111111, 10, 4, 1, 4, 0, 0, 0);  // x, z in -2..2
    floor->SetTransform(0, 0, 0, 0, 0, 0);
    auto box = Make();
    box->Create(0, "", 0, 8, 1, 1, 1, 0, 0, 0);  // x, z in -0.5..0.5
    box->SetTransform(0, 2, 0, 0, 0, 0);
    floor->SetShadowMap(0x22222222, {0, -1, 0}, *box);
    int shaded = 0;
    for (std::size_t i = 0; i < floor->LVertices().size(); ++i) {
        const auto& v = floor->LVertices()[i];
        const bool under = std::fabs(v.x) < 0.49f && std::fabs(v.z) < 0.49f;
        const bool outside = std::fabs(v.x) > 0.51f || std::fabs(v.z) > 0.51f;
        if (under) {
            EXPECT_EQ(v.color, 0x22222222) << i;
            ++shaded;
        }
        if (outside) {
            EXPECT_EQ(v.color, 0x11111111) << i;
        }
    }
    EXPECT_GT(shaded, 0);

    // Lit from below, every vertex faces away from the light.
    floor->SetShadowMap(0x33333333, {0, 1, 0}, *box);
    for (const auto& v : floor->LVertices()) EXPECT_EQ(v.color, 0x33333333);
}

TEST_F(ObjectTest, HitTestsFollowTheWorldMatrix) {
    auto o = Make();
    o->Create(2, FlatScript(), 0, 10, 1, 1, 1, 0, 0, 0);  // y = 0, x and z in -0.5..0.5
    o->SetTransform(5, 0, 0, 0, 0, 0);
    EXPECT_TRUE(o->HitTest(5.2f, 1, 0.1f, 5.2f, -1, 0.1f, false));
    EXPECT_FALSE(o->HitTest(0.2f, 1, 0.1f, 0.2f, -1, 0.1f, false));
    EXPECT_FALSE(o->HitTest(5.2f, 2, 0.1f, 5.2f, 1, 0.1f, false));
    EXPECT_TRUE(o->HitTest(5.2f, 2, 0.1f, 5.2f, 1, 0.1f, true));
    auto empty = Make();
    EXPECT_FALSE(empty->HitTest(0, 1, 0, 0, -1, 0, true));
}

TEST_F(ObjectTest, HitTestPointFindsTheTexturePoint) {
    ark.vFrom({0, 5, -5});  // looking down onto the patch
    ark.SettingProperty();
    auto o = Make();
    o->Create(2, FlatScript(), 0, 10, 1, 1, 1, 0, 0, 0);
    o->SetTransform(0, 0, 0, 0, 0, 0);
    Long triangle = -1;
    Single tu = -1, tv = -1;
    // Straight down through the patch's middle: texture point (0.5, 0.5).
    ASSERT_TRUE(o->HitTestPoint(0, 1, 0, 0, -1, 0, false, 0, triangle, tu, tv));
    EXPECT_NEAR(tu, 0.5f, 1e-3);
    EXPECT_NEAR(tv, 0.5f, 1e-3);
    EXPECT_GE(triangle, 0);
    EXPECT_FALSE(o->HitTestPoint(0, 1, 0, 0, -1, 0, false, 1, triangle, tu, tv));
    // The hits of the search are kept by the scene object.
    EXPECT_EQ(ark.HitCount(), 1);
}

}  // namespace
}  // namespace brumil::render
