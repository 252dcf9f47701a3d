// The device's vertex front end and recorded work against the paths they
// stand for: lit meshes at one thread (vertices prepared on the caller,
// clears done at once) and at several (vertices shared out, clears recorded
// for the bands); records in every lane position; triangles across each clip
// plane; and the decoded state kept between draws, which every setter must
// refresh. Colour and depth must agree bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "gfx_test_util.h"
#include "platform/gfx/dx7_math.h"

namespace brumil::platform {
namespace {

using testing::MakeSurface;
using testing::MakeTexture;

constexpr int kW = 97, kH = 83;  // no multiple of any band height

struct Picture {
    std::vector<std::uint32_t> color, depth;
    bool operator==(const Picture&) const = default;
};

Picture Snapshot(const SurfacePtr& target, const SurfacePtr& depth) {
    Picture p{testing::PixelsOf(*target), {}};
    for (float z : depth->Depth()) p.depth.push_back(std::bit_cast<std::uint32_t>(z));
    return p;
}

// Near plane 1, far plane 50.
D3DMATRIX Perspective() {
    D3DMATRIX p;
    p.rc11 = 1;
    p.rc22 = 1;
    p.rc33 = 50.0f / 49.0f;
    p.rc34 = 1;
    p.rc43 = -50.0f / 49.0f;
    return p;
}

// An n x n grid of lit vertices over [-1, 1] squared at depth about z, with
// bent normals, as an indexed triangle list.
struct Mesh {
    std::vector<D3DVERTEX> vertices;
    std::vector<std::int16_t> indices;
};

Mesh Grid(int n, float z, float shift = 0) {
    Mesh m;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const float x = -1.0f + 2.0f * i / (n - 1) + shift, y = -1.0f + 2.0f * j / (n - 1);
            D3DVERTEX v;
            DirectX7::CreateD3DVertex(x, y, z + 0.3f * x * y, 0.4f * x, -0.3f * y, -1.0f,
                                      1.5f * i / (n - 1), 1.5f * j / (n - 1), v);
            m.vertices.push_back(v);
        }
    }
    for (int j = 0; j + 1 < n; ++j) {
        for (int i = 0; i + 1 < n; ++i) {
            const auto at = [&](int a, int b) { return static_cast<std::int16_t>(b * n + a); };
            m.indices.insert(m.indices.end(), {at(i, j), at(i + 1, j), at(i, j + 1)});
            m.indices.insert(m.indices.end(), {at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
        }
    }
    return m;
}

bool DrawMesh(Direct3DDevice7& dev, const Mesh& m) {
    return dev.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX,
                                    std::span<const D3DVERTEX>(m.vertices),
                                    static_cast<D3DLong>(m.vertices.size()), m.indices,
                                    static_cast<D3DLong>(m.indices.size()), 0);
}

D3DLIGHT7 MakeLight(D3DLong type, D3DCOLORVALUE diffuse) {
    D3DLIGHT7 l;
    l.dltType = type;
    l.diffuse = diffuse;
    l.specular = {1, 1, 1, 0};
    l.ambient = {0.1f, 0.1f, 0.1f, 0};
    l.position = {0.5f, 0.5f, 1.0f};
    l.direction = {0.2f, -0.3f, 1.0f};
    l.range = 8;
    l.attenuation0 = 0.5f;
    l.attenuation1 = 0.2f;
    l.theta = 0.3f;
    l.phi = 0.9f;
    l.falloff = 1.5f;
    return l;
}

SurfacePtr Checker(std::uint32_t a, std::uint32_t b) {
    std::vector<std::uint32_t> texels(64);
    for (int i = 0; i < 64; ++i) texels[i] = ((i / 8 + i) % 2) != 0 ? a : b;
    return MakeTexture(8, 8, texels);
}

// The state every scene here starts from.
void Base(Direct3DDevice7& dev, const SurfacePtr& texture) {
    dev.SetTransform(D3DTRANSFORMSTATE_PROJECTION, Perspective());
    dev.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    dev.SetRenderState(D3DRENDERSTATE_AMBIENT, 0x00202020);
    dev.SetTexture(0, texture);
    D3DMATERIAL7 mat;
    mat.diffuse = {0.9f, 0.7f, 0.5f, 0.8f};
    mat.ambient = {1, 1, 1, 1};
    mat.specular = {0.6f, 0.6f, 0.6f, 1};
    mat.power = 6;
    dev.SetMaterial(mat);
    dev.SetLight(0, MakeLight(D3DLIGHT_DIRECTIONAL, {0.7f, 0.7f, 0.9f, 0}));
    dev.LightEnable(0, true);
    dev.SetLight(1, MakeLight(D3DLIGHT_POINT, {0.9f, 0.4f, 0.2f, 0}));
    dev.LightEnable(1, true);
}

// ---------------------------------------------------------------------------
// Lit meshes: the vertices prepared on the caller (one thread) and shared out
// among the pool (several), with each light kind, normalised normals and
// specular on and off.

struct LitCase {
    std::string name;
    std::vector<D3DLong> kinds;
    bool normalize, specular;
    int grid;  // vertices per side; 48 x 48 is big enough to be shared out
};

void PrintTo(const LitCase& c, std::ostream* os) {
    *os << c.name << " lights " << c.kinds.size() << " normalize " << c.normalize << " specular "
        << c.specular << " grid " << c.grid;
}

class LitMeshTest : public ::testing::TestWithParam<LitCase> {};

Picture DrawLit(const LitCase& c, int threads) {
    SurfacePtr target = MakeSurface(kW, kH), depth = MakeSurface(kW, kH, PixelFormat::Depth32F);
    auto dev = CreateSoftDevice(target, depth, {true, threads});
    Base(*dev, Checker(0xFFFFFFFFu, 0xFF8080C0u));
    dev->LightEnable(0, false);
    dev->LightEnable(1, false);
    for (std::size_t i = 0; i < c.kinds.size(); ++i) {
        const float k = 0.3f + 0.2f * static_cast<float>(i);
        dev->SetLight(static_cast<D3DLong>(10 + i), MakeLight(c.kinds[i], {k, 1 - k, 0.6f, 0}));
        dev->LightEnable(static_cast<D3DLong>(10 + i), true);
    }
    dev->SetRenderState(D3DRENDERSTATE_NORMALIZENORMALS, c.normalize ? 1 : 0);
    dev->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, c.specular ? 1 : 0);
    D3DMATRIX world;
    DirectX7::IdentityMatrix(world);
    world.rc11 = 1.7f;  // stretched, so normalising the normals matters
    world.rc22 = 0.6f;
    dev->SetTransform(D3DTRANSFORMSTATE_WORLD, world);
    dev->BeginScene();
    dev->Clear({}, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00101010, 1.0f, 0);
    EXPECT_TRUE(DrawMesh(*dev, Grid(c.grid, 2.5f)));
    EXPECT_TRUE(DrawMesh(*dev, Grid(c.grid / 2 + 3, 2.2f, 0.4f)));
    dev->EndScene();
    return Snapshot(target, depth);
}

