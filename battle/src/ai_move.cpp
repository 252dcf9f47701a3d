// The movement state machine of the computer opponent.
#include "battle/ai_move.h"

#include <cstdint>

#include "battle/ai_look_ahead.h"
#include "battle/ai_targets.h"
#include "battle/ai_threats.h"
#include "core/api.h"

namespace brumil::battle {
namespace {

constexpr Long kStateScan = 0;
constexpr Long kStateCheckTarget = 1;
constexpr Long kStateCheckNext = 2;
constexpr Long kSureSight = 1000;
// A candidate whose first hit comes this many frames later than the current
// path's is taken at once.
constexpr Long kHitTimeMargin = 30;
// A hit this close (frames) calls for an escape rather than an evasion.
constexpr Long kEscapeHitTime = 24;

Long Rnd(Long n) {
    return core::gApi().RndDLL(n);
}

// The next slice of the threat list on the way to (x, y).
Long LookToward(Long player, const PlayerRecord& p, const PlayerRecord& q, Long x, Long y) {
    return AiLookAhead(player, p, q, p.AiScanPos, p.AiScanStep, p.X, p.Y, x, y, p.AiHorizon);
}

// The candidate point becomes the target, held at least 15 steps.
void SwitchTarget(PlayerRecord& p) {
    p.AiTargetX = p.AiNextX;
    p.AiTargetY = p.AiNextY;
    p.AiRetarget = Rnd(40) + 15;
}

void CheckTarget(Long player, PlayerRecord& p, const PlayerRecord& q) {
    Long r = LookToward(player, p, q, p.AiTargetX, p.AiTargetY);
    // AiSight is the chance in 1000 that a look-ahead is believed; a
    // disbelieved one counts as a clear path to the end of the list. The
    // draw is made at every level, so the draws that follow never depend on
    // the level's sight.
    const Long doubt = Rnd(1000);
    if (p.AiSight < kSureSight && doubt >= p.AiSight) r = -1;
    if (r < 0) {
        p.AiHitTime = 0;
        p.AiScanPos = 0;
        if (p.AiRetarget < 0) {
            AiChooseTarget(p, q);
            p.AiState = kStateCheckNext;
        } else {
            p.AiState = kStateScan;
        }
    } else if (r == 0) {
        p.AiScanPos += p.AiScanStep;
    } else {
        p.AiHitTime = r;
        p.AiScanPos = 0;
        AiChooseEvasion(p, q);
        p.AiState = kStateCheckNext;
    }
}

void CheckNext(Long player, PlayerRecord& p, const PlayerRecord& q) {
    const Long r = LookToward(player, p, q, p.AiNextX, p.AiNextY);
    if (r < 0) {
        SwitchTarget(p);
        p.AiState = kStateScan;
    } else if (r == 0) {
        p.AiScanPos += p.AiScanStep;
    } else if (p.AiHitTime == 0) {
        // The current path was clear: keep it rather than take one that hits.
        p.AiState = kStateScan;
    } else if (p.AiHitTime >= r - kHitTimeMargin) {
        // The candidate is hit at most 30 frames later than the current path: look
        // for another one.
        p.AiScanPos = 0;
        if (p.AiHitTime <= kEscapeHitTime) {
            AiChooseEscape(p);
        } else {
            AiChooseEvasion(p, q);
        }
        p.AiState = kStateCheckNext;
    } else {
        SwitchTarget(p);
        p.AiState = kStateScan;
    }
}

}  // namespace

AiStep AiStepToward(Long sign, Long speed, Long x, Long y, Long targetX, Long targetY) {
    const std::int64_t zone = 2 * std::int64_t{speed};
    const auto component = [&](std::int64_t d) -> Long {
        if (d == 0 || (d > -zone && d < zone)) return 0;
        return (d > 0 ? 1 : -1) * sign;
    };
    return AiStep{component(std::int64_t{x} - targetX), component(std::int64_t{y} - targetY)};
}

void AiMove(Long player, PlayerRecord& own, const PlayerRecord& opponent,
            framework::VKeyFlags& flags) {
    if (own.AiState == kStateScan) {
        own.AiState = kStateCheckTarget;
        AiScanThreats(player, own, opponent);
    }
    if (own.Invulnerable > 10 && own.SpeedBoost > 0) {
        // Just hit: nothing to dodge while invulnerable, so only the target
        // moves on when its time is up.
        if (own.AiRetarget < 0) {
            AiChooseTarget(own, opponent);
            SwitchTarget(own);
        }
        own.AiState = kStateScan;
    } else if (own.AiState == kStateCheckTarget) {
        CheckTarget(player, own, opponent);
    } else if (own.AiState == kStateCheckNext) {
        CheckNext(player, own, opponent);
    }
    own.AiRetarget -= 1;

    const AiStep step =
        AiStepToward(AiSign(player), own.MoveSpeed + own.SpeedBoost + own.SpeedBrake, own.X, own.Y,
                     own.AiTargetX, own.AiTargetY);
    flags[framework::kFlagUp] = step.Y < 0;
    flags[framework::kFlagDown] = step.Y > 0;
    flags[framework::kFlagLeft] = step.X < 0;
    flags[framework::kFlagRight] = step.X > 0;
}

}  // namespace brumil::battle
