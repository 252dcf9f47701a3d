// The grid generators: surfaces of revolution, their square-section twin and
// the grid index lists.
#include "render/primitive_basic.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "render/ark_primitive.h"

namespace brumil::render {

namespace {

// A full turn as the generators have always taken it (not 2 pi).
constexpr Single kTurn = 6.283184f;

std::size_t At(Long i) {
    return static_cast<std::size_t>(i);
}

// The smallest of the point's factor and its row's and column's caps.
Single PointSize(const PrimitiveScriptLists& l, Long j, Long i) {
    const Long k = j * l.Columns() + i;
    const std::array<Single, 3> sizes = {l.a[At(k)], l.e[At(j)], l.r[At(i)]};
    return *std::min_element(sizes.begin(), sizes.end());
}

struct GridPoint {
    Single x, y, z;
};

enum class Outline { kCircle, kSquare };

GridPoint Place(const PrimitiveScriptLists& l, Long j, Long i, Outline outline) {
    const Single size = PointSize(l, j, i);
    const Single y = l.h[At(j)] - 0.5f;
    if (outline == Outline::kCircle) {
        const Single radius = 0.5f * size;
        const Single angle = l.w[At(i)] * kTurn;
        return {std::cos(angle) * radius, y, std::sin(angle) * radius};
    }
    const OutlinePoint p = SquareOutlinePoint(size, l.w[At(i)]);
    return {p.x, y, p.z};
}

// Fills the W x H grid row by row with make(vertex, point, k), then closes
// the seam when the columns run from exactly 0 to exactly 1.
template <typename V, typename Make>
void BuildGrid(const PrimitiveScriptLists& l, Outline outline, std::vector<V>& vertices,
               std::vector<Integer>& indices, Make make) {
    const Long cols = l.Columns(), rows = l.Rows();
    indices = BuildGridStripIndices(cols, rows);
    vertices.assign(At(cols * rows), V{});
    for (Long j = 0; j < rows; ++j) {
        for (Long i = 0; i < cols; ++i) {
            const Long k = j * cols + i;
            make(vertices[At(k)], Place(l, j, i, outline), k);
        }
    }
    if (l.w.front() == 0.0f && l.w.back() == 1.0f) {
        for (Long j = 0; j < rows; ++j) {
            const V& first = vertices[At(j * cols)];
            V& last = vertices[At(j * cols + cols - 1)];
            last.x = first.x;
            last.y = first.y;
            last.z = first.z;
        }
    }
}

void PlainGrid(CIMArkPrimitive& primitive, Outline outline, std::vector<D3DVERTEX>& vertices,
               std::vector<Integer>& indices, std::string_view script) {
    primitive.ReadPrimitiveScript(script, 1.0f, 0);
    const auto& l = primitive.ScriptLists();
    BuildGrid(l, outline, vertices, indices, [&](D3DVERTEX& v, const GridPoint& p, Long k) {
        CIMArkPrimitive::CreateVertex(v, p.x, p.y, p.z, 0, 0, 0, l.u[At(k)], l.v[At(k)]);
    });
    CIMArkPrimitive::ComputeStripNormals(vertices, indices);
    // Both seam points of every row share one normal, closed seam or not.
    const Long cols = l.Columns();
    for (Long j = 0; j < l.Rows(); ++j) {
        CIMArkPrimitive::Math_D3DVERTEX_NormalMage(vertices[At(j * cols + cols - 1)],
                                                   vertices[At(j * cols)]);
    }
}

void LitGrid(CIMArkPrimitive& primitive, Outline outline, std::vector<D3DLVERTEX>& vertices,
             std::vector<Integer>& indices, std::string_view script, Long color) {
    primitive.ReadPrimitiveScript(script, 1.0f, color);
    const auto& l = primitive.ScriptLists();
    BuildGrid(l, outline, vertices, indices, [&](D3DLVERTEX& v, const GridPoint& p, Long k) {
        CIMArkPrimitive::CreateLVertex(v, p.x, p.y, p.z, l.c[At(k)], l.u[At(k)], l.v[At(k)]);
    });
}

}  // namespace

std::vector<Integer> BuildGridStripIndices(Long columns, Long rows) {
    std::vector<Integer> out;
    if (columns <= 0 || rows <= 1) return out;
    out.reserve(At((rows - 1) * columns * 2));
    for (Long r = 0; r + 1 < rows; ++r) {
        for (Long c = 0; c < columns; ++c) {
            out.push_back(static_cast<Integer>(columns * r + c));
            out.push_back(static_cast<Integer>(columns * (r + 1) + c));
        }
    }
    return out;
}

std::vector<Integer> BuildGridListIndices(Long columns, Long rows) {
    std::vector<Integer> out;
    if (columns <= 1 || rows <= 1) return out;
    out.reserve(At((6 * columns - 6) * (rows - 1)));
    for (Long r = 0; r + 1 < rows; ++r) {
        for (Long c = 0; c + 1 < columns; ++c) {
            const Long top = columns * r + c, bottom = columns * (r + 1) + c;
            for (Long e : {top, bottom, top + 1, bottom, bottom + 1, top + 1}) {
                out.push_back(static_cast<Integer>(e));
            }
        }
    }
    return out;
}

OutlinePoint SquareOutlinePoint(Single size, Single t) {
    const Single h = 0.5f * size;
    if (!(t > 0.0f && t < 1.0f)) return {h, h};
    if (t == 0.25f) return {-h, h};
    if (t == 0.5f) return {-h, -h};
    if (t == 0.75f) return {h, -h};
    if (t < 0.25f) return {(0.5f - t / 0.25f) * size, h};
    if (t < 0.5f) return {-h, (0.5f - (t - 0.25f) / 0.25f) * size};
    if (t < 0.75f) return {((t - 0.5f) / 0.25f - 0.5f) * size, -h};
    return {h, ((t - 0.75f) / 0.25f - 0.5f) * size};
}

void GetD3DVERTEX_Revolution(CIMArkPrimitive& primitive, std::vector<D3DVERTEX>& vertices,
                             std::vector<Integer>& indices, std::string_view script) {
    PlainGrid(primitive, Outline::kCircle, vertices, indices, script);
}

void GetD3DLVERTEX_Revolution(CIMArkPrimitive& primitive, std::vector<D3DLVERTEX>& vertices,
                              std::vector<Integer>& indices, std::string_view script, Long color) {
    LitGrid(primitive, Outline::kCircle, vertices, indices, script, color);
}

void GetD3DVERTEX_Tetra(CIMArkPrimitive& primitive, std::vector<D3DVERTEX>& vertices,
                        std::vector<Integer>& indices, std::string_view script) {
    PlainGrid(primitive, Outline::kSquare, vertices, indices, script);
}

void GetD3DLVERTEX_Tetra(CIMArkPrimitive& primitive, std::vector<D3DLVERTEX>& vertices,
                         std::vector<Integer>& indices, std::string_view script, Long color) {
    LitGrid(primitive, Outline::kSquare, vertices, indices, script, color);
}

void CIMArkPrimitive::GetD3DVERTEX_Revolution(std::vector<D3DVERTEX>& vertices,
                                              std::vector<Integer>& indices,
                                              std::string_view script) {
    render::GetD3DVERTEX_Revolution(*this, vertices, indices, script);
}

void CIMArkPrimitive::GetD3DLVERTEX_Revolution(std::vector<D3DLVERTEX>& vertices,
                                               std::vector<Integer>& indices,
                                               std::string_view script, Long color) {
    render::GetD3DLVERTEX_Revolution(*this, vertices, indices, script, color);
}

void CIMArkPrimitive::GetD3DVERTEX_Tetra(std::vector<D3DVERTEX>& vertices,
                                         std::vector<Integer>& indices, std::string_view script) {
    render::GetD3DVERTEX_Tetra(*this, vertices, indices, script);
}

void CIMArkPrimitive::GetD3DLVERTEX_Tetra(std::vector<D3DLVERTEX>& vertices,
                                          std::vector<Integer>& indices, std::string_view script,
                                          Long color) {
    render::GetD3DLVERTEX_Tetra(*this, vertices, indices, script, color);
}

}  // namespace brumil::render
