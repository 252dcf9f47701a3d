// CIMDevice: screen-space quads of four D3DTLVERTEX.

#include <cmath>

#include "render/im_device.h"

namespace brumil::render {

void CIMDevice::TLVertex(Single sx, Single sy, Single sz, Single rhw, Long colour, Single tu,
                         Single tv, D3DTLVERTEX& vertex) {
    vertex.sx = sx;
    vertex.sy = sy;
    vertex.sz = sz;
    vertex.rhw = rhw;
    vertex.color = colour;
    vertex.tu = tu;
    vertex.tv = tv;
}

void CIMDevice::GetD3DTLVERTEX_Box(std::span<D3DTLVERTEX> vertices, Single x, Single y,
                                   Single width, Single height, Single originX, Single originY,
                                   Single tu1, Single tv1, Single tu2, Single tv2, Single angle,
                                   Single scale, std::span<const Long> colours) {
    if (vertices.size() < 4 || colours.size() < 4) return;
    const Single tu[2] = {tu1, tu2};
    const Single tv[2] = {tv1, tv2};
    // Angle 0 takes no trigonometry, so axis-aligned corners stay exact.
    const bool turned = angle != 0.0f;
    const Single c = turned ? std::cos(angle) : 1.0f;
    const Single s = turned ? std::sin(angle) : 0.0f;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const Single px = (static_cast<Single>(column) - originX) * width;
            const Single py = (static_cast<Single>(row) - originY) * height;
            Single X = px;
            Single Y = py;
            if (turned) {
                X = px * c + py * s;
                Y = py * c - px * s;
            }
            const int k = 2 * row + column;
            D3DTLVERTEX& v = vertices[static_cast<std::size_t>(k)];
            // Callers reuse vertex arrays: a stale specular colour would tint
            // the quad when specular is enabled.
            v.specular = 0;
            TLVertex(X * scale + x, Y * scale + y, 0.0f, 1.0f, colours[static_cast<std::size_t>(k)],
                     tu[column], tv[row], v);
        }
    }
}

}  // namespace brumil::render
