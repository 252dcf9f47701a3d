// The 36-vertex box, spheres, the sky sphere and Land2 patches.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "render/ark_primitive.h"

namespace brumil::render {
namespace {

using platform::D3DVECTOR;

D3DVECTOR Sub(const D3DVERTEX& a, const D3DVERTEX& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
D3DVECTOR Cross(const D3DVECTOR& a, const D3DVECTOR& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

void ExpectIndicesInRange(const std::vector<Integer>& idx, std::size_t vertexCount,
                          const char* name) {
    for (const Integer i : idx) {
        ASSERT_GE(i, 0) << name;
        ASSERT_LT(static_cast<std::size_t>(i), vertexCount) << name;
    }
}

TEST(ArkSolid36, CornersNormalsAndFaceOrder) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    prim.GetD3DVERTEX_solid36(v, 2);
    ASSERT_EQ(v.size(), 36u);
    for (int f = 0; f < 6; ++f) {
        const D3DVERTEX* face = &v[static_cast<std::size_t>(6 * f)];
        for (int k = 0; k < 6; ++k) {
            EXPECT_EQ(std::fabs(face[k].x), 1.0f);
            EXPECT_EQ(std::fabs(face[k].y), 1.0f);
            EXPECT_EQ(std::fabs(face[k].z), 1.0f);
            // Every vertex lies on the face's plane, on the side of its normal.
            const float along =
                face[k].x * face[k].nx + face[k].y * face[k].ny + face[k].z * face[k].nz;
            EXPECT_EQ(along, 1.0f) << f;
        }
        // Vertices 4 and 5 repeat C and B.
        EXPECT_EQ(std::memcmp(&face[4], &face[2], sizeof(D3DVERTEX)), 0) << f;
        EXPECT_EQ(std::memcmp(&face[5], &face[1], sizeof(D3DVERTEX)), 0) << f;
        // Both triangles wind outwards: (B - A) x (C - A) along the normal.
        for (int t = 0; t < 2; ++t) {
            const D3DVERTEX* tri = face + 3 * t;
            const D3DVECTOR n = Cross(Sub(tri[1], tri[0]), Sub(tri[2], tri[0]));
            EXPECT_GT(n.x * tri[0].nx + n.y * tri[0].ny + n.z * tri[0].nz, 0.0f) << f << t;
        }
        EXPECT_EQ(face[0].tu, 0.0f);
        EXPECT_EQ(face[1].tu, 1.0f);
        EXPECT_EQ(face[2].tv, 1.0f);
        EXPECT_EQ(face[3].tu + face[3].tv, 2.0f);
    }

    std::vector<D3DLVERTEX> lv;
    prim.GetD3DLVERTEX_solid36(lv, 2, 0x12345678);
    ASSERT_EQ(lv.size(), 36u);
    for (std::size_t i = 0; i < 36; ++i) {
        EXPECT_EQ(lv[i].x, v[i].x);
        EXPECT_EQ(lv[i].tv, v[i].tv);
        EXPECT_EQ(lv[i].color, 0x12345678);
    }
}

TEST(ArkSphere, SmallDivisionsAreFour) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> four;
    std::vector<Integer> fourIdx;
    prim.GetD3DVERTEX_shpere2(four, fourIdx, 4, 1);
    ASSERT_EQ(four.size(), 6u);
    ASSERT_EQ(fourIdx.size(), 24u);
    for (const Long d : {-3, 0, 1, 2, 3}) {
        std::vector<D3DVERTEX> v;
        std::vector<Integer> idx;
        prim.GetD3DVERTEX_shpere2(v, idx, d, 1);
        ASSERT_EQ(v.size(), 6u) << d;
        EXPECT_EQ(idx, fourIdx) << d;
        EXPECT_EQ(std::memcmp(v.data(), four.data(), 6 * sizeof(D3DVERTEX)), 0) << d;
    }
    std::vector<D3DVERTEX> five;
    std::vector<Integer> fiveIdx;
    prim.GetD3DVERTEX_shpere2(five, fiveIdx, 5, 1);
    EXPECT_EQ(five.size(), 7u);  // one ring of five
    EXPECT_EQ(fiveIdx.size(), 30u);
}

TEST(ArkSphere, TextureAndShape) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    prim.GetD3DVERTEX_shpere2(v, idx, 8, 1);  // R = 5, three rings of 8
    ASSERT_EQ(v.size(), 26u);
    ASSERT_EQ(idx.size(), 6u * 3 * 8);
    ExpectIndicesInRange(idx, v.size(), "sphere");
    EXPECT_EQ(v.front().y, -0.5f);
    EXPECT_EQ(v.front().tv, 1.0f);  // 0.5 + r
    EXPECT_EQ(v.back().y, 0.5f);
    EXPECT_EQ(v.back().tv, 0.0f);
    for (Long j = 1; j <= 3; ++j) {
        for (Long i = 0; i < 8; ++i) {
            const auto& q = v[static_cast<std::size_t>(1 + (j - 1) * 8 + i)];
            EXPECT_NEAR(q.tv, 1.0f - j / 5.0f, 1e-6) << j;  // divided by R, not R - 1
            EXPECT_NEAR(q.tu, std::fabs(1.0f - 2.0f * i / 8), 1e-6) << i;
            EXPECT_NEAR(std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z), 0.5f, 1e-6);
            EXPECT_NEAR(q.nx * 0.5f, q.x, 1e-6);  // outward unit normal
        }
    }
    // Every triangle winds like the box faces: (b - a) x (c - a) points outwards.
    for (std::size_t t = 0; t < idx.size(); t += 3) {
        const auto& a = v[static_cast<std::size_t>(idx[t])];
        const auto& b = v[static_cast<std::size_t>(idx[t + 1])];
        const auto& c = v[static_cast<std::size_t>(idx[t + 2])];
        const D3DVECTOR n = Cross(Sub(b, a), Sub(c, a));
        const float out =
            n.x * (a.x + b.x + c.x) + n.y * (a.y + b.y + c.y) + n.z * (a.z + b.z + c.z);
        EXPECT_GT(out, 0.0f) << t;
    }

