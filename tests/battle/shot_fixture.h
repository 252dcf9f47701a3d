#pragma once
// A match-free stage for the attack patterns and kind procedures: a battle
// object of the test's own (serial 1), both players cleared and placed, the
// real kind procedures connected to the collision library and its generator
// seeded. Player 0 stands low in the field facing up, player 1 above it.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "battle/b_game.h"
#include "battle/kind_table.h"
#include "battle/player_record.h"
#include "battle/shot_setters.h"
#include "platform/base/clock.h"
#include "platform/collision/angle_math.h"
#include "platform/collision/collision.h"

namespace brumil::battle::test {

inline constexpr Long kOwnX = 0x14000, kOwnY = 0x18000;
inline constexpr Long kOppX = 0x14000, kOppY = 0x6000;
inline constexpr Long kColor0 = 0x102030, kColor1 = 0x405060;

class ShotFixture : public ::testing::Test {
protected:
    void SetUp() override {
        gGame() = std::make_unique<bGame>(clock);
        gGame()->Serial = 1;
        for (Long i = 0; i < 2; ++i) {
            PlayerRecord& p = P(i);
            p = PlayerRecord{};
            p.Index = i;
            p.AimAngle = i == 0 ? 3072 : 1024;
            p.StageColors = {i == 0 ? kColor0 : kColor1, 0};
        }
        P(0).X = kOwnX;
        P(0).Y = kOwnY;
        P(1).X = kOppX;
        P(1).Y = kOppY;
        for (Long id = kFirstKindId; id <= kLastKindId; ++id)
            platform::collision::Connect(id, KindProcedures().Find(id));
        platform::collision::Reset(12345);
    }
    void TearDown() override { gGame().reset(); }

    static PlayerRecord& P(Long i) { return gPlayers()[static_cast<std::size_t>(i)]; }

    // The live records of a range of player i's list.
    static std::vector<ShotRecord> Live(Long i, Long first, Long count) {
        std::vector<ShotRecord> out;
        for (Long k = first; k < first + count; ++k) {
            const ShotRecord& r = P(i).Shots[static_cast<std::size_t>(k)];
            if (r.State != 0) out.push_back(r);
        }
        return out;
    }
    static std::vector<ShotRecord> Main(Long i) { return Live(i, kMainPoolStart, kMainPoolSize); }
    static std::vector<ShotRecord> Second(Long i) {
        return Live(i, kSecondPoolStart, kSecondPoolSize);
    }
    static std::vector<ShotRecord> Third(Long i) {
        return Live(i, kThirdPoolStart, kThirdPoolSize);
    }

    // Fills a pool of player i with live records so that it has `free`
    // free slots left (at the pool's end).
    static void FillPool(Long i, Long first, Long size, Long free) {
        for (Long k = first; k < first + size - free; ++k) {
            ShotRecord& r = P(i).Shots[static_cast<std::size_t>(k)];
            ShotRecordInit(r);
            r.X = -0x7FFF;  // marks a filler
        }
    }

    // A fresh record of player i placed at list index `index`.
    static ShotRecord& Place(Long i, Long index, Long x, Long y) {
        ShotRecord& r = P(i).Shots[static_cast<std::size_t>(index)];
        ShotRecordInit(r);
        r.X = x;
        r.Y = y;
        return r;
    }

    static bool SameBytes(const ShotRecord& a, const ShotRecord& b) {
        return std::memcmp(&a, &b, sizeof(ShotRecord)) == 0;
    }

    // The angle a mod 4096 in 0..4095.
    static Long Wrap(Long a) { return ((a % 4096) + 4096) % 4096; }

    platform::ManualClock clock{1'000'000};
};

}  // namespace brumil::battle::test
