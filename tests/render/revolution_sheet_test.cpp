// The Revolution2 and MageSheet2 cell-text generators: grid sizes, radii and
// depths read from the cells, the carried radius, colours of Script2 cells,
// the defaults that replace too small or too large texts, and the normals of
// the lit forms.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/ark_primitive.h"

namespace brumil::render {
namespace {

Single Radius(const D3DLVERTEX& v) {
    return std::hypot(v.x, v.z);
}
Single Radius(const D3DVERTEX& v) {
    return std::hypot(v.x, v.z);
}

bool SamePlace(const D3DLVERTEX& a, const D3DLVERTEX& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Strip vertex of grid ring k, column c (rings of W points, pairs per band).
std::size_t StripAt(Long w, Long k, Long c) {
    // Ring 0 is the lower row of band 0; ring k > 0 the upper row of band k - 1.
    return k == 0 ? static_cast<std::size_t>(2 * c)
                  : static_cast<std::size_t>(2 * w * (k - 1) + 2 * c + 1);
}

TEST(Revolution2, ThePrismOfTheDefaultText) {
    const CIMArkPrimitive prim;
    std::vector<D3DLVERTEX> v;
    prim.GetD3DLVERTEX_Revolution2_Script(v, "808080 808080", 0x11223344);
    ASSERT_EQ(v.size(), 8u);  // 2 rows of 4, one band
    for (Long k = 0; k < 2; ++k) {
        const auto& first = v[StripAt(4, k, 0)];
        const auto& closing = v[StripAt(4, k, 3)];
        EXPECT_TRUE(SamePlace(first, closing)) << k;
        EXPECT_EQ(first.tu, 0.0f);
        EXPECT_EQ(closing.tu, 1.0f);
        EXPECT_EQ(closing.tv, first.tv);
        EXPECT_EQ(first.y, k == 0 ? -0.5f : 0.5f);
        EXPECT_EQ(first.tv, k == 0 ? 1.0f : 0.0f);
        for (Long c = 0; c < 4; ++c) {
            EXPECT_NEAR(Radius(v[StripAt(4, k, c)]), 0.5f, 1e-6f);
            EXPECT_EQ(v[StripAt(4, k, c)].color, 0x11223344);
        }
    }
    // Column 0 lies on +z, column 1 a third of a turn on (x negative).
    EXPECT_FLOAT_EQ(v[0].z, 0.5f);
    EXPECT_NEAR(v[0].x, 0.0f, 1e-7f);
    EXPECT_LT(v[2].x, -0.4f);
    EXPECT_FLOAT_EQ(v[2].tu, 1.0f / 3.0f);
}

// Texts that are too small, or so large the strip would pass the vertex
// limit, give the generator's default.
TEST(Revolution2, TextsReplacedByTheDefault) {
    const CIMArkPrimitive prim;
    std::vector<D3DLVERTEX> expected;
    prim.GetD3DLVERTEX_Revolution2_Script(expected, "808080 808080", 5);
    std::string huge;
    for (int i = 0; i < 3000; ++i) huge += "40 ";
    huge += std::string(100, '4');  // 3001 rows by 51 columns
    for (const std::string text : {"", "80 4040", "808080", "8080 8080", "   ", huge.c_str()}) {
        std::vector<D3DLVERTEX> v(3);
        prim.GetD3DLVERTEX_Revolution2_Script(v, text, 5);
        ASSERT_EQ(v.size(), expected.size()) << text.size();
        for (std::size_t i = 0; i < v.size(); ++i) {
            EXPECT_TRUE(SamePlace(v[i], expected[i])) << i;
        }
    }
    // The Script2 default: two rings of three full-size white cells.
    std::vector<D3DLVERTEX> v;
    prim.GetD3DLVERTEX_Revolution2_Script2(v, "FFFFF FFFFF : FFFFF FFFFF");
    ASSERT_EQ(v.size(), 8u);
    for (const auto& p : v) {
        EXPECT_NEAR(Radius(p), 0.5f, 1e-6f);
        EXPECT_EQ(p.color, static_cast<Long>(0xFFFFFFFFu));
    }
}

TEST(Revolution2, TheRadiusCarriesOver) {
    const CIMArkPrimitive prim;
    std::vector<D3DLVERTEX> v;
    // The bottom ring is the text's last row, read first: its missing cells
    // repeat 80; the top ring is 40 throughout.
    prim.GetD3DLVERTEX_Revolution2_Script(v, "404040 80", 0);
    ASSERT_EQ(v.size(), 8u);
    for (Long c = 0; c < 4; ++c) {
        EXPECT_NEAR(Radius(v[StripAt(4, 0, c)]), 0.5f, 1e-6f) << c;
        EXPECT_NEAR(Radius(v[StripAt(4, 1, c)]), 0.25f, 1e-6f) << c;
    }
    // "_" repeats too, and the carry crosses rows: the top row "_" takes the
    // middle row's last radius.
    prim.GetD3DLVERTEX_Revolution2_Script(v, "_ 808040 4016_", 0);
    ASSERT_EQ(v.size(), 16u);  // 3 rings of 4
    const Single rings[3][3] = {{0.25f, 0.1f, 0.1f}, {0.5f, 0.5f, 0.25f}, {0.25f, 0.25f, 0.25f}};
    for (Long k = 0; k < 3; ++k) {
        for (Long c = 0; c < 3; ++c) {
            EXPECT_NEAR(Radius(v[StripAt(4, k, c)]), rings[k][c], 1e-6f) << k << "," << c;
        }
    }
}

TEST(Revolution2, Script2CellsCarryRadiusAndColour) {
    const CIMArkPrimitive prim;
    std::vector<D3DLVERTEX> v;
    prim.GetD3DLVERTEX_Revolution2_Script2(v, "00000 00000 00000:FFFFF  FFFFF FFFFF");
    ASSERT_EQ(v.size(), 8u);
    for (Long c = 0; c < 4; ++c) {
        const auto& low = v[StripAt(4, 0, c)];
        const auto& high = v[StripAt(4, 1, c)];
        EXPECT_NEAR(Radius(low), 0.5f, 1e-6f);
        EXPECT_EQ(low.color, static_cast<Long>(0xFFFFFFFFu));
        EXPECT_NEAR(Radius(high), 1.0f / 32.0f, 1e-7f);
        EXPECT_EQ(high.color, 0);
    }
    // Each digit is a channel times 17; letters past F and missing digits read 0.
    prim.GetD3DLVERTEX_Revolution2_Script2(v, "7A1c3 7 zzzzz : 1 2 3 4");
    ASSERT_EQ(v.size(), 10u);  // the bottom row has four cells: W = 5
    EXPECT_EQ(v[1].color, static_cast<Long>(0xAA11CC33u));
    EXPECT_NEAR(Radius(v[1]), 8.0f / 32.0f, 1e-6f);
    EXPECT_NEAR(Radius(v[3]), 8.0f / 32.0f, 1e-6f);
    EXPECT_EQ(v[3].color, 0);
    EXPECT_NEAR(Radius(v[5]), 1.0f / 32.0f, 1e-6f);
    // The missing fourth cell of the top row stays a zero vertex.
    EXPECT_EQ(v[7].x, 0.0f);
    EXPECT_EQ(v[7].y, 0.0f);
    EXPECT_EQ(v[7].tu, 0.0f);
}

platform::D3DVECTOR NormalOf(const D3DVERTEX& v) {
    return {v.nx, v.ny, v.nz};
}
Single Length(const platform::D3DVECTOR& n) {
    return std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
}

TEST(Revolution2, LitCylinderNormalsPointOutwards) {
    const CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    prim.GetD3DVERTEX_Revolution2_Script(v, "80808080 80808080 80808080");
    const Long w = 5;
    ASSERT_EQ(v.size(), static_cast<std::size_t>(2 * w * 2));
    for (const auto& p : v) {
        EXPECT_NEAR(Length(NormalOf(p)), 1.0f, 1e-5f);
        EXPECT_NEAR(p.ny, 0.0f, 1e-5f);
        // Every normal leans away from the axis at its own point.
        EXPECT_GT(p.nx * p.x + p.nz * p.z, 0.0f);
    }
    // Inner columns are radial: the mean of the two faces beside them.
    for (Long k = 0; k < 3; ++k) {
        for (Long c = 1; c < w - 1; ++c) {
            const auto& p = v[StripAt(w, k, c)];
            const Single r = Radius(p);
            EXPECT_NEAR(p.nx, p.x / r, 1e-4f) << k << "," << c;
            EXPECT_NEAR(p.nz, p.z / r, 1e-4f) << k << "," << c;
        }
    }
    // The two copies of the middle ring (top of band 0, bottom of band 1)
    // share one normal.
    for (Long c = 0; c < w; ++c) {
        const auto& up = v[static_cast<std::size_t>(2 * c + 1)];
        const auto& down = v[static_cast<std::size_t>(2 * w + 2 * c)];
        EXPECT_EQ(up.nx, down.nx);
        EXPECT_EQ(up.nz, down.nz);
    }
}

TEST(Revolution2, ZeroRadiiAreRaisedSoNormalsStayFinite) {
    const CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    prim.GetD3DVERTEX_Revolution2_Script(v, "000000 000000");
    ASSERT_EQ(v.size(), 8u);
    for (const auto& p : v) {
        EXPECT_NEAR(Radius(p), 0.000001f, 1e-9f);
        EXPECT_TRUE(std::isfinite(p.nx) && std::isfinite(p.ny) && std::isfinite(p.nz));
        EXPECT_NEAR(Length(NormalOf(p)), 1.0f, 1e-4f);
    }
    // The pre-lit form keeps the true radius.
    std::vector<D3DLVERTEX> l;
    prim.GetD3DLVERTEX_Revolution2_Script(l, "000000 000000", 0);
    for (const auto& p : l) EXPECT_EQ(Radius(p), 0.0f);
}

TEST(MageSheet2, TheFlatDefaultCell) {
    const CIMArkPrimitive prim;
    std::vector<D3DLVERTEX> v;
    prim.GetD3DLVERTEX_MageSheet2_Script(v, "0000 0000", 0x0A0B0C0D);
    ASSERT_EQ(v.size(), 12u);
    // Slots a, M, b, b, M, e, e, M, d, d, M, a with a at the bottom left.
    struct Expect {
        std::size_t slot;
        Single x, y, tu, tv;
    };
    const Expect expect[] = {{0, -0.5f, -0.5f, 0, 1}, {1, 0, 0, 0.5f, 0.5f},
                             {2, 0.5f, -0.5f, 1, 1},  {5, 0.5f, 0.5f, 1, 0},
                             {8, -0.5f, 0.5f, 0, 0},  {11, -0.5f, -0.5f, 0, 1}};
    for (const auto& e : expect) {
        EXPECT_EQ(v[e.slot].x, e.x) << e.slot;
        EXPECT_EQ(v[e.slot].y, e.y) << e.slot;
        EXPECT_EQ(v[e.slot].tu, e.tu) << e.slot;
        EXPECT_EQ(v[e.slot].tv, e.tv) << e.slot;
    }
    for (const auto& p : v) {
        EXPECT_EQ(p.z, 0.0f);
        EXPECT_EQ(p.color, 0x0A0B0C0D);
    }
    for (std::size_t s : {4u, 7u, 10u}) EXPECT_TRUE(SamePlace(v[s], v[1]));
    for (const std::string text : {"", "00 00", "0000", "0000  "}) {
        std::vector<D3DLVERTEX> d;
        prim.GetD3DLVERTEX_MageSheet2_Script(d, text, 0);
        EXPECT_EQ(d.size(), 12u) << text;
    }
}

TEST(MageSheet2, DepthsFromTheCells) {
    const CIMArkPrimitive prim;
    std::vector<D3DLVERTEX> v;
    // The first row is the bottom: 96 at the bottom right and the top left.
    prim.GetD3DLVERTEX_MageSheet2_Script(v, "0096 9600", 0);
    ASSERT_EQ(v.size(), 12u);
    EXPECT_EQ(v[0].z, 0.0f);   // a, bottom left
    EXPECT_EQ(v[2].z, -1.0f);  // b, bottom right
    EXPECT_EQ(v[5].z, 0.0f);   // e, top right
    EXPECT_EQ(v[8].z, -1.0f);  // d, top left
    EXPECT_EQ(v[1].z, -0.5f);  // the centre
    // Script2 depth S / 15 and the cell's colour; a grid of 3 x 2 points has
    // two cells of twelve.
    prim.GetD3DLVERTEX_MageSheet2_Script2(v, "F0000 0F000 00F00 : 50000 5000F 5000F");
    ASSERT_EQ(v.size(), 24u);
    EXPECT_EQ(v[0].z, -1.0f);
    EXPECT_EQ(v[0].color, 0);
    EXPECT_EQ(v[2].color, static_cast<Long>(0xFF000000u));
    EXPECT_EQ(v[12 + 2].color, 0x00FF0000);
    EXPECT_FLOAT_EQ(v[12 + 5].z, -1.0f / 3.0f);
    EXPECT_EQ(v[12 + 5].color, 0x000000FF);
}

TEST(MageSheet2, AnOversizedTextFallsBackToTheDefault) {
    const CIMArkPrimitive prim;
    std::string rows;
    for (int i = 0; i < 200; ++i) rows += std::string(40, '1') + " ";  // 20 x 200 grid
    std::vector<D3DLVERTEX> v;
    prim.GetD3DLVERTEX_MageSheet2_Script(v, rows, 0);
    EXPECT_EQ(v.size(), 12u);
    // Just inside the limit: 12 x 26 x 104 = 32448 vertices are kept.
    std::string fits;
    for (int i = 0; i < 105; ++i) fits += std::string(54, '1') + " ";
    prim.GetD3DLVERTEX_MageSheet2_Script(v, fits, 0);
    EXPECT_EQ(v.size(), 32448u);
}

TEST(MageSheet2, FlatSheetsFaceMinusZ) {
    const CIMArkPrimitive prim;
    for (const bool smooth : {false, true}) {
        std::vector<D3DVERTEX> v;
        prim.GetD3DVERTEX_MageSheet2_Script(v, "000000 000000 000000", smooth);
        ASSERT_EQ(v.size(), 48u);
        for (const auto& p : v) {
            EXPECT_FLOAT_EQ(p.nx, 0.0f);
            EXPECT_FLOAT_EQ(p.ny, 0.0f);
            EXPECT_FLOAT_EQ(p.nz, -1.0f) << smooth;
        }
    }
}

TEST(MageSheet2, SmoothingBlendsTheCopiesOfAPoint) {
    const CIMArkPrimitive prim;
    const std::string relief = "000000 009600 000000";  // a bump in the middle
    std::vector<D3DVERTEX> flat, smooth;
    prim.GetD3DVERTEX_MageSheet2_Script(flat, relief, false);
    prim.GetD3DVERTEX_MageSheet2_Script(smooth, relief, true);
    ASSERT_EQ(flat.size(), 48u);
    // Unsmoothed, the two copies of the bump inside a cell differ.
    EXPECT_NE(flat[5].nx, flat[6].nx);
    // Smoothed, the eight copies of the bump (the centre of the 2 x 2 block)
    // and the four copies of each cell centre share one normal each.
    const std::size_t bump[] = {5, 6, 12 + 8, 12 + 9, 24 + 2, 24 + 3, 36 + 0, 36 + 11};
    for (const std::size_t s : bump) {
        EXPECT_EQ(smooth[s].nx, smooth[5].nx) << s;
        EXPECT_EQ(smooth[s].ny, smooth[5].ny) << s;
        EXPECT_EQ(smooth[s].nz, smooth[5].nz) << s;
    }
    // The bump is symmetric, so its blended normal faces straight out.
    EXPECT_NEAR(smooth[5].nx, 0.0f, 1e-5f);
    EXPECT_NEAR(smooth[5].ny, 0.0f, 1e-5f);
    EXPECT_NEAR(smooth[5].nz, -1.0f, 1e-5f);
    for (std::size_t cell = 0; cell < 4; ++cell) {
        const auto& c = smooth[12 * cell + 1];
        for (const std::size_t s : {4u, 7u, 10u}) {
            EXPECT_EQ(smooth[12 * cell + s].nx, c.nx);
            EXPECT_EQ(smooth[12 * cell + s].nz, c.nz);
        }
        EXPECT_NEAR(Length(NormalOf(c)), 1.0f, 1e-5f);
    }
}

}  // namespace
}  // namespace brumil::render
