// Every attack pattern and every kind procedure, at power 0, 1280 and 4000:
// each ends, and each writes nothing of the player records outside the shot
// lists (the patterns: besides their gauge cost, boost and guard). The runs go
// on through the collision library, so the chains of procedures run too.

#include <memory>

#include "battle/shot_kinds.h"
#include "battle/shot_patterns.h"
#include "platform/collision/shot_list.h"
#include "shot_fixture.h"

namespace brumil::battle::test {
namespace {

namespace lib = platform::collision;

class SweepTest : public ShotFixture, public ::testing::WithParamInterface<Long> {
protected:
    // A snapshot of both players with the words the step may change evened
    // out, to compare against a later state.
    using Pair = std::array<PlayerRecord, 2>;
    static std::unique_ptr<Pair> Outside() {
        auto s = std::make_unique<Pair>(gPlayers());
        for (PlayerRecord& p : *s) {
            p.Shots = {};
            p.MainCursor = p.SecondCursor = p.ThirdCursor = 0;
            p.GaugeCost = p.SpeedBoost = p.Invulnerable = 0;
        }
        return s;
    }
    static bool Same(const Pair& a, const Pair& b) {
        return std::memcmp(a.data(), b.data(), sizeof(Pair)) == 0;
    }
    // One frame of both lists as the frame step runs them.
    static void LibraryFrame() {
        for (Long i = 0; i < 2; ++i) {
            lib::PosMove(P(i).Shots);
            lib::PosReference(P(i).Shots, i);
        }
    }
};

TEST_P(SweepTest, EveryPatternEndsAndStaysInsideThePools) {
    const Long power = GetParam();
    for (Long n = 1; n <= kShotPatternCount; ++n) {
        SCOPED_TRACE(n);
        for (Long i = 0; i < 2; ++i) {
            P(i).Shots = {};
            P(i).Power = power;
        }
        const auto before = Outside();
        for (Long f = 1; f <= 130; ++f) {
            P(0).AttackFrame = f;
            RunShotPattern(n, 0);
            LibraryFrame();
            P(0).AttackFrame = 0;  // the attack frame is the frame step's
        }
        for (Long k = 0; k < 60; ++k) LibraryFrame();
        EXPECT_TRUE(Same(*before, *Outside()));
    }
}

TEST_P(SweepTest, EveryProcedureEndsAndStaysInsideThePools) {
    const Long power = GetParam();
    for (Long id = kFirstKindId; id <= kLastKindId; ++id) {
        SCOPED_TRACE(id);
        for (Long i = 0; i < 2; ++i) {
            P(i).Shots = {};
            P(i).Power = power;
        }
        const auto before = Outside();
        // One record of each pool, one leaving the field, one caught by
        // nothing yet: as frame procedure, then as timed procedure.
        const Long places[][3] = {{5, 0x14000, 0x10000},
                                  {6, 0x29100, 0x100},
                                  {805, 0x12000, 0x8000},
                                  {945, 0x14000, 0x12000}};
        for (const auto& [index, x, y] : places) {
            ShotRecord& r = Place(0, index, x, y);
            r.ProcId = id;
            r.NextProcId = id;
            r.SwitchAge = 10;
            r.HitA = 4;
            r.Speed = 300;
            r.TargetX = kOppX;
            r.TargetY = kOppY;
            ShotRecord& o = Place(1, index, x + 0x800, y);
            o.Group = index % 2;
        }
        for (Long k = 0; k < 90; ++k) {
            LibraryFrame();
            if (k < 3) KindProcedures().Find(id)(0, 5, 0);  // called directly too
        }
        EXPECT_TRUE(Same(*before, *Outside()));
    }
}

INSTANTIATE_TEST_SUITE_P(Powers, SweepTest, ::testing::Values(0, 1280, 4000));

TEST(KindRegistration, AllSixtyIdsHaveTheirProcedure) {
    const KindTable& table = KindProcedures();
    EXPECT_EQ(table.RegisteredCount(), kKindIdCount);
    const std::pair<Long, KindProcedure> spots[] = {
        {8, &Kind08Homing},       {12, &Kind12EmitStill},     {24, &Kind24SlowRing},
        {31, &Kind31CounterBeam}, {36, &Kind36Scatter},       {47, &Kind47BlastDim},
        {58, &Kind58Beam},        {65, &Kind65BouncingTrail}, {67, &Kind67HomingTrail}};
    for (const auto& [id, proc] : spots) EXPECT_EQ(table.Find(id), proc) << id;
    EXPECT_EQ(table.Find(7), nullptr);
    EXPECT_EQ(table.Find(68), nullptr);
}

}  // namespace
}  // namespace brumil::battle::test
