#include "platform/gfx/recording_device.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gfx_test_util.h"

namespace brumil::platform {
namespace {

TEST(RecordingDevice, RecordsCallsWithTheirArgumentsInOrder) {
    RecordingDevice d;
    SurfacePtr tex = testing::MakeSurface(16, 16, PixelFormat::Argb8888, true);
    d.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    d.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d.SetTexture(0, tex);
    const auto q = testing::Quad(0, 0, 4, 4, 0xFF00FF00u);
    d.DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, std::span<const D3DTLVERTEX>(q), 4, 0);
    const auto& c = d.Calls();
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].name, "SetRenderState");
    EXPECT_EQ(c[0].args, (std::vector<D3DLong>{27, 1}));
    EXPECT_EQ(c[1].args, (std::vector<D3DLong>{0, 1, 4}));
    EXPECT_EQ(c[2].texture, tex.get());
    EXPECT_EQ(c[3].args, (std::vector<D3DLong>{5, 452, 4, 0}));
    ASSERT_EQ(c[3].bytes.size(), 128u);
    D3DTLVERTEX second;
    std::memcpy(&second, c[3].bytes.data() + 32, 32);
    EXPECT_EQ(second.sx, q[1].sx);
    EXPECT_EQ(static_cast<std::uint32_t>(second.color), 0xFF00FF00u);
    EXPECT_EQ(d.CallsNamed("SetTexture").size(), 1u);
}

TEST(RecordingDevice, AnswersReadsFromWhatWasSet) {
    RecordingDevice d;
    EXPECT_FALSE(d.GetLightEnable(2));
    d.LightEnable(2, true);
    EXPECT_TRUE(d.GetLightEnable(2));
    D3DMATRIX m;
    m.rc41 = 5;
    d.SetTransform(D3DTRANSFORMSTATE_VIEW, m);
    D3DMATRIX back;
    ASSERT_TRUE(d.GetTransform(D3DTRANSFORMSTATE_VIEW, back));
    EXPECT_EQ(back.rc41, 5.0f);
    d.SetViewport({1, 2, 3, 4, 0, 1});
    D3DVIEWPORT7 vp;
    d.GetViewport(vp);
    EXPECT_EQ(vp.lHeight, 4);
}

TEST(RecordingDevice, FailingModeStillRecords) {
    RecordingDevice d;
    d.SetFailing(true);
    EXPECT_FALSE(d.BeginScene());
    EXPECT_FALSE(d.SetViewport({0, 0, 9, 9, 0, 1}));
    const std::int16_t idx[] = {0, 1, 2};
    const auto q = testing::Quad(0, 0, 1, 1);
    EXPECT_FALSE(d.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX,
                                        std::span<const D3DTLVERTEX>(q), 4, idx, 3, 0));
    ASSERT_EQ(d.Calls().size(), 3u);
    EXPECT_EQ(d.Calls()[2].indices, (std::vector<std::int16_t>{0, 1, 2}));
    D3DVIEWPORT7 vp;
    d.SetFailing(false);
    d.GetViewport(vp);
    EXPECT_EQ(vp.lWidth, 0);  // the failed set changed nothing
}

}  // namespace
}  // namespace brumil::platform
