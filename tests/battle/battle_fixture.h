#pragma once
// A battle object of the test's own with a manual clock, set as the run's
// gGame (the attack patterns and the dispatch find it there), fresh virtual
// keys and device flags, and an empty texture cache. Undone after each test.

#include <gtest/gtest.h>

#include <memory>

#include "battle/b_game.h"
#include "battle/player_record.h"
#include "battle/player_reset.h"
#include "framework/vkey.h"
#include "platform/base/clock.h"
#include "render/admin_lib.h"
#include "render/im_texture.h"

namespace brumil::battle::test {

class BattleFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Clean();
        gGame() = std::make_unique<bGame>(clock);
    }
    void TearDown() override {
        gGame().reset();
        Clean();
    }

    bGame& Game() { return *gGame(); }
    BGameOption& Options() { return Game().gd(); }
    PlayerRecord& P(int i) { return gPlayers()[static_cast<std::size_t>(i)]; }

    // Options for a match and both players reset as at match start.
    void StartPlayers(Long mode, Long level, Long chara0, Long chara1) {
        Options().GameMode = mode;
        Options().AILevel = level;
        Options().CharaID(0, chara0);
        Options().CharaID(1, chara1);
        PlayerReset(Options(), 0);
        PlayerReset(Options(), 1);
    }

    platform::ManualClock clock{5'000'000};

private:
    static void Clean() {
        for (auto& r : framework::VKey()) r = framework::VKeyRecord{};
        framework::gVKeyFromDevices().fill(true);
        render::gIMTexture().Clear();
    }
};

}  // namespace brumil::battle::test
