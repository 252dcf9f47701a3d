// Lighting four vertices in lanes against lighting them one at a time: every
// light kind and count, with and without specular, must give the same bits
// in every lane, whichever lights each lane skips.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "lighting.h"

namespace brumil::platform::lighting {
namespace {

struct Rng {
    std::uint32_t seed;
    float Range(float lo, float hi) {
        seed = seed * 1664525u + 1013904223u;
        return lo + (hi - lo) * float(seed >> 8) / float(1u << 24);
    }
};

enum Kind { kSun, kPoint, kSpotLinear, kSpotCurved, kShortPoint, kNegative };

D3DLIGHT7 MakeLight(Kind kind, Rng& rng) {
    D3DLIGHT7 l;
    l.diffuse = {rng.Range(0, 1.2f), rng.Range(0, 1.2f), rng.Range(0, 1.2f), 1};
    l.ambient = {rng.Range(0, 0.3f), rng.Range(0, 0.3f), rng.Range(0, 0.3f), 0};
    l.specular = {rng.Range(0, 1), rng.Range(0, 1), rng.Range(0, 1), 0};
    l.position = {rng.Range(-2, 2), rng.Range(-2, 2), rng.Range(-3, -0.5f)};
    l.direction = {rng.Range(-0.5f, 0.5f), rng.Range(-0.5f, 0.5f), 1};
    l.range = 6;
    l.attenuation0 = 0.5f;
    l.attenuation1 = 0.25f;
    l.attenuation2 = 0.125f;
    switch (kind) {
        case kSun:
            l.dltType = D3DLIGHT_DIRECTIONAL;
            break;
        case kPoint:
            l.dltType = D3DLIGHT_POINT;
            break;
        case kShortPoint:  // some vertices in range, some not
            l.dltType = D3DLIGHT_POINT;
            l.range = 2.5f;
            l.attenuation0 = 0;  // and 1 / d^2 near the light
            break;
        case kSpotLinear:
        case kSpotCurved:
            l.dltType = D3DLIGHT_SPOT;
            l.theta = 0.4f;
            l.phi = 1.2f;
            l.falloff = kind == kSpotLinear ? 1.0f : 2.5f;
            break;
        case kNegative:
            l.dltType = D3DLIGHT_DIRECTIONAL;
            l.diffuse = {-0.7f, -0.2f, -1.5f, 0};
            break;
    }
    return l;
}

struct LanesCase {
    std::string name;
    std::vector<Kind> kinds;
    bool specular;
    float power;
    std::uint32_t ambient;
};

void PrintTo(const LanesCase& c, std::ostream* os) {
    *os << c.name << " lights " << c.kinds.size() << " specular " << c.specular << " power "
        << c.power;
}

class LightLanesTest : public ::testing::TestWithParam<LanesCase> {};

TEST_P(LightLanesTest, EachLaneMatchesLightVertexBitForBit) {
    const LanesCase& c = GetParam();
    Rng rng{0x5EED1234u + static_cast<std::uint32_t>(c.kinds.size())};
    std::vector<Light> lights;
    for (const Kind k : c.kinds) lights.push_back({MakeLight(k, rng), true});
    // A disabled light between the others must be skipped by both.
    if (lights.size() > 1) lights.insert(lights.begin() + 1, {MakeLight(kPoint, rng), false});
    Context ctx;
    ctx.material.diffuse = {0.8f, 0.6f, 0.9f, 0.7f};
    ctx.material.ambient = {0.3f, 0.5f, 0.2f, 1};
    ctx.material.specular = {0.9f, 0.9f, 0.4f, 1};
    ctx.material.emissive = {0.05f, 0.1f, 0.0f, 0};
    ctx.material.power = c.power;
    ctx.ambient = c.ambient;
    ctx.lights = lights;
    ctx.specular = c.specular;
    ctx.eye = {0.5f, 1.0f, -4.0f};
    Prepare(ctx);
    int differing = 0, lit = 0;
    for (int group = 0; group < 64; ++group) {
        Lanes in;
        D3DVECTOR p[4], n[4];
        for (int k = 0; k < 4; ++k) {
            p[k] = {rng.Range(-3, 3), rng.Range(-3, 3), rng.Range(-1, 3)};
            n[k] = {rng.Range(-1, 1), rng.Range(-1, 1), rng.Range(-1, 0.3f)};
            if ((group + k) % 11 == 0) n[k] = {0, 0, 0};  // no normal: no diffuse
            if ((group * 4 + k) % 13 == 0) p[k] = lights.empty() ? p[k] : lights[0].light.position;
            in.px[k] = p[k].x;
            in.py[k] = p[k].y;
            in.pz[k] = p[k].z;
            in.nx[k] = n[k].x;
            in.ny[k] = n[k].y;
            in.nz[k] = n[k].z;
        }
        float diffuse[4][4], specular[4][4];
        LightLanes(ctx, in, diffuse, specular);
        for (int k = 0; k < 4; ++k) {
            float d[4], s[4];
            LightVertex(ctx, p[k], n[k], d, s);
            for (int ch = 0; ch < 4; ++ch) {
                EXPECT_EQ(std::bit_cast<std::uint32_t>(diffuse[k][ch]),
                          std::bit_cast<std::uint32_t>(d[ch]))
                    << "group " << group << " lane " << k << " diffuse " << ch;
                EXPECT_EQ(std::bit_cast<std::uint32_t>(specular[k][ch]),
                          std::bit_cast<std::uint32_t>(s[ch]))
                    << "group " << group << " lane " << k << " specular " << ch;
            }
            if (d[0] != diffuse[(k + 1) % 4][0]) ++differing;
            if (s[0] + s[1] + s[2] > 0) ++lit;
        }
    }
    // The lanes must have had different colours to tell apart, and specular
    // highlights where specular is on.
    if (!c.kinds.empty()) {
        EXPECT_GT(differing, 32);
    }
    if (c.specular && !c.kinds.empty() && c.kinds != std::vector<Kind>{kNegative}) {
        EXPECT_GT(lit, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LightLanesTest,
    ::testing::Values(
        LanesCase{"NoLights", {}, false, 0, 0xFF404040u}, LanesCase{"Sun", {kSun}, false, 0, 0},
        LanesCase{"SunSpecular", {kSun}, true, 12, 0},
        LanesCase{"Point", {kPoint}, true, 4, 0x00102030u},
        LanesCase{"ShortPointSomeOutOfRange", {kShortPoint}, true, 30, 0},
        LanesCase{"SpotLinearFalloff", {kSpotLinear}, true, 8, 0},
        LanesCase{"SpotCurvedFalloff", {kSpotCurved}, false, 0, 0x00808080u},
        LanesCase{"NegativeDarkens", {kNegative, kSun}, false, 0, 0x00FFFFFFu},
        LanesCase{"SpecularPowerZero", {kPoint, kSun}, true, 0, 0},
        LanesCase{"EightMixed",
                  {kSun, kPoint, kSpotLinear, kSpotCurved, kShortPoint, kNegative, kSun, kPoint},
                  true,
                  20,
                  0x00203040u}),
    [](const ::testing::TestParamInfo<LanesCase>& info) { return info.param.name; });

}  // namespace
}  // namespace brumil::platform::lighting
