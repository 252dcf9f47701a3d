// Revolution2: a stack of radius rings swept around the vertical axis (a
// vase, a pillar), from a Script text (decimal radii, the caller's colour) or
// a Script2 text (hexadecimal radius and colour per cell). The result is one
// triangle strip without indices.
#include <cmath>
#include <string_view>
#include <vector>

#include "cell_script.h"
#include "render/ark_math.h"
#include "render/ark_primitive.h"

namespace brumil::render {

namespace {

// The generators' turn: 6.283 exactly, so a ring's last cell does not quite
// reach its first; the closing column covers the gap.
constexpr Single kRingTurn = 6.283f;
// Radii below this are raised so the lit form's faces keep a direction.
constexpr Single kMinRadius = 0.000001f;

constexpr std::string_view kScriptDefault = "808080 808080";
constexpr std::string_view kScript2Default = "FFFFF FFFFF FFFFF : FFFFF FFFFF FFFFF";

std::size_t At(Long i) {
    return static_cast<std::size_t>(i);
}

// One ring cell of grid row k, column c < W - 1; an absent cell (past a
// Script2 row's last cell) leaves a zero vertex.
struct RingCell {
    bool present = false;
    Single radius = 0;
    Long color = 0;
};

// The cells of every grid row, bottom row (the text's last) first.
struct RingTable {
    Long cols = 0;                // W, the closing column included
    Long rows = 0;                // R
    std::vector<RingCell> cells;  // rows x (cols - 1)
    RingCell& Cell(Long k, Long c) { return cells[At(k * (cols - 1) + c)]; }
};

// The strip holds 2 W (R - 1) vertices; the text must give at least 4 columns
// (three cells and the closing one) and 2 rows, and fit the vertex limit.
bool RingGridUsable(long long cols, long long rows) {
    return cols >= 4 && rows >= 2 && 2 * cols * (rows - 1) <= CIMArkPrimitive::kMaxVertices;
}

RingTable ReadRingScript(std::string_view script) {
    detail::CellRows text = detail::SplitCellRows(script);
    if (!RingGridUsable(text.cells + 1LL, static_cast<long long>(text.rows.size()))) {
        text = detail::SplitCellRows(kScriptDefault);
    }
    RingTable t;
    t.cols = text.cells + 1;
    t.rows = static_cast<Long>(text.rows.size());
    t.cells.resize(At(t.rows * (t.cols - 1)));
    // The radius carries over from cell to cell and row to row: an empty cell
    // or "_" repeats the last one read. Cell W - 1 is read for its carry only;
    // its column is the ring's closure.
    Single last = 0;
    for (Long k = 0; k < t.rows; ++k) {
        const std::string_view row = text.rows[At(t.rows - 1 - k)];
        for (Long c = 0; c < t.cols; ++c) {
            const auto cell = detail::CellAt(row, c);
            if (cell && *cell != "_") {
                last = static_cast<Single>(detail::CellNumber(*cell)) / 160.0f;
            }
            if (c < t.cols - 1) t.Cell(k, c) = {true, last, 0};
        }
    }
    return t;
}

RingTable ReadRingScript2(std::string_view script) {
    detail::HexRows text = detail::SplitHexRows(script);
    if (!RingGridUsable(text.cells + 1LL, static_cast<long long>(text.rows.size()))) {
        text = detail::SplitHexRows(kScript2Default);
    }
    RingTable t;
    t.cols = text.cells + 1;
    t.rows = static_cast<Long>(text.rows.size());
    t.cells.resize(At(t.rows * (t.cols - 1)));
    for (Long k = 0; k < t.rows; ++k) {
        const auto& row = text.rows[At(t.rows - 1 - k)];
        for (Long c = 0; c < t.cols - 1 && At(c) < row.size(); ++c) {
            const detail::HexCell cell = detail::ReadHexCell(row[At(c)]);
            t.Cell(k, c) = {true, static_cast<Single>(cell.size + 1) / 32.0f, cell.color};
        }
    }
    return t;
}

// The R x W working grid: ring points, then each ring closed on its first
// point with tu 1.
template <typename V, typename Make>
std::vector<V> RingGrid(RingTable& t, Make make) {
    const Long w = t.cols, r = t.rows;
    std::vector<V> grid(At(w * r), V{});
    for (Long k = 0; k < r; ++k) {
        const Single tv = 1.0f - static_cast<Single>(k) / static_cast<Single>(r - 1);
        const Single y = static_cast<Single>(k) / static_cast<Single>(r - 1) - 0.5f;
        for (Long c = 0; c < w - 1; ++c) {
            const RingCell& cell = t.Cell(k, c);
            if (!cell.present) continue;
            const Single a = static_cast<Single>(c) * kRingTurn / static_cast<Single>(w - 1);
            const Single tu = static_cast<Single>(c) / static_cast<Single>(w - 1);
            make(grid[At(k * w + c)], a, y, cell, tu, tv);
        }
        V& closing = grid[At(k * w + w - 1)];
        closing = grid[At(k * w)];
        closing.tu = 1.0f;
        closing.tv = tv;
    }
    return grid;
}

// Grid to strip order: each row pair zigzags up its band, the bands follow
// each other with two zero-area junction triangles between them.
template <typename V>
void RevolutionGridToStrip(std::vector<V>& out, const std::vector<V>& grid, Long w, Long r) {
    if (w < 4 || r < 2) return;
    out.clear();
    out.reserve(At(2 * w * (r - 1)));
    for (Long k = 0; k + 1 < r; ++k) {
        for (Long c = 0; c < w; ++c) {
            out.push_back(grid[At(k * w + c)]);
            out.push_back(grid[At((k + 1) * w + c)]);
        }
    }
}

D3DVECTOR Sub(const D3DVERTEX& a, const D3DVERTEX& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

D3DVECTOR Cross(const D3DVECTOR& a, const D3DVECTOR& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

void SetNormal(D3DVERTEX& v, D3DVECTOR n) {
    v.nx = n.x;
    v.ny = n.y;
    v.nz = n.z;
}

void CopyNormal(D3DVERTEX& to, const D3DVERTEX& from) {
    to.nx = from.nx;
    to.ny = from.ny;
    to.nz = from.nz;
}

// normalise((n(a) + n(b)) / 2).
D3DVECTOR MeanNormal(const D3DVERTEX& a, const D3DVERTEX& b) {
    D3DVECTOR n{(a.nx + b.nx) / 2.0f, (a.ny + b.ny) / 2.0f, (a.nz + b.nz) / 2.0f};
    NormalizeOrZero(n);
    return n;
}

// Each vertex of the run gets the unit normal of the strip triangle it starts,
// the strip's alternating winding undone.
void StripFlatNormals(std::vector<D3DVERTEX>& v, Long start, Long count) {
    for (Long i = start; i < start + count && At(i + 2) < v.size(); ++i) {
        const D3DVERTEX& a = v[At(i)];
        const D3DVERTEX& b = v[At(i + 1)];
        const D3DVERTEX& c = v[At(i + 2)];
        D3DVECTOR n =
            (i - start) % 2 == 0 ? Cross(Sub(b, a), Sub(c, a)) : Cross(Sub(a, b), Sub(c, b));
        NormalizeOrZero(n);
        SetNormal(v[At(i)], n);
    }
}

// Smooth normals over the strip: flat normals per band, blended along each
// band, then across the seams between bands.
void Revolution2ScriptBuild(std::vector<D3DVERTEX>& v, Long w, Long r) {
    if (w < 4 || r < 2 || v.size() < At(2 * w * (r - 1))) return;
    for (Long s = 0; s + 1 < r; ++s) {
        const Long b = 2 * w * s;
        StripFlatNormals(v, b, 2 * w - 2);
        CopyNormal(v[At(b + 2 * w - 2)], v[At(b)]);
        CopyNormal(v[At(b + 2 * w - 1)], v[At(b + 1)]);
    }
    for (Long s = 0; s + 1 < r; ++s) {
        const Long b = 2 * w * s;
        for (Long c = 0; c + 1 < w; ++c) {
            const Long i = b + 2 * c;
            SetNormal(v[At(i + 2)], MeanNormal(v[At(i + 3)], v[At(i + 1)]));
        }
        SetNormal(v[At(b)], MeanNormal(v[At(b + 1)], v[At(b + 2 * w - 1)]));
        CopyNormal(v[At(b + 2 * w - 2)], v[At(b)]);
        for (Long c = 0; c < w; ++c) CopyNormal(v[At(b + 2 * c + 1)], v[At(b + 2 * c)]);
    }
    for (Long s = 0; s + 2 < r; ++s) {
        for (Long c = 0; c < w; ++c) {
            D3DVERTEX& upper = v[At(2 * w * s + 1 + 2 * c)];
            D3DVERTEX& lower = v[At(2 * w * (s + 1) + 2 * c)];
            const D3DVECTOR n = MeanNormal(upper, lower);
            SetNormal(upper, n);
            SetNormal(lower, n);
        }
    }
}

void MakeLRing(D3DLVERTEX& out, Single a, Single y, const RingCell& cell, Long color, Single tu,
               Single tv) {
    CIMArkPrimitive::CreateLVertex(out, -std::sin(a) * cell.radius, y, std::cos(a) * cell.radius,
                                   color, tu, tv);
}

}  // namespace

void CIMArkPrimitive::GetD3DLVERTEX_Revolution2_Script(std::vector<D3DLVERTEX>& vertices,
                                                       std::string_view script, Long color) const {
    RingTable t = ReadRingScript(script);
    const auto grid = RingGrid<D3DLVERTEX>(
        t, [color](D3DLVERTEX& out, Single a, Single y, const RingCell& cell, Single tu,
                   Single tv) { MakeLRing(out, a, y, cell, color, tu, tv); });
    RevolutionGridToStrip(vertices, grid, t.cols, t.rows);
}

void CIMArkPrimitive::GetD3DLVERTEX_Revolution2_Script2(std::vector<D3DLVERTEX>& vertices,
                                                        std::string_view script) const {
    RingTable t = ReadRingScript2(script);
    const auto grid = RingGrid<D3DLVERTEX>(
        t, [](D3DLVERTEX& out, Single a, Single y, const RingCell& cell, Single tu, Single tv) {
            MakeLRing(out, a, y, cell, cell.color, tu, tv);
        });
    RevolutionGridToStrip(vertices, grid, t.cols, t.rows);
}

void CIMArkPrimitive::GetD3DVERTEX_Revolution2_Script(std::vector<D3DVERTEX>& vertices,
                                                      std::string_view script) const {
    RingTable t = ReadRingScript(script);
    const auto grid = RingGrid<D3DVERTEX>(
        t, [](D3DVERTEX& out, Single a, Single y, const RingCell& cell, Single tu, Single tv) {
            const Single radius = cell.radius < kMinRadius ? kMinRadius : cell.radius;
            CreateVertex(out, -std::sin(a) * radius, y, std::cos(a) * radius, 0, 0, 0, tu, tv);
        });
    RevolutionGridToStrip(vertices, grid, t.cols, t.rows);
    Revolution2ScriptBuild(vertices, t.cols, t.rows);
}

}  // namespace brumil::render
