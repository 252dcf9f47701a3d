// Vertex makers and normal routines: single records, averages of several
// records, and face normals accumulated into vertices.
#include <cstdint>

#include "platform/gfx/dx7_math.h"
#include "render/ark_math.h"
#include "render/ark_primitive.h"

namespace brumil::render {

namespace {

D3DVECTOR NormalOf(const D3DVERTEX& v) {
    return {v.nx, v.ny, v.nz};
}

void SetNormal(D3DVERTEX& v, const D3DVECTOR& n) {
    v.nx = n.x;
    v.ny = n.y;
    v.nz = n.z;
}

// (A - P) x (B - P).
D3DVECTOR FaceCross(const D3DVERTEX& p, const D3DVERTEX& a, const D3DVERTEX& b) {
    D3DVECTOR pa, pb, cross;
    platform::DirectX7::VectorSubtract(pa, {a.x, a.y, a.z}, {p.x, p.y, p.z});
    platform::DirectX7::VectorSubtract(pb, {b.x, b.y, b.z}, {p.x, p.y, p.z});
    platform::DirectX7::VectorCrossProduct(cross, pa, pb);
    return cross;
}

template <typename V>
bool InRange(std::span<V> vertices, Long i) {
    return i >= 0 && static_cast<std::size_t>(i) < vertices.size();
}

}  // namespace

void CIMArkPrimitive::CreateVertex(D3DVERTEX& out, Single x, Single y, Single z, Single nx,
                                   Single ny, Single nz, Single tu, Single tv) {
    out = {x, y, z, nx, ny, nz, tu, tv};
}

void CIMArkPrimitive::CreateLVertex(D3DLVERTEX& out, Single x, Single y, Single z, Long color,
                                    Single tu, Single tv) {
    out.x = x;
    out.y = y;
    out.z = z;
    out.color = color;
    out.tu = tu;
    out.tv = tv;
}

void CIMArkPrimitive::CreateVertexMage(std::span<const D3DVERTEX> vertices,
                                       std::span<const Long> indices, D3DVERTEX& out) {
    D3DVERTEX sum{};
    Long n = 0;
    for (const Long i : indices) {
        if (!InRange(vertices, i)) continue;
        const auto& v = vertices[static_cast<std::size_t>(i)];
        sum.x += v.x;
        sum.y += v.y;
        sum.z += v.z;
        sum.nx += v.nx;
        sum.ny += v.ny;
        sum.nz += v.nz;
        sum.tu += v.tu;
        sum.tv += v.tv;
        ++n;
    }
    if (n == 0) {
        out = {};
        return;
    }
    const auto count = static_cast<Single>(n);
    D3DVECTOR normal = NormalOf(sum);
    NormalizeOrZero(normal);
    out = {sum.x / count, sum.y / count, sum.z / count,  normal.x,
           normal.y,      normal.z,      sum.tu / count, sum.tv / count};
}

void CIMArkPrimitive::CreateLVertexMage(std::span<const D3DLVERTEX> vertices,
                                        std::span<const Long> indices, D3DLVERTEX& out) {
    Single x = 0, y = 0, z = 0, tu = 0, tv = 0;
    std::uint32_t channel[4] = {};  // a, r, g, b
    Long n = 0;
    for (const Long i : indices) {
        if (!InRange(vertices, i)) continue;
        const auto& v = vertices[static_cast<std::size_t>(i)];
        x += v.x;
        y += v.y;
        z += v.z;
        tu += v.tu;
        tv += v.tv;
        const auto c = static_cast<std::uint32_t>(v.color);
        for (int k = 0; k < 4; ++k) channel[k] += (c >> (24 - 8 * k)) & 0xFFu;
        ++n;
    }
    out = {};
    if (n == 0) return;
    const auto count = static_cast<Single>(n);
    std::uint32_t color = 0;
    for (int k = 0; k < 4; ++k) {
        color |= (channel[k] / static_cast<std::uint32_t>(n)) << (24 - 8 * k);
    }
    out.x = x / count;
    out.y = y / count;
    out.z = z / count;
    out.color = static_cast<Long>(color);
    out.tu = tu / count;
    out.tv = tv / count;
}

void CIMArkPrimitive::Math_D3DVERTEX_NormalMage(D3DVERTEX& a, D3DVERTEX& b) {
    D3DVECTOR n{a.nx + b.nx, a.ny + b.ny, a.nz + b.nz};
    NormalizeOrZero(n);
    SetNormal(a, n);
    SetNormal(b, n);
}

void CIMArkPrimitive::AddFaceNormal(D3DVERTEX& p, const D3DVERTEX& a, const D3DVERTEX& b) {
    const D3DVECTOR f = FaceCross(p, a, b);
    p.nx += f.x;
    p.ny += f.y;
    p.nz += f.z;
}

void CIMArkPrimitive::NormalizeVertexNormal(D3DVERTEX& p) {
    D3DVECTOR n = NormalOf(p);
    NormalizeOrZero(n);
    SetNormal(p, n);
}

void CIMArkPrimitive::AddFaceNormalNormalized(D3DVERTEX& p, const D3DVERTEX& a,
                                              const D3DVERTEX& b) {
    D3DVECTOR f = FaceCross(p, a, b);
    if (!NormalizeOrZero(f)) return;  // degenerate face: no direction to add
    D3DVECTOR n{p.nx + f.x, p.ny + f.y, p.nz + f.z};
    NormalizeOrZero(n);
    SetNormal(p, n);
}

namespace {

void AddTriangle(std::span<D3DVERTEX> v, Integer a, Integer b, Integer c) {
    if (!InRange(v, a) || !InRange(v, b) || !InRange(v, c)) return;
    auto& va = v[static_cast<std::size_t>(a)];
    auto& vb = v[static_cast<std::size_t>(b)];
    auto& vc = v[static_cast<std::size_t>(c)];
    CIMArkPrimitive::AddFaceNormalNormalized(va, vb, vc);
    CIMArkPrimitive::AddFaceNormalNormalized(vb, vc, va);
    CIMArkPrimitive::AddFaceNormalNormalized(vc, va, vb);
}

}  // namespace

void CIMArkPrimitive::ComputeStripNormals(std::span<D3DVERTEX> vertices,
                                          std::span<const Integer> indices) {
    for (std::size_t t = 0; t + 2 < indices.size(); ++t) {
        const Integer a = indices[t], b = indices[t + 1], c = indices[t + 2];
        if (t % 2 == 0) {
            AddTriangle(vertices, a, b, c);
        } else {
            AddTriangle(vertices, a, c, b);
        }
    }
}

void CIMArkPrimitive::ComputeListNormals(std::span<D3DVERTEX> vertices,
                                         std::span<const Integer> indices) {
    for (std::size_t t = 0; t + 2 < indices.size(); t += 3) {
        AddTriangle(vertices, indices[t], indices[t + 1], indices[t + 2]);
    }
}

}  // namespace brumil::render
