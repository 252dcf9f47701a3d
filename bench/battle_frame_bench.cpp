// One full drawn frame of a match on the software device: the stage of the
// first group with its lights, 600 main-pool shots and 40 beams through the
// pool painters, both characters with art circles and overlays, and the
// head-up display. Argument: 0 for 640x480, 1 for 320x240, 2 for 1024x768.
#include <benchmark/benchmark.h>

#include <memory>

#include "battle/b_game.h"
#include "battle/battle_scene.h"
#include "battle/match_seams.h"
#include "battle/player_record.h"
#include "framework/display.h"
#include "platform/base/clock.h"
#include "render/admin_lib.h"
#include "render/im_texture.h"

namespace {

using namespace brumil;
using namespace brumil::battle;

constexpr Long kPx = 256;

framework::DisplaySettings SettingsFor(int64_t size) {
    framework::DisplaySettings s;
    if (size == 1) {
        s.width = 320;
        s.height = 240;
        s.halfSize = true;
    } else if (size == 2) {
        s.width = 1024;
        s.height = 768;
        s.highQuality = true;
    }
    return s;
}

ShotRecord Shot(Long kind, Long x, Long y, Long w, Long h, Long angle) {
    ShotRecord s{};
    s.State = 1;
    s.DrawKind = kind;
    s.X = x * kPx;
    s.Y = y * kPx;
    s.ScaleX = 128;
    s.ScaleY = 128;
    s.Color = 0x80C0FF;
    s.Alpha = 220;
    s.Scale = 256;
    s.DrawW = w * kPx;
    s.DrawH = h * kPx;
    s.Angle = angle;
    return s;
}

void SetUpPlayers(bGame& game) {
    auto& cache = render::gIMTexture();
    const Long soft = cache.Add("?alpha128x128");
    const Long chara = cache.Add("?stage128x128");
    game.gd().CharaID(0, 1);
    game.gd().CharaID(1, 5);
    for (Long p = 0; p < 2; ++p) {
        PlayerRecord& r = gPlayers()[static_cast<std::size_t>(p)];
        r = PlayerRecord{};
        r.Index = p;
        r.Vulnerable = 1;
        r.Life = 10;
        r.Gauge = 600;
        r.ArtFrame = 12;
        r.CharaSlot = p;
        r.X = (200 + 240 * p) * kPx;
        r.Y = (360 - 240 * p) * kPx;
        r.ArtX = r.X;
        r.ArtY = r.Y;
        r.DirectionHold = 60;
        r.StageColors = {static_cast<Long>(0xFF000078), static_cast<Long>(0xFF003090)};
        for (Long k = 0; k < kSpriteSlotCount; ++k) {
            r.SpriteTexture[static_cast<std::size_t>(k)] = k < 2 ? chara : soft;
        }
        // 300 main-pool shots of four kinds over the whole field.
        for (Long i = 0; i < 300; ++i) {
            r.Shots[static_cast<std::size_t>(i)] =
                Shot(40 + i % 4, 20 + (i * 37) % 600, 20 + (i * 53) % 440, 16, 16, (i * 97) % 4096);
        }
        // 20 beams: long thin quads across the field.
        for (Long i = 0; i < 20; ++i) {
            r.Shots[static_cast<std::size_t>(kSecondPoolStart + i)] =
                Shot(44, 320, 240, 12, 600, (i * 205 + p * 100) % 4096);
        }
    }
}

void BM_BattleFrame(benchmark::State& state) {
    framework::DisplayStart(SettingsFor(state.range(0)));
    render::gIMTexture().Clear();
    platform::ManualClock clock;
    auto& game = gGame();
    game = std::make_unique<bGame>(clock);
    game->gd().GameMode = 1;
    game->gd().AILevel = 3;
    game->gd().StageNumber = 0;
    GameJob1_SystemInit_StageReset(*game, 0);
    SetUpHud(*game);
    BattleScene& scene = SceneOf(*game);
    scene.Stage.BoardTexture = render::gIMTexture().Add("?stage256x256");
    const Long hud = render::gIMTexture().Add("?alpha128x128");
    ForEachHudSprite(scene.Hud, [&](const HudSpriteEntry& entry, HudSprite& s) {
        if (entry.texture.substr(0, 4) != "the_") {
            s = MakeHudSprite(hud, entry.width, entry.height, 0.5f, 0.5f, entry.u, entry.v,
                              entry.uWidth, entry.vHeight);
        } else {
            s.TextureIndex = render::gIMTexture().Add(entry.texture);
        }
    });
    SetUpPlayers(*game);
    game->FrameCount = 300;
    for (auto _ : state) {
        GameJob3_Frame_Stage(*game);
        ++game->FrameCount;
        PaintMatchFrame(*game);
    }
    state.SetItemsProcessed(state.iterations());
    game.reset();
    render::gIMTexture().Clear();
    framework::DisplayStop();
}
BENCHMARK(BM_BattleFrame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
