#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/display.h"
#include "render/graphics.h"
#include "render/im_device.h"
#include "render/im_texture.h"
#include "render_test_env.h"

namespace brumil::render {
namespace {

using testing::DisplayTest;
using testing::RecordedDisplayTest;
using Strings = std::vector<std::string>;

class DeviceScene : public RecordedDisplayTest {};

TEST_F(DeviceScene, ClearSendsOnlyWhatThereIsToClear) {
    struct Case {
        bool target, z, haveDepth;
        Strings expected;
    };
    const std::vector<Case> cases = {
        {true, false, true, {"Clear 1"}},
        {true, true, true, {"Clear 3"}},
        {false, true, true, {"Clear 2"}},
        {true, true, false, {"Clear 1"}},  // no depth surface: the Z flag is dropped
        {false, true, false, {}},          // nothing left to clear
        {false, false, true, {}},
    };
    const auto depth = framework::gZBufferDDS();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.target) + std::to_string(c.z) + std::to_string(c.haveDepth));
        framework::gZBufferDDS() = c.haveDepth ? depth : nullptr;
        CIMDevice device;
        recorder_->ClearCalls();
        device.SceneClear(c.target, c.z, 0x123456);
        EXPECT_EQ(Calls(), c.expected);
    }
    framework::gZBufferDDS() = depth;
    CIMDevice device;
    recorder_->ClearCalls();
    device.SceneClear(true, true, 0x123456);
    const auto& call = recorder_->Calls().at(0);
    // One rectangle of the whole screen, the caller's colour, Z 1, stencil 0.
    EXPECT_EQ(call.args, (std::vector<platform::D3DLong>{1, 3, 0x123456, 0, 0, 0, 640, 480}));
    EXPECT_EQ(call.values, std::vector<float>{1.0f});
}

TEST_F(DeviceScene, ViewportZeroSizesMeanTheScreen) {
    CIMDevice device;
    device.SceneViewPort(10, 20, 0, 100);
    const auto& call = recorder_->Calls().at(0);
    EXPECT_EQ(call.args, (std::vector<platform::D3DLong>{10, 20, 640, 100}));
    EXPECT_EQ(call.values, (std::vector<float>{0.0f, 1.0f}));
}

TEST_F(DeviceScene, BreakAndRestoreActOnlyInsideAnOpenScene) {
    CIMDevice device;
    device.SceneBreak();
    device.SceneRestore();
    EXPECT_TRUE(recorder_->Calls().empty());
    EXPECT_TRUE(device.SceneBegin());
    device.SceneBreak();
    EXPECT_TRUE(device.InScene());
    device.SceneRestore();
    device.SceneEnd();
    EXPECT_FALSE(device.InScene());
    EXPECT_EQ(Calls(), (Strings{"BeginScene", "EndScene", "BeginScene", "EndScene"}));
    // A failing BeginScene leaves no scene open.
    recorder_->SetFailing(true);
    EXPECT_FALSE(device.SceneBegin());
    EXPECT_FALSE(device.InScene());
}

TEST_F(DeviceScene, TextureIndexIsCachedAndBoundOutsideTheScene) {
    const Long index = gIMTexture().Add("?alpha128x128");
    ASSERT_EQ(index, 0);
    CIMDevice device;
    device.SetTextureIndex(index);
    EXPECT_EQ(Calls(), Strings{"SetTexture 0"});
    const auto graphic = gIMTexture().Item(index);
    EXPECT_EQ(recorder_->Calls().at(0).texture, graphic->Surface.get());
    recorder_->ClearCalls();
    device.SetTextureIndex(index);
    EXPECT_TRUE(recorder_->Calls().empty());

    // Inside a scene the bind of a new index closes and reopens it.
    const Long other = gIMTexture().Add("?alpha256x256");
    device.SceneBegin();
    recorder_->ClearCalls();
    device.SetTextureIndex(other);
    EXPECT_EQ(Calls(), (Strings{"EndScene", "SetTexture 0", "BeginScene"}));

    // An explicit surface forgets the cached index.
    device.SetTexture(nullptr);
    recorder_->ClearCalls();
    device.SetTextureIndex(other);
    EXPECT_EQ(Calls().size(), 3u);
}

TEST_F(DeviceScene, TextureIndexOfEmptyAndOutsideSlots) {
    gIMTexture().Add("?alpha128x128");
    ASSERT_GE(gIMTexture().Capacity(), 2);
    CIMDevice device;
    // A slot inside the cache that holds nothing binds no texture.
    device.SetTextureIndex(1);
    EXPECT_EQ(Calls(), Strings{"SetTexture 0 nothing"});
    // An index outside the cache binds the texture of a fresh empty picture.
    recorder_->ClearCalls();
    device.SetTextureIndex(500);
    EXPECT_EQ(Calls(), Strings{"SetTexture 0"});
    // A remade device forgets the cached index.
    recorder_->ClearCalls();
    device.SetTextureIndex(500);
    EXPECT_TRUE(recorder_->Calls().empty());
    ASSERT_TRUE(framework::DisplayStart(framework::DisplaySettings{}));
    InstallRecorder();
    device.SetTextureIndex(500);
    EXPECT_EQ(Calls(), Strings{"SetTexture 0"});
}

TEST_F(DeviceScene, SecondStageNeedsMultiTexturing) {
    const Long index = gIMTexture().Add("?alpha128x128");
    CIMDevice device;
    device.SetTextureIndexSecondStage(index);
    EXPECT_EQ(Calls(), Strings{"SetTexture 1"});
    framework::gD3DCaps().CapsMultiTexture = false;
    CIMDevice plain;
    recorder_->ClearCalls();
    plain.SetTextureIndexSecondStage(index);
    plain.SetTextureSecondStage(nullptr);
    EXPECT_TRUE(recorder_->Calls().empty());
}

class SoftwareDeviceBinding : public DisplayTest {};

// The fresh picture behind an outside index lives only in the device's
// binding: a draw must still sample it (transparent black over green).
TEST_F(SoftwareDeviceBinding, OutsideIndexTextureOutlivesItsGraphic) {
    CIMDevice device;
    framework::gBackDDS()->BltColorFill(0xFF00FF00u);
    ASSERT_TRUE(device.SceneBegin());
    device.SetTextureIndex(9999);
    device.SetRenderMode(0x10);  // texture colour alone, no blending
    std::array<platform::D3DTLVERTEX, 4> v{};
    const std::array<Long, 4> white{-1, -1, -1, -1};
    CIMDevice::GetD3DTLVERTEX_Box(v, 9.5f, 9.5f, 4, 4, 0, 0, 0, 0, 1, 1, 0, 1, white);
    framework::gD3DDevice()->DrawPrimitive(platform::D3DPT_TRIANGLESTRIP, platform::D3DFVF_TLVERTEX,
                                           std::span<const platform::D3DTLVERTEX>(v), 4, 0);
    device.SceneEnd();
    EXPECT_EQ(framework::gBackDDS()->PixelAt(11, 11) & 0xFFFFFFu, 0u);
    EXPECT_EQ(framework::gBackDDS()->PixelAt(20, 20) & 0xFFFFFFu, 0x00FF00u);
}

}  // namespace
}  // namespace brumil::render
