#include "battle/input_sources.h"

#include "battle/b_game.h"
#include "battle/match_seams.h"
#include "battle/network_match.h"
#include "framework/input_module.h"
#include "framework/vkey.h"
#include "net/net_globals.h"
#include "net/net_input.h"

namespace brumil::battle {

void InputFromKeyboard(bGame& game, Long player) {
    if (player != 1) return;
    if (!framework::gVKeyFromDevices()[1]) return;
    const std::uint64_t step = framework::gInputModule().StepSerial();
    if (step == game.TurnedInputStep) return;
    game.TurnedInputStep = step;
    framework::VKeyRecord& r = framework::VKey()[1];
    r[framework::kVKeyX] = -r[framework::kVKeyX];
    r[framework::kVKeyY] = -r[framework::kVKeyY];
    r[framework::kVKeyDirection] = r[framework::kVKeyX] - 3 * r[framework::kVKeyY];
}

// The peer's keys, turned by half a turn; released until the peer plays
// this match. Consuming them continues from the newest message's bits, so a
// press and release between two steps show once each.
void InputFromNetwork(Long player) {
    net::NetPlayerRecord& peer = net::gNetPeer();
    const Long bits = PeerPlaysThisMatch() ? net::TakeNetKeyBits(peer) : 0;
    framework::UpdateVKey(player, net::VKeyFlagsFromNetBits(bits));
}

void InputFromReplay(Long player) {
    framework::UpdateVKey(player, framework::VKeyFlags{});
}

void InputJob(bGame& game) {
    for (Long player = 0; player < 2; ++player) {
        switch (game.gd().PlayerType(player)) {
            case kTypeKeyboard:
                InputFromKeyboard(game, player);
                break;
            case kTypeComputer:
                InputFromAI(player);
                break;
            case kTypeReplay:
                InputFromReplay(player);
                break;
            case kTypeNetwork:
                InputFromNetwork(player);
                break;
            default:
                break;
        }
    }
}

}  // namespace brumil::battle
