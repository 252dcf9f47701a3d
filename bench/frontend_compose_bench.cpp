// Screen composition: recomposing a layer and one frame of a tile transition.

#include <benchmark/benchmark.h>

#include "core/math_random.h"
#include "framework/display.h"
#include "frontend/layer.h"
#include "frontend/quadefects.h"
#include "image/cmg_bbi_function.h"

namespace {

using brumil::Long;
using brumil::core::CRect;
using brumil::frontend::CLayer;

// A 640x480 layer of four entries, each holding a picture; every iteration
// recomposes a region of the given side.
void BM_LayerRecompose(benchmark::State& state) {
    const Long side = static_cast<Long>(state.range(0));
    CLayer layer;
    layer.Resize(640, 480, 4);
    for (Long i = 0; i < 4; ++i) {
        brumil::image::gBBIFunction().BBIDrawColorFill(*layer.BBI(i), 10 * i, 10 * i, 600, 440, 0,
                                                       static_cast<Long>(0x80102030u) + i);
        layer.Dirt(i)->Create(0, 0, 640, 480);
    }
    CRect dirty;
    layer.DoCompose(dirty);
    for (auto _ : state) {
        layer.Dirt(2)->Create(100, 100, side, side);
        benchmark::DoNotOptimize(&layer.DoCompose(dirty));
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_LayerRecompose)->Arg(64)->Arg(480);

// One transition frame over the whole 640x480 screen (tiles of 40, the first
// half of the transition, where tiles are largest).
void BM_QuadefectsFrame(benchmark::State& state) {
    if (!brumil::framework::DisplayStart(brumil::framework::DisplaySettings{})) {
        state.SkipWithError("no display");
        return;
    }
    brumil::core::MathRandom random{7};
    brumil::frontend::CQuadefects q{random};
    for (auto _ : state) {
        state.PauseTiming();
        if (q.Counter() >= 10 || q.EndCount() == 0) {
            q.SplitRgnAngle(16, 12.0f, 12.0f, 1.57074f, 1.57074f, 0.9f, 0.0f, 4.712389f, 0.0f);
        }
        state.ResumeTiming();
        q.DoCompose();
    }
    brumil::framework::DisplayStop();
}
BENCHMARK(BM_QuadefectsFrame);

}  // namespace
