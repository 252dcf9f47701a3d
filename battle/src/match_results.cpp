#include "battle/match_results.h"

#include <limits>
#include <string>

#include "battle/b_game.h"
#include "battle/player_record.h"
#include "core/api.h"

namespace brumil::battle {
namespace {

constexpr Long kArcade = 1;
constexpr Long kFreeFight = 2;
constexpr Long kRowsPerLevel = 10;
constexpr Long kLevelFantastic = 4;
constexpr Long kLevelMadness = 5;

}  // namespace

void RecordHighScore(const BGameOption& options, Long score, std::string_view date,
                     SystemSaveRecord& record) {
    if (options.GameMode != kArcade) return;
    if (options.AILevel < 0 || options.AILevel * kRowsPerLevel >= kScoreRowCount) return;
    const ScoreRow entry{score, std::string(options.CharaStr(0)), std::string(options.AILevelStr()),
                         std::string(date)};
    // From the bottom row up: every row below the new score moves down one
    // and the new row takes its place, so it ends just below the last row
    // with an equal or higher score.
    for (Long i = kRowsPerLevel - 1; i >= 0; --i) {
        const auto r = static_cast<std::size_t>(options.AILevel * kRowsPerLevel + i);
        if (record.Scores[r].Score >= score) continue;
        if (i != kRowsPerLevel - 1) record.Scores[r + 1] = record.Scores[r];
        record.Scores[r] = entry;
    }
}

void RecordWins(const BGameOption& options, Long winner, SystemSaveRecord& record) {
    if (options.GameMode != kArcade && options.GameMode != kFreeFight) return;
    if (winner != 0) return;
    if (options.AILevel == kLevelFantastic) {
        if (record.WinVSFantasitcAI < std::numeric_limits<Long>::max()) ++record.WinVSFantasitcAI;
        if (record.WinVSFantasitcAI >= kFantasticWinsToUnlock && record.Permit < kPermitMadness)
            record.Permit = kPermitMadness;
    } else if (options.AILevel == kLevelMadness) {
        const Long chara = options.CharaID(0);
        if (chara >= 1 && chara <= kCharacterCount) record.WinVSMadnessAI |= Long{1} << chara;
        if ((record.WinVSMadnessAI & kEveryCharacterMask) == kEveryCharacterMask &&
            record.Permit < kPermitApocalypse)
            record.Permit = kPermitApocalypse;
    }
}

void RecordHighScore() {
    const auto& game = gGame();
    if (!game) return;
    const std::string date = core::gApi().GetTimeWideYearMD(true, "/", true, "/", true, "");
    RecordHighScore(game->gd(), gPlayers()[0].Score, date, gSystemSave());
}

void RecordWins() {
    const auto& game = gGame();
    if (!game) return;
    RecordWins(game->gd(), game->Winner, gSystemSave());
}

}  // namespace brumil::battle
