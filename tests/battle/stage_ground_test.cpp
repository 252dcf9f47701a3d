// The stage's pure parts: height grid, patch text, board selection, the
// lightning timeline, colours and music.
#include "battle/stage_ground.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/codec/helper_random.h"

namespace brumil::battle {
namespace {

// rnd(n) from a seeded generator, logging every n asked for.
struct LoggedRandom {
    explicit LoggedRandom(std::uint64_t seed) : random(seed) {}
    Long operator()(Long n) {
        asked.push_back(n);
        std::uint32_t out = 0;
        if (n > 1) random.Below(static_cast<std::uint32_t>(n), out);
        return static_cast<Long>(out);
    }
    platform::HelperRandom random;
    std::vector<Long> asked;
};

// rnd(n) answering a fixed script, then n - 1 (the largest answer).
struct ScriptedRandom {
    Long operator()(Long n) {
        if (script.empty()) return n - 1;
        const Long v = script.front();
        script.pop_front();
        return v;
    }
    std::deque<Long> script;
};

struct GroupCase {
    Long stage;
    char group;
    Long limit;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const GroupCase& c, std::ostream* os) {
    *os << "stage=" << c.stage << " group=" << c.group << " limit=" << c.limit;
}

class StageGroupGrid : public ::testing::TestWithParam<GroupCase> {};

TEST_P(StageGroupGrid, HeightsStayInRangeAndCloseIntoALoop) {
    const GroupCase& c = GetParam();
    const StageGroup* g = StageGroupOf(c.stage);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->name, c.group);
    for (std::uint64_t seed : {1u, 7u, 12345u}) {
        LoggedRandom rnd(seed);
        const HeightGrid grid = BuildHeightGrid(*g, std::ref(rnd));
        // One start value, then per row one row step and 36 column steps.
        ASSERT_EQ(rnd.asked.size(), 1u + 211u * 37u);
        EXPECT_EQ(rnd.asked[0], g->startRange);
        EXPECT_EQ(rnd.asked[1], g->rowRange);
        EXPECT_EQ(rnd.asked[2], g->columnRange);
        EXPECT_EQ(rnd.asked[38], g->rowRange);
        EXPECT_EQ(grid[0], grid[210]) << "seed " << seed;
        for (const HeightRow& row : grid) {
            for (Long h : row) {
                EXPECT_GE(h, 0);
                EXPECT_LE(h, c.limit);
            }
        }
        // Seam bands: the second row and column of a patch equal its edge.
        for (Long r = 1; r <= 204; r += 7) EXPECT_EQ(grid[r], grid[r - 1]) << r;
        for (Long r = 6; r <= 209; r += 7) EXPECT_EQ(grid[r], grid[r + 1]) << r;
        for (const HeightRow& row : grid) {
            for (Long col : {1, 8, 15, 22, 29}) EXPECT_EQ(row[col], row[col - 1]);
            for (Long col : {6, 13, 20, 27, 34}) EXPECT_EQ(row[col], row[col + 1]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Stages, StageGroupGrid,
                         ::testing::Values(GroupCase{0, 'A', 40}, GroupCase{4, 'A', 40},
                                           GroupCase{1, 'B', 4}, GroupCase{5, 'B', 4},
                                           GroupCase{2, 'C', 15}, GroupCase{3, 'C', 15},
                                           GroupCase{6, 'C', 15}));

TEST(StageGround, OutsideTheSevenStagesThereIsNoGroup) {
    for (Long stage : {-1, 7, 100}) {
        EXPECT_EQ(StageGroupOf(stage), nullptr);
        EXPECT_EQ(StageMusicFile(stage), "");
    }
}

TEST(StageGround, GroupBRowsAreFlatAcross) {
    LoggedRandom rnd(99);
    const HeightGrid grid = BuildHeightGrid(*StageGroupOf(1), std::ref(rnd));
    for (const HeightRow& row : grid) {
        EXPECT_TRUE(std::all_of(row.begin(), row.end(), [&](Long h) { return h == row[0]; }));
    }
}

TEST(StageGround, TheWalkIsHeldAtItsLimitsBeforeSmoothing) {
    // Group A with every draw at its largest: start 39, rows +9, columns +4:
    // the walk climbs past 40 at once and is held there, so smoothing and
    // seams keep a flat grid of 40.
    ScriptedRandom rnd;
    const HeightGrid grid = BuildHeightGrid(*StageGroupOf(0), std::ref(rnd));
    for (const HeightRow& row : grid) {
        for (Long h : row) EXPECT_EQ(h, 40);
    }
    // Every draw 0: start 0, rows -10, columns -5: held at 0.
    ScriptedRandom zero;
    zero.script.assign(1 + 211 * 37, 0);
    const HeightGrid low = BuildHeightGrid(*StageGroupOf(0), std::ref(zero));
    for (const HeightRow& row : low) {
        for (Long h : row) EXPECT_EQ(h, 0);
    }
}

TEST(StageGround, SmoothingAveragesWithCellsAlreadySmoothed) {
    // Group A on a flat ground of 0 with one spike of 4 at row 101, column
    // 17 (column draws 9 then 1 step +4 and -4 there; everything else steps
    // 0). Smoothing in place takes the spike's already smoothed neighbours
    // above and left, so (101, 18) and (102, 17) fall back to 0 where
    // averages of the untouched grid would give 1.
    ScriptedRandom rnd;
    rnd.script.push_back(0);
    for (Long r = 0; r < 211; ++r) {
        rnd.script.push_back(10);
        for (Long c = 0; c < 36; ++c) {
            rnd.script.push_back(r == 101 && c == 17 ? 9 : (r == 101 && c == 18 ? 1 : 5));
        }
    }
    const HeightGrid grid = BuildHeightGrid(*StageGroupOf(0), std::ref(rnd));
    for (Long r = 0; r < 211; ++r) {
        for (Long c = 0; c < 36; ++c) {
            const bool raised = (r == 100 && c == 17) || (r == 101 && (c == 16 || c == 17));
            EXPECT_EQ(grid[r][c], raised ? 1 : 0) << r << "," << c;
        }
    }
}

TEST(StageGround, PatchTextIsTheHeaderAndEightRowsOfEightHeights) {
    HeightGrid grid{};
    for (Long r = 0; r < 211; ++r) {
        for (Long c = 0; c < 36; ++c) grid[r][c] = (r * 36 + c) % 41;
    }
    std::string expected = "f7 w0 1 2 3 4 5 6 7 h0 1 2 3 4 5 6 7 f80 a\r\n";
    // Patch (m 2, c 1): grid rows 14..21, columns 21..28.
    for (Long r = 14; r <= 21; ++r) {
        for (Long c = 21; c <= 28; ++c) expected += " " + std::to_string((r * 36 + c) % 41);
        expected += "\r\n";
    }
    EXPECT_EQ(PatchLayoutText(grid, 2, 1), expected);
    EXPECT_EQ(BoardIndexOf(2, 1), 13);
    EXPECT_EQ(BoardIndexOf(0, -2), 0);
    EXPECT_EQ(BoardIndexOf(29, 2), 149);
    // Patch (0, -2) starts at the grid's corner; neighbours share an edge.
    const std::string first = PatchLayoutText(grid, 0, -2);
    EXPECT_NE(first.find("\r\n 0 1 2 3 4 5 6 7\r\n"), std::string::npos);
}

struct OrderCase {
    Long stage;
    Single travel;
    bool depth;
    std::vector<Long> rows;  // patch row of each drawn row, in order
    std::vector<Long> depths;
    Long firstColumn, lastColumn;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const OrderCase& c, std::ostream* os) {
    *os << "stage=" << c.stage << " travel=" << c.travel << " depth=" << c.depth
        << " firstColumn=" << c.firstColumn << " lastColumn=" << c.lastColumn;
}

class StageBoardOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(StageBoardOrder, PicksPatchRowsFarthestFirstWithoutDepthTest) {
    const OrderCase& c = GetParam();
    const auto order = BoardDrawOrder(*StageGroupOf(c.stage), c.travel, c.depth);
    const Long columns = c.lastColumn - c.firstColumn + 1;
    ASSERT_EQ(order.size(), c.rows.size() * static_cast<std::size_t>(columns));
    std::size_t n = 0;
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
        for (Long col = c.firstColumn; col <= c.lastColumn; ++col, ++n) {
            EXPECT_EQ(order[n].board, c.rows[i] * 5 + 2 + col) << n;
            EXPECT_EQ(order[n].column, col);
            EXPECT_EQ(order[n].depth, c.depths[i]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Travel, StageBoardOrder,
    ::testing::Values(OrderCase{0, 0.0f, false, {11, 12, 13, 14, 15}, {5, 4, 3, 2, 1}, -2, 2},
                      OrderCase{0, 1.0f, false, {10, 11, 12, 13, 14}, {6, 5, 4, 3, 2}, -2, 2},
                      OrderCase{4, 0.995f, false, {11, 12, 13, 14, 15}, {5, 4, 3, 2, 1}, -2, 2},
                      OrderCase{0, 0.0f, true, {15, 14, 13, 12, 11}, {1, 2, 3, 4, 5}, -2, 2},
                      OrderCase{1, 0.0f, false, {12, 13, 14, 15, 16}, {4, 3, 2, 1, 0}, -1, 1},
                      OrderCase{6, 0.0f, true, {16, 15, 14, 13, 12}, {0, 1, 2, 3, 4}, -1, 1},
                      // 30 rows later the strip repeats.
                      OrderCase{
                          0, 30.5f, false, {11, 12, 13, 14, 15}, {35, 34, 33, 32, 31}, -2, 2}));

TEST(StageFlashTimeline, WaitsAtLeast31StepsThenFadesOver80) {
    StageFlash f;
    ScriptedRandom rnd;
    rnd.script = {0, 4000 - 1, 0, 2000, 999};  // wait 30; dir (1.999, -0.2, -2); peak 1.999
    EXPECT_EQ(StepStageFlash(f, 1, std::ref(rnd)), FlashLights::Unchanged);
    EXPECT_EQ(f.Step, 1);
    EXPECT_EQ(f.Wait, 30);
    EXPECT_EQ(StepStageFlash(f, 30, std::ref(rnd)), FlashLights::Unchanged);
    EXPECT_EQ(f.Step, 1) << "after 30 steps the wait is 0, not yet negative";
    EXPECT_EQ(StepStageFlash(f, 1, std::ref(rnd)), FlashLights::Unchanged);
    EXPECT_EQ(f.Step, 2);
    EXPECT_FLOAT_EQ(f.DirX, 1.999f);
    EXPECT_FLOAT_EQ(f.DirY, -0.2f);
    EXPECT_FLOAT_EQ(f.DirZ, 0.0f);
    EXPECT_FLOAT_EQ(f.Peak, 1.999f);

    struct Frame {
        Long steps;
        FlashLights lights;
        Single strength;
    };
    const Frame frames[] = {
        {1, FlashLights::Lit, (1 - 1.0f / 80) * 1.999f},
        {39, FlashLights::Lit, 0.5f * 1.999f},
        {40, FlashLights::Lit, 0.0f},
        {1, FlashLights::Off, 0.0f},
    };
    for (const Frame& fr : frames) {
        EXPECT_EQ(StepStageFlash(f, fr.steps, std::ref(rnd)), fr.lights) << f.Age;
        if (fr.lights == FlashLights::Lit) {
            EXPECT_NEAR(f.Strength, fr.strength, 1e-5f);
        }
    }
    EXPECT_EQ(f.Step, 0);
    EXPECT_EQ(f.Age, 81);
}

TEST(StageFlashTimeline, StepsDueCountSoFewerFramesFlashAsLong) {
    // The same timeline in frames of 3 logic steps ends after the same
    // number of logic steps.
    StageFlash f;
    ScriptedRandom rnd;
    rnd.script = {0, 0, 0, 0, 0};
    Long steps = 0;
    StepStageFlash(f, 3, std::ref(rnd));
    while (f.Step == 1) {
        StepStageFlash(f, 3, std::ref(rnd));
        steps += 3;
    }
    EXPECT_EQ(steps, 33);  // first multiple of 3 past a wait of 30
    Long lit = 0;
    while (StepStageFlash(f, 3, std::ref(rnd)) == FlashLights::Lit) lit += 3;
    EXPECT_EQ(lit, 78);  // ages 3..78 are lit, 81 ends the flash
}

struct ColourCase {
    Long stage;
    Long p0a, p0b, p1a, p1b;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ColourCase& c, std::ostream* os) {
    *os << "stage=" << c.stage << " p0a=" << c.p0a << " p0b=" << c.p0b << " p1a=" << c.p1a
        << " p1b=" << c.p1b;
}

class StageColours : public ::testing::TestWithParam<ColourCase> {};

TEST_P(StageColours, PerStageAndPlayer) {
    const ColourCase& c = GetParam();
    EXPECT_EQ(StageColorsOf(c.stage, 0), (std::array<Long, 2>{c.p0a, c.p0b}));
    EXPECT_EQ(StageColorsOf(c.stage, 1), (std::array<Long, 2>{c.p1a, c.p1b}));
}

INSTANTIATE_TEST_SUITE_P(
    Stages, StageColours,
    ::testing::Values(
        ColourCase{1, Long(0xFF780078), Long(0xFF903090), Long(0xFF686800), Long(0xFFA0A000)},
        ColourCase{5, Long(0xFF780078), Long(0xFF903090), Long(0xFF686800), Long(0xFFA0A000)},
        ColourCase{2, Long(0xFF007832), Long(0xFF007832), Long(0xFF904000), Long(0xFF904000)},
        ColourCase{0, Long(0xFF000078), Long(0xFF003090), Long(0xFF980000), Long(0xFFA02000)},
        ColourCase{6, Long(0xFF000078), Long(0xFF003090), Long(0xFF980000), Long(0xFFA02000)},
        ColourCase{9, Long(0xFF000078), Long(0xFF003090), Long(0xFF980000), Long(0xFFA02000)}));

TEST(StageGround, MusicFilePerStage) {
    const std::pair<Long, std::string_view> cases[] = {
        {0, "\\data\\bgm\\regos.ogg"},
        {1, "\\data\\bgm\\インド風の曲.ogg"},
        {2, "\\data\\bgm\\03_abx0002-04rv70.ogg"},
        {3, "\\data\\bgm\\ピアノっぽいもの.ogg"},
        {4, "\\data\\bgm\\sta1.ogg"},
        {5, "\\data\\bgm\\sta2.ogg"},
        {6, "\\data\\bgm\\オケダンス.ogg"},
    };
    for (const auto& [stage, file] : cases) EXPECT_EQ(StageMusicFile(stage), file);
}

TEST(StageGround, SpotPulsesFollowTheSineOfTheFrame) {
    const StagePulse zero = StagePulseAt(0);
    EXPECT_EQ(zero.s1, 0.0f);
    EXPECT_EQ(zero.s7, 0.0f);
    // A quarter turn of frame x 1: the sine's full 256, halved by 512.
    const StagePulse quarter = StagePulseAt(1024);
    EXPECT_FLOAT_EQ(quarter.s1, 0.5f);
    EXPECT_FLOAT_EQ(quarter.s2, 0.0f);
    EXPECT_FLOAT_EQ(quarter.s3, -0.5f);
}

}  // namespace
}  // namespace brumil::battle
