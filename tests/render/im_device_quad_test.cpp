#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "framework/display.h"
#include "render/im_device.h"
#include "render_test_env.h"

namespace brumil::render {
namespace {

using platform::D3DTLVERTEX;

struct Corner {
    float sx, sy, tu, tv;
    Long colour;
};

TEST(GetD3DTLVERTEX_Box, CornersInStripOrder) {
    struct Case {
        const char* name;
        float x, y, w, h, ox, oy, angle, scale;
        std::array<Corner, 4> expected;
    };
    const float half = 1.5707963f;  // a quarter turn
    const std::vector<Case> cases = {
        {"angle 0, origin top-left: exact",
         10,
         20,
         30,
         40,
         0,
         0,
         0,
         1,
         {{{10, 20, 0.1f, 0.2f, 1},
           {40, 20, 0.9f, 0.2f, 2},
           {10, 60, 0.1f, 0.8f, 3},
           {40, 60, 0.9f, 0.8f, 4}}}},
        {"origin at the centre, scaled by 2",
         100,
         100,
         30,
         40,
         0.5f,
         0.5f,
         0,
         2,
         {{{70, 60, 0.1f, 0.2f, 1},
           {130, 60, 0.9f, 0.2f, 2},
           {70, 140, 0.1f, 0.8f, 3},
           {130, 140, 0.9f, 0.8f, 4}}}},
        {"origin bottom-right",
         50,
         50,
         10,
         20,
         1,
         1,
         0,
         1,
         {{{40, 30, 0.1f, 0.2f, 1},
           {50, 30, 0.9f, 0.2f, 2},
           {40, 50, 0.1f, 0.8f, 3},
           {50, 50, 0.9f, 0.8f, 4}}}},
        // A quarter turn counter-clockwise on the screen about the centre: the
        // top-left corner moves to the bottom-left.
        {"quarter turn about the centre",
         100,
         100,
         30,
         40,
         0.5f,
         0.5f,
         half,
         1,
         {{{80, 115, 0.1f, 0.2f, 1},
           {80, 85, 0.9f, 0.2f, 2},
           {120, 115, 0.1f, 0.8f, 3},
           {120, 85, 0.9f, 0.8f, 4}}}},
    };
    const std::array<Long, 4> colours{1, 2, 3, 4};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<D3DTLVERTEX, 4> v;
        for (auto& vertex : v) {
            vertex.specular = 0x55555555;  // stale content of a reused array
            vertex.sz = 7;
            vertex.rhw = 7;
        }
        CIMDevice::GetD3DTLVERTEX_Box(v, c.x, c.y, c.w, c.h, c.ox, c.oy, 0.1f, 0.2f, 0.9f, 0.8f,
                                      c.angle, c.scale, colours);
        for (int k = 0; k < 4; ++k) {
            SCOPED_TRACE(k);
            const bool exact = c.angle == 0;
            if (exact) {
                EXPECT_EQ(v[k].sx, c.expected[k].sx);
                EXPECT_EQ(v[k].sy, c.expected[k].sy);
            } else {
                EXPECT_NEAR(v[k].sx, c.expected[k].sx, 1e-4);
                EXPECT_NEAR(v[k].sy, c.expected[k].sy, 1e-4);
            }
            EXPECT_EQ(v[k].tu, c.expected[k].tu);
            EXPECT_EQ(v[k].tv, c.expected[k].tv);
            EXPECT_EQ(v[k].color, c.expected[k].colour);
            EXPECT_EQ(v[k].sz, 0.0f);
            EXPECT_EQ(v[k].rhw, 1.0f);
            EXPECT_EQ(v[k].specular, 0);
        }
    }
}

TEST(GetD3DTLVERTEX_Box, ShortArraysAreLeftAlone) {
    std::array<D3DTLVERTEX, 3> v{};
    const std::array<Long, 4> colours{1, 2, 3, 4};
    CIMDevice::GetD3DTLVERTEX_Box(v, 5, 5, 1, 1, 0, 0, 0, 0, 1, 1, 0, 1, colours);
    for (const auto& vertex : v) EXPECT_EQ(vertex.sx, 0.0f);
}

TEST(TLVertex, LeavesSpecularAlone) {
    D3DTLVERTEX v;
    v.specular = 99;
    CIMDevice::TLVertex(1, 2, 3, 4, 5, 6, 7, v);
    EXPECT_EQ(v.sx, 1);
    EXPECT_EQ(v.sy, 2);
    EXPECT_EQ(v.sz, 3);
    EXPECT_EQ(v.rhw, 4);
    EXPECT_EQ(v.color, 5);
    EXPECT_EQ(v.tu, 6);
    EXPECT_EQ(v.tv, 7);
    EXPECT_EQ(v.specular, 99);
}

class QuadOnSoftwareDevice : public testing::DisplayTest {};

// The strip is clockwise on the screen: counter-clockwise culling keeps it,
// clockwise culling drops it, at any turn.
TEST_F(QuadOnSoftwareDevice, QuadIsClockwise) {
    struct Case {
        Long cull;
        float angle;
        bool drawn;
    };
    const std::vector<Case> cases = {
        {3, 0, true}, {2, 0, false}, {1, 0, true}, {3, 2.5f, true}, {2, 2.5f, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.cull) + " " + std::to_string(c.angle));
        CIMDevice device;
        auto back = framework::gBackDDS();
        back->BltColorFill(0xFF000000u);
        ASSERT_TRUE(device.SceneBegin());
        device.SetTexture(nullptr);
        device.SetRenderMode(0);  // vertex colour
        device.SetCullingMode(c.cull);
        std::array<D3DTLVERTEX, 4> v{};
        const std::array<Long, 4> white{-1, -1, -1, -1};
        CIMDevice::GetD3DTLVERTEX_Box(v, 100, 100, 20, 20, 0.5f, 0.5f, 0, 0, 1, 1, c.angle, 1,
                                      white);
        framework::gD3DDevice()->DrawPrimitive(platform::D3DPT_TRIANGLESTRIP,
                                               platform::D3DFVF_TLVERTEX,
                                               std::span<const D3DTLVERTEX>(v), 4, 0);
        device.SceneEnd();
        EXPECT_EQ((back->PixelAt(100, 100) & 0xFFFFFFu) == 0xFFFFFFu, c.drawn);
    }
}

}  // namespace
}  // namespace brumil::render