TEST_P(LitMeshTest, SameBitsAtOneAndSeveralThreads) {
    const LitCase& c = GetParam();
    const Picture one = DrawLit(c, 1);
    int shaded = 0;
    for (std::uint32_t p : one.color) shaded += (p & 0x00FFFFFFu) != 0x00101010u;
    EXPECT_GT(shaded, kW * kH / 5) << "the mesh covers much of the target";
    for (int threads : {2, 8}) EXPECT_TRUE(DrawLit(c, threads) == one) << threads << " threads";
}

INSTANTIATE_TEST_SUITE_P(
    Lights, LitMeshTest,
    ::testing::Values(LitCase{"NoLights", {}, false, false, 9},
                      LitCase{"SunPlain", {D3DLIGHT_DIRECTIONAL}, false, false, 10},
                      LitCase{"SunNormalised", {D3DLIGHT_DIRECTIONAL}, true, false, 11},
                      LitCase{"PointSpecular", {D3DLIGHT_POINT}, false, true, 12},
                      LitCase{"SpotSpecularNormalised", {D3DLIGHT_SPOT}, true, true, 13},
                      LitCase{"ThreeKindsBigMesh",
                              {D3DLIGHT_SPOT, D3DLIGHT_POINT, D3DLIGHT_DIRECTIONAL},
                              true,
                              true,
                              48},
                      LitCase{"FiveLightsBigMeshPlain",
                              {D3DLIGHT_POINT, D3DLIGHT_POINT, D3DLIGHT_SPOT, D3DLIGHT_DIRECTIONAL,
                               D3DLIGHT_SPOT},
                              false,
                              false,
                              50}),
    [](const ::testing::TestParamInfo<LitCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Four records go through the lanes together: a triangle's pixels must not
// depend on where its records sit among others, or on what those others hold.

TEST(SoftDeviceLanes, ATriangleIsTheSameInEveryLanePosition) {
    const Mesh grid = Grid(3, 2.0f);
    const D3DVERTEX tri[3] = {grid.vertices[0], grid.vertices[2], grid.vertices[7]};
    const auto draw = [&](int offset, int total) {
        SurfacePtr target = MakeSurface(kW, kH), depth = MakeSurface(kW, kH, PixelFormat::Depth32F);
        auto dev = CreateSoftDevice(target, depth, {true, 1});
        Base(*dev, Checker(0xFFFFFFFFu, 0xFF40C040u));
        dev->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, 1);
        dev->SetRenderState(D3DRENDERSTATE_NORMALIZENORMALS, 1);
        std::vector<D3DVERTEX> records(static_cast<std::size_t>(total));
        const float junk = std::numeric_limits<float>::quiet_NaN();
        for (D3DVERTEX& r : records) DirectX7::CreateD3DVertex(junk, 9, 1e30f, junk, 0, 0, 5, 5, r);
        const std::int16_t idx[3] = {static_cast<std::int16_t>(offset),
                                     static_cast<std::int16_t>(offset + 1),
                                     static_cast<std::int16_t>(offset + 2)};
        for (int k = 0; k < 3; ++k) records[static_cast<std::size_t>(offset + k)] = tri[k];
        dev->BeginScene();
        EXPECT_TRUE(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX,
                                              std::span<const D3DVERTEX>(records), total, idx, 3,
                                              0));
        dev->EndScene();
        return Snapshot(target, depth);
    };
    const Picture want = draw(0, 3);
    int drawn = 0;
    for (std::uint32_t p : want.color) drawn += p != 0;
    ASSERT_GT(drawn, 200);
    for (int total : {4, 5, 6, 7, 8, 9, 11}) {
        for (int offset = 0; offset + 3 <= total; ++offset) {
            EXPECT_TRUE(draw(offset, total) == want) << "offset " << offset << " of " << total;
        }
    }
}

