// Land2: a height-field patch from rows of two-digit cells, and its finer
// twelve-triangle variant.
#include <algorithm>
#include <string>
#include <string_view>

#include "core/val.h"
#include "lattice.h"
#include "render/ark_primitive.h"

namespace brumil::render {

namespace {

// The coarse grid of a Land2 script: heights per (row, column), already
// divided by 80.
struct Land2Grid {
    Long rows = 0, cols = 0;
    std::vector<Single> height;  // rows x cols, row-major
};

// The cell at characters 2c+1 and 2c+2 of a row: the one character left when
// the row ends inside it, 0 when it lies past the end. A cell is read as a
// decimal number; one without a leading number reads 0.
Single CellHeight(std::string_view row, Long c) {
    const auto start = static_cast<std::size_t>(2 * c);
    if (start >= row.size()) return 0.0f;
    return static_cast<Single>(core::Val(row.substr(start, 2)) / 80.0);
}

// Splits at every single space (a run of spaces gives empty rows, which are
// skipped). Fewer than two rows or columns fall back to "4040 4040". Columns
// past what two rows allow, then rows past what the columns allow, are dropped
// so that `maxVertices(rows, cols)` stays within 16-bit indices.
template <typename Fits>
Land2Grid ReadLand2(std::string_view script, Fits fits) {
    std::vector<std::string_view> rows;
    std::size_t widest = 0;
    for (std::size_t pos = 0;;) {
        const std::size_t space = script.find(' ', pos);
        const std::string_view row = script.substr(
            pos, space == std::string_view::npos ? std::string_view::npos : space - pos);
        widest = std::max(widest, row.size());
        if (!row.empty()) rows.push_back(row);
        if (space == std::string_view::npos) break;
        pos = space + 1;
    }
    Long cols = static_cast<Long>(std::min<std::size_t>(widest / 2, 1u << 20));
    if (cols < 2 || rows.size() < 2) {
        rows = {"4040", "4040"};
        cols = 2;
    }
    while (cols > 2 && !fits(2, cols)) --cols;
    auto rowCount = static_cast<Long>(std::min<std::size_t>(rows.size(), 1u << 20));
    while (rowCount > 2 && !fits(rowCount, cols)) --rowCount;
    Land2Grid grid;
    grid.rows = rowCount;
    grid.cols = cols;
    grid.height.resize(static_cast<std::size_t>(rowCount * cols));
    for (Long r = 0; r < rowCount; ++r) {
        for (Long c = 0; c < cols; ++c) {
            grid.height[static_cast<std::size_t>(r * cols + c)] =
                CellHeight(rows[static_cast<std::size_t>(r)], c);
        }
    }
    return grid;
}

bool FitsLand2(Long rows, Long cols) {
    return static_cast<long long>(2 * rows - 1) * (2 * cols - 1) <= CIMArkPrimitive::kMaxVertices;
}

bool FitsLand2Fine(Long rows, Long cols) {
    return 6LL * rows * cols + 1 <= CIMArkPrimitive::kMaxVertices;
}

// Position and texture coordinates of coarse point (r, c): one unit wide and
// deep, row 0 at the far edge.
struct CoarsePoint {
    Single x, y, z, tu, tv;
};

CoarsePoint Coarse(const Land2Grid& g, Long r, Long c) {
    const Single h = g.height[static_cast<std::size_t>(r * g.cols + c)];
    const Single tu = static_cast<Single>(c) / static_cast<Single>(g.cols - 1);
    const Single tv = static_cast<Single>(r) / static_cast<Single>(g.rows - 1);
    return {tu - 0.5f, h - 0.5f, 0.5f - tv, tu, tv};
}

// Normals of the coarse points from their neighbours at the given index
// distances; `allFour` gives interior points all four faces.
void CoarseNormals(std::vector<D3DVERTEX>& v, const Land2Grid& g, Long base(Long, Long, Long),
                   Long colStep, Long rowStep, bool allFour) {
    for (Long r = 0; r < g.rows; ++r) {
        for (Long c = 0; c < g.cols; ++c) {
            const Long p = base(r, c, g.cols);
            auto& P = v[static_cast<std::size_t>(p)];
            auto at = [&](Long i) -> const D3DVERTEX& { return v[static_cast<std::size_t>(i)]; };
            const bool west = c > 0, east = c<g.cols - 1, north = r> 0, south = r < g.rows - 1;
            if (west && east && north && south) {
                CIMArkPrimitive::AddFaceNormal(P, at(p - colStep), at(p - rowStep));
                CIMArkPrimitive::AddFaceNormal(P, at(p + colStep), at(p + rowStep));
                if (allFour) {
                    CIMArkPrimitive::AddFaceNormal(P, at(p - rowStep), at(p + colStep));
                    CIMArkPrimitive::AddFaceNormal(P, at(p + rowStep), at(p - colStep));
                }
            } else {
                if (west && north) {
                    CIMArkPrimitive::AddFaceNormal(P, at(p - colStep), at(p - rowStep));
                }
                if (east && north) {
                    CIMArkPrimitive::AddFaceNormal(P, at(p - rowStep), at(p + colStep));
                }
                if (west && south) {
                    CIMArkPrimitive::AddFaceNormal(P, at(p + rowStep), at(p - colStep));
                }
                if (east && south) {
                    CIMArkPrimitive::AddFaceNormal(P, at(p + colStep), at(p + rowStep));
                }
            }
            CIMArkPrimitive::NormalizeVertexNormal(P);
        }
    }
}

Long Land2Index(Long r, Long c, Long cols) {
    return 2 * r * (2 * cols - 1) + 2 * c;
}
Long Land2FineIndex(Long r, Long c, Long cols) {
    return (6 * cols - 5) * r + 6 * c;
}

}  // namespace

void CIMArkPrimitive::GetD3DVERTEX_Land2(std::vector<D3DVERTEX>& vertices,
                                         std::vector<Integer>& indices,
                                         std::string_view script) const {
    const Land2Grid g = ReadLand2(script, FitsLand2);
    vertices.assign(static_cast<std::size_t>((2 * g.rows - 1) * (2 * g.cols - 1)), D3DVERTEX{});
    for (Long r = 0; r < g.rows; ++r) {
        for (Long c = 0; c < g.cols; ++c) {
            const CoarsePoint p = Coarse(g, r, c);
            CreateVertex(vertices[static_cast<std::size_t>(Land2Index(r, c, g.cols))], p.x, p.y,
                         p.z, 0, 0, 0, p.tu, p.tv);
        }
    }
    const Long stride = 2 * g.cols - 1;
    CoarseNormals(vertices, g, Land2Index, 2, 2 * stride, false);
    detail::RefineLattice(vertices, indices, g.rows, g.cols);
}

void CIMArkPrimitive::GetD3DLVERTEX_Land2(std::vector<D3DLVERTEX>& vertices,
                                          std::vector<Integer>& indices, std::string_view script,
                                          Long color) const {
    const Land2Grid g = ReadLand2(script, FitsLand2);
    vertices.assign(static_cast<std::size_t>((2 * g.rows - 1) * (2 * g.cols - 1)), D3DLVERTEX{});
    for (Long r = 0; r < g.rows; ++r) {
        for (Long c = 0; c < g.cols; ++c) {
            const CoarsePoint p = Coarse(g, r, c);
            CreateLVertex(vertices[static_cast<std::size_t>(Land2Index(r, c, g.cols))], p.x, p.y,
                          p.z, color, p.tu, p.tv);
        }
    }
    detail::RefineLattice(vertices, indices, g.rows, g.cols);
}

void CIMArkPrimitive::GetD3DVERTEX_Land2Fine(std::vector<D3DVERTEX>& vertices,
                                             std::vector<Integer>& indices,
                                             std::string_view script) const {
    const Land2Grid g = ReadLand2(script, FitsLand2Fine);
    const Long stride = 6 * g.cols - 5;
    vertices.assign(static_cast<std::size_t>(6 * g.rows * g.cols + 1), D3DVERTEX{});
    for (Long r = 0; r < g.rows; ++r) {
        for (Long c = 0; c < g.cols; ++c) {
            const CoarsePoint p = Coarse(g, r, c);
            CreateVertex(vertices[static_cast<std::size_t>(Land2FineIndex(r, c, g.cols))], p.x, p.y,
                         p.z, 0, 0, 0, p.tu, p.tv);
        }
    }
    CoarseNormals(vertices, g, Land2FineIndex, 6, stride, true);
    indices.assign(static_cast<std::size_t>(36 * (g.cols - 1) * (g.rows - 1)), 0);
    for (Long r = 0; r + 1 < g.rows; ++r) {
        for (Long c = 0; c + 1 < g.cols; ++c) {
            const Long b = Land2FineIndex(r, c, g.cols);
            const Long p0 = b, p2 = b + 6, p6 = b + stride, p8 = b + stride + 6;
            const Long p1 = b + 1, p3 = b + 2, p4 = b + 3, p5 = b + 4, p7 = b + 5;
            auto mage = [&](Long target, std::initializer_list<Long> from) {
                D3DVERTEX out{};
                CreateVertexMage(vertices, from, out);
                vertices[static_cast<std::size_t>(target)] = out;
            };
            mage(p4, {p0, p2, p6, p8});
            mage(p1, {p0, p2, p4});
            mage(p3, {p0, p6, p4});
            mage(p5, {p2, p8, p4});
            mage(p7, {p6, p8, p4});
            const Long tri[36] = {p0, p2, p1, p2, p4, p1, p4, p2, p5, p2, p8, p5,
                                  p8, p4, p5, p4, p8, p7, p8, p6, p7, p6, p4, p7,
                                  p4, p6, p3, p6, p0, p3, p0, p4, p3, p4, p0, p1};
            auto* out = &indices[static_cast<std::size_t>(36 * ((g.cols - 1) * r + c))];
            for (int k = 0; k < 36; ++k) out[k] = static_cast<Integer>(tri[k]);
        }
    }
}

}  // namespace brumil::render
