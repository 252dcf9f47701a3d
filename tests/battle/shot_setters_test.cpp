#include "battle/shot_setters.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "battle/b_game.h"
#include "battle/player_record.h"

namespace brumil::battle {
namespace {

std::int32_t WordAt(const ShotRecord& r, std::size_t offset) {
    std::int32_t w = 0;
    std::memcpy(&w, reinterpret_cast<const char*>(&r) + offset, sizeof(w));
    return w;
}

// Every byte of the record set to b (a record holding something else before).
void Fill(ShotRecord& r, unsigned char b) {
    unsigned char bytes[sizeof(ShotRecord)];
    std::memset(bytes, b, sizeof(bytes));
    std::memcpy(&r, bytes, sizeof(r));
}

// Clears both players and removes the battle object around each test.
class ShotRecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (PlayerRecord& p : gPlayers()) p = PlayerRecord{};
        gGame().reset();
    }
    void TearDown() override { SetUp(); }
};

TEST_F(ShotRecordsTest, TemplateAtEveryOffset) {
    // Offsets of the template's non-zero words; every other word is 0.
    struct Word {
        std::size_t offset;
        std::int32_t value;
    };
    const Word nonZero[] = {
        {0x00, 1},   {0x50, 4},    {0x54, 4},        {0x58, 4},   {0x5C, 18},
        {0x80, 128}, {0x84, 128},  {0x88, 0xFFFFFF}, {0x8C, 224}, {0x90, 1024},
        {0x94, 256}, {0x98, 8192}, {0x9C, 8192},
    };
    ShotRecord r;
    Fill(r, 0x5A);  // whatever the caller's record held before
    ShotRecordInit(r);
    for (std::size_t offset = 0; offset < sizeof(ShotRecord); offset += 4) {
        std::int32_t want = 0;
        for (const Word& w : nonZero) {
            if (w.offset == offset) want = w.value;
        }
        EXPECT_EQ(WordAt(r, offset), want) << "offset 0x" << std::hex << offset;
    }
}

TEST_F(ShotRecordsTest, SerialComesFromTheBattleObject) {
    ShotRecord a;
    ShotRecordInit(a);
    EXPECT_EQ(a.Serial, 0);  // no battle object yet
    gGame() = std::make_unique<bGame>();
    for (Long serial : {1, 7, -3}) {
        gGame()->Serial = serial;
        ShotRecord r;
        ShotRecordInit(r);
        EXPECT_EQ(r.Serial, serial);
        EXPECT_EQ(r.State, 1);
    }
}

TEST_F(ShotRecordsTest, TwoFreshRecordsAreByteIdentical) {
    gGame() = std::make_unique<bGame>();
    gGame()->Serial = 9;
    ShotRecord a, b;
    Fill(b, 0xFF);
    ShotRecordInit(a);
    a.X = 123;  // what a caller changes does not leak into the next record
    ShotRecordInit(a);
    ShotRecordInit(b);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof(ShotRecord)), 0);
}

TEST_F(ShotRecordsTest, ChangeRuleSetters) {
    struct Case {
        const char* what;
        void (*set)(ShotRecord&);
        // Size, Mode1, Param1, Mode2, Param2, Value1, Value2
        std::array<std::int32_t, 7> want;
    };
    const Case cases[] = {
        {"ShotSetKind(10, 5, 3)",
         [](ShotRecord& r) { ShotSetKind(r, 10, 5, 3); },
         {10, 2, 12, 2, 3, 10, 15}},
        {"ShotSetKind(120, 10, 0)",
         [](ShotRecord& r) { ShotSetKind(r, 120, 10, 0); },
         {120, 2, 12, 2, 0, 120, 130}},
        {"ShotSetMotion(7, -2)",
         [](ShotRecord& r) { ShotSetMotion(r, 7, -2); },
         {18, 1, 7, 1, 0, -2, 0}},
        {"ShotSetMotion1(-2)",
         [](ShotRecord& r) { ShotSetMotion1(r, -2); },
         {18, 1, 1, 1, 0, -2, 0}},
        {"ShotSetMotion2(16)",
         [](ShotRecord& r) { ShotSetMotion2(r, 16); },
         {18, 1, 2, 1, 0, 16, 0}},
        {"ShotSetTrigger(8, 3, 5, 0, 1, 9)",
         [](ShotRecord& r) { ShotSetTrigger(r, 8, 3, 5, 0, 1, 9); },
         {18, 3, 8, 5, 0, 1, 9}},
        {"ShotSetTrigger(1, 1, 1, 0, -4, 0)",
         [](ShotRecord& r) { ShotSetTrigger(r, 1, 1, 1, 0, -4, 0); },
         {18, 1, 1, 1, 0, -4, 0}},
    };
    for (const Case& c : cases) {
        ShotRecord r;
        ShotRecordInit(r);
        r.Param2 = 77;  // overwritten by every setter
        ShotRecord before = r;
        c.set(r);
        const std::array<std::int32_t, 7> got = {r.Size,   r.Mode1,  r.Param1, r.Mode2,
                                                 r.Param2, r.Value1, r.Value2};
        EXPECT_EQ(got, c.want) << c.what;
        // Nothing else changes.
        before.Size = r.Size;
        before.Mode1 = r.Mode1, before.Param1 = r.Param1, before.Mode2 = r.Mode2;
        before.Param2 = r.Param2, before.Value1 = r.Value1, before.Value2 = r.Value2;
        EXPECT_EQ(std::memcmp(&before, &r, sizeof(r)), 0) << c.what;
    }
}

