// Records of random words through every routine (under the sanitizers in the
// test build: no overflow, no out-of-range access), and the same seeds giving
// the same list twice.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/codec/helper_random.h"
#include "platform/collision/angle_math.h"
#include "platform/collision/shot_list.h"
#include "platform/collision/sprite_list.h"
#include "recorder.h"

namespace brumil::platform::collision {
namespace {

using testing::AddCopy;
using testing::Recorder;

constexpr std::size_t kWords = sizeof(ShotRecord) / sizeof(std::int32_t);

std::int32_t Word(HelperRandom& random) {
    return static_cast<std::int32_t>(random.Next());
}

// Random words in every field; a quarter of the records free, some naming
// the registered procedures so that the callbacks run.
void Scramble(std::span<ShotRecord> list, HelperRandom& random) {
    for (ShotRecord& r : list) {
        std::int32_t words[kWords];
        for (std::int32_t& w : words) w = Word(random);
        std::memcpy(&r, words, sizeof(r));
        const std::uint32_t pick = random.Next();
        if ((pick & 3) == 0) r.State = 0;
        if ((pick & 12) == 0) r.ProcId = testing::kRecordedIds[(pick >> 4) % 8];
        if ((pick & 48) == 0) r.NextProcId = testing::kRecordedIds[(pick >> 8) % 8];
        if ((pick & 192) == 0) r.Param1 = testing::kRecordedIds[(pick >> 12) % 8];
        if ((pick & 768) == 0) r.Mode1 = static_cast<std::int32_t>((pick >> 16) % 6);
        if ((pick & 3072) == 0) r.Phase |= kPhaseFireNow;
    }
}

// Procedures that act the way the game's do: copy into the list, catch on it,
// end records, draw random numbers. Each acts a bounded number of times.
void InstallActions(std::span<ShotRecord> list, int& budget) {
    Recorder& rec = Recorder::Get();
    rec.actions[8] = [list, &budget](std::int32_t, std::int32_t index) {
        if (--budget < 0) return;
        ShotRecord copy = list[static_cast<std::size_t>(index)];
        copy.Age = ART(5);
        AddCopy(list, index + ART(900), copy);
    };
    rec.actions[12] = [list](std::int32_t, std::int32_t index) {
        list[static_cast<std::size_t>(index)].State = 0;
    };
    rec.actions[20] = [list, &budget](std::int32_t player, std::int32_t index) {
        if (--budget < 0) return;
        const ShotRecord& r = list[static_cast<std::size_t>(index)];
        PosHitCircleCallBack(list.subspan(0, 800), player, 0, r.X, r.Y, ART(200), -1, 2, r.Serial,
                             16, 21);
    };
    rec.actions[21] = [list, &budget](std::int32_t, std::int32_t index) {
        if (--budget < 0) return;
        ShotRecord copy = list[static_cast<std::size_t>(index)];
        list[static_cast<std::size_t>(index)].State = 0;
        copy.Phase = 0;
        AddCopy(list.subspan(800, 140), ART(140), copy);
    };
    rec.actions[30] = [list](std::int32_t, std::int32_t) { PosHitAll(list, 1, 2, 4); };
    rec.actions[31] = [list](std::int32_t, std::int32_t index) {
        list[static_cast<std::size_t>(index)].Phase &= ~kPhaseFireNow;
    };
}

// One step of everything the battle does with a list, on random arguments.
void Step(std::span<ShotRecord> list, HelperRandom& random) {
    PosMove(list);
    PosReference(list, static_cast<std::int32_t>(random.Next() & 1));
    PosHitWindow(list.subspan(0, 800), -0x7000, -0x5000, 0x2F000, 0x23000, -1, 1, 8);
    PosHitWindowIn(list, Word(random), Word(random), Word(random), Word(random), Word(random), 1,
                   0);
    PosHitWindow(list, Word(random), Word(random), Word(random), Word(random), -1, 2, Word(random));
    PosHitCircle(list, Word(random), Word(random), Word(random), -1, 2, 2);
    PosHitCircle(list, Word(random), Word(random), Word(random) & 0xFFFF, 1, 1, 2);
    PosHitBox(list, Word(random), Word(random), Word(random), -1, 2, 2);
    PosHitBox(list.subspan(800, 140), Word(random), Word(random), Word(random) & 0xFFF, -1, 1, 2);
    PosHitCircleCallBack(list, 0, 0, Word(random), Word(random), Word(random), -1, 2, Word(random),
                         16, 20);
    PosHitAll(list, Word(random) & 3, static_cast<std::int32_t>(random.Next() % 3), 4);
    SearchFree(list, Word(random));
    std::vector<std::int32_t> indexes(64 * list.size()), counts(64);
    GetList(list, static_cast<std::int32_t>(random.Next() % 4), Word(random), indexes, counts);
    std::vector<std::int32_t> cells(kCellGroupEntries);
    for (std::int32_t& c : cells) c = Word(random);
    std::vector<D3DTLVERTEX> vertices(list.size() * kVerticesPerRecord);
    for (std::size_t k = 0; k < 64; ++k) {
        GetTLS(vertices, {Word(random), Word(random), Word(random)}, cells,
               std::span(indexes).subspan(k * list.size(), list.size()), counts[k], list);
    }
    // Indices of any value, counts of any value.
    std::vector<std::int32_t> wild(50);
    for (std::int32_t& w : wild) w = Word(random);
    GetTLS(vertices, {}, cells, wild, Word(random), list);
}

class HostileTest : public ::testing::Test {
protected:
    void SetUp() override {
        Recorder::Get().Clear();
        testing::DisconnectAll();
        testing::ConnectRecorders();
    }
    void TearDown() override {
        testing::DisconnectAll();
        Recorder::Get().Clear();
    }
};

TEST_F(HostileTest, RandomWordsThroughEveryRoutine) {
    std::span<ShotRecord> list = Recorder::Get().list;
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        HelperRandom random(seed);
        Reset(static_cast<std::int32_t>(seed));
        int budget = 3000;
        InstallActions(list, budget);
        Scramble(list, random);
        for (int step = 0; step < 6; ++step) Step(list, random);
        for (int k = 0; k < 2000; ++k) {
            const std::int32_t a = Word(random), b = Word(random);
            ASSERT_LE(std::abs(ACT(a)), 256);
            ASSERT_LE(std::abs(AST(b)), 256);
            const std::int32_t h = AHT(a, b);
            ASSERT_TRUE(h >= 0 && h < 4096) << a << "," << b;
            ASSERT_GE(ALT(a, b), 0);
            const std::int32_t f = AFT(a, b);
            ASSERT_TRUE(f >= -2048 && f < 2048);
            const std::int32_t n = ART(a);
            ASSERT_TRUE(n == 0 || (n > 0 && n < a));
        }
    }
    EXPECT_FALSE(Recorder::Get().calls.empty()) << "the procedures must have been exercised";
}

TEST_F(HostileTest, SameSeedsGiveTheSameListBitForBit) {
    std::span<ShotRecord> list = Recorder::Get().list;
    const auto run = [&](std::uint64_t seed) {
        Recorder::Get().Clear();
        HelperRandom random(seed);
        Reset(4321);
        int budget = 3000;
        InstallActions(list, budget);
        Scramble(list, random);
        // Sane positions so that hits and catches actually happen.
        for (ShotRecord& r : list) {
            r.X = static_cast<std::int32_t>(random.Next() % 0x28000);
            r.Y = static_cast<std::int32_t>(random.Next() % 0x1E000);
            r.Speed = static_cast<std::int32_t>(random.Next() % 800);
            r.Size = 18;
            r.Scale = 256;
        }
        for (int step = 0; step < 20; ++step) Step(list, random);
        std::vector<ShotRecord> out(list.begin(), list.end());
        return std::make_pair(out, Recorder::Get().calls.size());
    };
    const auto [first, firstCalls] = run(99);
    const auto [second, secondCalls] = run(99);
    ASSERT_EQ(first.size(), second.size());
    EXPECT_EQ(std::memcmp(first.data(), second.data(), first.size() * sizeof(ShotRecord)), 0);
    EXPECT_EQ(firstCalls, secondCalls);
    EXPECT_GT(firstCalls, 100u);
    const auto [other, otherCalls] = run(100);
    EXPECT_NE(std::memcmp(first.data(), other.data(), first.size() * sizeof(ShotRecord)), 0);
}

}  // namespace
}  // namespace brumil::platform::collision
