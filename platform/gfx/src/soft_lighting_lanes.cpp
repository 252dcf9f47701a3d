// The lighting model four vertices at a time in SSE2 lanes. Each lane goes
// through exactly the operations LightVertex does for its vertex, in the
// same order and with no fused multiply-add, so its colours are the same
// bits; where LightVertex skips a light for a vertex, the lane's sums are
// kept as they were. pow stays the library's, lane by lane.
#include <emmintrin.h>

#include <cmath>

#include "lighting.h"

namespace brumil::platform::lighting {

namespace {

using F = __m128;

F Set(float v) {
    return _mm_set1_ps(v);
}
F Add(F a, F b) {
    return _mm_add_ps(a, b);
}
F Sub(F a, F b) {
    return _mm_sub_ps(a, b);
}
F Mul(F a, F b) {
    return _mm_mul_ps(a, b);
}
F Div(F a, F b) {
    return _mm_div_ps(a, b);
}
F And(F a, F b) {
    return _mm_and_ps(a, b);
}
// mask ? a : b, lane by lane.
F Select(F mask, F a, F b) {
    return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
}
bool Any(F mask) {
    return _mm_movemask_ps(mask) != 0;
}

struct V3 {
    F x, y, z;
};

F Dot(const V3& a, const V3& b) {
    return Add(Add(Mul(a.x, b.x), Mul(a.y, b.y)), Mul(a.z, b.z));
}

V3 Splat(const D3DVECTOR& v) {
    return {Set(v.x), Set(v.y), Set(v.z)};
}

// As the scalar Normalised: nothing where the length is not above zero.
V3 Normalised(const V3& v) {
    const F l = _mm_sqrt_ps(Dot(v, v));
    const F ok = _mm_cmpgt_ps(l, _mm_setzero_ps());
    return {And(ok, Div(v.x, l)), And(ok, Div(v.y, l)), And(ok, Div(v.z, l))};
}

// As the scalar Clamp01: NaN and -0 give +0.
F Clamp01(F v) {
    const F one = Set(1.0f);
    return And(_mm_cmpgt_ps(v, _mm_setzero_ps()), Select(_mm_cmplt_ps(v, one), v, one));
}

F AtLeastZero(F v) {
    return And(_mm_cmpgt_ps(v, _mm_setzero_ps()), v);
}

// pow(base, e) in the lanes of `mask`, 1 elsewhere.
F PowLanes(F mask, F base, float e) {
    alignas(16) float b[4], out[4];
    _mm_store_ps(b, base);
    const int bits = _mm_movemask_ps(mask);
    for (int k = 0; k < 4; ++k) out[k] = (bits >> k) & 1 ? std::pow(b[k], e) : 1.0f;
    return _mm_load_ps(out);
}

}  // namespace

void LightLanes(const Context& ctx, const Lanes& v, float diffuse[4][4], float specular[4][4]) {
    const D3DMATERIAL7& m = ctx.material;
    const float amb[3] = {float((ctx.ambient >> 16) & 255) / 255.0f,
                          float((ctx.ambient >> 8) & 255) / 255.0f,
                          float(ctx.ambient & 255) / 255.0f};
    F col[3] = {Set(m.emissive.r + m.ambient.r * amb[0]), Set(m.emissive.g + m.ambient.g * amb[1]),
                Set(m.emissive.b + m.ambient.b * amb[2])};
    F spec[3] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
    const V3 p = {_mm_loadu_ps(v.px), _mm_loadu_ps(v.py), _mm_loadu_ps(v.pz)};
    const V3 n = {_mm_loadu_ps(v.nx), _mm_loadu_ps(v.ny), _mm_loadu_ps(v.nz)};
    const F all = _mm_castsi128_ps(_mm_set1_epi32(-1));
    const F sign = Set(-0.0f);
    for (const Prepared& prepared : ctx.enabled) {
        const D3DLIGHT7& l = *prepared.light;
        F active = all;
        V3 toLight;
        F atten = Set(1.0f);
        if (l.dltType == D3DLIGHT_DIRECTIONAL) {
            toLight = Splat(prepared.toLight);
        } else {
            const V3 d = {Sub(Set(l.position.x), p.x), Sub(Set(l.position.y), p.y),
                          Sub(Set(l.position.z), p.z)};
            const F dist = _mm_sqrt_ps(Dot(d, d));
            active = _mm_cmple_ps(dist, Set(l.range));
            if (!Any(active)) continue;
            const F away = _mm_cmpgt_ps(dist, _mm_setzero_ps());
            toLight = {And(away, Div(d.x, dist)), And(away, Div(d.y, dist)),
                       And(away, Div(d.z, dist))};
            const F denom = Add(Add(Set(l.attenuation0), Mul(Set(l.attenuation1), dist)),
                                Mul(Mul(Set(l.attenuation2), dist), dist));
            atten = Select(_mm_cmpgt_ps(denom, _mm_setzero_ps()), Div(Set(1.0f), denom), atten);
            if (l.dltType == D3DLIGHT_SPOT) {
                const F rho = _mm_xor_ps(Dot(Splat(prepared.spotDirection), toLight), sign);
                const float cosTheta = prepared.cosTheta, cosPhi = prepared.cosPhi;
                active = _mm_andnot_ps(_mm_cmple_ps(rho, Set(cosPhi)), active);
                if (!Any(active)) continue;
                const F penumbra = And(active, _mm_cmple_ps(rho, Set(cosTheta)));
                if (Any(penumbra)) {
                    const F t = Div(Sub(rho, Set(cosPhi)), Set(cosTheta - cosPhi));
                    const F factor =
                        l.falloff == 1.0f ? t : PowLanes(penumbra, Clamp01(t), l.falloff);
                    atten = Select(penumbra, Mul(atten, factor), atten);
                }
            }
        }
        const F ndotl = AtLeastZero(Dot(n, toLight));
        const F lit[3] = {
            Mul(atten,
                Add(Set(m.ambient.r * l.ambient.r), Mul(Set(m.diffuse.r * l.diffuse.r), ndotl))),
            Mul(atten,
                Add(Set(m.ambient.g * l.ambient.g), Mul(Set(m.diffuse.g * l.diffuse.g), ndotl))),
            Mul(atten,
                Add(Set(m.ambient.b * l.ambient.b), Mul(Set(m.diffuse.b * l.diffuse.b), ndotl)))};
        for (int c = 0; c < 3; ++c) col[c] = Select(active, Add(col[c], lit[c]), col[c]);
        if (!ctx.specular) continue;
        const F shiny = And(active, _mm_cmpgt_ps(ndotl, _mm_setzero_ps()));
        if (!Any(shiny)) continue;
        const V3 toEye = Normalised(
            {Sub(Set(ctx.eye.x), p.x), Sub(Set(ctx.eye.y), p.y), Sub(Set(ctx.eye.z), p.z)});
        const V3 h =
            Normalised({Add(toEye.x, toLight.x), Add(toEye.y, toLight.y), Add(toEye.z, toLight.z)});
        const F ndoth = AtLeastZero(Dot(n, h));
        const F k = Mul(atten, m.power > 0.0f ? PowLanes(shiny, ndoth, m.power) : Set(1.0f));
        const float lightSpec[3] = {l.specular.r, l.specular.g, l.specular.b};
        const float matSpec[3] = {m.specular.r, m.specular.g, m.specular.b};
        for (int c = 0; c < 3; ++c) {
            spec[c] = Select(shiny, Add(spec[c], Mul(Mul(k, Set(matSpec[c])), Set(lightSpec[c]))),
                             spec[c]);
        }
    }
    // b, g, r, a order, 0..255.
    alignas(16) float out[6][4];
    const F scale = Set(255.0f);
    for (int c = 0; c < 3; ++c) {
        _mm_store_ps(out[c], Mul(Clamp01(col[2 - c]), scale));
        _mm_store_ps(out[3 + c], Mul(Clamp01(spec[2 - c]), scale));
    }
    const float alpha = Clamp01(Set(m.diffuse.a))[0] * 255.0f;
    for (int k = 0; k < 4; ++k) {
        for (int c = 0; c < 3; ++c) {
            diffuse[k][c] = out[c][k];
            specular[k][c] = out[3 + c][k];
        }
        diffuse[k][3] = alpha;
        specular[k][3] = 0.0f;
    }
}

}  // namespace brumil::platform::lighting
