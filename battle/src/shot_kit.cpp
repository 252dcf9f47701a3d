#include "shot_kit.h"

#include "battle/b_game.h"
#include "battle/frame_step.h"
#include "sound/sound_effects.h"

namespace brumil::battle::kit {

PlayerRecord& Player(Long i) {
    return gPlayers()[static_cast<std::size_t>(i & 1)];
}

Long CurrentSerial() {
    const auto& game = gGame();
    return game ? game->Serial : 0;
}

void RaiseSerial() {
    if (auto& game = gGame()) game->Serial = game->Serial + 1;
}

void PlayShotSound(Long n, Single volume, Long x) {
    if (const auto player = sound::GetSoundEffect(n)) player->PlaySE(volume, PosToPan(x), 0.0f);
}

void AddRing(Long player, ShotRecord& shot, Long n, double base) {
    for (Long j = 0; j < n; ++j) {
        shot.Angle = Nearest(static_cast<double>(j) * 4096.0 / n + base);
        ShotAdd(player, shot);
    }
}

ShotRecord MakeBeam(Long x, Long y, Long angle, double w, Long color) {
    ShotRecord beam;
    ShotRecordInit(beam);
    beam.X = x;
    beam.Y = y;
    beam.Angle = angle;
    beam.ScaleX = 128;
    beam.ScaleY = 256;
    beam.DrawW = 0x200;
    beam.DrawH = 0x40000;
    beam.HitA = 0;
    beam.HitB = Nearest(w * 256.0);
    beam.HitC = 0x19000;
    beam.DrawKind = 25;
    beam.DrawMode = 1;
    beam.Spin = 0;
    beam.Color = color;
    ShotSetKind(beam, 120, 10, 0);
    return beam;
}

}  // namespace brumil::battle::kit
