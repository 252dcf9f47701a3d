#pragma once
// The common frame of the attack patterns: the gauge cost at frame 1, the
// firing frames, the power window, and the pieces of a frame that every
// emission body reads.

#include "shot_kit.h"

namespace brumil::battle::patterns {

// What an emission body reads, taken once per firing frame.
struct PatternFrame {
    Long player = 0;
    PlayerRecord& own;
    PlayerRecord& opp;
    Long F = 0;      // AttackFrame
    Single p = 0.f;  // power factor
    Long aim = 0;    // from the own position to the opponent
};

// Sets GaugeCost at frame 1 and tells whether pattern `number` fires at the
// player's present AttackFrame (a firing frame inside its power window).
bool PatternFires(Long number, PlayerRecord& own);

// Runs pattern `number`: the common frame, then body(frame) when it fires.
template <typename Body>
void RunPattern(Long number, Long player, Body body) {
    PlayerRecord& own = kit::Player(player);
    if (!PatternFires(number, own)) return;
    PlayerRecord& opp = kit::Opponent(player);
    const PatternFrame frame{
        player, own, opp, own.AttackFrame, kit::PowerFactor(own), kit::AimFrom(opp, own.X, own.Y)};
    body(frame);
}

// A fresh record at (x, y) in the player's shot colour.
inline ShotRecord FreshShot(const PatternFrame& f, Long x, Long y) {
    ShotRecord r;
    ShotRecordInit(r);
    r.X = x;
    r.Y = y;
    r.Color = kit::ShotColor(f.own);
    return r;
}

inline ShotRecord AtOwn(const PatternFrame& f) {
    return FreshShot(f, f.own.X, f.own.Y);
}
inline ShotRecord AtAttackPoint(const PatternFrame& f) {
    return FreshShot(f, f.own.AttackX, f.own.AttackY);
}
inline ShotRecord AtOwnSpawn(const PatternFrame& f) {
    return FreshShot(f, f.own.X + f.own.SpawnDX, f.own.Y + f.own.SpawnDY);
}
inline ShotRecord AtAttackSpawn(const PatternFrame& f) {
    return FreshShot(f, f.own.AttackX + f.own.SpawnDX, f.own.AttackY + f.own.SpawnDY);
}

// The speed of the fast straight shots of the trail and wall patterns.
inline Long DashSpeed(Single p) {
    return kit::Nearest(40.0 * p + 3240.0 + 8000.0);
}

// The two sounds of the fans and rings: 26 at 0.95, then 45 at 0.8.
inline void PlayFanSounds(Long x) {
    kit::PlayShotSound(26, 0.95f, x);
    kit::PlayShotSound(45, 0.8f, x);
}

}  // namespace brumil::battle::patterns
