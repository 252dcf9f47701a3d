#pragma once
// One fuzz input through the scene text reader (tree, table, file) and the
// Revolution2 and MageSheet2 cell-text generators. Any byte string is a valid
// input; the answer names the first broken invariant ("" when all held):
// - the text written from what was read reads back to the same text;
// - the generators stay within the vertex limit, in whole triangles, with
//   finite positions and normals.

#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "render/ark_primitive.h"
#include "render/hb_data.h"
#include "render/hb_data_file.h"
#include "render/pva_data.h"

namespace brumil::render::fuzz {

template <typename V>
bool VerticesSound(const std::vector<V>& v, std::size_t multiple) {
    if (v.size() > static_cast<std::size_t>(CIMArkPrimitive::kMaxVertices)) return false;
    if (v.empty() || v.size() % multiple != 0) return false;
    for (const V& p : v) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
    }
    return true;
}

inline bool NormalsFinite(const std::vector<D3DVERTEX>& v) {
    for (const D3DVERTEX& p : v) {
        if (!std::isfinite(p.nx) || !std::isfinite(p.ny) || !std::isfinite(p.nz)) return false;
    }
    return true;
}

inline std::string SceneFuzzOne(std::span<const std::uint8_t> bytes) {
    const std::string text(bytes.begin(), bytes.end());

    PVAData tree;
    tree.strData(text);
    const std::string written = tree.strData();
    PVAData again;
    again.strData(written);
    if (again.strData() != written) return "tree text does not read back";

    CHBData table;
    table.PVASetStrData(text);
    const std::string tableText = table.PVAGetStrData();
    CHBData tableAgain;
    if (!tableAgain.PVASetStrData(tableText).empty()) return "table text rejected";
    if (tableAgain.PVAGetStrData() != tableText) return "table text does not read back";

    CHBDataFile file;
    file.strData(text);
    const std::string fileText = file.strData();
    CHBDataFile fileAgain;
    fileAgain.strData(fileText);
    if (fileAgain.strData() != fileText) return "file text does not read back";

    const CIMArkPrimitive prim;
    std::vector<D3DLVERTEX> l;
    std::vector<D3DVERTEX> v;
    prim.GetD3DLVERTEX_Revolution2_Script(l, text, 0);
    if (!VerticesSound(l, 2)) return "Revolution2 Script";
    prim.GetD3DLVERTEX_Revolution2_Script2(l, text);
    if (!VerticesSound(l, 2)) return "Revolution2 Script2";
    prim.GetD3DVERTEX_Revolution2_Script(v, text);
    if (!VerticesSound(v, 2) || !NormalsFinite(v)) return "lit Revolution2";
    prim.GetD3DLVERTEX_MageSheet2_Script(l, text, 0);
    if (!VerticesSound(l, 12)) return "MageSheet2 Script";
    prim.GetD3DLVERTEX_MageSheet2_Script2(l, text);
    if (!VerticesSound(l, 12)) return "MageSheet2 Script2";
    prim.GetD3DVERTEX_MageSheet2_Script(v, text, !text.empty() && (text[0] & 1) != 0);
    if (!VerticesSound(v, 12) || !NormalsFinite(v)) return "lit MageSheet2";
    return "";
}

}  // namespace brumil::render::fuzz
