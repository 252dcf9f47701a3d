#include "battle/b_game.h"

namespace brumil::battle {

bGame::bGame() {
    Jobs.Callback = this;
}

bGame::~bGame() {
    // The list must not call back into a half-destroyed object.
    Jobs.Callback = nullptr;
}

void bGame::Coming(Long job, Long /*message*/, Long /*parameter*/) {
    if (job < kFirstJob || job > kLastJob) return;
    // No battle job procedures exist yet: a known job number is accepted and
    // ignored like an unknown one.
}

std::unique_ptr<bGame>& gGame() {
    static std::unique_ptr<bGame> game;
    return game;
}

}  // namespace brumil::battle