// ---------------------------------------------------------------------------
// Clears between draws, with rectangles, flags and viewports: done at once on
// one thread, recorded for the bands on several.

struct ClearStep {
    enum Kind { kDraw, kClear, kViewport, kRead } kind = kDraw;
    std::vector<D3DRECT> rects;
    D3DLong flags = 0;
    std::uint32_t color = 0;
    float z = 0;
    D3DVIEWPORT7 viewport{};
};

struct ClearCase {
    std::string name;
    std::vector<ClearStep> steps;
    bool inScene = true;
};

void PrintTo(const ClearCase& c, std::ostream* os) {
    *os << c.name << " steps " << c.steps.size();
}

class ClearTest : public ::testing::TestWithParam<ClearCase> {};

// The picture, the answers of the clears and the pixels read in the middle.
Picture RunClears(const ClearCase& c, int threads) {
    SurfacePtr target = MakeSurface(kW, kH), depth = MakeSurface(kW, kH, PixelFormat::Depth32F);
    auto dev = CreateSoftDevice(target, depth, {true, threads});
    Base(*dev, Checker(0xFFC0C0C0u, 0xFF2040A0u));
    Picture reads;
    int draw = 0;
    if (c.inScene) dev->BeginScene();
    for (const ClearStep& s : c.steps) {
        switch (s.kind) {
            case ClearStep::kDraw:
                if (!c.inScene) dev->BeginScene();
                DrawMesh(*dev, Grid(6 + draw, 1.6f + 0.7f * draw, 0.3f * draw));
                if (!c.inScene) dev->EndScene();
                ++draw;
                break;
            case ClearStep::kClear:
                reads.color.push_back(
                    dev->Clear(s.rects, s.flags, static_cast<D3DLong>(s.color), s.z, 0));
                break;
            case ClearStep::kViewport:
                reads.color.push_back(dev->SetViewport(s.viewport));
                break;
            case ClearStep::kRead:
                for (int y = 0; y < kH; y += 7) {
                    reads.color.push_back(target->PixelAt(41, y));
                    reads.depth.push_back(std::bit_cast<std::uint32_t>(depth->DepthAt(y, y)));
                }
                break;
        }
    }
    if (c.inScene) dev->EndScene();
    Picture p = Snapshot(target, depth);
    p.color.insert(p.color.end(), reads.color.begin(), reads.color.end());
    p.depth.insert(p.depth.end(), reads.depth.begin(), reads.depth.end());
    return p;
}