    std::vector<D3DLVERTEX> lv;
    std::vector<Integer> lidx;
    prim.GetD3DLVERTEX_shpere2(lv, lidx, 8, 1, 0x7F00FF00);
    EXPECT_EQ(lidx, idx);
    ASSERT_EQ(lv.size(), v.size());
    EXPECT_EQ(lv[3].x, v[3].x);
    EXPECT_EQ(lv[3].tu, v[3].tu);
    EXPECT_EQ(lv[3].color, 0x7F00FF00);
}

TEST(ArkSphere, DivisionsAreLimitedSoIndicesFit) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    prim.GetD3DVERTEX_shpere2(v, idx, 100000, 1);
    EXPECT_EQ(v.size(), static_cast<std::size_t>((256 / 2 - 1) * 256 + 2));
    ExpectIndicesInRange(idx, v.size(), "large sphere");
    prim.GetD3DVERTEX_AirShpere(v, idx, 100000, 1, 1);
    EXPECT_LE(v.size(), 32768u);
    ExpectIndicesInRange(idx, v.size(), "large sky");
}

TEST(ArkSkySphere, WrapAndInwardNormals) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    prim.GetD3DVERTEX_AirShpere(v, idx, 8, 2, 1);
    const Long m = 3, n = 8;
    ASSERT_EQ(v.size(), static_cast<std::size_t>((n + 1) * m + 2));
    ASSERT_EQ(idx.size(), static_cast<std::size_t>(6 * m * n));
    ExpectIndicesInRange(idx, v.size(), "sky");
    for (Long j = 1; j <= m; ++j) {
        for (Long i = 0; i <= n; ++i) {
            const auto& q = v[static_cast<std::size_t>(1 + (j - 1) * (n + 1) + i)];
            EXPECT_NEAR(q.tu, 2.0f * (1.0f - static_cast<float>(i) / n), 1e-6);
            EXPECT_NEAR(q.tv, (1.0f - 2 * q.y) / 2, 1e-6);
            EXPECT_NEAR(q.nx, -2 * q.x, 1e-6);  // inward
            EXPECT_NEAR(q.ny, -2 * q.y, 1e-6);
        }
        // The seam is doubled: i = N sits on i = 0.
        const auto& first = v[static_cast<std::size_t>(1 + (j - 1) * (n + 1))];
        const auto& last = v[static_cast<std::size_t>(1 + (j - 1) * (n + 1) + n)];
        EXPECT_NEAR(first.x, last.x, 1e-6);
        EXPECT_NEAR(first.z, last.z, 1e-6);
    }
    EXPECT_EQ(v.front().ny, 1.0f);
    EXPECT_EQ(v.back().ny, -1.0f);
}

