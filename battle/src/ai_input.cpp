// The computer opponent's decision of one logic step and its input source.
#include "battle/ai_input.h"

#include "battle/ai_move.h"
#include "battle/b_game.h"
#include "battle/match_seams.h"
#include "core/api.h"

namespace brumil::battle {
namespace {

Long Rnd(Long n) {
    return core::gApi().RndDLL(n);
}

bool Between(Long v, Long lo, Long hi) {
    return v >= lo && v <= hi;
}

// While the opponent's lunatic art runs, a skilled opponent leans on
// button 2 and hardly uses buttons 1 and 4.
constexpr std::array<double, 4> kUsualShares = {0.8, 0.8, 0.8, 0.8};
constexpr std::array<double, 4> kUnderArtShares = {0.1, 3.0, 0.8, 0.1};
constexpr Long kOpponentArtLast = 349;
constexpr Long kOwnArtStandStill = 199;
constexpr Long kGaugeFullAbove = 999;
constexpr Long kLowLife = 3;

}  // namespace

Long AiEffectiveLevel(Long level) {
    return Between(level, 1, 6) ? level : 1;
}

std::array<Long, 4> AiButtonRates(Long level, const PlayerRecord& own,
                                  const PlayerRecord& opponent) {
    const Long l = AiEffectiveLevel(level);
    const bool underArt = Between(opponent.ArtFrame, 1, kOpponentArtLast) && l != 1 && l != 2;
    const auto& shares = underArt ? kUnderArtShares : kUsualShares;
    std::array<Long, 4> rates{};
    for (std::size_t k = 0; k < rates.size(); ++k)
        rates[k] = RoundToLong(shares[k] * static_cast<double>(own.AiButtonRate));
    return rates;
}

Long AiArtChance(Long level, const PlayerRecord& own) {
    const Long l = AiEffectiveLevel(level);
    if (own.Life < kLowLife) {
        switch (l) {
            case 1:
                return 500;
            case 2:
                return 1000;
            case 3:
                return 2000;
            default:
                return 4000;
        }
    }
    return l <= 3 ? 750 : 500;
}

framework::VKeyFlags AiDecide(Long level, Long player) {
    auto& players = gPlayers();
    PlayerRecord& own = players[static_cast<std::size_t>(player & 1)];
    const PlayerRecord& opponent = players[static_cast<std::size_t>((player & 1) ^ 1)];
    framework::VKeyFlags flags{};

    const std::array<Long, 4> rates = AiButtonRates(level, own, opponent);
    const Long gate = Rnd(kAiButtonDraw);
    if (gate < kAiGateChance || own.Gauge > kGaugeFullAbove) {
        for (std::size_t k = 0; k < rates.size(); ++k) flags[k] = Rnd(kAiButtonDraw) < rates[k];
    }
    flags[4] = Rnd(kAiArtDraw) < AiArtChance(level, own);

    if (!Between(own.ArtFrame, 1, kOwnArtStandStill)) AiMove(player & 1, own, opponent, flags);
    return flags;
}

void InputFromAI(Long player) {
    if (player != 0 && player != 1) return;
    const auto& game = gGame();
    const Long level = game ? game->gd().AILevel : 0;
    framework::UpdateVKey(player, AiDecide(level, player));
}

}  // namespace brumil::battle
