#pragma once
// CIMArkPrimitive: the geometry generators of the 3D library. Every generator
// replaces the caller's vertex array (and index array where the shape is
// indexed) with a new shape. Most shapes are triangle lists; the surfaces of
// revolution are triangle strips (indexed for the token-script ones, without
// indices for Revolution2). The VERTEX form carries normals for lit drawing,
// the LVERTEX form one colour for pre-lit drawing; both forms of a shape share
// positions, texture coordinates, order and indices.
//
// Every generator keeps its vertex count within 32768, so 16-bit indices
// always reach: sphere divisions are limited to 256, Land2 grids drop the rows
// and columns that do not fit, and a Revolution2 or MageSheet2 text whose
// vertex array would pass the limit is replaced by the generator's default.

#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "core/vb_types.h"
#include "platform/gfx/d3d_types.h"
#include "render/primitive_script.h"

namespace brumil::render {

using platform::D3DLVERTEX;
using platform::D3DVERTEX;

struct BillBoardTables;

class CIMArkPrimitive {
public:
    static constexpr Long kMaxSphereDivisions = 256;
    static constexpr Long kMaxVertices = 32768;

    // ---- Vertex makers and normal routines --------------------------------
    static void CreateVertex(D3DVERTEX& out, Single x, Single y, Single z, Single nx, Single ny,
                             Single nz, Single tu, Single tv);
    // Reserved and specular stay as they were.
    static void CreateLVertex(D3DLVERTEX& out, Single x, Single y, Single z, Long color, Single tu,
                              Single tv);
    // The mean position and texture coordinates of the listed vertices, with
    // the normalised sum of their normals; all zero for an empty list. Indices
    // outside the array are left out of the mean.
    static void CreateVertexMage(std::span<const D3DVERTEX> vertices, std::span<const Long> indices,
                                 D3DVERTEX& out);
    static void CreateVertexMage(std::span<const D3DVERTEX> vertices,
                                 std::initializer_list<Long> indices, D3DVERTEX& out) {
        CreateVertexMage(vertices, std::span<const Long>(indices.begin(), indices.size()), out);
    }
    // As CreateVertexMage; each 8-bit colour channel is averaged on its own
    // with the remainder dropped; reserved and specular become 0.
    static void CreateLVertexMage(std::span<const D3DLVERTEX> vertices,
                                  std::span<const Long> indices, D3DLVERTEX& out);
    static void CreateLVertexMage(std::span<const D3DLVERTEX> vertices,
                                  std::initializer_list<Long> indices, D3DLVERTEX& out) {
        CreateLVertexMage(vertices, std::span<const Long>(indices.begin(), indices.size()), out);
    }
    // Both get the normalised sum of their normals.
    static void Math_D3DVERTEX_NormalMage(D3DVERTEX& a, D3DVERTEX& b);
    // P's normal += (A - P) x (B - P), not normalised: larger faces weigh more.
    static void AddFaceNormal(D3DVERTEX& p, const D3DVERTEX& a, const D3DVERTEX& b);
    static void NormalizeVertexNormal(D3DVERTEX& p);
    // P's normal becomes normalise(P's normal + normalise((A - P) x (B - P))); a
    // degenerate face (zero cross product) leaves P unchanged.
    static void AddFaceNormalNormalized(D3DVERTEX& p, const D3DVERTEX& a, const D3DVERTEX& b);
    // Face normals of an indexed triangle strip (alternate windings undone) or
    // list into every corner. Triangles with an index outside the array are
    // skipped.
    static void ComputeStripNormals(std::span<D3DVERTEX> vertices,
                                    std::span<const Integer> indices);
    static void ComputeListNormals(std::span<D3DVERTEX> vertices, std::span<const Integer> indices);

    // ---- Box, spheres, Land2 ------------------------------------------------
    // Six faces of six vertices around the origin, edge `size`.
    void GetD3DVERTEX_solid36(std::vector<D3DVERTEX>& vertices, Single size) const;
    void GetD3DLVERTEX_solid36(std::vector<D3DLVERTEX>& vertices, Single size, Long color) const;
    // Divisions are limited to 4..256; `size` is the diameter.
    void GetD3DVERTEX_shpere2(std::vector<D3DVERTEX>& vertices, std::vector<Integer>& indices,
                              Long divisions, Single size) const;
    void GetD3DLVERTEX_shpere2(std::vector<D3DLVERTEX>& vertices, std::vector<Integer>& indices,
                               Long divisions, Single size, Long color) const;
    // The sky sphere seen from inside: a doubled seam so the texture wraps
    // `wrap` times around; normals point inwards.
    void GetD3DVERTEX_AirShpere(std::vector<D3DVERTEX>& vertices, std::vector<Integer>& indices,
                                Long divisions, Long wrap, Single size) const;
    // Height-field patch from rows of two-digit cells separated by spaces
    // ("4040 4040"; 40 is height 0, 00 is -0.5, 80 is +0.5).
    void GetD3DVERTEX_Land2(std::vector<D3DVERTEX>& vertices, std::vector<Integer>& indices,
                            std::string_view script) const;
    void GetD3DLVERTEX_Land2(std::vector<D3DLVERTEX>& vertices, std::vector<Integer>& indices,
                             std::string_view script, Long color) const;
    // The same patch split into twelve triangles per cell; no caller uses it.
    void GetD3DVERTEX_Land2Fine(std::vector<D3DVERTEX>& vertices, std::vector<Integer>& indices,
                                std::string_view script) const;