// Land2 fine vertex (row a, column b) of a patch C coarse columns wide.
const D3DVERTEX& Fine(const std::vector<D3DVERTEX>& v, Long cols, Long a, Long b) {
    return v[static_cast<std::size_t>(a * (2 * cols - 1) + b)];
}

TEST(ArkLand2, FallbackGrid) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> want;
    std::vector<Integer> wantIdx;
    prim.GetD3DVERTEX_Land2(want, wantIdx, "4040 4040");
    ASSERT_EQ(want.size(), 9u);
    ASSERT_EQ(wantIdx.size(), 24u);
    for (const auto& p : want) {
        EXPECT_EQ(p.y, 0.0f);
        EXPECT_EQ(p.ny, 1.0f);
    }
    for (const char* script : {"", "40", "4040", "40 40", "4", "   "}) {
        std::vector<D3DVERTEX> v;
        std::vector<Integer> idx;
        prim.GetD3DVERTEX_Land2(v, idx, script);
        ASSERT_EQ(v.size(), 9u) << script;
        EXPECT_EQ(idx, wantIdx) << script;
        EXPECT_EQ(std::memcmp(v.data(), want.data(), 9 * sizeof(D3DVERTEX)), 0) << script;
    }
}

TEST(ArkLand2, CornersCentreAndEdges) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    prim.GetD3DVERTEX_Land2(v, idx, "0080 8000");
    ASSERT_EQ(v.size(), 9u);
    EXPECT_EQ(Fine(v, 2, 0, 0).y, -0.5f);
    EXPECT_EQ(Fine(v, 2, 0, 2).y, 0.5f);
    EXPECT_EQ(Fine(v, 2, 2, 0).y, 0.5f);
    EXPECT_EQ(Fine(v, 2, 2, 2).y, -0.5f);
    EXPECT_EQ(Fine(v, 2, 1, 1).y, 0.0f);
    EXPECT_EQ(Fine(v, 2, 0, 1).y, 0.0f);
    EXPECT_EQ(Fine(v, 2, 0, 1).x, 0.0f);
    EXPECT_EQ(Fine(v, 2, 0, 1).z, 0.5f);  // row 0 at the far edge
    EXPECT_EQ(Fine(v, 2, 2, 0).z, -0.5f);
    EXPECT_EQ(Fine(v, 2, 2, 2).tu, 1.0f);
    EXPECT_EQ(Fine(v, 2, 2, 2).tv, 1.0f);
    EXPECT_EQ(Fine(v, 2, 1, 2).tv, 0.5f);
    // The eight triangles of the cell in order.
    EXPECT_EQ(idx, (std::vector<Integer>{0, 1, 3, 3, 1, 4, 4, 1, 5, 5, 1, 2,
                                         6, 3, 7, 7, 3, 4, 4, 5, 7, 7, 5, 8}));
    for (const auto& p : v) {
        EXPECT_NEAR(p.nx * p.nx + p.ny * p.ny + p.nz * p.nz, 1.0f, 1e-5);
    }
}

