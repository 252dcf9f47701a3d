// A lit, textured land patch under the camera, drawn on the software device
// with render-mode code &H90 (texture over the lit colour by texture alpha)
// and checked by pixels.
#include <gtest/gtest.h>

#include <cmath>

#include "framework/display.h"
#include "render/admin_lib.h"
#include "render/ark.h"
#include "render/im_device.h"
#include "render_test_env.h"

namespace brumil::render {
namespace {

constexpr std::uint32_t kBackground = 0xFF00FF00u;  // green: no floor there
constexpr std::uint32_t kOpaqueBlue = 0xFF0000FFu;
// Low over a lattice point of the right half of the floor.
constexpr D3DVECTOR kLightAt{2.0f / 7, 0.15f, 8.0f / 7};

std::uint32_t Back(Long x, Long y) {
    return framework::gBackDDS()->PixelAt(x, y) & 0xFFFFFFu;
}

// Brightness of the red channel (the lit floor is grey).
int Red(Long x, Long y) {
    return static_cast<int>((Back(x, y) >> 16) & 0xFF);
}

// A 16 x 16 texture: the left half opaque blue (shown as it is), the right
// half transparent (the lit colour shows through under &H90).
platform::SurfacePtr HalfBlueTexture() {
    platform::SurfacePtr tex;
    EXPECT_EQ(framework::CreateDDS(tex, 16, 16, true, true, 0, 0, 0), 0);
    auto lock = tex->Lock();
    EXPECT_TRUE(lock.Ok());
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            lock.Pixels()[static_cast<std::size_t>(y * lock.Pitch() + x)] =
                x < 8 ? kOpaqueBlue : 0x00FF0000u;
        }
    }
    return tex;
}

class LandPicture : public testing::DisplayTest {
protected:
    // Eye 0.6 above a flat floor looking 30 degrees down: the floor reaches
    // from under the eye (cut by the near plane at depth 1) to a far edge at
    // z = 2, x from -2 to 2.
    void Draw(bool darkeningLight) {
        CIMArk& ark = gIMArk();
        ark.vFrom({0, 0.6f, 0});
        ark.vTo({0, 0, 0.6f / std::tan(0.5235988f)});
        ark.SettingProperty();

        CIMDevice& device = gIMDevice();
        ASSERT_TRUE(device.SceneBegin());
        device.SceneClear(true, true, static_cast<Long>(kBackground));
        device.SetZBufferMode(true);
        device.SetCullingMode(3);
        device.SetFilterMode(false);
        ark.SetLightAmbient(0x00404040);
        ark.SetLight(CIMArk::Get_Light_DirectionalLight(0, -1, 0, 0.6f, 0.6f, 0.6f), 0, true);
        if (darkeningLight) {
            ark.SetLight(CIMArk::Get_Light_PointLight(kLightAt, -1, -1, -1, 0.75f), 1, true);
        } else {
            ark.SetLightEnable(1, false);
        }
        device.SetMaterial(CIMArk::Get_Material(1, 1, 1, 0, 0, 0, 1, 1, 1));
        texture_ = HalfBlueTexture();
        device.SetTexture(texture_);
        device.SetRenderModeLE(0x90);

        std::string script = "f7 w0 1 2 3 4 5 6 7 h0 1 2 3 4 5 6 7 f80 a\r\n";
        for (int i = 0; i < 8; ++i) script += " 40 40 40 40 40 40 40 40\r\n";
        std::vector<D3DVERTEX> v;
        std::vector<Integer> idx;
        ark.Primitive().GetD3DVERTEX_Land(v, idx, script);
        // Heights 40/80 put the unit patch at y 0.5: scale and move it.
        ark.InstantTransform(CIMArk::Get_Transform(0, -0.5f, 0.5f, 0, 0, 0, 4, 1, 3));
        ark.DrawD3DVertexIndex(platform::D3DPT_TRIANGLELIST, v, 0, static_cast<Long>(v.size()), idx,
                               static_cast<Long>(idx.size()));
        device.SceneEnd();
    }

    // Screen row of the floor point (x, 0, z).
    Long RowOf(Single x, Single z) {
        return static_cast<Long>(std::lround(gIMArk().ProjectVertex(x, 0, z).sy));
    }
    Long ColumnOf(Single x, Single z) {
        return static_cast<Long>(std::lround(gIMArk().ProjectVertex(x, 0, z).sx));
    }

    platform::SurfacePtr texture_;
};

TEST_F(LandPicture, FarEdgeNearPlaneAndTexture) {
    Draw(false);
    // The far edge at z = 2.
    const Long far = RowOf(0, 2);
    ASSERT_GT(far, 10);
    ASSERT_LT(far, 470);
    EXPECT_EQ(Back(480, far - 4), kBackground & 0xFFFFFFu);
    EXPECT_NE(Back(480, far + 4), kBackground & 0xFFFFFFu);
    // The near edge: floor points at depth 1 lie at z = (1 - 0.3) / cos(30 deg)
    // straight ahead; nearer floor is cut away by the near plane.
    const Long nearRow = RowOf(0, (1.0f - 0.3f) / 0.8660254f);
    ASSERT_GT(nearRow, far + 20);
    ASSERT_LT(nearRow, 470);
    EXPECT_EQ(Back(480, nearRow + 4), kBackground & 0xFFFFFFu);
    EXPECT_EQ(Back(160, nearRow + 4), kBackground & 0xFFFFFFu);
    EXPECT_NE(Back(480, nearRow - 4), kBackground & 0xFFFFFFu);
    // Left half: the opaque texture as it is; right half: the lit grey
    // (0.6 directional plus 0.25 ambient).
    const Long mid = (far + nearRow) / 2;
    EXPECT_EQ(Back(200, mid), kOpaqueBlue & 0xFFFFFFu);
    const std::uint32_t lit = Back(440, mid);
    EXPECT_EQ(lit & 0xFF, (lit >> 8) & 0xFF);
    EXPECT_NEAR(static_cast<int>(lit & 0xFF), static_cast<int>(0.85 * 255), 3);
}

TEST_F(LandPicture, ANegativePointLightDarkensTheFloorBelowIt) {
    Draw(false);
    const Long belowX = ColumnOf(kLightAt.x, kLightAt.z), below = RowOf(kLightAt.x, kLightAt.z);
    const Long awayX = ColumnOf(0.5f, 1.9f), away = RowOf(0.5f, 1.9f);
    const Long blueX = ColumnOf(-0.3f, 1.2f), blue = RowOf(-0.3f, 1.2f);
    const int plainBelow = Red(belowX, below), plainAway = Red(awayX, away);
    EXPECT_NEAR(plainBelow, plainAway, 2);  // the directional light alone is even

    Draw(true);
    // Right under the light the negative light outweighs the directional one;
    // further away it falls in at a grazing angle and takes off less.
    const int dark = Red(belowX, below);
    const int lighter = Red(awayX, away);
    EXPECT_LT(dark, plainBelow - 100) << dark;
    EXPECT_LT(lighter, plainAway) << lighter;
    EXPECT_GT(lighter, dark + 60) << lighter << " " << dark;
    // The opaque texture ignores the light.
    EXPECT_EQ(Back(blueX, blue), kOpaqueBlue & 0xFFFFFFu);
}

}  // namespace
}  // namespace brumil::render