TEST_P(ClearTest, SameBitsAtOneAndSeveralThreads) {
    const ClearCase& c = GetParam();
    const Picture one = RunClears(c, 1);
    for (int threads : {2, 3, 8}) {
        EXPECT_TRUE(RunClears(c, threads) == one) << threads << " threads";
    }
}

ClearStep Draw() {
    return ClearStep{};
}
ClearStep Read() {
    ClearStep s;
    s.kind = ClearStep::kRead;
    return s;
}
ClearStep Clear(std::vector<D3DRECT> rects, D3DLong flags, std::uint32_t color, float z) {
    ClearStep s;
    s.kind = ClearStep::kClear;
    s.rects = std::move(rects);
    s.flags = flags;
    s.color = color;
    s.z = z;
    return s;
}
ClearStep Viewport(D3DVIEWPORT7 vp) {
    ClearStep s;
    s.kind = ClearStep::kViewport;
    s.viewport = vp;
    return s;
}

constexpr D3DLong kBoth = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER;

INSTANTIATE_TEST_SUITE_P(
    Sequences, ClearTest,
    ::testing::Values(
        ClearCase{"WholeThenDraw", {Clear({}, kBoth, 0xFF336699u, 1.0f), Draw()}},
        ClearCase{"DrawThenClearRects",
                  {Draw(), Clear({{10, 5, 40, 30}, {30, 20, 90, 70}}, kBoth, 0x80FF0000u, 0.25f),
                   Draw()}},
        ClearCase{"ColourOnlyBetweenDraws",
                  {Clear({}, kBoth, 0, 1.0f), Draw(),
                   Clear({{0, 40, 97, 41}}, D3DCLEAR_TARGET, 0xFF00FF00u, 0), Draw()}},
        ClearCase{"DepthOnlyBetweenDraws",
                  {Draw(), Clear({{20, 0, 60, 83}}, D3DCLEAR_ZBUFFER, 0xFFFFFFFFu, 0.1f), Draw(),
                   Draw()}},
        ClearCase{"ClearsBackToBack",
                  {Clear({}, D3DCLEAR_TARGET, 0xFF111111u, 0), Clear({}, D3DCLEAR_ZBUFFER, 0, 0.5f),
                   Clear({{3, 3, 9, 80}}, kBoth, 0xFF999999u, 0.0f), Draw()}},
        ClearCase{"RectsOutsideAndReversed",
                  {Clear({{-50, -50, 500, 500}, {60, 60, 20, 20}, {200, 0, 300, 10}}, kBoth,
                         0xFF445566u, 0.75f),
                   Draw()}},
        ClearCase{"SmallViewport",
                  {Viewport({7, 11, 50, 40, 0.2f, 0.9f}), Clear({}, kBoth, 0xFFABCDEFu, 0.6f),
                   Draw(), Clear({{0, 0, 30, 30}}, kBoth, 0xFF000080u, 0.3f), Draw()}},
        ClearCase{
            "ReadInTheMiddle",
            {Clear({}, kBoth, 0xFF202020u, 1.0f), Read(), Draw(),
             Clear({{5, 5, 70, 60}}, D3DCLEAR_TARGET, 0xFFFF00FFu, 0), Read(), Draw(), Read()}},
        ClearCase{
            "RefusedFlagsAndDepthValue",
            {Clear({}, 0x4, 0xFFFFFFFFu, 0), Clear({}, kBoth, 0xFFFFFFFFu, std::nanf("")), Draw()}},
        ClearCase{"ManyDrawsHandedOverInParts",
                  {Clear({}, kBoth, 0xFF102030u, 1.0f), Draw(), Draw(), Draw(), Draw(), Draw(),
                   Clear({{10, 10, 60, 50}}, D3DCLEAR_ZBUFFER, 0, 0.4f), Draw(), Draw(), Read(),
                   Draw(), Draw(), Clear({{0, 60, 97, 83}}, kBoth, 0xFF00FFFFu, 0.9f), Draw(),
                   Draw(), Draw(), Draw()}},
        ClearCase{"OutsideScenes",
                  {Clear({}, kBoth, 0xFF010203u, 1.0f), Draw(), Read(),
                   Clear({{0, 0, 50, 50}}, kBoth, 0xFF405060u, 0.5f), Draw()},
                  false}),
    [](const ::testing::TestParamInfo<ClearCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Triangles across each clip plane: those wholly inside skip the clipper,
// the others are cut. Nothing may reach beyond the depth range or be drawn
// from behind the eye, and the threads must agree.

struct PlaneCase {
    std::string name;
    D3DVECTOR a, b, c;  // view-space corners
    bool drawn;
};

void PrintTo(const PlaneCase& c, std::ostream* os) {
    *os << c.name;
}

class PlaneTest : public ::testing::TestWithParam<PlaneCase> {};

Picture DrawPlaneCase(const PlaneCase& c, int threads) {
    SurfacePtr target = MakeSurface(kW, kH), depth = MakeSurface(kW, kH, PixelFormat::Depth32F);
    auto dev = CreateSoftDevice(target, depth, {true, threads});
    Base(*dev, Checker(0xFFFFFFFFu, 0xFF808080u));
    dev->SetRenderState(D3DRENDERSTATE_ZFUNC, D3DCMP_ALWAYS);
    std::vector<D3DVERTEX> v(3);
    const D3DVECTOR at[3] = {c.a, c.b, c.c};
    for (int k = 0; k < 3; ++k) {
        DirectX7::CreateD3DVertex(at[k].x, at[k].y, at[k].z, 0, 0, -1, 0.5f * k, 1.0f - 0.5f * k,
                                  v[static_cast<std::size_t>(k)]);
    }
    dev->BeginScene();
    dev->Clear({}, D3DCLEAR_ZBUFFER, 0, 2.0f, 0);  // beyond any depth a draw writes
    EXPECT_TRUE(
        dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, std::span<const D3DVERTEX>(v), 3, 0));
    dev->EndScene();
    return Snapshot(target, depth);
}

TEST_P(PlaneTest, CutAtThePlanesAndSameOnEveryThreadCount) {
    const PlaneCase& c = GetParam();
    const Picture one = DrawPlaneCase(c, 1);
    int drawn = 0;
    for (std::size_t i = 0; i < one.depth.size(); ++i) {
        const float z = std::bit_cast<float>(one.depth[i]);
        if (z == 2.0f) continue;
        ++drawn;
        ASSERT_GE(z, 0.0f) << "pixel " << i;
        ASSERT_LE(z, 1.0f) << "pixel " << i;
    }
    EXPECT_EQ(drawn > 0, c.drawn) << drawn << " pixels";
    EXPECT_TRUE(DrawPlaneCase(c, 8) == one);
}

INSTANTIATE_TEST_SUITE_P(
    Planes, PlaneTest,
    ::testing::Values(
        PlaneCase{"WhollyInside", {-1, -1, 3}, {1, -1, 3}, {0, 1, 4}, true},
        PlaneCase{"OneCornerBeforeNear", {-1, -1, 3}, {1, -1, 3}, {0, 1, 0.5f}, true},
        PlaneCase{"TwoCornersBeforeNear", {-1, -1, 0.2f}, {1, -1, 0.5f}, {0, 1, 3}, true},
        PlaneCase{"OneCornerBehindTheEye", {-1, -1, 3}, {1, -1, 3}, {0, 2, -4}, true},
        PlaneCase{"WhollyBehindTheEye", {-1, -1, -3}, {1, -1, -3}, {0, 1, -1}, false},
        PlaneCase{"OneCornerBeyondFar", {-1, -1, 30}, {1, -1, 30}, {0, 1, 80}, true},
        PlaneCase{"WhollyBeyondFar", {-1, -1, 60}, {1, -1, 60}, {0, 1, 70}, false},
        PlaneCase{"AcrossNearAndFar", {-1, -1, 0.3f}, {1, -1, 90}, {0, 1, 5}, true},
        PlaneCase{"OnTheEyePlane", {-1, -1, 0}, {1, -1, 0}, {0, 1, 0}, false},
        PlaneCase{"FarBesideTheScreen", {-30, -1, 3}, {-20, -1, 3}, {-25, 1, 3}, false},
        PlaneCase{"AcrossTheScreenSides", {-9, -1, 2}, {9, -1, 2}, {0, 9, 2}, true}),
    [](const ::testing::TestParamInfo<PlaneCase>& info) { return info.param.name; });

}  // namespace
}  // namespace brumil::platform
