// Vertex draws: the device call, the LIGHTING state per record, wire frames
// and out-of-range input.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "ark_test_host.h"
#include "render/ark.h"
#include "render/ark_math.h"

namespace brumil::render {
namespace {

using platform::D3DLVERTEX;
using platform::D3DPT_LINELIST;
using platform::D3DPT_TRIANGLEFAN;
using platform::D3DPT_TRIANGLELIST;
using platform::D3DPT_TRIANGLESTRIP;
using testing::FakeArkHost;

TEST(ArkWireIndices, ListsStripsAndIndexedLists) {
    struct Case {
        const char* name;
        Long type, count;
        std::vector<Integer> indices;  // empty: not indexed
        std::vector<Integer> want;
    };
    const Case cases[] = {
        {"list of 6", D3DPT_TRIANGLELIST, 6, {}, {0, 1, 1, 2, 2, 0, 3, 4, 4, 5, 5, 3}},
        {"strip of 4", D3DPT_TRIANGLESTRIP, 4, {}, {0, 1, 1, 2, 2, 3, 0, 2, 1, 3}},
        {"strip of 3", D3DPT_TRIANGLESTRIP, 3, {}, {0, 1, 1, 2, 0, 2}},
        {"indexed list",
         D3DPT_TRIANGLELIST,
         4,
         {0, 1, 2, 2, 1, 3},
         {0, 1, 1, 2, 2, 0, 2, 1, 1, 3, 3, 2}},
        {"indexed strip", D3DPT_TRIANGLESTRIP, 4, {3, 2, 1}, {3, 2, 2, 1, 3, 1}},
    };
    for (const auto& c : cases) {
        const bool indexed = !c.indices.empty();
        const auto lines = BuildWireIndices(c.type, c.count, indexed, c.indices,
                                            static_cast<Long>(c.indices.size()));
        ASSERT_TRUE(lines.has_value()) << c.name;
        EXPECT_EQ(*lines, c.want) << c.name;
    }
}

TEST(ArkWireIndices, RefusesWhatCannotBeOutlined) {
    const std::vector<Integer> five = {0, 1, 2, 3, 4};
    struct Case {
        const char* name;
        Long type, count;
        bool indexed;
        Long indexCount;
    };
    const Case cases[] = {
        {"list of 7", D3DPT_TRIANGLELIST, 7, false, 0},
        {"list of 0", D3DPT_TRIANGLELIST, 0, false, 0},
        {"strip of 2", D3DPT_TRIANGLESTRIP, 2, false, 0},
        {"fan", D3DPT_TRIANGLEFAN, 6, false, 0},
        {"index count past the array", D3DPT_TRIANGLELIST, 5, true, 6},
        {"indexed list of 5", D3DPT_TRIANGLELIST, 5, true, 5},
        {"too many vertices for 16 bits", D3DPT_TRIANGLESTRIP, 40000, false, 0},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(BuildWireIndices(c.type, c.count, c.indexed, five, c.indexCount)) << c.name;
    }
}

std::vector<D3DVERTEX> Vertices(int n) {
    std::vector<D3DVERTEX> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)].x = static_cast<float>(i);
    return v;
}

TEST(ArkDraw, LightingPerRecordKind) {
    FakeArkHost host;
    CIMArk ark(host);
    auto& dev = host.Recorder();
    const auto v = Vertices(3);
    const std::vector<D3DLVERTEX> lv(3);
    const std::vector<D3DTLVERTEX> tlv(3);
    const std::vector<Integer> idx = {0, 1, 2};

    struct Case {
        const char* name;
        std::function<void()> draw;
        Long lighting;  // -1 untouched
        const char* call;
        Long fvf;
    };
    const Case cases[] = {
        {"vertex", [&] { ark.DrawD3DVertex(D3DPT_TRIANGLELIST, v, 0, 3); }, 1, "DrawPrimitive",
         274},
        {"vertex index", [&] { ark.DrawD3DVertexIndex(D3DPT_TRIANGLELIST, v, 0, 3, idx, 3); }, 1,
         "DrawIndexedPrimitive", 274},
        {"lvertex", [&] { ark.DrawD3DLVertex(D3DPT_TRIANGLELIST, lv, 0, 3); }, 0, "DrawPrimitive",
         482},
        {"lvertex index", [&] { ark.DrawD3DLVertexIndex(D3DPT_TRIANGLELIST, lv, 0, 3, idx, 3); }, 0,
         "DrawIndexedPrimitive", 482},
        {"tlvertex", [&] { ark.DrawD3DTLVertex(D3DPT_TRIANGLELIST, tlv, 0, 3); }, -1,
         "DrawPrimitive", 452},
        {"tlvertex index", [&] { ark.DrawD3DTLVertexIndex(D3DPT_TRIANGLELIST, tlv, 0, 3, idx, 3); },
         -1, "DrawIndexedPrimitive", 452},
    };
    for (const auto& c : cases) {
        dev.ClearCalls();
        c.draw();
        const auto& calls = dev.Calls();
        ASSERT_EQ(calls.size(), c.lighting < 0 ? 1u : 2u) << c.name;
        if (c.lighting >= 0) {
            EXPECT_EQ(calls[0].args,
                      (std::vector<Long>{platform::D3DRENDERSTATE_LIGHTING, c.lighting}))
                << c.name;
        }
        EXPECT_EQ(calls.back().name, c.call) << c.name;
        EXPECT_EQ(calls.back().args[0], D3DPT_TRIANGLELIST) << c.name;
        EXPECT_EQ(calls.back().args[1], c.fvf) << c.name;
        EXPECT_EQ(calls.back().bytes.size(), 3u * 32u) << c.name;
    }
    EXPECT_TRUE(host.log.empty());
}

