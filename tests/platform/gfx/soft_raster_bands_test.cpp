// Triangles set up once and walked band by band against the same triangles
// drawn whole: corners on and beside band edges, tall thin triangles,
// triangles past the guard band, lines, and the loop choice kept from one
// triangle to the next, at several band heights and thread counts; colour
// and depth bits must match.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "band_pool.h"
#include "band_queue.h"
#include "platform/gfx/d3d_types.h"
#include "raster.h"

namespace brumil::platform {
namespace {

using raster::PixelState;
using raster::Vertex;

constexpr int kW = 64, kH = 61;  // no multiple of most band heights

// How a case's primitives are shaded.
enum class Look {
    Gouraud,      // untextured, colours per corner, depth tested and written
    Textured,     // a wrapped texture modulated by the diffuse colour (four-pixel loops)
    Perspective,  // the same with corners at different depths
    Sprites,      // textured and blended, each triangle in one colour of its own
};

struct Prim {
    bool line;
    Vertex v[3];
};

struct Case {
    const char* name;
    Look look;
    std::vector<Prim> prims;
    bool drawsNothing = false;  // every primitive is degenerate or off the target
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name << " (" << c.prims.size() << " primitives)";
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    std::string n = info.param.name;
    for (char& c : n) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return n;
}

Vertex V(float x, float y, std::uint32_t bgra = 0xFF8040C0u, float z = 0.5f, float rhw = 1.0f,
         float u = 0.0f, float v = 0.0f) {
    Vertex r;
    r.x = x;
    r.y = y;
    r.z = z;
    r.rhw = rhw;
    r.uw = u * rhw;
    r.vw = v * rhw;
    for (int k = 0; k < 4; ++k) r.c[k] = float((bgra >> (8 * k)) & 255u);
    return r;
}

Prim Tri(Vertex a, Vertex b, Vertex c) {
    return {false, {a, b, c}};
}
Prim Line(Vertex a, Vertex b) {
    return {true, {a, b, b}};
}

// A texture of 8 x 8 texels, some of them transparent.
const std::vector<std::uint32_t>& Texels() {
    static const std::vector<std::uint32_t> texels = [] {
        std::vector<std::uint32_t> t(64);
        for (std::size_t i = 0; i < t.size(); ++i) {
            t[i] = std::uint32_t(i * 2654435761u) | (i % 5 == 0 ? 0u : 0xFF000000u);
        }
        return t;
    }();
    return texels;
}

PixelState StateFor(Look look, std::vector<std::uint32_t>& target, std::vector<float>& depth) {
    PixelState ps;
    ps.target = target.data();
    ps.width = kW;
    ps.height = kH;
    ps.clipX2 = kW;
    ps.clipY2 = kH;
    if (look == Look::Gouraud) {
        ps.depth = depth.data();
        ps.depthWidth = kW;
        ps.zTest = ps.zWrite = true;
        ps.colorOp = D3DTOP_SELECTARG2;
        ps.alphaOp = D3DTOP_SELECTARG2;
    } else {
        ps.tex = Texels().data();
        ps.texW = ps.texH = 8;
        ps.texPow2 = ps.wrapPow2 = true;
        ps.linear = look != Look::Sprites;
    }
    if (look == Look::Sprites) {
        ps.blend = true;
        ps.srcBlend = D3DBLEND_SRCALPHA;
        ps.dstBlend = D3DBLEND_INVSRCALPHA;
        ps.alphaOp = D3DTOP_MODULATE;
    }
    raster::Classify(ps);
    return ps;
}

// Colour then depth bits after drawing the case, whole (threads 0) or
// through a band queue of `bandRows` rows on `threads` threads.
std::vector<std::uint32_t> Draw(const Case& c, int threads, int bandRows) {
    std::vector<std::uint32_t> target(kW * kH);
    for (std::size_t i = 0; i < target.size(); ++i) target[i] = std::uint32_t(i * 40503u);
    std::vector<float> depth(kW * kH, 0.75f);
    const PixelState ps = StateFor(c.look, target, depth);
    if (threads == 0) {
        for (const Prim& p : c.prims) {
            if (p.line) {
                raster::DrawLine(ps, p.v[0], p.v[1]);
            } else {
                raster::DrawTriangle(ps, p.v[0], p.v[1], p.v[2], p.v[0]);
            }
        }
    } else {
        raster::BandPool pool(threads);
        raster::BandQueue queue(kH, bandRows);
        queue.BeginDraw(ps);
        for (const Prim& p : c.prims) {
            if (p.line) {
                queue.AddLine(p.v[0], p.v[1]);
            } else {
                queue.AddTriangle(p.v[0], p.v[1], p.v[2], p.v[0]);
            }
        }
        queue.Run(pool);
    }
    for (float z : depth) target.push_back(std::bit_cast<std::uint32_t>(z));
    return target;
}

class BandedTriangles : public ::testing::TestWithParam<Case> {};

TEST_P(BandedTriangles, MatchTheWholeTriangleAtAnyBandHeightAndThreadCount) {
    const Case& c = GetParam();
    const std::vector<std::uint32_t> whole = Draw(c, 0, 0);
    const std::vector<std::uint32_t> untouched = Draw({c.name, c.look, {}}, 0, 0);
    EXPECT_EQ(whole == untouched, c.drawsNothing) << "the case draws what it says it does";
    for (int bandRows : {1, 2, 3, 7, 15, 16}) {
        for (int threads : {1, 2, 3, 8}) {
            const std::vector<std::uint32_t> banded = Draw(c, threads, bandRows);
            ASSERT_EQ(whole.size(), banded.size());
            const auto diff = std::mismatch(whole.begin(), whole.end(), banded.begin());
            const auto at = diff.first - whole.begin();
            EXPECT_TRUE(diff.first == whole.end())
                << bandRows << " rows a band, " << threads << " threads: first difference at "
                << (at < kW * kH ? "pixel " : "depth ") << at % (kW * kH) % kW << ","
                << at % (kW * kH) / kW;
        }
    }
}

// Quads turned by `angle`, each in its own colour, some sharing one.
std::vector<Prim> TurnedQuads(int count, float angle, bool shareColours) {
    std::vector<Prim> out;
    for (int i = 0; i < count; ++i) {
        const float cx = float(i * 37 % kW), cy = float(i * 23 % kH) + 0.5f;
        const float r = 3.0f + float(i % 7), a = angle * float(i);
        const std::uint32_t colour =
            shareColours && i % 3 != 0 ? 0xC0FFFFFFu : 0x80000000u | (0x10305Fu * std::uint32_t(i));
        Vertex q[4];
        for (int k = 0; k < 4; ++k) {
            const float px = k & 1 ? r : -r, py = k & 2 ? r : -r;
            q[k] = V(cx + px * std::cos(a) + py * std::sin(a),
                     cy + py * std::cos(a) - px * std::sin(a), colour, 0.25f, 1.0f, float(k & 1),
                     float(k >> 1));
        }
        out.push_back(Tri(q[0], q[1], q[2]));
        out.push_back(Tri(q[1], q[3], q[2]));
    }
    return out;
}

// Long thin triangles, as a far floor gives, in shades that vary.
std::vector<Prim> Slivers(int count, bool perspective) {
    std::vector<Prim> out;
    for (int i = 0; i < count; ++i) {
        const float x = float(i) * 1.37f - 2.0f, top = float(i % 9) - 4.3f;
        const float w0 = perspective ? 0.5f + float(i % 4) * 0.4f : 1.0f;
        const float w1 = perspective ? 2.0f - float(i % 3) * 0.5f : 1.0f;
        out.push_back(Tri(V(x, top, 0xFF102030u * std::uint32_t(i + 1), 0.1f, w0, 0, 0),
                          V(x + 0.9f, top + 3.0f, 0xFF605040u, 0.6f, w1, 1, 0),
                          V(x + 2.2f, top + 58.0f + float(i % 5), 0xFFA0B0C0u, 0.9f, w0, 1, 7)));
    }
    return out;
}

constexpr float kSubPixel = 1.0f / 256.0f;

const Case kCases[] = {
    {"corners on band edges",
     Look::Gouraud,
     {Tri(V(3, 15, 0xFF0000FFu), V(40, 15, 0xFF00FF00u), V(20, 30, 0xFFFF0000u)),
      Tri(V(41, 0, 0xFF204060u), V(63, 16, 0xFF6080A0u), V(45, 48, 0xFFA0C0E0u)),
      Tri(V(5, 45, 0xFF123456u), V(30, 32, 0xFF654321u), V(50, 60, 0xFF0F0F0Fu))}},
    {"sub-pixel corners beside band edges",
     Look::Gouraud,
     {Tri(V(2, 15 - kSubPixel, 0xFF0000FFu), V(30, 15 + kSubPixel, 0xFF00FF00u),
          V(10, 16 - kSubPixel / 2, 0xFFFF0000u)),
      Tri(V(33, 7 - kSubPixel / 2, 0xFF0000FFu), V(60, 7 + kSubPixel / 2, 0xFF00FF00u),
          V(44, 32 - kSubPixel, 0xFFFF0000u)),
      Tri(V(1, 31.5f, 0xFF808080u), V(63.5f, 32.5f, 0xFF404040u), V(20, 47 + kSubPixel))}},
    {"very tall thin triangles", Look::Gouraud, Slivers(40, false)},
    {"tall thin triangles in perspective", Look::Perspective, Slivers(40, true)},
    {"triangles past the guard band",
     Look::Gouraud,
     {Tri(V(-30000, 5, 0xFF0000FFu, 0.2f), V(40000, 20.5f, 0xFF00FF00u, 0.4f),
          V(10, 50000, 0xFFFF0000u, 0.9f)),
      Tri(V(20, -40000.5f, 0xFF112233u, 0.1f), V(63, 40, 0xFF445566u, 0.1f),
          V(-20000, 44, 0xFF778899u, 0.1f))}},
    {"triangles inside one band",
     Look::Textured,
     {Tri(V(3, 1.2f, 0xFFFFFFFFu, 0.5f, 1, 0, 0), V(9, 2.7f, 0xFFFFFFFFu, 0.5f, 1, 1, 0),
          V(5, 3.9f, 0xFFFFFFFFu, 0.5f, 1, 0, 1)),
      Tri(V(20, 33.5f, 0xFF8080FFu, 0.5f, 1, 0, 0), V(29, 33.5f, 0xFF80FF80u, 0.5f, 1, 1, 0),
          V(24, 34.5f, 0xFFFF8080u, 0.5f, 1, 0, 1))}},
    {"degenerate and off-target triangles",
     Look::Gouraud,
     {Tri(V(1, 1), V(30, 30), V(59, 59)), Tri(V(5, 20), V(50, 20), V(25, 20)),
      Tri(V(7, 7), V(7, 7), V(40, 50)), Tri(V(70, 5), V(90, 5), V(80, 40)),
      Tri(V(5, -30), V(40, -20), V(20, -0.6f)), Tri(V(5, 61.5f), V(40, 70), V(20, 80))},
     true},
    {"turned sprites in colours of their own", Look::Sprites, TurnedQuads(60, 0.41f, false)},
    {"turned sprites sharing colours", Look::Sprites, TurnedQuads(60, 0.93f, true)},
    {"upright sprites", Look::Sprites, TurnedQuads(40, 0.0f, false)},
    {"lines across band edges",
     Look::Gouraud,
     {Line(V(0, 0, 0xFF0000FFu), V(63, 60, 0xFF00FF00u)),
      Line(V(2, 15, 0xFF0000FFu, 0.1f), V(62, 15, 0xFFFF0000u, 0.1f)),
      Line(V(31.5f, -10, 0xFF00FFFFu, 0.2f), V(31.5f, 80, 0xFFFFFF00u, 0.2f)),
      Line(V(60, 3, 0xFF808080u, 0.3f), V(4, 59.5f, 0xFF202020u, 0.3f))}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BandedTriangles, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
}  // namespace brumil::platform
