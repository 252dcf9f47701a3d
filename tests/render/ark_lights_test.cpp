// Light and material records, and the light calls on the device.
#include <gtest/gtest.h>

#include "ark_test_host.h"
#include "render/ark.h"

namespace brumil::render {
namespace {

using testing::FakeArkHost;

struct LightWant {
    Long type;
    Single r, g, b;
    D3DVECTOR position, direction;
    Single range, falloff, att0, att1, att2, theta, phi;
};

void ExpectLight(const D3DLIGHT7& l, const LightWant& w, const char* name) {
    EXPECT_EQ(l.dltType, w.type) << name;
    EXPECT_FLOAT_EQ(l.diffuse.r, w.r) << name;
    EXPECT_FLOAT_EQ(l.diffuse.g, w.g) << name;
    EXPECT_FLOAT_EQ(l.diffuse.b, w.b) << name;
    EXPECT_EQ(l.diffuse.a, 0.0f) << name;
    for (const auto* c : {&l.specular, &l.ambient}) {
        EXPECT_EQ(c->r + c->g + c->b + c->a, 0.0f) << name;
    }
    EXPECT_EQ(l.position.x, w.position.x) << name;
    EXPECT_EQ(l.position.y, w.position.y) << name;
    EXPECT_EQ(l.position.z, w.position.z) << name;
    EXPECT_EQ(l.direction.x, w.direction.x) << name;
    EXPECT_EQ(l.direction.y, w.direction.y) << name;
    EXPECT_EQ(l.direction.z, w.direction.z) << name;
    EXPECT_FLOAT_EQ(l.range, w.range) << name;
    EXPECT_FLOAT_EQ(l.falloff, w.falloff) << name;
    EXPECT_FLOAT_EQ(l.attenuation0, w.att0) << name;
    EXPECT_FLOAT_EQ(l.attenuation1, w.att1) << name;
    EXPECT_FLOAT_EQ(l.attenuation2, w.att2) << name;
    EXPECT_NEAR(l.theta, w.theta, 1e-6) << name;
    EXPECT_NEAR(l.phi, w.phi, 1e-6) << name;
}

TEST(ArkLights, RecordsOfEachMaker) {
    const D3DVECTOR pos{1, 2, 3}, dir{0, -1, 0.5f};
    struct Case {
        const char* name;
        D3DLIGHT7 light;
        LightWant want;
    };
    const Case cases[] = {
        {"brim",
         CIMArk::Get_Light_BrimLight(pos, 2, 0.1f, 0.2f, 0.3f, 50),
         {1, 0.2f, 0.4f, 0.6f, pos, {}, 50, 0, 0.75f, 0.075f, 0.0075f, 0, 0}},
        {"point",
         CIMArk::Get_Light_PointLight(pos, 0.5f, 0.6f, 0.7f, 0.75f),
         {1, 0.5f, 0.6f, 0.7f, pos, {}, 100, 0, 0.75f, 0.075f, 0.0075f, 0, 0}},
        {"point k 2",
         CIMArk::Get_Light_PointLight(pos, 1, 1, 1, 2),
         {1, 1, 1, 1, pos, {}, 100, 0, 2, 0.2f, 0.02f, 0, 0}},
        {"spot",
         CIMArk::Get_Light_SpotLight(pos, dir, 0.3f, 0.2f, 0.1f, 0.5f),
         {2, 0.3f, 0.2f, 0.1f, pos, dir, 100, 1, 0.75f, 0.075f, 0.0075f, 0.392699f, 1.570796f}},
        {"directional",
         CIMArk::Get_Light_DirectionalLight(0, -1, 0.5f, 0.9f, 0.8f, 0.7f),
         {3, 0.9f, 0.8f, 0.7f, {}, dir, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) ExpectLight(c.light, c.want, c.name);
}

TEST(ArkLights, MaterialTakesDiffuseEmissiveAmbientInThatOrder) {
    const auto m = CIMArk::Get_Material(0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f);
    EXPECT_EQ(m.diffuse.r, 0.1f);
    EXPECT_EQ(m.diffuse.b, 0.3f);
    EXPECT_EQ(m.emissive.r, 0.4f);
    EXPECT_EQ(m.emissive.b, 0.6f);
    EXPECT_EQ(m.ambient.r, 0.7f);
    EXPECT_EQ(m.ambient.b, 0.9f);
    EXPECT_EQ(m.diffuse.a + m.emissive.a + m.ambient.a, 0.0f);
    EXPECT_EQ(m.specular.r + m.specular.g + m.specular.b + m.specular.a + m.power, 0.0f);
}

TEST(ArkLights, SetLightReachesTheDeviceAtOnce) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.SetLight(CIMArk::Get_Light_PointLight({0, 5, 0}, 1, 1, 1, 0.75f), 2, true);
    const auto& calls = host.Recorder().Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "SetLight");
    EXPECT_EQ(calls[0].args[0], 2);
    EXPECT_EQ(calls[1].name, "LightEnable");
    EXPECT_EQ(calls[1].args, (std::vector<Long>{2, 1}));
    EXPECT_TRUE(ark.ChangedLight);
}

TEST(ArkLights, SetLightEnableOnlyActsOnAChange) {
    struct Case {
        bool before, enable;
        bool sends;
    };
    const Case cases[] = {
        {false, false, false}, {true, true, false}, {false, true, true}, {true, false, true}};
    for (const auto& c : cases) {
        FakeArkHost host;
        CIMArk ark(host);
        host.Recorder().LightEnable(4, c.before);
        host.Recorder().ClearCalls();
        ark.SetLightEnable(4, c.enable);
        EXPECT_EQ(host.Recorder().CallsNamed("LightEnable").size(), c.sends ? 1u : 0u)
            << c.before << c.enable;
        EXPECT_EQ(ark.ChangedLight, c.sends) << c.before << c.enable;
        EXPECT_EQ(host.Recorder().GetLightEnable(4), c.enable);
    }
}

TEST(ArkLights, AmbientAndWorldGoStraightToTheDevice) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.SetLightAmbient(0x40404040);
    ark.InstantTransform(CIMArk::Get_Transform(1, 2, 3, 0, 0, 0, 1, 1, 1));
    const auto& calls = host.Recorder().Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args, (std::vector<Long>{platform::D3DRENDERSTATE_AMBIENT, 0x40404040}));
    EXPECT_EQ(calls[1].args[0], platform::D3DTRANSFORMSTATE_WORLD);
    EXPECT_EQ(calls[1].values[12], 1.0f);
    EXPECT_EQ(calls[1].values[14], 3.0f);
}

TEST(ArkLights, WithoutADeviceOnlyTheFlagMoves) {
    FakeArkHost host;
    host.hasDevice = false;
    CIMArk ark(host);
    ark.SetLightEnable(0, true);
    EXPECT_FALSE(ark.ChangedLight);
    ark.SetLight(CIMArk::Get_Light_DirectionalLight(0, -1, 0, 1, 1, 1), 0, true);
    EXPECT_TRUE(ark.ChangedLight);
    EXPECT_TRUE(host.Recorder().Calls().empty());
}

}  // namespace
}  // namespace brumil::render
