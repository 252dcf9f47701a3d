// The per-sprite path of the rendering library: the cached state calls and a
// whole textured quad on the software device.

#include <benchmark/benchmark.h>

#include <array>

#include "framework/display.h"
#include "render/admin_lib.h"
#include "render/graphics.h"
#include "render/im_device.h"
#include "render/im_texture.h"

namespace {

using namespace brumil;

struct Display {
    Display() { framework::DisplayStart(framework::DisplaySettings{}); }
    ~Display() {
        render::gIMTexture().Clear();
        framework::DisplayStop();
    }
};

// The same texture and code as the sprite before: no device calls at all.
void BM_CachedSpriteState(benchmark::State& state) {
    Display display;
    auto& device = render::gIMDevice();
    const Long index = render::gIMTexture().Add("?alpha128x128");
    std::array<platform::D3DTLVERTEX, 4> v{};
    const std::array<Long, 4> colours{-1, -1, -1, -1};
    Single angle = 0;
    for (auto _ : state) {
        device.SetTextureIndex(index);
        device.SetRenderModeLE(0x215);
        render::CIMDevice::GetD3DTLVERTEX_Box(v, 320, 240, 32, 32, 0.5f, 0.5f, 0, 0, 1, 1, angle, 1,
                                              colours);
        angle += 0.01f;
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_CachedSpriteState);

// A 32 x 32 alpha-blended sprite drawn through CGraphics, turned a little
// each time.
void BM_DrawD3DSprite(benchmark::State& state) {
    Display display;
    render::CGraphics sprite;
    sprite.Add(32, 32, true);
    sprite.ChooseColor(255, 128, 0, 200);
    sprite.SetRender_Texture(true, false);
    auto& device = render::gIMDevice();
    device.SceneBegin();
    Single angle = 0;
    for (auto _ : state) {
        sprite.DrawD3D(320, 240, 0, 0, 0.5f, 0.5f, angle, 1);
        angle += 0.01f;
    }
    device.SceneEnd();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawD3DSprite);

}  // namespace
