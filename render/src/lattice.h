#pragma once
// The refined grid shared by the land generators: coarse points sit at the
// even positions of a (2R - 1) x (2C - 1) lattice; each cell's centre and edge
// midpoints are averages of its corners, and the cell is cut into eight
// triangles drawn as a triangle list.

#include <initializer_list>
#include <type_traits>
#include <vector>

#include "core/vb_types.h"
#include "render/ark_primitive.h"

namespace brumil::render::detail {

// Fills the centre and edge points of every cell from its corners, cell by
// cell in row-major order, and writes 24 indices per cell. The lattice is
// rows x cols coarse points; `vertices` already holds the lattice.
template <typename Vertex>
void RefineLattice(std::vector<Vertex>& vertices, std::vector<Integer>& indices, Long rows,
                   Long cols) {
    const Long stride = 2 * cols - 1;
    indices.assign(static_cast<std::size_t>(24 * (rows - 1) * (cols - 1)), 0);
    for (Long r = 0; r + 1 < rows; ++r) {
        for (Long c = 0; c + 1 < cols; ++c) {
            const Long p0 = 2 * r * stride + 2 * c;
            const Long p1 = p0 + 1, p2 = p0 + 2;
            const Long p3 = p0 + stride, p4 = p3 + 1, p5 = p3 + 2;
            const Long p6 = p3 + stride, p7 = p6 + 1, p8 = p6 + 2;
            auto mage = [&](Long target, std::initializer_list<Long> from) {
                Vertex out{};
                if constexpr (std::is_same_v<Vertex, D3DVERTEX>) {
                    CIMArkPrimitive::CreateVertexMage(vertices, from, out);
                } else {
                    CIMArkPrimitive::CreateLVertexMage(vertices, from, out);
                }
                vertices[static_cast<std::size_t>(target)] = out;
            };
            mage(p4, {p0, p2, p6, p8});
            mage(p1, {p0, p2});
            mage(p3, {p0, p6});
            mage(p5, {p2, p8});
            mage(p7, {p6, p8});
            const Long tri[24] = {p0, p1, p3, p3, p1, p4, p4, p1, p5, p5, p1, p2,
                                  p6, p3, p7, p7, p3, p4, p4, p5, p7, p7, p5, p8};
            auto* out = &indices[static_cast<std::size_t>(24 * ((cols - 1) * r + c))];
            for (int k = 0; k < 24; ++k) out[k] = static_cast<Integer>(tri[k]);
        }
    }
}

}  // namespace brumil::render::detail
