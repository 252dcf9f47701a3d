#include "battle/player_record.h"

namespace brumil::battle {

std::array<PlayerRecord, 2>& gPlayers() {
    static std::array<PlayerRecord, 2> players{};
    return players;
}

std::span<ShotRecord> MainPool(PlayerRecord& player) {
    return std::span<ShotRecord>(player.Shots).subspan(kMainPoolStart, kMainPoolSize);
}

std::span<ShotRecord> SecondPool(PlayerRecord& player) {
    return std::span<ShotRecord>(player.Shots).subspan(kSecondPoolStart, kSecondPoolSize);
}

std::span<ShotRecord> ThirdPool(PlayerRecord& player) {
    return std::span<ShotRecord>(player.Shots).subspan(kThirdPoolStart, kThirdPoolSize);
}

}  // namespace brumil::battle