TEST(ArkDraw, StartPicksTheFirstRecordAndBadRangesDrawNothing) {
    FakeArkHost host;
    CIMArk ark(host);
    const auto v = Vertices(6);
    ark.DrawD3DVertex(D3DPT_TRIANGLELIST, v, 3, 3);
    const auto draws = host.Recorder().CallsNamed("DrawPrimitive");
    ASSERT_EQ(draws.size(), 1u);
    D3DVERTEX first;
    std::memcpy(&first, draws[0].bytes.data(), sizeof first);
    EXPECT_EQ(first.x, 3.0f);

    const std::vector<Integer> idx = {0, 1, 2};
    host.Recorder().ClearCalls();
    ark.DrawD3DVertex(D3DPT_TRIANGLELIST, v, 4, 3);
    ark.DrawD3DVertex(D3DPT_TRIANGLELIST, v, -1, 3);
    ark.DrawD3DVertex(D3DPT_TRIANGLELIST, v, 0, -3);
    ark.DrawD3DVertexIndex(D3DPT_TRIANGLELIST, v, 0, 6, idx, 4);
    EXPECT_TRUE(host.Recorder().Calls().empty());
}

TEST(ArkDraw, WireFrameDrawsLinesInTheFactorColour) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.WireFrame = true;
    ark.WireFrameColor = static_cast<Long>(0xFF00FF00u);
    const auto v = Vertices(6);
    ark.DrawD3DVertex(D3DPT_TRIANGLELIST, v, 0, 6);
    EXPECT_EQ(host.log, (std::vector<std::string>{"ModeLE 12304", "Factor -16711936"}));
    const auto& calls = host.Recorder().Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args, (std::vector<Long>{platform::D3DRENDERSTATE_LIGHTING, 0}));
    EXPECT_EQ(calls[1].name, "DrawIndexedPrimitive");
    EXPECT_EQ(calls[1].args[0], D3DPT_LINELIST);
    EXPECT_EQ(calls[1].args[1], 274);
    EXPECT_EQ(calls[1].indices, (std::vector<Integer>{0, 1, 1, 2, 2, 0, 3, 4, 4, 5, 5, 3}));
}

TEST(ArkDraw, WireFrameOfScreenVerticesLeavesLightingAndIndexedUsesTheCallersIndices) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.WireFrame = true;
    const std::vector<D3DTLVERTEX> tlv(4);
    const std::vector<Integer> idx = {0, 1, 2, 2, 1, 3};
    ark.DrawD3DTLVertexIndex(D3DPT_TRIANGLELIST, tlv, 0, 4, idx, 6);
    const auto& calls = host.Recorder().Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args[1], 452);
    EXPECT_EQ(calls[0].indices, (std::vector<Integer>{0, 1, 1, 2, 2, 0, 2, 1, 1, 3, 3, 2}));
}

TEST(ArkDraw, WireFrameLeavesOtherTypesAloneAndSkipsBadLists) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.WireFrame = true;
    const auto v = Vertices(7);
    ark.DrawD3DVertex(D3DPT_TRIANGLELIST, v, 0, 7);  // not a multiple of 3
    EXPECT_TRUE(host.Recorder().Calls().empty());
    EXPECT_TRUE(host.log.empty());

    ark.DrawD3DVertex(D3DPT_LINELIST, v, 0, 6);
    ark.DrawD3DVertex(D3DPT_TRIANGLEFAN, v, 0, 7);
    const auto draws = host.Recorder().CallsNamed("DrawPrimitive");
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].args[0], D3DPT_LINELIST);
    EXPECT_EQ(draws[1].args[0], D3DPT_TRIANGLEFAN);
    EXPECT_TRUE(host.log.empty());
}

TEST(ArkDraw, SampleSceneDrawsTwelveLitBoxes) {
    FakeArkHost host;
    CIMArk ark(host);
    host.backAlive = false;
    ark.SampleDrawD3DSolid36();
    EXPECT_TRUE(host.Recorder().Calls().empty());

    host.backAlive = true;
    ark.SampleDrawD3DSolid36();
    EXPECT_EQ(host.log, (std::vector<std::string>{"Mode 112"}));
    EXPECT_EQ(host.Recorder().CallsNamed("DrawPrimitive").size(), 12u);
    // Twelve world matrices plus view and projection.
    EXPECT_EQ(host.Recorder().CallsNamed("SetTransform").size(), 14u);
    EXPECT_FALSE(host.Recorder().GetLightEnable(0));
    EXPECT_EQ(host.Recorder().CallsNamed("SetMaterial").size(), 1u);
}

}  // namespace
}  // namespace brumil::render
