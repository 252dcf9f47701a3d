// The screen-space generators: sprites, billboards and the billboard
// animation tables.
#include <array>
#include <cmath>

#include "render/ark.h"
#include "render/ark_primitive.h"
#include "render/im_device.h"
#include "render/primitive_basic.h"

namespace brumil::render {

namespace {

// The size factor of the perspective billboard at rhw 1 on a 640-pixel-wide
// screen.
constexpr Single kPerspectiveFactor = 17.6776f;

void BillBoard(const D3DTLVERTEX& p, Single k, std::vector<D3DTLVERTEX>& vertices, Single width,
               Single height, Single originX, Single originY, Long color, Single tu1, Single tv1,
               Single tu2, Single tv2, Single scale) {
    vertices.assign(4, D3DTLVERTEX{});
    const Single w = width * scale * k;
    const Single h = height * scale * k;
    const Single px = std::floor(p.sx) - 0.5f;
    const Single py = std::floor(p.sy) - 0.5f;
    const Single left = px - originX * w, right = px + (1 - originX) * w;
    const Single top = py - originY * h, bottom = py + (1 - originY) * h;
    CIMDevice::TLVertex(left, top, p.sz, p.rhw, color, tu1, tv1, vertices[0]);
    CIMDevice::TLVertex(right, top, p.sz, p.rhw, color, tu2, tv1, vertices[1]);
    CIMDevice::TLVertex(left, bottom, p.sz, p.rhw, color, tu1, tv2, vertices[2]);
    CIMDevice::TLVertex(right, bottom, p.sz, p.rhw, color, tu2, tv2, vertices[3]);
}

Single ScreenRatio(const BillBoardView& view) {
    return static_cast<Single>(view.screenWidth) / 640.0f;
}

}  // namespace

void GetD3DTLVERTEX_Sprite(std::vector<D3DTLVERTEX>& vertices, Single x, Single y, Single width,
                           Single height, Single p5, Single p6, Long color, Single p8, Single p9,
                           Single p10, Single p11, Single p12, Single p13, Single drawScale) {
    vertices.assign(4, D3DTLVERTEX{});
    if (drawScale != 1.0f) {
        x *= drawScale;
        y *= drawScale;
        width *= drawScale;
        height *= drawScale;
    }
    const std::array<Long, 4> colors = {color, color, color, color};
    CIMDevice::GetD3DTLVERTEX_Box(vertices, x - 0.5f, y - 0.5f, width, height, p5, p6, p8, p9, p10,
                                  p11, p12, p13, colors);
}

void GetD3DTLVERTEX_BillBoard(CIMArk& ark, const BillBoardView& view,
                              std::vector<D3DTLVERTEX>& vertices, Single width, Single height,
                              Single originX, Single originY, Long color, Single tu1, Single tv1,
                              Single tu2, Single tv2, Single scale) {
    const D3DTLVERTEX p = ark.ProjectVertexZero();
    const Single k = ScreenRatio(view) * view.drawScale;
    BillBoard(p, k, vertices, width, height, originX, originY, color, tu1, tv1, tu2, tv2, scale);
}

void GetD3DTLVERTEX_BillBoardPerspective(CIMArk& ark, const BillBoardView& view,
                                         std::vector<D3DTLVERTEX>& vertices, Single width,
                                         Single height, Single originX, Single originY, Long color,
                                         Single tu1, Single tv1, Single tu2, Single tv2,
                                         Single scale) {
    const D3DTLVERTEX p = ark.ProjectVertexZero();
    const Single k = p.rhw * kPerspectiveFactor * static_cast<Single>(view.screenWidth) / 640.0f;
    BillBoard(p, k, vertices, width, height, originX, originY, color, tu1, tv1, tu2, tv2, scale);
}

void BillBoardOffset(CIMArkPrimitive& primitive, std::string_view script, Long /*reserved*/,
                     BillBoardTables& tables) {
    primitive.ReadBillBoardScript(script);
    const auto& l = primitive.BillBoardLists();
    tables.width = l.w;
    tables.height = l.h;
    tables.x = l.x;
    tables.y = l.y;
    tables.u = l.u;
    tables.v = l.v;
    tables.texture = l.i;
}

void CIMArkPrimitive::BillBoardOffset(std::string_view script, Long reserved,
                                      BillBoardTables& tables) {
    render::BillBoardOffset(*this, script, reserved, tables);
}

}  // namespace brumil::render
