#include <algorithm>
#include <cmath>

#include "lighting.h"

namespace brumil::platform::lighting {

namespace {

float Dot(const D3DVECTOR& a, const D3DVECTOR& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

D3DVECTOR Normalised(const D3DVECTOR& v) {
    const float l = std::sqrt(Dot(v, v));
    if (!(l > 0.0f)) return {0, 0, 0};
    return {v.x / l, v.y / l, v.z / l};
}

// fmin(fmax(v, 0), 1) without the library calls: NaN and -0 give +0.
float Clamp01(float v) {
    if (!(v > 0.0f)) return 0.0f;
    return v < 1.0f ? v : 1.0f;
}

// fmax(v, 0) likewise.
float AtLeastZero(float v) {
    return v > 0.0f ? v : 0.0f;
}

}  // namespace

void Prepare(Context& ctx) {
    ctx.enabled.clear();
    for (const Light& slot : ctx.lights) {
        if (!slot.enabled) continue;
        const D3DLIGHT7& l = slot.light;
        Prepared p;
        p.light = &l;
        if (l.dltType == D3DLIGHT_DIRECTIONAL) {
            p.toLight = Normalised({-l.direction.x, -l.direction.y, -l.direction.z});
        } else if (l.dltType == D3DLIGHT_SPOT) {
            p.spotDirection = Normalised(l.direction);
            p.cosTheta = std::cos(l.theta * 0.5f);
            p.cosPhi = std::cos(l.phi * 0.5f);
        } else if (l.dltType != D3DLIGHT_POINT) {
            continue;
        }
        ctx.enabled.push_back(p);
    }
}

void LightVertex(const Context& ctx, const D3DVECTOR& p, const D3DVECTOR& n, float diffuse[4],
                 float specular[4]) {
    const D3DMATERIAL7& m = ctx.material;
    const float amb[3] = {float((ctx.ambient >> 16) & 255) / 255.0f,
                          float((ctx.ambient >> 8) & 255) / 255.0f,
                          float(ctx.ambient & 255) / 255.0f};
    float col[3] = {m.emissive.r + m.ambient.r * amb[0], m.emissive.g + m.ambient.g * amb[1],
                    m.emissive.b + m.ambient.b * amb[2]};
    float spec[3] = {0, 0, 0};
    for (const Prepared& prepared : ctx.enabled) {
        const D3DLIGHT7& l = *prepared.light;
        D3DVECTOR toLight;
        float atten = 1.0f;
        if (l.dltType == D3DLIGHT_DIRECTIONAL) {
            toLight = prepared.toLight;
        } else {
            const D3DVECTOR d = {l.position.x - p.x, l.position.y - p.y, l.position.z - p.z};
            const float dist = std::sqrt(Dot(d, d));
            if (!(dist <= l.range)) continue;  // out of range (or NaN)
            toLight = dist > 0.0f ? D3DVECTOR{d.x / dist, d.y / dist, d.z / dist} : D3DVECTOR{};
            const float denom =
                l.attenuation0 + l.attenuation1 * dist + l.attenuation2 * dist * dist;
            atten = denom > 0.0f ? 1.0f / denom : 1.0f;
            if (l.dltType == D3DLIGHT_SPOT) {
                const float rho = -Dot(prepared.spotDirection, toLight);
                const float cosTheta = prepared.cosTheta, cosPhi = prepared.cosPhi;
                if (rho <= cosPhi) continue;
                if (rho <= cosTheta) {
                    const float t = (rho - cosPhi) / (cosTheta - cosPhi);
                    atten *= l.falloff == 1.0f ? t : std::pow(Clamp01(t), l.falloff);
                }
            }
        }
        const float ndotl = AtLeastZero(Dot(n, toLight));
        col[0] += atten * (m.ambient.r * l.ambient.r + m.diffuse.r * l.diffuse.r * ndotl);
        col[1] += atten * (m.ambient.g * l.ambient.g + m.diffuse.g * l.diffuse.g * ndotl);
        col[2] += atten * (m.ambient.b * l.ambient.b + m.diffuse.b * l.diffuse.b * ndotl);
        if (ctx.specular && ndotl > 0.0f) {
            const D3DVECTOR toEye = Normalised({ctx.eye.x - p.x, ctx.eye.y - p.y, ctx.eye.z - p.z});
            const D3DVECTOR h =
                Normalised({toEye.x + toLight.x, toEye.y + toLight.y, toEye.z + toLight.z});
            const float ndoth = AtLeastZero(Dot(n, h));
            const float k = atten * (m.power > 0.0f ? std::pow(ndoth, m.power) : 1.0f);
            spec[0] += k * m.specular.r * l.specular.r;
            spec[1] += k * m.specular.g * l.specular.g;
            spec[2] += k * m.specular.b * l.specular.b;
        }
    }
    // b, g, r, a order, 0..255.
    diffuse[0] = Clamp01(col[2]) * 255.0f;
    diffuse[1] = Clamp01(col[1]) * 255.0f;
    diffuse[2] = Clamp01(col[0]) * 255.0f;
    diffuse[3] = Clamp01(m.diffuse.a) * 255.0f;
    specular[0] = Clamp01(spec[2]) * 255.0f;
    specular[1] = Clamp01(spec[1]) * 255.0f;
    specular[2] = Clamp01(spec[0]) * 255.0f;
    specular[3] = 0.0f;
}

}  // namespace brumil::platform::lighting
