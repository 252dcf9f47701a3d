// brumil_battle_harness [STEPS [START_MS [HELPER_SEED]]]
// Plays a scripted two-player match headless from the data root of the build
// and prints, for every logic step, the step, the state digest, the frame
// count, the end count, the winner and both players' life and gauge.

#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <vector>

#include "battle/player_record.h"
#include "battle_harness/match_harness.h"

namespace {

using brumil::harness::ScriptedKey;

// Player 0 steps right and fires; player 1 answers with burst shots.
std::vector<ScriptedKey> DemoScript() {
    using namespace brumil::harness;
    return {
        {0, 0, kRight, true},      {40, 0, kRight, false},    {100, 0, kButton1, true},
        {130, 1, kButton2, true},  {200, 0, kButton1, false}, {220, 0, kLeft, true},
        {260, 0, kLeft, false},    {300, 1, kButton2, false}, {320, 0, kButton4, true},
        {330, 0, kButton4, false},
    };
}

long Arg(int argc, char** argv, int i, long fallback) {
    return argc > i ? std::strtol(argv[i], nullptr, 10) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brumil;
    harness::MatchSetup setup;
    setup.GameMode = 4;
    setup.Chara0 = 1;
    setup.Chara1 = 4;
    setup.StartMs = static_cast<platform::Millis>(Arg(argc, argv, 2, 1000));
    setup.HelperSeed = static_cast<std::uint64_t>(Arg(argc, argv, 3, 1));
    setup.Keys = DemoScript();
    const long steps = Arg(argc, argv, 1, 600);
    harness::MatchHarness match(setup);
    for (long i = 0; i < steps && !match.Ended(); ++i) {
        match.Step();
        const auto& game = match.Game();
        const auto& p = battle::gPlayers();
        std::cout << std::setw(5) << std::setfill(' ') << std::dec << i << ' ' << std::hex
                  << std::setw(16) << std::setfill('0') << harness::MatchDigest(game) << std::dec
                  << " frame " << game.FrameCount << " end " << game.EndCount << " winner "
                  << game.Winner << " life " << p[0].Life << '/' << p[1].Life << " gauge "
                  << p[0].Gauge << '/' << p[1].Gauge << '\n';
    }
    return 0;
}
