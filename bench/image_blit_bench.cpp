// The two pixel operations every menu frame leans on: the layer compose blit
// of a whole 640x480 picture and the bilinear scale to a 1024x768 screen.

#include <benchmark/benchmark.h>

#include "image/cmg_bbi_function.h"

namespace {

using brumil::image::CmgBBI;
using brumil::image::gBBIFunction;

CmgBBI Pattern(int w, int h) {
    CmgBBI p;
    p.CreateBBI(w, h, 0);
    std::uint32_t v = 0x12345678u;
    for (auto& px : p.Pixels()) {
        v = v * 1664525u + 1013904223u;
        px = v;
    }
    return p;
}

void BM_ComposeBlit640x480(benchmark::State& state) {
    const CmgBBI src = Pattern(640, 480);
    CmgBBI dst = Pattern(640, 480);
    for (auto _ : state) {
        // The default layer settings: 1.0, 0, 0, 0, 0, 1.0, 0, 0xFFFFFF, 0, -1, 0, 0.
        gBBIFunction().BBIExpandChooseBlt(dst, src, 0, 0, 640, 480, 0, 0, 640, 480, 1.0f, 0, 0, 0,
                                          0, 1.0f, 0, 0xFFFFFF, 0, -1, 0, 0);
        benchmark::DoNotOptimize(dst.Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_ComposeBlit640x480);

void BM_ComposeTextBlit640x480(benchmark::State& state) {
    const CmgBBI src = Pattern(640, 480);
    CmgBBI dst = Pattern(640, 480);
    for (auto _ : state) {
        // Text settings: colour under the source alpha at opacity 0.95.
        gBBIFunction().BBIExpandChooseBlt(dst, src, 0, 0, 640, 480, 0, 0, 640, 480, 0.95f, -1, 0, 0,
                                          0, 1.0f, 0, 0xFFFFFF, 0,
                                          static_cast<brumil::Long>(0xFF000000u), 0x908070, 0);
        benchmark::DoNotOptimize(dst.Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_ComposeTextBlit640x480);

void BM_LinearScale640x480To1024x768(benchmark::State& state) {
    const CmgBBI src = Pattern(640, 480);
    CmgBBI dst;
    dst.CreateBBI(1024, 768, 0);
    for (auto _ : state) {
        gBBIFunction().BBILinearBlt(dst, src);
        benchmark::DoNotOptimize(dst.Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * 1024 * 768);
}
BENCHMARK(BM_LinearScale640x480To1024x768);

}  // namespace
