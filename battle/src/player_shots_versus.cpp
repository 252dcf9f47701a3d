// The player frame step, the shot-list step and the hit tests.
#include <algorithm>
#include <array>

#include "battle/b_game.h"
#include "battle/frame_step.h"
#include "battle/input_sources.h"
#include "battle/network_match.h"
#include "battle/shot_patterns.h"
#include "net/net_globals.h"
#include "net/net_input.h"
#include "platform/collision/angle_math.h"
#include "platform/collision/shot_list.h"
#include "sound/sound_effects.h"

namespace brumil::battle {
namespace {

namespace lib = platform::collision;

constexpr Long kSimulatedHere = 1;
constexpr Long kDrivenFromOutside = 2;
constexpr Long kGaugeFlashSteps = 180;
constexpr Long kArtReach = 0x6400;  // 100 pixels
constexpr Long kArtShield = 30;
constexpr Long kArtStrikeRadius = 0x50;
constexpr Long kArtLength = 450;
constexpr Long kArtTail = -24;
constexpr Long kArtCooldown = 450;
constexpr Long kHitInvulnerable = 120;
constexpr Long kHitKnockBack = 35;
constexpr Long kLifeLostScore = 50000;
constexpr Long kDecisionScore = 50000;
constexpr Long kDecisionWait = 60;
constexpr Long kNoGroup = -1;

struct Effect {
    Long number;
    Single volume;
};
constexpr std::array<Effect, 4> kLifeLostSounds = {
    {{8, 0.72f}, {21, 0.84f}, {43, 0.92f}, {57, 0.88f}}};

void CountDown(Long& v) {
    if (v != 0) --v;
}

void LifeLost(PlayerRecord& p, PlayerRecord& q) {
    if (p.Life > 0) p.HurtTimer = (20 - p.Life) * 10;
    p.Invulnerable = kHitInvulnerable;
    p.KnockBack = kHitKnockBack;
    for (const Effect& e : kLifeLostSounds)
        sound::GetSoundEffect(e.number)->PlaySE(e.volume, PosToPan(p.X), 0.0f);
    p.ArtStop = 1;
    for (Long selector : {0, 1, 2}) lib::PosHitAll(MainPool(p), selector, 1, 2);
    lib::PosHitAll(SecondPool(p), -1, 1, 2);
    lib::PosHitAll(ThirdPool(p), -1, 1, 2);
    // The dash and homing carriers belong to no group, so the selectors
    // above miss them; left alive they would go on laying trails that hit.
    for (ShotRecord& r : MainPool(p)) {
        if (r.Group == kNoGroup) r.State = 0;
    }
    q.Score += kLifeLostScore;
}

}  // namespace

void PlayerShotsVersus(bGame& game, PlayerRecord& p, PlayerRecord& q, const PatternRunner& run) {
    // 1. Counters.
    ++p.FrameCount;
    for (Long* v :
         {&p.KnockBack, &p.StartBlock, &p.Invulnerable, &p.HurtTimer, &p.GaugeFlash, &p.Timer28})
        CountDown(*v);

    // 2. Speed bonus and malus decay toward 0.
    if (p.SpeedBoost != 0) p.SpeedBoost = std::max<Long>(0, RoundToLong(p.SpeedBoost * 0.9 - 16));
    if (p.SpeedBrake != 0) p.SpeedBrake = std::min<Long>(0, RoundToLong(p.SpeedBrake * 0.95 + 8));

    // 3. The gauge grows by power.
    if (p.Gauge < kGaugeFull) {
        p.Gauge = RoundToLong(p.Gauge + (p.Power * 0.5 / 256.0 + 1.25) * 4.0);
        p.GaugeFlash = RoundToLong(p.GaugeFlash * 0.9);
        if (p.Gauge >= kGaugeFull) {
            p.Gauge = kGaugeFull;
            p.GaugeFlash = kGaugeFlashSteps;
        }
    }

    // 4. The running attack.
    ShotPatternDispatch(p, game.gd().CharaID(p.Index), run);
    if (p.AttackFrame > 0) ++p.AttackFrame;

    // 5. The running lunatic art.
    if (p.ArtFrame != 0) {
        ++p.ArtFrame;
        if (lib::ALT(p.X - p.ArtX, p.Y - p.ArtY) <= kArtReach && p.Invulnerable < kArtShield + 1)
            p.Invulnerable = kArtShield;
        if (p.ArtFrame > 0) {
            lib::PosHitCircle(MainPool(q), p.ArtX, p.ArtY, kArtStrikeRadius, 0, 1, 2);
            lib::PosHitCircle(MainPool(q), p.ArtX, p.ArtY, kArtStrikeRadius, 1, 1, 2);
        }
        if (p.ArtFrame == kArtLength) p.ArtStop = 1;
        if (p.ArtFrame == 0 && p.ArtReady == 0 && q.ArtReady == 0) p.ArtCooldown = kArtCooldown;
    }

    // 6. A request to end the art starts its tail.
    if (p.ArtStop != 0) {
        p.ArtStop = 0;
        if (p.ArtFrame > 0) {
            p.ArtFrame = kArtTail;
            game.ArtActive = 0;
        }
    }

    // 7. Both players get the art back after the cooldown.
    if (p.ArtCooldown != 0) {
        --p.ArtCooldown;
        if (p.ArtCooldown == 0) {
            if (p.ArtReady == 0) p.ArtReady = 1;
            if (q.ArtReady == 0) q.ArtReady = 1;
        }
    }

    // 8. The cost of an attack, and the wait before the next.
    if (p.GaugeCost > 0) {
        p.Gauge -= p.GaugeCost * 10;
        p.GaugeCost = 0;
    }
    if (p.AttackWait > 0) --p.AttackWait;

    // 9. A hit: an even life loses the hit's strength, an odd one 1.
    bool lifeLost = false;
    if (p.HitStrength != 0 && p.Invulnerable == 0 && p.Decided == 0) {
        p.Life -= (p.Life % 2 == 0) ? p.HitStrength : 1;
        lifeLost = p.Life % 2 == 0;
    }
    p.HitStrength = 0;

    // 10. Network lives: this side reports its player's life, and takes the
    // peer's (only a decrease counts, and each is a lost life).
    const BGameOption& options = game.gd();
    if (p.Index == 0 && options.PlayerControl(q.Index) == kDrivenFromOutside &&
        options.PlayerType(q.Index) == kTypeNetwork && net::gNetOwn().Extra != p.Life) {
        net::gNetOwn().Extra = p.Life;
    }
    if (p.Index == 1 && options.PlayerControl(p.Index) == kDrivenFromOutside &&
        options.PlayerType(p.Index) == kTypeNetwork && PeerPlaysThisMatch() &&
        net::gNetPeer().Extra != p.Life) {
        if (const auto life = net::AcceptedPeerLife(net::gNetPeer().Extra, p.Life)) {
            p.Life = *life;
            lifeLost = true;
        }
    }

    // 11. A lost life.
    if (lifeLost) LifeLost(p, q);

    // 12. The decision: the first player at life 0 loses.
    if (p.Decided == 0 && p.Life < 1 && game.EndCount == 0) {
        game.EndCount = 1;
        game.Winner = q.Index;
        game.WaitCount = kDecisionWait;
        p.Decided = 1;
        q.Decided = 1;
        q.Score += kDecisionScore;
        if (options.PlayerType(0) == kTypeNetwork || options.PlayerType(1) == kTypeNetwork)
            SetOwnPhase(kPhaseDecided);
    }
}

void PlayerShotsVersus(PlayerRecord& p, PlayerRecord& q) {
    if (auto& game = gGame()) PlayerShotsVersus(*game, p, q, RunShotPattern);
}

void ShotListMove(Long player) {
    PlayerRecord& p = gPlayers()[static_cast<std::size_t>(player & 1)];
    lib::PosMove(p.Shots);
    lib::PosReference(p.Shots, player & 1);
    lib::PosHitWindow(MainPool(p), -0x7000, -0x5000, 0x2F000, 0x23000, -1, 1, 8);
}

void ShotHitOpponent(const BGameOption& options, PlayerRecord& shooter, PlayerRecord& target) {
    if (options.PlayerControl(target.Index) != kSimulatedHere || target.Vulnerable == 0) return;
    const Long circle =
        lib::PosHitCircle(MainPool(shooter), target.X, target.Y, target.HitRadius, -1, 2, 2);
    const Long box =
        lib::PosHitBox(SecondPool(shooter), target.X, target.Y, target.HitRadius, -1, 2, 2);
    if (circle != 0 || box != 0) target.HitStrength = 2;
}

void ShotHitOpponent(PlayerRecord& shooter, PlayerRecord& target) {
    if (auto& game = gGame()) ShotHitOpponent(game->gd(), shooter, target);
}

}  // namespace brumil::battle
