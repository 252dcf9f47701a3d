// The land generators: a height-field patch from a primitive script, lit
// (normals from the neighbouring faces) or pre-lit (colour per grid point).
#include <algorithm>
#include <array>

#include "lattice.h"
#include "render/ark_primitive.h"

namespace brumil::render {

namespace {

std::size_t At(Long i) {
    return static_cast<std::size_t>(i);
}

// Position and texture coordinates of grid point (j, i): x from the column,
// z from the row, the height raised to the row's and the column's floors.
struct GridPoint {
    Single x, y, z, tu, tv;
};

GridPoint Point(const PrimitiveScriptLists& l, Long j, Long i) {
    const Long k = j * l.Columns() + i;
    const std::array<Single, 3> heights = {l.a[At(k)], l.e[At(j)], l.r[At(i)]};
    return {l.w[At(i)] - 0.5f, *std::max_element(heights.begin(), heights.end()), 0.5f - l.h[At(j)],
            l.u[At(k)], 1.0f - l.v[At(k)]};
}

Long LatticeIndex(Long j, Long i, Long cols) {
    return 2 * j * (2 * cols - 1) + 2 * i;
}

// Normals of the grid points from the faces they share with their left (L),
// right (R), upper (U, row j - 1) and lower (D, row j + 1) neighbours.
void GridNormals(std::vector<D3DVERTEX>& v, Long rows, Long cols) {
    const Long colStep = 2, rowStep = 2 * (2 * cols - 1);
    for (Long j = 0; j < rows; ++j) {
        for (Long i = 0; i < cols; ++i) {
            const Long p = LatticeIndex(j, i, cols);
            auto& P = v[At(p)];
            auto at = [&](Long n) -> const D3DVERTEX& { return v[At(n)]; };
            const Long l = p - colStep, r = p + colStep, u = p - rowStep, d = p + rowStep;
            const bool left = i > 0, right = i<cols - 1, up = j> 0, down = j < rows - 1;
            if (left && right && up && down) {
                CIMArkPrimitive::AddFaceNormal(P, at(l), at(u));
                CIMArkPrimitive::AddFaceNormal(P, at(r), at(d));
            } else {
                if (left && up) CIMArkPrimitive::AddFaceNormal(P, at(l), at(u));
                if (right && up) CIMArkPrimitive::AddFaceNormal(P, at(u), at(r));
                if (left && down) CIMArkPrimitive::AddFaceNormal(P, at(d), at(l));
                if (right && down) CIMArkPrimitive::AddFaceNormal(P, at(r), at(d));
            }
            CIMArkPrimitive::NormalizeVertexNormal(P);
        }
    }
}

}  // namespace

void CIMArkPrimitive::GetD3DVERTEX_Land(std::vector<D3DVERTEX>& vertices,
                                        std::vector<Integer>& indices, std::string_view script) {
    ReadPrimitiveScript(script, 0.0f, 0);
    const auto& l = scriptLists_;
    const Long rows = l.Rows(), cols = l.Columns();
    vertices.assign(At((2 * rows - 1) * (2 * cols - 1)), D3DVERTEX{});
    for (Long j = 0; j < rows; ++j) {
        for (Long i = 0; i < cols; ++i) {
            const GridPoint g = Point(l, j, i);
            CreateVertex(vertices[At(LatticeIndex(j, i, cols))], g.x, g.y, g.z, 0, 0, 0, g.tu,
                         g.tv);
        }
    }
    GridNormals(vertices, rows, cols);
    detail::RefineLattice(vertices, indices, rows, cols);
}

void CIMArkPrimitive::GetD3DLVERTEX_Land(std::vector<D3DLVERTEX>& vertices,
                                         std::vector<Integer>& indices, std::string_view script,
                                         Long color) {
    ReadPrimitiveScript(script, 0.0f, color);
    const auto& l = scriptLists_;
    const Long rows = l.Rows(), cols = l.Columns();
    vertices.assign(At((2 * rows - 1) * (2 * cols - 1)), D3DLVERTEX{});
    for (Long j = 0; j < rows; ++j) {
        for (Long i = 0; i < cols; ++i) {
            const GridPoint g = Point(l, j, i);
            CreateLVertex(vertices[At(LatticeIndex(j, i, cols))], g.x, g.y, g.z,
                          l.c[At(j * cols + i)], g.tu, g.tv);
        }
    }
    detail::RefineLattice(vertices, indices, rows, cols);
}

}  // namespace brumil::render
