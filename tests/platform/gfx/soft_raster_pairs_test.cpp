// Two triangles that share an edge, drawn together where their spans meet:
// which pairs qualify, and that a pair's pixels and depths are those of its
// two triangles drawn one after the other.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gfx_test_util.h"
#include "padded_textures.h"
#include "span_wide.h"
#include "triangle_setup.h"

namespace brumil::platform {
namespace {

using raster::TriangleSetup;
using raster::Vertex;

constexpr int kWidth = 96, kHeight = 72, kTex = 32;

Vertex At(float x, float y, float u = 0, float v = 0, float z = 0.5f) {
    Vertex r;
    r.x = x;
    r.y = y;
    r.z = z;
    r.uw = u;
    r.vw = v;
    for (float& c : r.c) c = 255.0f;
    return r;
}

// A target, depth buffer and filtered wrapping texture with the state the
// sixteen-pixel loops draw with pairs: the game's blended shots.
struct Canvas {
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(kWidth * kHeight, 0xFF203040u);
    std::vector<float> depth = std::vector<float>(kWidth * kHeight, 1.0f);
    std::vector<std::uint32_t> texels, padded;
    raster::PixelState ps;

    Canvas() {
        texels.resize(kTex * kTex);
        std::uint32_t seed = 7;
        for (std::uint32_t& t : texels) {
            seed = seed * 1664525u + 1013904223u;
            t = seed;
        }
        raster::PadTexture(texels.data(), kTex, kTex, padded);
        ps.target = pixels.data();
        ps.width = kWidth;
        ps.height = kHeight;
        ps.clipX2 = kWidth;
        ps.clipY2 = kHeight;
        ps.tex = texels.data();
        ps.texPadded = padded.data();
        ps.texW = ps.texH = kTex;
        ps.texPow2 = ps.wrapPow2 = true;
        ps.linear = true;
        ps.colorOp = D3DTOP_MODULATE;
        ps.alphaOp = D3DTOP_MODULATE;
        ps.blend = true;
        ps.srcBlend = D3DBLEND_SRCALPHA;
        ps.dstBlend = D3DBLEND_INVSRCALPHA;
        raster::Classify(ps);
    }
    void UseDepth() {
        ps.depth = depth.data();
        ps.depthWidth = kWidth;
        ps.zTest = ps.zWrite = true;
        ps.zFunc = D3DCMP_LESSEQUAL;
    }
    std::vector<std::uint32_t> Readback() const {
        std::vector<std::uint32_t> out = pixels;
        for (float z : depth) out.push_back(std::bit_cast<std::uint32_t>(z));
        return out;
    }
};

bool Made(const raster::PixelState& ps, const Vertex& a, const Vertex& b, const Vertex& c,
          TriangleSetup& t) {
    return raster::SetUpTriangle(ps, ps.clipY1, ps.clipY2, a, b, c, a, t, nullptr);
}

struct PairableCase {
    const char* name;
    std::array<Vertex, 3> first, second;
    bool pairable;
    bool firstLeft;
};

TEST(SoftRasterPairs, PairableAsksForAnEdgeSharedByTrianglesOnEitherSide) {
    if (!raster::Wide16LoopsUsable()) GTEST_SKIP() << "no sixteen-pixel loops here";
    const Vertex a = At(10, 5), b = At(40, 12), c = At(8, 40), d = At(45, 44);
    Vertex tinted = At(45, 44);
    tinted.c[2] = 100.0f;
    const PairableCase cases[] = {
        {"a strip's two halves", {a, b, c}, {b, d, c}, true, true},
        {"the same, second first", {b, d, c}, {a, b, c}, true, false},
        {"a fan's two halves", {a, b, d}, {a, d, c}, true, false},
        {"a dart: b turns inwards", {a, b, c}, {b, At(50, 8), c}, true, true},
        {"the third corners on one side", {a, b, c}, {b, At(20, 22), c}, false, false},
        {"one corner shared", {a, b, c}, {b, d, At(60, 30)}, false, false},
        {"a level shared edge",
         {At(10, 10), At(40, 10), At(20, 2)},
         {At(40, 10), At(10, 10), At(25, 30)},
         false,
         false},
        {"the same triangle twice", {a, b, c}, {c, a, b}, false, false},
        {"another diffuse colour", {a, b, c}, {b, tinted, c}, false, false},
    };
    Canvas canvas;
    for (const PairableCase& k : cases) {
        TriangleSetup first, second;
        ASSERT_TRUE(Made(canvas.ps, k.first[0], k.first[1], k.first[2], first)) << k.name;
        ASSERT_TRUE(Made(canvas.ps, k.second[0], k.second[1], k.second[2], second)) << k.name;
        bool firstLeft = !k.firstLeft;
        EXPECT_EQ(raster::Pairable(first, second, firstLeft), k.pairable) << k.name;
        if (k.pairable) {
            EXPECT_EQ(firstLeft, k.firstLeft) << k.name;
        }
    }
}

struct Rng {
    std::uint32_t seed;
    float Range(float lo, float hi) {
        seed = seed * 1664525u + 1013904223u;
        return lo + (hi - lo) * float(seed >> 8) / float(1u << 24);
    }
};

struct WalkCase {
    const char* name;
    D3DLong colorOp;  // BLENDTEXTUREALPHA takes the general combine
    bool blend, depth, linear;
    int clipX1, clipY1, clipX2, clipY2;
};

// Quads of every size and turn, sub-pixel placed, some skewed, some not
// convex, some half outside the scissor: their two halves walked as a pair must draw what the
// two walked one after the other draw, in every pixel and depth.
TEST(SoftRasterPairs, APairDrawsWhatItsTwoTrianglesDraw) {
    if (!raster::Wide16LoopsUsable()) GTEST_SKIP() << "no sixteen-pixel loops here";
    const WalkCase cases[] = {
        {"blended", D3DTOP_MODULATE, true, false, true, 0, 0, kWidth, kHeight},
        {"opaque, depth-tested", D3DTOP_MODULATE, false, true, true, 0, 0, kWidth, kHeight},
        {"general combine", D3DTOP_BLENDTEXTUREALPHA, true, true, true, 0, 0, kWidth, kHeight},
        {"point sampled", D3DTOP_MODULATE, true, false, false, 0, 0, kWidth, kHeight},
        {"scissored", D3DTOP_MODULATE, true, false, true, 13, 9, 70, 50},
    };
    for (const WalkCase& k : cases) {
        Canvas apart, together;
        for (Canvas* c : {&apart, &together}) {
            c->ps.colorOp = k.colorOp;
            c->ps.blend = k.blend;
            c->ps.linear = k.linear;
            if (k.depth) c->UseDepth();
            c->ps.clipX1 = k.clipX1;
            c->ps.clipY1 = k.clipY1;
            c->ps.clipX2 = k.clipX2;
            c->ps.clipY2 = k.clipY2;
            raster::Classify(c->ps);
        }
        Rng rng{42};
        int paired = 0, both = 0;
        constexpr int kQuads = 300;
        for (int n = 0; n < kQuads; ++n) {
            const float cx = rng.Range(-10, kWidth + 10), cy = rng.Range(-10, kHeight + 10);
            const float size = rng.Range(0.5f, 60.0f), turn = rng.Range(0, 6.2832f);
            const float skew = n % 3 == 0 ? rng.Range(-0.5f, 0.5f) : 0.0f;
            const float cs = std::cos(turn) * size / 2, sn = std::sin(turn) * size / 2;
            const float u0 = rng.Range(-2, 2), v0 = rng.Range(-2, 2), span = rng.Range(0.2f, 3);
            const float z0 = rng.Range(0, 1), z1 = rng.Range(0, 1);
            Vertex q[4];
            for (int i = 0; i < 4; ++i) {
                const float px = (i & 1) ? 1.0f : -1.0f, py = (i & 2) ? 1.0f : -1.0f;
                q[i] = At(cx + px * cs + py * (sn + skew * size), cy + py * cs - px * sn,
                          u0 + (i & 1) * span, v0 + (i >> 1) * span, (i & 1) ? z1 : z0);
            }
            // Some fourth corners anywhere near: darts, and halves on one
            // side of their shared edge.
            if (n % 4 == 3) {
                q[3].x = cx + rng.Range(-size, size);
                q[3].y = cy + rng.Range(-size, size);
            }
            TriangleSetup first, second;
            const bool hasFirst = Made(apart.ps, q[0], q[1], q[2], first);
            const bool hasSecond = Made(apart.ps, q[1], q[3], q[2], second);
            if (hasFirst) raster::WalkTriangle(apart.ps, first, k.clipY1, k.clipY2);
            if (hasSecond) raster::WalkTriangle(apart.ps, second, k.clipY1, k.clipY2);
            bool firstLeft = false;
            both += hasFirst && hasSecond ? 1 : 0;
            if (hasFirst && hasSecond && raster::Pairable(first, second, firstLeft)) {
                ++paired;
                raster::WalkPair(together.ps, firstLeft ? first : second,
                                 firstLeft ? second : first, k.clipY1, k.clipY2);
            } else {
                if (hasFirst) raster::WalkTriangle(together.ps, first, k.clipY1, k.clipY2);
                if (hasSecond) raster::WalkTriangle(together.ps, second, k.clipY1, k.clipY2);
            }
        }
        // Most quads on the canvas make pairs.
        EXPECT_GT(paired, both * 2 / 3) << k.name;
        EXPECT_TRUE(testing::Same(together.Readback(), apart.Readback())) << k.name;
    }
}

// A pair walked band by band draws what it draws whole.
TEST(SoftRasterPairs, APairWalkedInBandsDrawsWhatItDrawsWhole) {
    if (!raster::Wide16LoopsUsable()) GTEST_SKIP() << "no sixteen-pixel loops here";
    Canvas whole, banded;
    const Vertex a = At(3.3f, 1.7f, -0.2f, 0.1f), b = At(80.6f, 20.2f, 1.7f, 0.3f),
                 c = At(12.1f, 66.8f, 0.1f, 1.9f), d = At(90.4f, 70.5f, 2.2f, 2.4f);
    TriangleSetup first, second;
    ASSERT_TRUE(Made(whole.ps, a, b, c, first));
    ASSERT_TRUE(Made(whole.ps, b, d, c, second));
    bool firstLeft = false;
    ASSERT_TRUE(raster::Pairable(first, second, firstLeft));
    const TriangleSetup& left = firstLeft ? first : second;
    const TriangleSetup& right = firstLeft ? second : first;
    raster::WalkPair(whole.ps, left, right, 0, kHeight);
    for (const int rows : {1, 5, 8, 13}) {
        banded.pixels.assign(banded.pixels.size(), 0xFF203040u);
        for (int y = 0; y < kHeight; y += rows) {
            raster::WalkPair(banded.ps, left, right, y, y + rows);
        }
        EXPECT_TRUE(testing::Same(banded.Readback(), whole.Readback())) << rows << " rows a band";
    }
}

}  // namespace
}  // namespace brumil::platform
