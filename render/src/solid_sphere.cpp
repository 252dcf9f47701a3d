// The 36-vertex box, the sphere and the inside-out sky sphere.
#include <algorithm>
#include <cmath>

#include "platform/gfx/dx7_math.h"
#include "render/ark_primitive.h"

namespace brumil::render {

namespace {

// The single-precision half turn the generators use for every angle.
constexpr double kPi = static_cast<double>(3.141592f);

struct BoxFace {
    Single nx, ny, nz;
    Single corner[4][3];  // A, B, C, D in units of half the edge
};

// On every face (B - A) x (C - A) points along the normal, away from the
// centre; the face is drawn as the triangles (A, B, C) and (D, C, B).
constexpr BoxFace kBoxFaces[6] = {
    {0, 0, 1, {{1, 1, 1}, {-1, 1, 1}, {1, -1, 1}, {-1, -1, 1}}},
    {0, 0, -1, {{-1, 1, -1}, {1, 1, -1}, {-1, -1, -1}, {1, -1, -1}}},
    {0, 1, 0, {{1, 1, 1}, {1, 1, -1}, {-1, 1, 1}, {-1, 1, -1}}},
    {0, -1, 0, {{1, -1, -1}, {1, -1, 1}, {-1, -1, -1}, {-1, -1, 1}}},
    {1, 0, 0, {{1, 1, 1}, {1, -1, 1}, {1, 1, -1}, {1, -1, -1}}},
    {-1, 0, 0, {{-1, -1, 1}, {-1, 1, 1}, {-1, -1, -1}, {-1, 1, -1}}},
};
constexpr Single kBoxTex[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
// Vertex k of a face takes corner kFaceCorner[k].
constexpr int kFaceCorner[6] = {0, 1, 2, 3, 2, 1};

Long SphereDivisions(Long divisions) {
    return std::clamp(divisions, Long{4}, CIMArkPrimitive::kMaxSphereDivisions);
}

// One point of a sphere ring: the unit direction and the longitude's tu.
struct RingPoint {
    Single x, y, z;
};

RingPoint RingDirection(Long j, Long rings, Long i, Long n) {
    const auto phi = static_cast<Single>(kPi * j / (rings - 1) - kPi / 2);
    const auto theta = static_cast<Single>(2 * kPi * i / n + kPi / 2);
    const double cp = std::cos(static_cast<double>(phi));
    return {static_cast<Single>(std::sin(static_cast<double>(theta)) * cp),
            static_cast<Single>(std::sin(static_cast<double>(phi))),
            static_cast<Single>(std::cos(static_cast<double>(theta)) * cp)};
}

// Positions, normals and texture coordinates of the sphere, in the VERTEX
// record; the LVERTEX form copies all but the normal.
void BuildSphere(std::vector<D3DVERTEX>& v, std::vector<Integer>& idx, Long divisions,
                 Single size) {
    const Single r = size / 2;
    const Long n = SphereDivisions(divisions);
    const Long rings = n / 2 + 1;
    const Long count = (n / 2 - 1) * n + 2;
    v.assign(static_cast<std::size_t>(count), D3DVERTEX{});
    idx.assign(static_cast<std::size_t>(6 * (rings - 2) * n), 0);
    v.front() = {0, -r, 0, 0, -1, 0, 0.5f, 0.5f + r};
    auto q = [n](Long j, Long i) { return 1 + (j - 1) * n + i; };
    for (Long j = 1; j <= rings - 2; ++j) {
        for (Long i = 0; i < n; ++i) {
            const RingPoint d = RingDirection(j, rings, i, n);
            auto& out = v[static_cast<std::size_t>(q(j, i))];
            out = {r * d.x,
                   r * d.y,
                   r * d.z,
                   d.x,
                   d.y,
                   d.z,
                   static_cast<Single>(std::fabs(1.0 - 2.0 * i / n)),
                   static_cast<Single>(1.0 - static_cast<double>(j) / rings)};
        }
    }
    v.back() = {0, r, 0, 0, 1, 0, 0.5f, 0.5f - r};
    std::size_t k = 0;
    auto put = [&](Long a, Long b, Long c) {
        idx[k++] = static_cast<Integer>(a);
        idx[k++] = static_cast<Integer>(b);
        idx[k++] = static_cast<Integer>(c);
    };
    for (Long i = 0; i < n; ++i) {
        const Long i2 = (i + 1) % n;
        put(0, q(1, i2), q(1, i));
        for (Long j = 1; j <= rings - 3; ++j) {
            put(q(j, i), q(j, i2), q(j + 1, i));
            put(q(j, i2), q(j + 1, i2), q(j + 1, i));
        }
        put(count - 1, q(rings - 2, i), q(rings - 2, i2));
    }
}

}  // namespace

void CIMArkPrimitive::GetD3DVERTEX_solid36(std::vector<D3DVERTEX>& vertices, Single size) const {
    const Single h = size / 2;
    vertices.assign(36, D3DVERTEX{});
    for (int f = 0; f < 6; ++f) {
        const BoxFace& face = kBoxFaces[f];
        for (int k = 0; k < 6; ++k) {
            const int c = kFaceCorner[k];
            platform::DirectX7::CreateD3DVertex(face.corner[c][0] * h, face.corner[c][1] * h,
                                                face.corner[c][2] * h, face.nx, face.ny, face.nz,
                                                kBoxTex[c][0], kBoxTex[c][1], vertices[6 * f + k]);
        }
    }
}

void CIMArkPrimitive::GetD3DLVERTEX_solid36(std::vector<D3DLVERTEX>& vertices, Single size,
                                            Long color) const {
    const Single h = size / 2;
    vertices.assign(36, D3DLVERTEX{});
    for (int f = 0; f < 6; ++f) {
        const BoxFace& face = kBoxFaces[f];
        for (int k = 0; k < 6; ++k) {
            const int c = kFaceCorner[k];
            CreateLVertex(vertices[6 * f + k], face.corner[c][0] * h, face.corner[c][1] * h,
                          face.corner[c][2] * h, color, kBoxTex[c][0], kBoxTex[c][1]);
        }
    }
}

void CIMArkPrimitive::GetD3DVERTEX_shpere2(std::vector<D3DVERTEX>& vertices,
                                           std::vector<Integer>& indices, Long divisions,
                                           Single size) const {
    BuildSphere(vertices, indices, divisions, size);
}

void CIMArkPrimitive::GetD3DLVERTEX_shpere2(std::vector<D3DLVERTEX>& vertices,
                                            std::vector<Integer>& indices, Long divisions,
                                            Single size, Long color) const {
    std::vector<D3DVERTEX> lit;
    BuildSphere(lit, indices, divisions, size);
    vertices.assign(lit.size(), D3DLVERTEX{});
    for (std::size_t k = 0; k < lit.size(); ++k) {
        CreateLVertex(vertices[k], lit[k].x, lit[k].y, lit[k].z, color, lit[k].tu, lit[k].tv);
    }
}

void CIMArkPrimitive::GetD3DVERTEX_AirShpere(std::vector<D3DVERTEX>& vertices,
                                             std::vector<Integer>& indices, Long divisions,
                                             Long wrap, Single size) const {
    const Single r = size / 2;
    const Long n = SphereDivisions(divisions);
    const Long rings = n / 2 + 1;
    const Long m = rings - 2;
    const Long count = (n + 1) * m + 2;
    vertices.assign(static_cast<std::size_t>(count), D3DVERTEX{});
    indices.assign(static_cast<std::size_t>(6 * m * n), 0);
    vertices.front() = {0, -r, 0, 0, 1, 0, 0.5f, 0.5f + r};
    auto q = [n](Long j, Long i) { return 1 + (j - 1) * (n + 1) + i; };
    for (Long j = 1; j <= m; ++j) {
        for (Long i = 0; i <= n; ++i) {
            const RingPoint d = RingDirection(j, rings, i, n);
            auto& out = vertices[static_cast<std::size_t>(q(j, i))];
            out = {r * d.x,
                   r * d.y,
                   r * d.z,
                   -d.x,
                   -d.y,
                   -d.z,
                   static_cast<Single>((1.0 - static_cast<double>(i) / n) * wrap),
                   static_cast<Single>((1.0 - static_cast<double>(d.y)) / 2)};
        }
    }
    vertices.back() = {0, r, 0, 0, -1, 0, 0.5f, 0.5f - r};
    std::size_t k = 0;
    auto put = [&](Long a, Long b, Long c) {
        indices[k++] = static_cast<Integer>(a);
        indices[k++] = static_cast<Integer>(b);
        indices[k++] = static_cast<Integer>(c);
    };
    for (Long i = 0; i < n; ++i) {
        put(0, q(1, i), q(1, i + 1));
        for (Long j = 1; j <= m - 1; ++j) {
            put(q(j, i), q(j + 1, i), q(j, i + 1));
            put(q(j, i + 1), q(j + 1, i), q(j + 1, i + 1));
        }
        put(count - 1, q(m, i + 1), q(m, i));
    }
}

}  // namespace brumil::render
