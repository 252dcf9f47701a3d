// The battle's stage floor: 150 land patches in an object container, built
// once per match and drawn every frame on the software device.
#include <benchmark/benchmark.h>

#include <string>

#include "framework/display.h"
#include "render/admin_lib.h"
#include "render/ark.h"
#include "render/ark_board.h"
#include "render/im_device.h"
#include "render/im_texture.h"

namespace {

using namespace brumil;
using namespace brumil::render;

struct Display {
    Display() { framework::DisplayStart(framework::DisplaySettings{}); }
    ~Display() {
        gIMTexture().Clear();
        framework::DisplayStop();
    }
};

// Heights 0..40 of a 211 x 36 grid; neighbouring patches share edges.
int Height(int row, int col) {
    return (row * 7 + col * 13 + (row * col) % 11) % 41;
}

std::string PatchScript(int m, int c) {
    std::string s = "f7 w0 1 2 3 4 5 6 7 h0 1 2 3 4 5 6 7 f80 a\r\n";
    for (int r = 0; r < 8; ++r) {
        for (int k = 0; k < 8; ++k) {
            s += ' ';
            s += std::to_string(Height(7 * m + r, 7 * (c + 2) + k));
        }
        s += "\r\n";
    }
    return s;
}

void BuildBoards(CIMArkBoard& board) {
    board.IMArkObjectCount(150);
    for (int m = 0; m < 30; ++m) {
        for (int c = -2; c <= 2; ++c) {
            auto o = board.IMArkObject(5 * m + 2 + c);
            o->Create(2, PatchScript(m, c), -1, 10, 1, 1, 1, 0, 0, 0);
            o->SetMaterialLE(0.8f);
        }
    }
}

void CameraAndLights(Single travel) {
    CIMArk& ark = gIMArk();
    ark.vFrom({0, 2.0f, travel});
    ark.vTo({0, 0, travel + 2.0f});
    ark.SettingProperty();
    ark.SetLightAmbient(0x40404040);
    ark.SetLight(CIMArk::Get_Light_PointLight({0, 0.25f, travel + 2}, -0.2f, -0.2f, -0.2f, 0.75f),
                 0, true);
    ark.SetLight(CIMArk::Get_Light_SpotLight({0, 2, travel}, {0, -1, 2}, 0, 0.2f, 0.2f, 1), 1,
                 true);
    ark.SetLight(CIMArk::Get_Light_SpotLight({0, 2, travel + 4}, {0, -1, -2}, 0, -0.2f, -0.2f, 1),
                 2, true);
}

// Match start: 150 patches from their land scripts.
void BM_BuildStageBoards(benchmark::State& state) {
    Display display;
    for (auto _ : state) {
        CIMArkBoard board;
        BuildBoards(board);
        benchmark::DoNotOptimize(board.IMArkObject(149).get());
    }
    state.SetItemsProcessed(state.iterations() * 150);
}
BENCHMARK(BM_BuildStageBoards)->Unit(benchmark::kMillisecond);

// One drawn frame of the first stage group: clear, camera and lights, then
// 25 patches farthest row first, each placed and drawn by hand.
void BM_StageFloorFrame(benchmark::State& state) {
    Display display;
    CIMArkBoard board;
    BuildBoards(board);
    CIMDevice& device = gIMDevice();
    const Long texture = gIMTexture().Add("?stage256x256");
    Single travel = 0;
    for (auto _ : state) {
        device.SceneBegin();
        device.SceneClear(true, false, 0);
        device.SetCullingMode(3);
        device.SetFilterMode(true);
        CameraAndLights(travel);
        const int n = static_cast<int>(travel);
        for (int i = 1; i <= 5; ++i) {
            const int k = 6 - i;
            for (int c = -2; c <= 2; ++c) {
                auto o = board.IMArkObject(((268435456 - n - k) % 30) * 5 + 2 + c);
                o->SetTransform(static_cast<Single>(c), 0, static_cast<Single>(n + k), 0, 0, 0);
                o->SetRenderMode(0x90);
                o->SetTextureIndex(texture);
                o->RenderInstantSetting();
                o->Render(0);
            }
        }
        device.SceneEnd();
        travel += 0.005f;
    }
    state.SetItemsProcessed(state.iterations() * 25);
}
BENCHMARK(BM_StageFloorFrame)->Unit(benchmark::kMillisecond);

// All 150 patches in a 5 x 30 strip through the board's own depth-ordered
// pass, depth-tested.
void BM_BoardDoRender150(benchmark::State& state) {
    Display display;
    CIMArkBoard board;
    BuildBoards(board);
    const Long texture = gIMTexture().Add("?stage256x256");
    for (int m = 0; m < 30; ++m) {
        for (int c = -2; c <= 2; ++c) {
            auto o = board.IMArkObject(5 * m + 2 + c);
            o->SetTransform(static_cast<Single>(c), 0, static_cast<Single>(m), 0, 0, 0);
            o->SetRenderMode(0x90);
            o->SetTextureIndex(texture);
        }
    }
    CIMDevice& device = gIMDevice();
    for (auto _ : state) {
        device.SceneBegin();
        device.SceneClear(true, true, 0);
        device.SetZBufferMode(true);
        device.SetCullingMode(3);
        CameraAndLights(0);
        board.DoRender(0);
        device.SceneEnd();
    }
    state.SetItemsProcessed(state.iterations() * 150);
}
BENCHMARK(BM_BoardDoRender150)->Unit(benchmark::kMillisecond);

}  // namespace