struct PoolCase {
    const char* name;
    Long (*add)(Long, const ShotRecord&);
    Long start;
    Long size;
    Long PlayerRecord::*cursor;
};

const PoolCase kPools[] = {
    {"main", &ShotAdd, 0, 800, &PlayerRecord::MainCursor},
    {"second", &ShotAddPool2, 800, 140, &PlayerRecord::SecondCursor},
    {"third", &ShotAddPool3, 940, 10, &PlayerRecord::ThirdCursor},
};

TEST_F(ShotRecordsTest, AddsGoToTheirPoolAndMoveTheCursor) {
    for (const PoolCase& pool : kPools) {
        SetUp();
        PlayerRecord& p = gPlayers()[1];
        ShotRecord r;
        ShotRecordInit(r);
        r.X = 42;
        // Cursor in the middle with the next record taken: the one after it.
        p.*pool.cursor = 3;
        p.Shots[static_cast<std::size_t>(pool.start + 3)].State = 1;
        EXPECT_EQ(pool.add(1, r), pool.start + 4) << pool.name;
        EXPECT_EQ(p.*pool.cursor, 4) << pool.name;
        EXPECT_EQ(p.Shots[static_cast<std::size_t>(pool.start + 4)].X, 42) << pool.name;
        // The other player's list is untouched.
        for (const ShotRecord& s : gPlayers()[0].Shots) ASSERT_EQ(s.State, 0) << pool.name;
        // A cursor out of range is brought back into the pool.
        p.*pool.cursor = pool.size + 5;
        EXPECT_EQ(pool.add(1, r), pool.start + 5) << pool.name;
        EXPECT_EQ(p.*pool.cursor, 5) << pool.name;
        // Records of other pools are never written.
        int live = 0;
        for (const ShotRecord& s : p.Shots) live += s.State != 0 ? 1 : 0;
        EXPECT_EQ(live, 3) << pool.name;
    }
}

TEST_F(ShotRecordsTest, AFullPoolDropsTheShotAndChangesNothing) {
    for (const PoolCase& pool : kPools) {
        SetUp();
        PlayerRecord& p = gPlayers()[0];
        ShotRecord r;
        ShotRecordInit(r);
        for (Long k = 0; k < pool.size; ++k) {
            r.WorkC = k;
            ASSERT_EQ(pool.add(0, r), pool.start + k) << pool.name;
        }
        ASSERT_EQ(p.*pool.cursor, pool.size - 1);
        const std::vector<ShotRecord> before(p.Shots.begin(), p.Shots.end());
        r.WorkC = -1;
        EXPECT_EQ(pool.add(0, r), -1) << pool.name;
        EXPECT_EQ(p.*pool.cursor, pool.size - 1) << pool.name;
        EXPECT_EQ(std::memcmp(before.data(), p.Shots.data(), sizeof(ShotList)), 0) << pool.name;
    }
}

TEST_F(ShotRecordsTest, PlayersOtherThanZeroAndOneAreIgnored) {
    ShotRecord r;
    ShotRecordInit(r);
    for (Long player : {-1, 2, 1000}) {
        EXPECT_EQ(ShotAdd(player, r), -1);
        EXPECT_EQ(ShotAddPool2(player, r), -1);
        EXPECT_EQ(ShotAddPool3(player, r), -1);
    }
    for (const PlayerRecord& p : gPlayers()) {
        for (const ShotRecord& s : p.Shots) ASSERT_EQ(s.State, 0);
    }
}

TEST_F(ShotRecordsTest, PoolSpansCoverTheListWithoutOverlap) {
    PlayerRecord& p = gPlayers()[0];
    EXPECT_EQ(MainPool(p).data(), &p.Shots[0]);
    EXPECT_EQ(MainPool(p).size(), 800u);
    EXPECT_EQ(SecondPool(p).data(), &p.Shots[800]);
    EXPECT_EQ(SecondPool(p).size(), 140u);
    EXPECT_EQ(ThirdPool(p).data(), &p.Shots[940]);
    EXPECT_EQ(ThirdPool(p).size(), 10u);
}

}  // namespace
}  // namespace brumil::battle
