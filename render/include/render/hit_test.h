#pragma once
// Hit tests of the 3D library: does a segment (or a whole straight line)
// between two points cross a triangle of a vertex array, and which triangles
// does a screen-space search line cross, in order of distance, at which
// texture coordinates.
//
// Triangle tests are the Moller-Trumbore ray-triangle intersection accepting
// both windings; the segment test has a plane-crossing test in front. A test
// reports t (distance from the start along the unit direction) and the
// barycentric weights u (of corner b) and v (of corner c); after a miss they
// may hold partial values. A NaN anywhere in the result is no hit.
//
// Triangles are walked exactly as a draw with the same arguments draws them
// (types 4 list and 5 strip only); a triangle with a corner outside the
// vertex array or an index entry past the index array is skipped.
//
// The hit list keeps the hits of the latest texture-point search until the
// next one; it belongs to the CIMArkHitTest instance that made the search.

#include <span>
#include <vector>

#include "core/vb_types.h"
#include "platform/gfx/d3d_types.h"

namespace brumil::render {

class CIMArk;

using platform::D3DLVERTEX;
using platform::D3DMATRIX;
using platform::D3DTLVERTEX;
using platform::D3DVECTOR;
using platform::D3DVERTEX;

// The triangles of one draw: primitive type, the first element, the element
// count, and (when indexed) the index entries to use.
struct HitGeometry {
    Long primitiveType = 0;
    Long start = 0;
    Long count = 0;
    bool indexed = false;
    std::span<const Integer> indices;
    Long indexCount = 0;
};

// The hit a texture-point search answers; meaningless when not found.
struct TexturePointResult {
    bool found = false;
    Long triangle = 0;  // walk position of the triangle's first corner
    Single t = 0, tu = 0, tv = 0;
};

class CIMArkHitTest {
public:
    // ---- One triangle ----------------------------------------------------------
    // Segment o..e with unit direction d.
    static bool HitTestLineAndTriangle(const D3DVECTOR& o, const D3DVECTOR& e, const D3DVECTOR& d,
                                       const D3DVECTOR& a, const D3DVECTOR& b, const D3DVECTOR& c,
                                       Single& t, Single& u, Single& v);
    // The infinite line through o along d; t is negative behind o.
    static bool HitTestStraightLineAndTriangle(const D3DVECTOR& o, const D3DVECTOR& d,
                                               const D3DVECTOR& a, const D3DVECTOR& b,
                                               const D3DVECTOR& c, Single& t, Single& u, Single& v);
    static bool HitTestStraightLineAndTriangleSub(Single x1, Single y1, Single z1, Single x2,
                                                  Single y2, Single z2, Single ax, Single ay,
                                                  Single az, Single bx, Single by, Single bz,
                                                  Single cx, Single cy, Single cz, Single& t,
                                                  Single& u, Single& v);
    // One screen triangle's hit and the texture coordinates there.
    static bool Get_TexturePoint(const D3DVECTOR& o, const D3DVECTOR& e, const D3DVECTOR& d,
                                 const D3DTLVERTEX& a, const D3DTLVERTEX& b, const D3DTLVERTEX& c,
                                 bool straight, Single& t, Single& tu, Single& tv);
    // The triangle walk over a position array; stops at the first hit.
    static bool HitTestTriangles(const D3DVECTOR& o, const D3DVECTOR& e, const D3DVECTOR& d,
                                 std::span<const D3DVECTOR> positions, const HitGeometry& g,
                                 bool straight);

    // ---- Vertex arrays --------------------------------------------------------
    // The two world points are carried into the object's space by the inverse
    // of `world`; a world matrix that cannot be inverted hits nothing.
    static bool HitTestVertex(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                              std::span<const D3DVERTEX> vertices, const HitGeometry& g,
                              const D3DMATRIX& world, bool straight);
    static bool HitTestLVertex(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                               std::span<const D3DLVERTEX> vertices, const HitGeometry& g,
                               const D3DMATRIX& world, bool straight);
    // The two world points are projected through `ark`; the test runs in
    // screen pixels with the projected depth as third axis.
    static bool HitTestTLVertex(const CIMArk& ark, Single x1, Single y1, Single z1, Single x2,
                                Single y2, Single z2, std::span<const D3DTLVERTEX> vertices,
                                const HitGeometry& g, bool straight);
    // hits[i] becomes true when the segment points[i] .. points[i] + offset
    // (world space) hits a triangle; true entries are left alone and not
    // tested. Points past the end of `hits` are not tested.
    static void HitTestVertexLines(std::span<const D3DVECTOR> points, const D3DVECTOR& offset,
                                   std::vector<bool>& hits, std::span<const D3DVERTEX> vertices,
                                   const HitGeometry& g, const D3DMATRIX& world, bool straight);

    // ---- Texture-point search ---------------------------------------------------
    // The hit of the given rank (0 the nearest) along the projected line from
    // (x1, y1, z1) to (x2, y2, z2). A negative rank or a rank past the hits
    // is not found.
    TexturePointResult Get_TexturePoint_VERTEX(const CIMArk& ark, Single x1, Single y1, Single z1,
                                               Single x2, Single y2, Single z2,
                                               std::span<const D3DVERTEX> vertices,
                                               const HitGeometry& g, const D3DMATRIX& world,
                                               bool straight, Long rank);
    TexturePointResult Get_TexturePoint_LVERTEX(const CIMArk& ark, Single x1, Single y1, Single z1,
                                                Single x2, Single y2, Single z2,
                                                std::span<const D3DLVERTEX> vertices,
                                                const HitGeometry& g, const D3DMATRIX& world,
                                                bool straight, Long rank);
    TexturePointResult Get_TexturePoint_TLVERTEX(const CIMArk& ark, Single x1, Single y1, Single z1,
                                                 Single x2, Single y2, Single z2,
                                                 std::span<const D3DTLVERTEX> vertices,
                                                 const HitGeometry& g, bool straight, Long rank);

    // The hit list of the latest search.
    Long HitCount() const { return hitCount_; }
    Long HitCapacity() const { return hitCapacity_; }

private:
    void TexturePointHitClear() { hitCount_ = 0; }
    void TexturePointHitAdd(Long triangle, Single t, Single tu, Single tv);
    TexturePointResult TexturePointHitSort(Long rank);

    std::vector<Long> hitOrder_;
    std::vector<Long> hitTriangle_;
    std::vector<Single> hitTu_;
    std::vector<Single> hitTv_;
    std::vector<Single> hitDistance_;
    Long hitCount_ = 0;
    Long hitCapacity_ = 0;
};

}  // namespace brumil::render
