#pragma once
// The basic geometry generators of the 3D library: surfaces of revolution and
// their square-section twin (triangle strips over a W x H grid read from a
// primitive script), screen-space sprites and billboards (four vertices of a
// triangle strip), and the billboard animation tables.
//
// The script generators read through the CIMArkPrimitive they are given, so
// its stored script lists are those of the latest script, as with its other
// generators. Output arrays are replaced.

#include <span>
#include <string_view>
#include <vector>

#include "core/vb_types.h"
#include "platform/gfx/d3d_types.h"

namespace brumil::render {

class CIMArk;
class CIMArkPrimitive;

using platform::D3DLVERTEX;
using platform::D3DTLVERTEX;
using platform::D3DVERTEX;

// ---- Surfaces of revolution ----------------------------------------------------
// Column i sits at the angle w(i) of a turn, row j at the height h(j) - 0.5, with
// radius 0.5 x min(a(k), e(j), r(i)). When w runs from exactly 0 to exactly 1
// the last column takes the first column's positions, so the surface closes;
// both seam points of every row share one normal.
void GetD3DVERTEX_Revolution(CIMArkPrimitive& primitive, std::vector<D3DVERTEX>& vertices,
                             std::vector<Integer>& indices, std::string_view script);
void GetD3DLVERTEX_Revolution(CIMArkPrimitive& primitive, std::vector<D3DLVERTEX>& vertices,
                              std::vector<Integer>& indices, std::string_view script, Long color);
// The same over a square outline of side min(a(k), e(j), r(i)).
void GetD3DVERTEX_Tetra(CIMArkPrimitive& primitive, std::vector<D3DVERTEX>& vertices,
                        std::vector<Integer>& indices, std::string_view script);
void GetD3DLVERTEX_Tetra(CIMArkPrimitive& primitive, std::vector<D3DLVERTEX>& vertices,
                         std::vector<Integer>& indices, std::string_view script, Long color);

// ---- Screen-space quads -----------------------------------------------------------
// One screen quad through CIMDevice::GetD3DTLVERTEX_Box: origin (p5, p6),
// texture rectangle p8..p11, angle p12 and scale p13. x, y, width and height
// are multiplied by `drawScale` first when it is not 1.
void GetD3DTLVERTEX_Sprite(std::vector<D3DTLVERTEX>& vertices, Single x, Single y, Single width,
                           Single height, Single p5, Single p6, Long color, Single p8, Single p9,
                           Single p10, Single p11, Single p12, Single p13, Single drawScale);

// What the billboards need of the display.
struct BillBoardView {
    Long screenWidth = 640;
    Single drawScale = 1;
};

// A quad whose point (originX, originY) (fractions of its size) sits on the
// screen position of the device's current world origin; a fixed size.
void GetD3DTLVERTEX_BillBoard(CIMArk& ark, const BillBoardView& view,
                              std::vector<D3DTLVERTEX>& vertices, Single width, Single height,
                              Single originX, Single originY, Long color, Single tu1, Single tv1,
                              Single tu2, Single tv2, Single scale);
// The same, its size shrinking with distance.
void GetD3DTLVERTEX_BillBoardPerspective(CIMArk& ark, const BillBoardView& view,
                                         std::vector<D3DTLVERTEX>& vertices, Single width,
                                         Single height, Single originX, Single originY, Long color,
                                         Single tu1, Single tv1, Single tu2, Single tv2,
                                         Single scale);

// ---- Billboard animation tables ------------------------------------------------------
struct BillBoardTables {
    std::vector<Single> width, height;  // per frame
    std::vector<Single> x, y;           // frame origins
    std::vector<Single> u, v;           // two texture coordinates per frame
    std::vector<Long> texture;          // texture number per frame
};
// `reserved` is accepted and not written.
void BillBoardOffset(CIMArkPrimitive& primitive, std::string_view script, Long reserved,
                     BillBoardTables& tables);

// ---- Building blocks ------------------------------------------------------------------
// A W x H grid as one triangle strip: per row band the pairs (W r + c,
// W (r + 1) + c), bands back to back; (H - 1) x W x 2 entries.
std::vector<Integer> BuildGridStripIndices(Long columns, Long rows);
// The same grid as a triangle list, six entries per cell.
std::vector<Integer> BuildGridListIndices(Long columns, Long rows);
// The point at fraction t of the way round a square of side `size` centred on
// the origin, starting at (0.5, 0.5) x size and turning through (-0.5, 0.5).
struct OutlinePoint {
    Single x = 0, z = 0;
};
OutlinePoint SquareOutlinePoint(Single size, Single t);

}  // namespace brumil::render
