// CIMArkHitTest: triangle tests, the triangle walk and the hit tests of
// vertex arrays.
#include "render/hit_test.h"

#include <algorithm>
#include <cmath>

#include "hit_test_walk.h"
#include "platform/gfx/dx7_math.h"
#include "render/ark.h"

namespace brumil::render {

using platform::DirectX7;

namespace {

int Sign(Single x) {
    return x > 0 ? 1 : (x < 0 ? -1 : 0);
}

D3DVECTOR Sub(const D3DVECTOR& a, const D3DVECTOR& b) {
    D3DVECTOR r;
    DirectX7::VectorSubtract(r, a, b);
    return r;
}

D3DVECTOR Cross(const D3DVECTOR& a, const D3DVECTOR& b) {
    D3DVECTOR r;
    DirectX7::VectorCrossProduct(r, a, b);
    return r;
}

Single Dot(const D3DVECTOR& a, const D3DVECTOR& b) {
    return DirectX7::VectorDotProduct(a, b);
}

D3DVECTOR Direction(const D3DVECTOR& from, const D3DVECTOR& to) {
    D3DVECTOR d = Sub(to, from);
    DirectX7::VectorNormalize(d);
    return d;
}

// Three times the point's signed distance from the plane through the
// triangle's centre (times |n|).
Single PlaneSide(const D3DVECTOR& p, const D3DVECTOR& a, const D3DVECTOR& b, const D3DVECTOR& c,
                 const D3DVECTOR& n) {
    const D3DVECTOR q{3 * p.x - a.x - b.x - c.x, 3 * p.y - a.y - b.y - c.y,
                      3 * p.z - a.z - b.z - c.z};
    return Dot(q, n);
}

// Steps 4 to 9 of the segment test, shared with the straight-line test.
bool Intersect(const D3DVECTOR& o, const D3DVECTOR& d, const D3DVECTOR& a, const D3DVECTOR& e1,
               const D3DVECTOR& e2, Single& t, Single& u, Single& v) {
    const D3DVECTOR p = Cross(d, e2);
    Single det = Dot(e1, p);
    D3DVECTOR s;
    if (det <= 0) {
        s = Sub(a, o);
        det = -det;
    } else {
        s = Sub(o, a);
    }
    if (det < 0.0001f) return false;
    u = Dot(s, p);
    if (u < 0 || u > det) return false;
    const D3DVECTOR q = Cross(s, e1);
    v = Dot(d, q);
    if (v < 0 || u + v > det) return false;
    t = Dot(e2, q);
    const Single inv = 1.0f / det;
    t *= inv;
    u *= inv;
    v *= inv;
    // A direction or corner that is not a number must never count as a hit.
    return std::isfinite(t) && std::isfinite(u) && std::isfinite(v);
}

template <typename V>
std::vector<D3DVECTOR> Positions(std::span<const V> vertices) {
    std::vector<D3DVECTOR> out(vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        out[i] = {vertices[i].x, vertices[i].y, vertices[i].z};
    }
    return out;
}

// The inverse of `world`, or all zero when it cannot be inverted.
D3DMATRIX InverseOrZero(const D3DMATRIX& world) {
    D3DMATRIX inv{};
    CIMArk::MatrixInverse(inv, world);
    return inv;
}

bool HitInObjectSpace(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                      std::span<const D3DVECTOR> positions, const HitGeometry& g,
                      const D3DMATRIX& world, bool straight) {
    const D3DMATRIX inv = InverseOrZero(world);
    const D3DVECTOR o = CIMArk::VectorTransform(inv, x1, y1, z1);
    const D3DVECTOR e = CIMArk::VectorTransform(inv, x2, y2, z2);
    return CIMArkHitTest::HitTestTriangles(o, e, Direction(o, e), positions, g, straight);
}

}  // namespace

bool CIMArkHitTest::HitTestLineAndTriangle(const D3DVECTOR& o, const D3DVECTOR& e,
                                           const D3DVECTOR& d, const D3DVECTOR& a,
                                           const D3DVECTOR& b, const D3DVECTOR& c, Single& t,
                                           Single& u, Single& v) {
    const D3DVECTOR e1 = Sub(b, a);
    const D3DVECTOR e2 = Sub(c, a);
    const D3DVECTOR n = Cross(e1, e2);
    const Single d1 = PlaneSide(o, a, b, c, n);
    const Single d2 = PlaneSide(e, a, b, c, n);
    if (std::isnan(d1) || std::isnan(d2)) return false;
    // Both ends on the same side, or both on the plane.
    if (Sign(d1) == Sign(d2)) return false;
    return Intersect(o, d, a, e1, e2, t, u, v);
}

bool CIMArkHitTest::HitTestStraightLineAndTriangle(const D3DVECTOR& o, const D3DVECTOR& d,
                                                   const D3DVECTOR& a, const D3DVECTOR& b,
                                                   const D3DVECTOR& c, Single& t, Single& u,
                                                   Single& v) {
    return Intersect(o, d, a, Sub(b, a), Sub(c, a), t, u, v);
}

bool CIMArkHitTest::HitTestStraightLineAndTriangleSub(Single x1, Single y1, Single z1, Single x2,
                                                      Single y2, Single z2, Single ax, Single ay,
                                                      Single az, Single bx, Single by, Single bz,
                                                      Single cx, Single cy, Single cz, Single& t,
                                                      Single& u, Single& v) {
    const D3DVECTOR o{x1, y1, z1};
    return HitTestStraightLineAndTriangle(o, Direction(o, {x2, y2, z2}), {ax, ay, az}, {bx, by, bz},
                                          {cx, cy, cz}, t, u, v);
}

bool CIMArkHitTest::Get_TexturePoint(const D3DVECTOR& o, const D3DVECTOR& e, const D3DVECTOR& d,
                                     const D3DTLVERTEX& a, const D3DTLVERTEX& b,
                                     const D3DTLVERTEX& c, bool straight, Single& t, Single& tu,
                                     Single& tv) {
    const D3DVECTOR pa{a.sx, a.sy, a.sz}, pb{b.sx, b.sy, b.sz}, pc{c.sx, c.sy, c.sz};
    Single u = 0, v = 0;
    const bool hit = straight ? HitTestStraightLineAndTriangle(o, d, pa, pb, pc, t, u, v)
                              : HitTestLineAndTriangle(o, e, d, pa, pb, pc, t, u, v);
    if (!hit) return false;
    tu = a.tu + u * (b.tu - a.tu) + v * (c.tu - a.tu);
    tv = a.tv + u * (b.tv - a.tv) + v * (c.tv - a.tv);
    return true;
}

bool CIMArkHitTest::HitTestTriangles(const D3DVECTOR& o, const D3DVECTOR& e, const D3DVECTOR& d,
                                     std::span<const D3DVECTOR> positions, const HitGeometry& g,
                                     bool straight) {
    bool hit = false;
    detail::WalkTriangles(
        g, positions.size(), [&](Long, std::size_t ia, std::size_t ib, std::size_t ic) {
            Single t = 0, u = 0, v = 0;
            hit = straight ? HitTestStraightLineAndTriangle(o, d, positions[ia], positions[ib],
                                                            positions[ic], t, u, v)
                           : HitTestLineAndTriangle(o, e, d, positions[ia], positions[ib],
                                                    positions[ic], t, u, v);
            return hit;  // stop at the first hit
        });
    return hit;
}

bool CIMArkHitTest::HitTestVertex(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                                  std::span<const D3DVERTEX> vertices, const HitGeometry& g,
                                  const D3DMATRIX& world, bool straight) {
    return HitInObjectSpace(x1, y1, z1, x2, y2, z2, Positions(vertices), g, world, straight);
}

bool CIMArkHitTest::HitTestLVertex(Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
                                   std::span<const D3DLVERTEX> vertices, const HitGeometry& g,
                                   const D3DMATRIX& world, bool straight) {
    return HitInObjectSpace(x1, y1, z1, x2, y2, z2, Positions(vertices), g, world, straight);
}

bool CIMArkHitTest::HitTestTLVertex(const CIMArk& ark, Single x1, Single y1, Single z1, Single x2,
                                    Single y2, Single z2, std::span<const D3DTLVERTEX> vertices,
                                    const HitGeometry& g, bool straight) {
    const D3DTLVERTEX p1 = ark.ProjectVertex(x1, y1, z1);
    const D3DTLVERTEX p2 = ark.ProjectVertex(x2, y2, z2);
    const D3DVECTOR o{p1.sx, p1.sy, p1.sz}, e{p2.sx, p2.sy, p2.sz};
    std::vector<D3DVECTOR> positions(vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        positions[i] = {vertices[i].sx, vertices[i].sy, vertices[i].sz};
    }
    return HitTestTriangles(o, e, Direction(o, e), positions, g, straight);
}

void CIMArkHitTest::HitTestVertexLines(std::span<const D3DVECTOR> points, const D3DVECTOR& offset,
                                       std::vector<bool>& hits, std::span<const D3DVERTEX> vertices,
                                       const HitGeometry& g, const D3DMATRIX& world,
                                       bool straight) {
    const D3DMATRIX inv = InverseOrZero(world);
    const D3DVECTOR origin = CIMArk::VectorTransform(inv, 0, 0, 0);
    const D3DVECTOR d =
        Direction(origin, CIMArk::VectorTransform(inv, offset.x, offset.y, offset.z));
    const std::vector<D3DVECTOR> positions = Positions(vertices);
    const std::size_t n = std::min(points.size(), hits.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (hits[i]) continue;
        const D3DVECTOR& p = points[i];
        const D3DVECTOR o = CIMArk::VectorTransform(inv, p.x, p.y, p.z);
        const D3DVECTOR e =
            CIMArk::VectorTransform(inv, p.x + offset.x, p.y + offset.y, p.z + offset.z);
        hits[i] = HitTestTriangles(o, e, d, positions, g, straight);
    }
}

}  // namespace brumil::render
