// CIMArkObject: recolouring and the two shadow colourings of the pre-lit
// vertices.
#include <algorithm>
#include <cmath>

#include "core/math_helpers.h"
#include "platform/gfx/dx7_math.h"
#include "render/ark.h"
#include "render/ark_object.h"

namespace brumil::render {

namespace {

constexpr Long kRgbMask = 0x00FFFFFF;

// `rgb` with `alpha` (0..255) in bits 24-31.
Long WithAlpha(Long rgb, Long alpha) {
    return (rgb & kRgbMask) | core::SHL(alpha, 24);
}

}  // namespace

void CIMArkObject::SetColor(Long color) {
    const Long target = twin_ ? kArkPreLit : kind_;
    switch (target) {
        case kArkPreLit:
            for (auto& v : lvertices_) v.color = color;
            break;
        case kArkBillBoard:
            billBoard_.color = color;
            break;
        case kArkScreen:
            for (auto& v : tlvertices_) v.color = color;
            break;
        default:
            break;  // plain vertices have no colour
    }
}

void CIMArkObject::SetShadowScale(Long color, Long maxAlpha) {
    if (!(kind_ == kArkPreLit || twin_)) return;
    const Long peak = std::clamp<Long>(maxAlpha, 0, 255);
    const auto& p = placement_;
    const Single radius = std::sqrt(p.sx * p.sx + p.sz * p.sz) / 2;
    // A zero (or unusable) radius leaves no shadow at all rather than a NaN.
    const bool usable = radius > 0 && std::isfinite(radius);
    for (auto& v : lvertices_) {
        Long alpha = 0;
        if (usable) {
            const Single d = std::sqrt(v.x * v.x + v.z * v.z) / radius;
            if (d < 1) alpha = RoundToLong(static_cast<double>(1 - d) * peak);
        }
        v.color = WithAlpha(color, alpha);
    }
}

void CIMArkObject::SetShadowMap(Long color, const D3DVECTOR& lightDirection, CIMArkObject& caster) {
    if (!twin_) return;
    D3DVECTOR light = lightDirection;
    platform::DirectX7::VectorNormalize(light);

    // Only vertices that have both forms take part.
    const std::size_t n = std::min(lvertices_.size(), vertices_.size());
    std::vector<D3DVECTOR> points(n);
    std::vector<bool> marks(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        const D3DVERTEX& v = vertices_[i];
        const D3DVECTOR normal = CIMArk::VectorTransformN(world_, v.nx, v.ny, v.nz);
        if (platform::DirectX7::VectorDotProduct(light, normal) >= -0.125f) {
            marks[i] = true;  // facing away from the light or nearly edge-on
        } else {
            points[i] = CIMArk::VectorTransform(world_, v.x, v.y, v.z);
        }
    }
    D3DVECTOR offset;
    platform::DirectX7::VectorScale(offset, light, -100.0f);
    caster.HitTestVertexLines(points, offset, marks, true);
    for (std::size_t i = 0; i < n; ++i) {
        if (marks[i]) lvertices_[i].color = color;
    }
}

}  // namespace brumil::render