    // ---- Primitive script and land ------------------------------------------
    // Replace the stored lists with those of the script (see primitive_script.h).
    void ReadPrimitiveScript(std::string_view script, Single defaultHeight, Long defaultColor);
    void ReadBillBoardScript(std::string_view script);
    const PrimitiveScriptLists& ScriptLists() const { return scriptLists_; }
    const BillBoardScriptLists& BillBoardLists() const { return billBoardLists_; }

    // Land patch from a primitive script: (2H - 1) x (2W - 1) lattice points,
    // 24 indices per grid cell.
    void GetD3DVERTEX_Land(std::vector<D3DVERTEX>& vertices, std::vector<Integer>& indices,
                           std::string_view script);
    void GetD3DLVERTEX_Land(std::vector<D3DLVERTEX>& vertices, std::vector<Integer>& indices,
                            std::string_view script, Long color);

    // ---- Revolutions and billboard tables (see primitive_basic.h) -------------
    void GetD3DVERTEX_Revolution(std::vector<D3DVERTEX>& vertices, std::vector<Integer>& indices,
                                 std::string_view script);
    void GetD3DLVERTEX_Revolution(std::vector<D3DLVERTEX>& vertices, std::vector<Integer>& indices,
                                  std::string_view script, Long color);
    void GetD3DVERTEX_Tetra(std::vector<D3DVERTEX>& vertices, std::vector<Integer>& indices,
                            std::string_view script);
    void GetD3DLVERTEX_Tetra(std::vector<D3DLVERTEX>& vertices, std::vector<Integer>& indices,
                             std::string_view script, Long color);
    void BillBoardOffset(std::string_view script, Long reserved, BillBoardTables& tables);

    // ---- Revolution2 and MageSheet2 cell texts -------------------------------------
    // Script texts: rows separated by single spaces, each row a run of
    // two-character decimal cells (a cell that does not begin with a digit
    // reads 0). Script2 texts: rows separated by ":", cells separated by
    // spaces, each cell five hexadecimal digits S A R G B; the colour is each
    // channel digit times 17.
    //
    // Revolution2: a strip without indices of 2 W (R - 1) vertices, W = cells
    // per row + 1 (the last column closes each ring on its first point, tu 1).
    // The text's last row is the bottom ring (y -0.5), its first the top
    // (y +0.5). A Script cell is the radius times 160; an empty cell or "_"
    // repeats the last radius read, across rows too. A Script2 radius is
    // (S + 1) / 32. Fewer than 3 cells or 2 rows give "808080 808080" (Script)
    // or "FFFFF FFFFF FFFFF : FFFFF FFFFF FFFFF" (Script2). The lit form raises
    // radii below 0.000001 and smooths its normals across columns and rows.
    void GetD3DLVERTEX_Revolution2_Script(std::vector<D3DLVERTEX>& vertices,
                                          std::string_view script, Long color) const;
    void GetD3DLVERTEX_Revolution2_Script2(std::vector<D3DLVERTEX>& vertices,
                                           std::string_view script) const;
    void GetD3DVERTEX_Revolution2_Script(std::vector<D3DVERTEX>& vertices,
                                         std::string_view script) const;
    // MageSheet2: an upright unit sheet centred on the origin, raised to -depth;
    // the text's first row is the bottom. A list without indices of
    // 12 (W - 1)(R - 1) vertices: each cell is four triangles around its centre.
    // A Script depth is the cell / 96, a Script2 depth S / 15. Fewer than 2
    // cells or 2 rows give "0000 0000" or "0FFFF 0FFFF : 0FFFF 0FFFF". The lit
    // form has flat normals, blended across the copies of each point when
    // `smooth`.
    void GetD3DLVERTEX_MageSheet2_Script(std::vector<D3DLVERTEX>& vertices, std::string_view script,
                                         Long color) const;
    void GetD3DLVERTEX_MageSheet2_Script2(std::vector<D3DLVERTEX>& vertices,
                                          std::string_view script) const;
    void GetD3DVERTEX_MageSheet2_Script(std::vector<D3DVERTEX>& vertices, std::string_view script,
                                        bool smooth) const;

private:
    PrimitiveScriptLists scriptLists_;
    BillBoardScriptLists billBoardLists_;
};

}  // namespace brumil::render
