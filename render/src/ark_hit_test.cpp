// CIMArk: the hit tests and texture-point searches, in the argument order of
// the draws (type, array, start, count, indexed, index array, index count).
// The searches keep their hit list in this instance.
#include "render/ark.h"

namespace brumil::render {

namespace {

HitGeometry Geometry(Long primitiveType, Long start, Long count, bool indexed,
                     std::span<const Integer> indices, Long indexCount) {
    return HitGeometry{primitiveType, start, count, indexed, indices, indexCount};
}

}  // namespace

bool CIMArk::HitTestVertex(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                           Long primitiveType, std::span<const D3DVERTEX> vertices, Long start,
                           Long count, bool indexed, std::span<const Integer> indices,
                           Long indexCount, const D3DMATRIX& world, bool straight) const {
    return CIMArkHitTest::HitTestVertex(
        x1, y1, z1, x2, y2, z2, vertices,
        Geometry(primitiveType, start, count, indexed, indices, indexCount), world, straight);
}

bool CIMArk::HitTestLVertex(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                            Long primitiveType, std::span<const D3DLVERTEX> vertices, Long start,
                            Long count, bool indexed, std::span<const Integer> indices,
                            Long indexCount, const D3DMATRIX& world, bool straight) const {
    return CIMArkHitTest::HitTestLVertex(
        x1, y1, z1, x2, y2, z2, vertices,
        Geometry(primitiveType, start, count, indexed, indices, indexCount), world, straight);
}

bool CIMArk::HitTestTLVertex(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                             Long primitiveType, std::span<const D3DTLVERTEX> vertices, Long start,
                             Long count, bool indexed, std::span<const Integer> indices,
                             Long indexCount, bool straight) const {
    return CIMArkHitTest::HitTestTLVertex(
        *this, x1, y1, z1, x2, y2, z2, vertices,
        Geometry(primitiveType, start, count, indexed, indices, indexCount), straight);
}

void CIMArk::HitTestVertexLines(std::span<const D3DVECTOR> points, const D3DVECTOR& offset,
                                std::vector<bool>& hits, Long primitiveType,
                                std::span<const D3DVERTEX> vertices, Long start, Long count,
                                bool indexed, std::span<const Integer> indices, Long indexCount,
                                const D3DMATRIX& world, bool straight) const {
    CIMArkHitTest::HitTestVertexLines(
        points, offset, hits, vertices,
        Geometry(primitiveType, start, count, indexed, indices, indexCount), world, straight);
}

TexturePointResult CIMArk::Get_TexturePoint_VERTEX(Single x1, Single y1, Single z1, Single x2,
                                                   Single y2, Single z2, Long primitiveType,
                                                   std::span<const D3DVERTEX> vertices, Long start,
                                                   Long count, bool indexed,
                                                   std::span<const Integer> indices,
                                                   Long indexCount, const D3DMATRIX& world,
                                                   bool straight, Long rank) {
    return hitTest_.Get_TexturePoint_VERTEX(
        *this, x1, y1, z1, x2, y2, z2, vertices,
        Geometry(primitiveType, start, count, indexed, indices, indexCount), world, straight, rank);
}

TexturePointResult CIMArk::Get_TexturePoint_LVERTEX(Single x1, Single y1, Single z1, Single x2,
                                                    Single y2, Single z2, Long primitiveType,
                                                    std::span<const D3DLVERTEX> vertices,
                                                    Long start, Long count, bool indexed,
                                                    std::span<const Integer> indices,
                                                    Long indexCount, const D3DMATRIX& world,
                                                    bool straight, Long rank) {
    return hitTest_.Get_TexturePoint_LVERTEX(
        *this, x1, y1, z1, x2, y2, z2, vertices,
        Geometry(primitiveType, start, count, indexed, indices, indexCount), world, straight, rank);
}

TexturePointResult CIMArk::Get_TexturePoint_TLVERTEX(Single x1, Single y1, Single z1, Single x2,
                                                     Single y2, Single z2, Long primitiveType,
                                                     std::span<const D3DTLVERTEX> vertices,
                                                     Long start, Long count, bool indexed,
                                                     std::span<const Integer> indices,
                                                     Long indexCount, bool straight, Long rank) {
    return hitTest_.Get_TexturePoint_TLVERTEX(
        *this, x1, y1, z1, x2, y2, z2, vertices,
        Geometry(primitiveType, start, count, indexed, indices, indexCount), straight, rank);
}

}  // namespace brumil::render
