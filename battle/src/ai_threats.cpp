// The threat scan of the computer opponent.
#include "battle/ai_threats.h"

#include <cstdint>
#include <cstdlib>

namespace brumil::battle {

void AiScanThreats(Long player, PlayerRecord& own, const PlayerRecord& opponent) {
    const std::int64_t centreX = own.X;
    const std::int64_t centreY = std::int64_t{own.Y} + (player == 0 ? -kAiScanAhead : kAiScanAhead);
    Long count = 0;
    for (Long i = 0; i < kMainPoolSize && count < kAiScanListSize; ++i) {
        const ShotRecord& s = opponent.Shots[static_cast<std::size_t>(kMainPoolStart + i)];
        if (s.State == 0) continue;
        if (std::llabs(s.X - centreX) > kAiScanHalfWidth) continue;
        if (std::llabs(s.Y - centreY) > kAiScanHalfHeight) continue;
        own.AiScanList[static_cast<std::size_t>(count)] = kMainPoolStart + i;
        ++count;
    }
    own.AiScanPos = 0;
    own.AiScanCount = count;
}

}  // namespace brumil::battle
