// The 3D library's geometry: the battle builds 150 floor patches from land
// scripts when a stage starts, and projects vertex arrays for hit tests.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "render/ark.h"
#include "render/ark_primitive.h"

namespace {

using namespace brumil;
using namespace brumil::render;

std::string PatchScript() {
    std::string s = "f7 w0 1 2 3 4 5 6 7 h0 1 2 3 4 5 6 7 f80 a\r\n";
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
            s += ' ';
            s += std::to_string((row * 7 + col * 13) % 81);
        }
        s += "\r\n";
    }
    return s;
}

// One floor patch: script reading, 225 vertices with normals, 1176 indices.
void BM_LandPatch(benchmark::State& state) {
    CIMArkPrimitive prim;
    const std::string script = PatchScript();
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    for (auto _ : state) {
        prim.GetD3DVERTEX_Land(v, idx, script);
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LandPatch);

// A Land2 patch of 32 x 32 cells (63 x 63 fine vertices).
void BM_Land2(benchmark::State& state) {
    CIMArkPrimitive prim;
    std::string script;
    for (int r = 0; r < 32; ++r) {
        for (int c = 0; c < 32; ++c) script += std::to_string(10 + (r * 3 + c * 5) % 70);
        script += ' ';
    }
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    for (auto _ : state) {
        prim.GetD3DVERTEX_Land2(v, idx, script);
        benchmark::DoNotOptimize(v.data());
    }
}
BENCHMARK(BM_Land2);

// Projecting a patch's vertices to the screen through world x ScreenTransform.
void BM_ProjectPatch(benchmark::State& state) {
    CIMArk ark;
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    prim.GetD3DVERTEX_Land(v, idx, PatchScript());
    std::vector<D3DTLVERTEX> out(v.size());
    const D3DMATRIX world = CIMArk::Get_Transform(1, 0, 2, 0, 0.3f, 0, 4, 1, 4);
    for (auto _ : state) {
        ark.ProjectVerticesFromVertex(world, out, v, 0, static_cast<Long>(v.size()));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(v.size()));
}
BENCHMARK(BM_ProjectPatch);

}  // namespace
