// The look-ahead of the computer opponent on scratch copies of the
// opponent's shots.
#include "battle/ai_look_ahead.h"

#include <algorithm>
#include <array>
#include <span>

#include "battle/ai_move.h"
#include "battle/frame_step.h"
#include "platform/collision/shot_list.h"

namespace brumil::battle {
namespace {

namespace lib = platform::collision;

// Hit tests only count (mode 2) and take every record (selector -1).
constexpr Long kAllRecords = -1;
constexpr Long kCountOnly = 2;

// One logic step of age, as PosReference gives a live record in play.
void Age(std::span<ShotRecord> list) {
    for (ShotRecord& s : list) {
        if (s.State != 0) s.Age += 1;
    }
}

}  // namespace

Long AiLookAhead(Long player, const PlayerRecord& own, const PlayerRecord& opponent, Long position,
                 Long count, Long x, Long y, Long targetX, Long targetY, Long horizon) {
    Long result = 0;
    const Long listed = std::clamp<Long>(own.AiScanCount, 0, kAiScanListSize);
    const Long start = std::clamp<Long>(position, 0, listed);
    const Long remaining = listed - start;
    Long n = count;
    if (remaining < n) {
        n = remaining;
        result = -1;
    }
    n = std::clamp<Long>(n, 0, kAiLookAheadMax);

    // Scratch copies: a threat index may be stale by now (its record ended or
    // was reused since the scan), so only records still live are taken.
    std::array<ShotRecord, kAiLookAheadMax> threatCopies;
    std::size_t copied = 0;
    for (Long k = 0; k < n; ++k) {
        const Long index = own.AiScanList[static_cast<std::size_t>(start + k)];
        if (index < kMainPoolStart || index >= kMainPoolStart + kMainPoolSize) continue;
        const ShotRecord& s = opponent.Shots[static_cast<std::size_t>(index)];
        if (s.State == 0) continue;
        threatCopies[copied++] = s;
    }
    std::array<ShotRecord, kSecondPoolSize> secondCopies;
    std::copy_n(opponent.Shots.begin() + kSecondPoolStart, kSecondPoolSize, secondCopies.begin());
    const std::span<ShotRecord> threats(threatCopies.data(), copied);
    const std::span<ShotRecord> second(secondCopies);

    const Long sign = AiSign(player);
    const Long speed = own.MoveSpeed + own.SpeedBoost;
    for (Long t = 1; t <= horizon; ++t) {
        const AiStep step = AiStepToward(sign, speed, x, y, targetX, targetY);
        MovePlayer(own, x, y, step.X, step.Y);
        lib::PosMove(threats);
        lib::PosMove(second);
        Age(threats);
        Age(second);
        const Long circle =
            lib::PosHitCircle(threats, x, y, own.AiRadius, kAllRecords, kCountOnly, kCountOnly);
        const Long box =
            lib::PosHitBox(second, x, y, own.AiRadius, kAllRecords, kCountOnly, kCountOnly);
        if (circle != 0 || box != 0) return t;
    }
    return result;
}

}  // namespace brumil::battle
