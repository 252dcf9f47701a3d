// CIMArk: points between world space and viewport pixels, and the small
// vector and matrix helpers.
#include <algorithm>
#include <cmath>

#include "platform/gfx/dx7_math.h"
#include "render/ark.h"
#include "render/ark_math.h"

namespace brumil::render {

using platform::DirectX7;

namespace {

constexpr Long kOpaqueWhite = static_cast<Long>(0xFFFFFFFFu);

// (X, Y, Z, W) divided by W. A point on the eye's plane (W = 0, or a W that
// is not finite) cannot be placed: rhw 0 and the position 0, 0, 0.
void Divide(const Vec4& p, D3DTLVERTEX& out) {
    if (p.w == 0.0f || !std::isfinite(p.w)) {
        out.sx = out.sy = out.sz = out.rhw = 0.0f;
        return;
    }
    out.sx = p.x / p.w;
    out.sy = p.y / p.w;
    out.sz = p.z / p.w;
    out.rhw = 1.0f / p.w;
}

D3DMATRIX Identity() {
    D3DMATRIX m;
    DirectX7::IdentityMatrix(m);
    return m;
}

// The device's transform, or the identity without a device or on failure.
D3DMATRIX DeviceTransform(platform::Direct3DDevice7* device, Long state) {
    D3DMATRIX m = Identity();
    if (device == nullptr || !device->GetTransform(state, m)) m = Identity();
    return m;
}

}  // namespace

D3DTLVERTEX CIMArk::ProjectVertex(Single x, Single y, Single z) const {
    D3DTLVERTEX out;
    Divide(TransformRow(screenTransform_, x, y, z, 1.0f), out);
    out.color = out.specular = kOpaqueWhite;
    return out;
}

D3DLVERTEX CIMArk::UnProjectVertex(Single sx, Single sy, Single sz) {
    if (!inverseValid_) {
        inverseValid_ = InvertMatrix(screenTransformInverse_, screenTransform_);
    }
    D3DLVERTEX out;
    out.color = out.specular = kOpaqueWhite;
    if (!inverseValid_) return out;
    const D3DMATRIX& inv = screenTransformInverse_;
    // The w that ProjectVertex divided by; the x and y terms are 0 for the
    // matrices SettingProperty builds.
    const Single denominator = sx * inv.rc14 + sy * inv.rc24 + sz * inv.rc34 + inv.rc44;
    if (denominator == 0.0f || !std::isfinite(denominator)) return out;
    const Single s = 1.0f / denominator;
    const Vec4 p = TransformRow(inv, sx * s, sy * s, sz * s, s);
    out.x = p.x;
    out.y = p.y;
    out.z = p.z;
    return out;
}

D3DTLVERTEX CIMArk::ProjectVertexZero() {
    D3DMATRIX t;
    DirectX7::MatrixMultiply(t, DeviceTransform(Device(), platform::D3DTRANSFORMSTATE_WORLD),
                             screenTransform_);
    D3DTLVERTEX out;
    Divide({t.rc41, t.rc42, t.rc43, t.rc44}, out);
    out.color = out.specular = kOpaqueWhite;
    return out;
}

namespace {

template <typename In, typename Copy>
void ProjectRange(const D3DMATRIX& world, const D3DMATRIX& screen, std::span<D3DTLVERTEX> out,
                  std::span<const In> in, Long start, Long count, Copy copy) {
    if (start < 0 || count <= 0) return;
    D3DMATRIX t;
    DirectX7::MatrixMultiply(t, world, screen);
    const auto end = std::min(
        {static_cast<std::size_t>(start) + static_cast<std::size_t>(count), out.size(), in.size()});
    for (auto i = static_cast<std::size_t>(start); i < end; ++i) {
        D3DTLVERTEX v;
        Divide(TransformRow(t, in[i].x, in[i].y, in[i].z, 1.0f), v);
        copy(in[i], v);
        out[i] = v;
    }
}

}  // namespace

void CIMArk::ProjectVerticesFromLVertex(const D3DMATRIX& world, std::span<D3DTLVERTEX> out,
                                        std::span<const D3DLVERTEX> in, Long start,
                                        Long count) const {
    ProjectRange(world, screenTransform_, out, in, start, count,
                 [](const D3DLVERTEX& s, D3DTLVERTEX& d) {
                     d.color = s.color;
                     d.specular = s.specular;
                     d.tu = s.tu;
                     d.tv = s.tv;
                 });
}

void CIMArk::ProjectVerticesFromVertex(const D3DMATRIX& world, std::span<D3DTLVERTEX> out,
                                       std::span<const D3DVERTEX> in, Long start,
                                       Long count) const {
    ProjectRange(world, screenTransform_, out, in, start, count,
                 [](const D3DVERTEX& s, D3DTLVERTEX& d) {
                     d.color = d.specular = kOpaqueWhite;
                     d.tu = s.tu;
                     d.tv = s.tv;
                 });
}

namespace {

// Half the device viewport's size, rounded half to even, and world x view x
// projection of the device.
struct DeviceProjection {
    Single hw = 0, hh = 0;
    D3DMATRIX m;
};

DeviceProjection ReadDeviceProjection(platform::Direct3DDevice7* device) {
    DeviceProjection d;
    platform::D3DVIEWPORT7 vp;
    if (device != nullptr) device->GetViewport(vp);
    d.hw = static_cast<Single>(RoundToLong(vp.lWidth / 2.0));
    d.hh = static_cast<Single>(RoundToLong(vp.lHeight / 2.0));
    D3DMATRIX worldView;
    DirectX7::MatrixMultiply(worldView, DeviceTransform(device, platform::D3DTRANSFORMSTATE_WORLD),
                             DeviceTransform(device, platform::D3DTRANSFORMSTATE_VIEW));
    DirectX7::MatrixMultiply(d.m, worldView,
                             DeviceTransform(device, platform::D3DTRANSFORMSTATE_PROJECTION));
    return d;
}

}  // namespace

void CIMArk::ProjectVertices(const D3DLVERTEX& in, D3DTLVERTEX& out) {
    const DeviceProjection d = ReadDeviceProjection(Device());
    const Vec4 p = TransformRow(d.m, in.x, in.y, in.z, 1.0f);
    D3DTLVERTEX v;
    Divide(p, v);
    if (v.rhw != 0.0f) {
        v.sx = (v.sx + 1.0f) * d.hw;
        v.sy = (1.0f - v.sy) * d.hh;
    }
    v.color = in.color;
    v.specular = in.specular;
    v.tu = in.tu;
    v.tv = in.tv;
    out = v;
}

void CIMArk::UnProjectVertices(const D3DTLVERTEX& in, D3DLVERTEX& out) {
    const DeviceProjection d = ReadDeviceProjection(Device());
    D3DLVERTEX v;
    v.color = in.color;
    v.specular = in.specular;
    v.tu = in.tu;
    v.tv = in.tv;
    D3DMATRIX inv;
    if (in.rhw != 0.0f && std::isfinite(in.rhw) && d.hw != 0.0f && d.hh != 0.0f &&
        InvertMatrix(inv, d.m)) {
        const Single w = 1.0f / in.rhw;
        const Vec4 p =
            TransformRow(inv, w * (in.sx / d.hw - 1.0f), w * (1.0f - in.sy / d.hh), w * in.sz, w);
        v.x = p.x;
        v.y = p.y;
        v.z = p.z;
    }
    out = v;
}

bool CIMArk::MatrixInverse(D3DMATRIX& out, const D3DMATRIX& in) {
    return InvertMatrix(out, in);
}

D3DVECTOR CIMArk::VectorTransform(const D3DMATRIX& m, Single x, Single y, Single z) {
    const Vec4 p = TransformRow(m, x, y, z, 1.0f);
    return {p.x, p.y, p.z};
}

D3DVECTOR CIMArk::VectorTransformN(const D3DMATRIX& m, Single x, Single y, Single z) {
    const Vec4 p = TransformRow(m, x, y, z, 0.0f);
    return {p.x, p.y, p.z};
}

D3DVECTOR CIMArk::Get_nv(Single x, Single y, Single z) {
    D3DVECTOR v{x, y, z};
    NormalizeOrZero(v);
    return v;
}

}  // namespace brumil::render
