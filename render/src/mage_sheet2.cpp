// MageSheet2: an upright sheet one unit wide and high raised towards -z into a
// relief, from a Script text (decimal depths, the caller's colour) or a
// Script2 text (hexadecimal depth and colour per cell). Each grid cell becomes
// four triangles around its centre, drawn as a triangle list without indices.
#include <array>
#include <initializer_list>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

#include "cell_script.h"
#include "render/ark_math.h"
#include "render/ark_primitive.h"

namespace brumil::render {

namespace {

constexpr std::string_view kScriptDefault = "0000 0000";
constexpr std::string_view kScript2Default = "0FFFF 0FFFF : 0FFFF 0FFFF";

std::size_t At(Long i) {
    return static_cast<std::size_t>(i);
}

// One grid point's depth and colour; an absent point (past a Script2 row's
// last cell) leaves a zero vertex.
struct SheetCell {
    bool present = false;
    Single depth = 0;
    Long color = 0;
};

struct SheetTable {
    Long cols = 0;                 // W
    Long rows = 0;                 // R
    std::vector<SheetCell> cells;  // rows x cols, first text row first
    SheetCell& Cell(Long k, Long c) { return cells[At(k * cols + c)]; }
};

// The list holds 12 (W - 1)(R - 1) vertices.
bool SheetGridUsable(long long cols, long long rows) {
    return cols >= 2 && rows >= 2 && 12 * (cols - 1) * (rows - 1) <= CIMArkPrimitive::kMaxVertices;
}

SheetTable ReadSheetScript(std::string_view script) {
    detail::CellRows text = detail::SplitCellRows(script);
    if (!SheetGridUsable(text.cells, static_cast<long long>(text.rows.size()))) {
        text = detail::SplitCellRows(kScriptDefault);
    }
    SheetTable t;
    t.cols = text.cells;
    t.rows = static_cast<Long>(text.rows.size());
    t.cells.resize(At(t.rows * t.cols));
    for (Long k = 0; k < t.rows; ++k) {
        for (Long c = 0; c < t.cols; ++c) {
            const auto cell = detail::CellAt(text.rows[At(k)], c);
            const Long value = cell ? detail::CellNumber(*cell) : 0;
            t.Cell(k, c) = {true, static_cast<Single>(value) / 96.0f, 0};
        }
    }
    return t;
}

SheetTable ReadSheetScript2(std::string_view script) {
    detail::HexRows text = detail::SplitHexRows(script);
    if (!SheetGridUsable(text.cells, static_cast<long long>(text.rows.size()))) {
        text = detail::SplitHexRows(kScript2Default);
    }
    SheetTable t;
    t.cols = text.cells;
    t.rows = static_cast<Long>(text.rows.size());
    t.cells.resize(At(t.rows * t.cols));
    for (Long k = 0; k < t.rows; ++k) {
        const auto& row = text.rows[At(k)];
        for (Long c = 0; c < t.cols && At(c) < row.size(); ++c) {
            const detail::HexCell cell = detail::ReadHexCell(row[At(c)]);
            t.Cell(k, c) = {true, static_cast<Single>(cell.size) / 15.0f, cell.color};
        }
    }
    return t;
}

// Position of grid point (k, c): centred on the origin, raised to -depth.
struct SheetPoint {
    Single x, y, z, tu, tv;
};

SheetPoint Place(const SheetTable& t, Long k, Long c, Single depth) {
    const auto w1 = static_cast<Single>(t.cols - 1), r1 = static_cast<Single>(t.rows - 1);
    const auto kc = static_cast<Single>(k), cc = static_cast<Single>(c);
    return {(cc - w1 / 2.0f) / w1, (kc - r1 / 2.0f) / r1, -depth, cc / w1, 1.0f - kc / r1};
}

template <typename V, typename Make>
std::vector<V> SheetGrid(SheetTable& t, Make make) {
    std::vector<V> grid(At(t.cols * t.rows), V{});
    for (Long k = 0; k < t.rows; ++k) {
        for (Long c = 0; c < t.cols; ++c) {
            const SheetCell& cell = t.Cell(k, c);
            if (cell.present) make(grid[At(k * t.cols + c)], Place(t, k, c, cell.depth), cell);
        }
    }
    return grid;
}

template <typename V>
void Average(std::span<const V> from, std::initializer_list<Long> slots, V& out) {
    if constexpr (std::is_same_v<V, D3DVERTEX>) {
        CIMArkPrimitive::CreateVertexMage(from, slots, out);
    } else {
        CIMArkPrimitive::CreateLVertexMage(from, slots, out);
    }
}

// Each cell (a b / d e, a at the bottom left) becomes twelve vertices: its
// centre M, then the triangles (a, M, b), (b, M, e), (e, M, d), (d, M, a).
template <typename V>
void SheetGridToFanList(std::vector<V>& out, const std::vector<V>& grid, Long w, Long r) {
    if (w < 2 || r < 2) return;
    out.assign(At(12 * (w - 1) * (r - 1)), V{});
    std::size_t n = 0;
    for (Long k = 0; k + 1 < r; ++k) {
        for (Long c = 0; c + 1 < w; ++c) {
            const Long a = k * w + c, b = a + 1, d = a + w, e = d + 1;
            V centre{};
            Average<V>(grid, {a, b, d, e}, centre);
            for (const Long corner : {a, b, b, e, e, d, d, a}) {
                out[n++] = grid[At(corner)];
                if (n % 3 == 1) out[n++] = centre;
            }
        }
    }
}

D3DVECTOR Sub(const D3DVERTEX& a, const D3DVERTEX& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// Every triangle's three vertices get its unit face normal.
void ListFlatNormals(std::vector<D3DVERTEX>& v) {
    for (std::size_t t = 0; t + 2 < v.size(); t += 3) {
        const D3DVECTOR p = Sub(v[t + 1], v[t]), q = Sub(v[t + 2], v[t]);
        D3DVECTOR n{p.y * q.z - p.z * q.y, p.z * q.x - p.x * q.z, p.x * q.y - p.y * q.x};
        NormalizeOrZero(n);
        for (std::size_t i = t; i < t + 3; ++i) {
            v[i].nx = n.x;
            v[i].ny = n.y;
            v[i].nz = n.z;
        }
    }
}

// Every listed slot receives the average of the listed slots: the copies of
// one point share position and texture coordinates, so only the normal moves.
void Blend(std::vector<D3DVERTEX>& v, std::span<const Long> slots) {
    D3DVERTEX mean{};
    CIMArkPrimitive::CreateVertexMage(v, slots, mean);
    for (const Long s : slots) v[At(s)] = mean;
}

void Blend(std::vector<D3DVERTEX>& v, std::initializer_list<Long> slots) {
    Blend(v, std::span<const Long>(slots.begin(), slots.size()));
}

// Slot s of cell (k, c).
Long CellSlot(Long w, Long k, Long c, Long s) {
    return 12 * (k * (w - 1) + c) + s;
}

// The two copies of each corner inside a cell.
void SheetBlendCellCorners(std::vector<D3DVERTEX>& v, Long w, Long r) {
    for (Long k = 0; k + 1 < r; ++k) {
        for (Long c = 0; c + 1 < w; ++c) {
            const Long b = CellSlot(w, k, c, 0);
            static constexpr std::array<std::array<Long, 2>, 4> kCopies = {
                {{0, 11}, {2, 3}, {5, 6}, {8, 9}}};
            for (const auto& pair : kCopies) Blend(v, {b + pair[0], b + pair[1]});
        }
    }
}

// Within each 2 x 2 block of cells P Q (bottom) / S T (top): the shared edges'
// end copies, then the eight copies of the block's centre.
void SheetBlendBlock(std::vector<D3DVERTEX>& v, Long w, Long r) {
    for (Long k = 0; k + 2 < r; ++k) {
        for (Long c = 0; c + 2 < w; ++c) {
            const Long p = CellSlot(w, k, c, 0), q = CellSlot(w, k, c + 1, 0);
            const Long s = CellSlot(w, k + 1, c, 0), t = CellSlot(w, k + 1, c + 1, 0);
            Blend(v, {p + 2, p + 3, q + 0, q + 11});
            Blend(v, {p + 8, p + 9, s + 0, s + 11});
            Blend(v, {q + 5, q + 6, t + 2, t + 3});
            Blend(v, {s + 5, s + 6, t + 8, t + 9});
            Blend(v, {p + 5, p + 6, q + 8, q + 9, s + 2, s + 3, t + 0, t + 11});
        }
    }
}

// The four copies of each cell's centre.
void SheetBlendCellCentre(std::vector<D3DVERTEX>& v, Long w, Long r) {
    for (Long k = 0; k + 1 < r; ++k) {
        for (Long c = 0; c + 1 < w; ++c) {
            const Long b = CellSlot(w, k, c, 0);
            Blend(v, {b + 1, b + 4, b + 7, b + 10});
        }
    }
}

void MageSheet2ScriptBuild(std::vector<D3DVERTEX>& v, Long w, Long r) {
    if (w < 2 || r < 2 || v.size() < At(12 * (w - 1) * (r - 1))) return;
    SheetBlendCellCorners(v, w, r);
    SheetBlendBlock(v, w, r);
    SheetBlendCellCentre(v, w, r);
}

}  // namespace

void CIMArkPrimitive::GetD3DLVERTEX_MageSheet2_Script(std::vector<D3DLVERTEX>& vertices,
                                                      std::string_view script, Long color) const {
    SheetTable t = ReadSheetScript(script);
    const auto grid =
        SheetGrid<D3DLVERTEX>(t, [color](D3DLVERTEX& out, const SheetPoint& p, const SheetCell&) {
            CreateLVertex(out, p.x, p.y, p.z, color, p.tu, p.tv);
        });
    SheetGridToFanList(vertices, grid, t.cols, t.rows);
}

void CIMArkPrimitive::GetD3DLVERTEX_MageSheet2_Script2(std::vector<D3DLVERTEX>& vertices,
                                                       std::string_view script) const {
    SheetTable t = ReadSheetScript2(script);
    const auto grid =
        SheetGrid<D3DLVERTEX>(t, [](D3DLVERTEX& out, const SheetPoint& p, const SheetCell& cell) {
            CreateLVertex(out, p.x, p.y, p.z, cell.color, p.tu, p.tv);
        });
    SheetGridToFanList(vertices, grid, t.cols, t.rows);
}

void CIMArkPrimitive::GetD3DVERTEX_MageSheet2_Script(std::vector<D3DVERTEX>& vertices,
                                                     std::string_view script, bool smooth) const {
    SheetTable t = ReadSheetScript(script);
    const auto grid =
        SheetGrid<D3DVERTEX>(t, [](D3DVERTEX& out, const SheetPoint& p, const SheetCell&) {
            CreateVertex(out, p.x, p.y, p.z, 0, 0, 0, p.tu, p.tv);
        });
    SheetGridToFanList(vertices, grid, t.cols, t.rows);
    ListFlatNormals(vertices);
    if (smooth) MageSheet2ScriptBuild(vertices, t.cols, t.rows);
}

}  // namespace brumil::render