TEST(ArkLand2, RowsAndShortCells) {
    struct Case {
        const char* script;
        Long rows, cols;
        Single firstRowSecondY;
    };
    const Case cases[] = {
        {"404040  404040", 2, 3, 0.0f},
        {"404 4040", 2, 2, -0.45f},  // second cell "4": 4/80 - 0.5
        {"40 4040", 2, 2, -0.5f},    // second cell past the end reads 0
        {"40x0 4040", 2, 2, -0.5f},  // no leading number reads 0
    };
    CIMArkPrimitive prim;
    for (const auto& c : cases) {
        std::vector<D3DVERTEX> v;
        std::vector<Integer> idx;
        prim.GetD3DVERTEX_Land2(v, idx, c.script);
        ASSERT_EQ(v.size(), static_cast<std::size_t>((2 * c.rows - 1) * (2 * c.cols - 1)))
            << c.script;
        EXPECT_EQ(idx.size(), static_cast<std::size_t>(24 * (c.rows - 1) * (c.cols - 1)));
        EXPECT_NEAR(Fine(v, c.cols, 0, 2).y, c.firstRowSecondY, 1e-6) << c.script;
        EXPECT_EQ(Fine(v, c.cols, 0, 0).y, 0.0f) << c.script;
    }
}

TEST(ArkLand2, PreLitFormMatchesTheLitOne) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<D3DLVERTEX> lv;
    std::vector<Integer> idx, lidx;
    const char* script = "204060 406080 608000";
    prim.GetD3DVERTEX_Land2(v, idx, script);
    prim.GetD3DLVERTEX_Land2(lv, lidx, script, static_cast<Long>(0xFF204060u));
    EXPECT_EQ(idx, lidx);
    ASSERT_EQ(v.size(), lv.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
        EXPECT_EQ(v[i].x, lv[i].x);
        EXPECT_EQ(v[i].y, lv[i].y);
        EXPECT_EQ(v[i].tu, lv[i].tu);
        EXPECT_EQ(static_cast<std::uint32_t>(lv[i].color), 0xFF204060u) << i;
    }
}

TEST(ArkLand2, HugeScriptsAreCutToSixteenBitIndices) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    std::string wide(20000, '4');
    prim.GetD3DVERTEX_Land2(v, idx, wide + " " + wide);
    EXPECT_LE(v.size(), 32768u);
    ExpectIndicesInRange(idx, v.size(), "wide");
    std::string tall;
    for (int i = 0; i < 400; ++i) tall += std::string(400, '4') + " ";
    prim.GetD3DVERTEX_Land2(v, idx, tall);
    EXPECT_LE(v.size(), 32768u);
    EXPECT_GT(v.size(), 30000u);
    ExpectIndicesInRange(idx, v.size(), "tall");
    prim.GetD3DVERTEX_Land2Fine(v, idx, tall);
    EXPECT_LE(v.size(), 32768u);
    ExpectIndicesInRange(idx, v.size(), "fine");
}

TEST(ArkLand2Fine, LayoutAndSplit) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    prim.GetD3DVERTEX_Land2Fine(v, idx, "404040 404040 404040");  // 3 x 3 coarse
    const Long cols = 3, stride = 6 * cols - 5;
    ASSERT_EQ(v.size(), static_cast<std::size_t>(6 * 3 * 3 + 1));
    ASSERT_EQ(idx.size(), static_cast<std::size_t>(36 * 2 * 2));
    ExpectIndicesInRange(idx, v.size(), "fine");
    // Coarse (1, 1) sits at stride + 6; the centre of cell (0, 0) at 3.
    EXPECT_EQ(v[static_cast<std::size_t>(stride + 6)].x, 0.0f);
    EXPECT_EQ(v[static_cast<std::size_t>(stride + 6)].ny, 1.0f);
    EXPECT_FLOAT_EQ(v[3].x, -0.25f);
    EXPECT_FLOAT_EQ(v[3].z, 0.25f);
    // P1 is the centroid of P0, P2 and the centre.
    EXPECT_FLOAT_EQ(v[1].x, (-0.5f + 0.0f - 0.25f) / 3);
    EXPECT_FLOAT_EQ(v[1].z, (0.5f + 0.5f + 0.25f) / 3);
    // Flat: every indexed vertex faces up.
    for (const Integer i : idx) EXPECT_NEAR(v[static_cast<std::size_t>(i)].ny, 1.0f, 1e-6);
}

}  // namespace
}  // namespace brumil::render
