// The movement step and the attack dispatch.
#include "battle/frame_step.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "battle/b_game.h"
#include "battle/network_match.h"
#include "battle/player_reset.h"
#include "battle/shot_patterns.h"
#include "platform/collision/angle_math.h"
#include "platform/collision/shot_list.h"
#include "sound/sound_effects.h"

namespace brumil::battle {
namespace {

namespace lib = platform::collision;
using framework::VKeyRecord;

constexpr Long kSimulatedHere = 1;
constexpr Long kDrivenFromOutside = 2;
constexpr Long kArtButton = 4;  // button 5
constexpr Long kArtSound = 74;
constexpr Long kDirectionHoldStep = 20;
constexpr Long kDirectionHoldMax = 120;
constexpr Long kPoseRight = 9;
constexpr Long kPoseLeft = 5;

// Codes 10, 11, 20, 21, 30, 31, 40, 41, 42 by column.
constexpr std::array<Long, 9> kCodes = {10, 11, 20, 21, 30, 31, 40, 41, 42};
// Pattern numbers by character 1..8 (rows) and code column.
constexpr std::array<std::array<Long, 9>, 8> kPatterns = {{
    {2, 5, 12, 13, 39, 31, 26, 22, 30},
    {2, 5, 12, 13, 39, 32, 23, 25, 30},
    {2, 5, 10, 11, 39, 35, 9, 8, 30},
    {1, 7, 12, 13, 39, 36, 20, 21, 30},
    {2, 5, 18, 19, 39, 38, 4, 3, 30},
    {2, 5, 16, 17, 39, 34, 28, 27, 30},
    {2, 5, 18, 19, 39, 33, 28, 29, 30},
    {3, 6, 14, 15, 39, 37, 23, 24, 30},
}};

// v + (speed x unit) shifted right arithmetically by 8 bits (a floor
// division by 256), bounded to lo..hi; computed wide so that no value can
// overflow before the bound.
Long StepBounded(Long v, std::int64_t speed, Long unit, Long lo, Long hi) {
    const std::int64_t moved = std::int64_t{v} + ((speed * unit) >> 8);
    return static_cast<Long>(std::clamp<std::int64_t>(moved, lo, std::max(lo, hi)));
}

bool Held(const VKeyRecord& keys, int button) {
    return keys[framework::kVKeyButton1 + button] > 0;
}

// One step of `speed` in the direction (dx, dy) turned by the player's aim,
// bounded by the player's movement bounds.
void MoveBy(const PlayerRecord& player, std::int64_t speed, Long& x, Long& y, Long dx, Long dy) {
    if (dx == 0 && dy == 0) return;
    const Long angle = player.AimAngle - 1024 + lib::AHT(dx, dy);
    x = StepBounded(x, speed, lib::ACT(angle), player.MinX, player.MaxX);
    y = StepBounded(y, speed, lib::AST(angle), player.MinY, player.MaxY);
}

}  // namespace

void MovePlayer(const PlayerRecord& player, Long& x, Long& y, Long dx, Long dy) {
    MoveBy(player, std::int64_t{player.MoveSpeed} + player.SpeedBoost + player.SpeedBrake, x, y, dx,
           dy);
}

void MovePlayer(Long player, Long& x, Long& y, Long dx, Long dy) {
    MovePlayer(gPlayers()[static_cast<std::size_t>(player & 1)], x, y, dx, dy);
}

void PlayerFrameUpdate(bGame& game, Long player, const VKeyRecord& keys) {
    if (player != 0 && player != 1) return;
    auto& players = gPlayers();
    PlayerRecord& p = players[static_cast<std::size_t>(player)];
    const PlayerRecord& q = players[static_cast<std::size_t>(player ^ 1)];
    const BGameOption& options = game.gd();
    const Long oldX = p.X;
    const Long oldY = p.Y;
    const Long control = options.PlayerControl(player);

    if (control == kSimulatedHere && p.KnockBack != 0) {
        // Pushed toward the player's own side, faster the fresher the hit.
        const std::int64_t speed =
            std::int64_t{p.KnockBack} * 100 + kMoveSpeed + p.SpeedBoost + p.SpeedBrake;
        MoveBy(p, speed, p.X, p.Y, 0, 1);
        PublishOwnPosition(p.X, p.Y);
    }

    if (p.Decided == 0) {
        // A player driven from outside takes the peer's position (with the
        // network records); every other player moves by its input.
        if (control == kDrivenFromOutside) {
            TakePeerPosition(p);
        } else {
            MovePlayer(p, p.X, p.Y, keys[framework::kVKeyX], keys[framework::kVKeyY]);
            PublishOwnPosition(p.X, p.Y);
        }
        const Long code = keys[framework::kVKeyDirection];
        if (code == 0) {
            p.DirectionHold -= 1;
        } else {
            p.LastDirection = code;
            p.DirectionHold += kDirectionHoldStep;
        }
        p.DirectionHold = std::clamp<Long>(p.DirectionHold, 0, kDirectionHoldMax);

        if (p.KnockBack == 0 && p.StartBlock == 0) {
            if (game.ArtActive == 0 && p.ArtReady != 0 &&
                keys[framework::kVKeyButton1 + kArtButton] == 1) {
                p.ArtReady = 0;
                p.ArtStop = 0;
                p.ArtX = p.X;
                p.ArtY = p.Y;
                p.ArtFrame = 1;
                game.ArtActive = 1;
                players[0].Power += 10;
                players[1].Power += 10;
                sound::GetSoundEffect(kArtSound)->PlaySE(1.0f, PosToPan(p.X), 0.0f);
            }
            if (p.AttackWait == 0 && p.Gauge >= kGaugeToAttack) {
                Long attack = 0;
                for (int b = 0; b < 4; ++b) {
                    if (Held(keys, b)) attack = (b + 1) * 10;
                }
                if (attack != 0) {
                    p.AttackCode = attack;
                    p.AttackX = p.X;
                    p.AttackY = p.Y;
                    p.AttackTargetX = q.X;
                    p.AttackTargetY = q.Y;
                    p.AttackFrame = 1;
                    p.AttackWait = kAttackWaitSteps;
                }
            }
        }
    }

    p.MoveDX = p.X - oldX;
    p.MoveDY = p.Y - oldY;
    if (p.MoveDX > 0) {
        p.Pose = kPoseRight;
    } else if (p.MoveDX < 0) {
        p.Pose = kPoseLeft;
    } else {
        p.Pose = (p.MoveDY == 0 ? p.FrameCount / 12 : p.FrameCount / 6) % 3;
        if (p.Pose == 0 && options.CharaID(player) == 8) p.Pose = 1;
    }
}

void PlayerFrameUpdate(Long player, const VKeyRecord& keys) {
    if (auto& game = gGame()) PlayerFrameUpdate(*game, player, keys);
}

Long ShotPatternNumber(Long character, Long attackCode) {
    if (character < 1 || character > 8) return 0;
    const auto at = std::find(kCodes.begin(), kCodes.end(), attackCode);
    if (at == kCodes.end()) return 0;
    return kPatterns[static_cast<std::size_t>(character - 1)]
                    [static_cast<std::size_t>(at - kCodes.begin())];
}

void ShotPatternDispatch(PlayerRecord& player, Long character, const PatternRunner& run) {
    if (player.AttackFrame == 1) {
        const Long base = player.AttackCode;
        if ((base == 10 || base == 20 || base == 30 || base == 40) && player.Gauge == kGaugeFull)
            player.AttackCode = base + 1;
        if (base == 40 &&
            lib::PosHitWindowIn(MainPool(player), 0x800, 0xA00, 0x27800, 0x1D600, 1, 1, 0) != 0)
            player.AttackCode = 42;
    }
    const Long number = ShotPatternNumber(character, player.AttackCode);
    if (number != 0 && run) run(number, player.Index);
}

void ShotPatternDispatch(PlayerRecord& player) {
    const auto& game = gGame();
    const Long character = game ? game->gd().CharaID(player.Index) : 0;
    ShotPatternDispatch(player, character, RunShotPattern);
}

}  // namespace brumil::battle
