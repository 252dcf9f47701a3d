// What a headless match needs of the parts that have not landed yet (see
// battle/match_seams.h). Each function says what its part will do; none of
// them pretends to do it.
#include "battle/b_game.h"
#include "battle/match_seams.h"
#include "framework/vkey.h"

namespace brumil::battle {

// The network part will read the peer's key bits here; until then the
// peer's record is stepped with every flag released.
void InputFromNetwork(Long player) {
    framework::UpdateVKey(player, framework::VKeyFlags{});
}

// The network part will exchange phases and set-up values here; until then
// a network match passes both waits at once, like a local one.
bool NetworkWaitStep(bGame&, Long) {
    return true;
}
bool NetworkReadyStep(bGame&, Long) {
    return true;
}
void NetworkAbortCheck(bGame&) {}

}  // namespace brumil::battle
