#include "battle/match_results.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace brumil::battle {
namespace {

constexpr std::string_view kDate = "2026/12/07";

BGameOption Arcade(Long level, Long chara = 3) {
    BGameOption o;
    o.GameMode = 1;
    o.AILevel = level;
    o.CharaID(0, chara);
    o.CharaID(1, 5);
    return o;
}

// The scores of one level's ten rows.
std::vector<Long> Scores(const SystemSaveRecord& r, Long level) {
    std::vector<Long> out;
    for (Long i = 0; i < 10; ++i)
        out.push_back(r.Scores[static_cast<std::size_t>(level * 10 + i)].Score);
    return out;
}

void Fill(SystemSaveRecord& r, Long level, const std::vector<Long>& scores) {
    for (std::size_t i = 0; i < scores.size(); ++i) {
        ScoreRow& row = r.Scores[static_cast<std::size_t>(level) * 10 + i];
        row.Score = scores[i];
        row.CharaText = "old" + std::to_string(i);
    }
}

struct InsertCase {
    const char* name;
    std::vector<Long> before;
    Long score;
    std::vector<Long> after;
    int newRow;  // where the new row lands, -1 when not entered
};

const InsertCase kInsertCases[] = {
    {"empty table", {}, 500, {500, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
    {"zero is not entered", {}, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, -1},
    {"equal keeps the older above",
     {900, 500, 100},
     500,
     {900, 500, 500, 100, 0, 0, 0, 0, 0, 0},
     2},
    {"best goes first", {900, 500}, 1000, {1000, 900, 500, 0, 0, 0, 0, 0, 0, 0}, 0},
    {"eleventh drops out", {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 5, {10, 9, 8, 7, 6, 5, 5, 4, 3, 2}, 6},
    {"below a full table", {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 1, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, -1},
    {"into the last row", {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 2, {10, 9, 8, 7, 6, 5, 4, 3, 2, 2}, 9},
    {"negative rows are below", {-5}, -1, {-1, -5, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
};

TEST(RecordHighScore, InsertionTable) {
    for (const InsertCase& c : kInsertCases) {
        SystemSaveRecord r;
        Fill(r, 3, c.before);
        Fill(r, 2, {77});
        Fill(r, 4, {88});
        RecordHighScore(Arcade(3), c.score, kDate, r);
        EXPECT_EQ(Scores(r, 3), c.after) << c.name;
        if (c.newRow >= 0) {
            const ScoreRow& row = r.Scores[static_cast<std::size_t>(30 + c.newRow)];
            EXPECT_EQ(row, (ScoreRow{c.score, "odrane", "Hard", std::string(kDate)})) << c.name;
        }
        // Rows keep their texts when they move: the row below the new one is
        // the old row that was there.
        if (c.newRow >= 0 && c.newRow < 9 && c.after[static_cast<std::size_t>(c.newRow) + 1] != 0) {
            EXPECT_EQ(r.Scores[static_cast<std::size_t>(31 + c.newRow)].CharaText,
                      "old" + std::to_string(c.newRow))
                << c.name;
        }
        EXPECT_EQ(Scores(r, 2)[0], 77) << c.name << ": other levels untouched";
        EXPECT_EQ(Scores(r, 4)[0], 88) << c.name << ": other levels untouched";
    }
}

TEST(RecordHighScore, OnlyArcadeAndLevelsWithRows) {
    struct Case {
        Long mode, level;
        bool entered;
    };
    constexpr Case kCases[] = {
        {1, 0, true},   {1, 6, true},  {1, 9, true},  {1, 10, false},
        {1, -1, false}, {2, 3, false}, {4, 3, false}, {0, 3, false},
    };
    for (const Case& c : kCases) {
        SystemSaveRecord r;
        BGameOption o = Arcade(c.level);
        o.GameMode = c.mode;
        RecordHighScore(o, 1234, kDate, r);
        bool any = false;
        for (const ScoreRow& row : r.Scores) any = any || row.Score != 0;
        EXPECT_EQ(any, c.entered) << "mode " << c.mode << " level " << c.level;
        if (c.entered) {
            EXPECT_EQ(r.Scores[static_cast<std::size_t>(c.level * 10)].Score, 1234);
        }
    }
}

struct WinCase {
    const char* name;
    Long mode, level, chara, winner;
    Long fantasticBefore, madnessBefore, permitBefore;
    Long fantasticAfter, madnessAfter, permitAfter;
};

constexpr Long kAllButOne = 0x1FE & ~(1 << 8);

const WinCase kWinCases[] = {
    {"first fantastic win", 1, 4, 3, 0, 0, 0, 0, 1, 0, 0},
    {"fourth fantastic win unlocks", 1, 4, 3, 0, 3, 0, 2, 4, 0, 5},
    {"free fight counts too", 2, 4, 3, 0, 3, 0, 2, 4, 0, 5},
    {"permit never falls", 1, 4, 3, 0, 3, 0, 6, 4, 0, 6},
    {"counter saturates", 1, 4, 3, 0, std::numeric_limits<Long>::max(), 0, 5,
     std::numeric_limits<Long>::max(), 0, 5},
    {"madness sets the character bit", 1, 5, 3, 0, 0, 0, 0, 0, 1 << 3, 0},
    {"same character twice", 1, 5, 3, 0, 0, 1 << 3, 0, 0, 1 << 3, 0},
    {"eighth character unlocks", 1, 5, 8, 0, 0, kAllButOne, 5, 0, 0x1FE, 6},
    {"bit 0 does not count", 1, 5, 8, 0, 0, kAllButOne | 1, 5, 0, 0x1FF, 6},
    {"character 0 sets no bit", 1, 5, 0, 0, 0, kAllButOne, 5, 0, kAllButOne, 5},
    {"character 9 sets no bit", 1, 5, 9, 0, 0, kAllButOne, 5, 0, kAllButOne, 5},
    {"two players change nothing", 4, 4, 3, 0, 3, 0, 2, 3, 0, 2},
    {"player 1 winning changes nothing", 1, 4, 3, 1, 3, 0, 2, 3, 0, 2},
    {"undecided changes nothing", 1, 5, 3, -1, 0, 0, 0, 0, 0, 0},
    {"apocalypse changes nothing", 1, 6, 3, 0, 3, 2, 5, 3, 2, 5},
    {"hard changes nothing", 1, 3, 3, 0, 3, 2, 5, 3, 2, 5},
};

TEST(RecordWins, CountersAndPermit) {
    for (const WinCase& c : kWinCases) {
        SystemSaveRecord r;
        r.WinVSFantasitcAI = c.fantasticBefore;
        r.WinVSMadnessAI = c.madnessBefore;
        r.Permit = c.permitBefore;
        r.WinVSApocalypseAI = 7;
        BGameOption o = Arcade(c.level, c.chara);
        o.GameMode = c.mode;
        RecordWins(o, c.winner, r);
        EXPECT_EQ(r.WinVSFantasitcAI, c.fantasticAfter) << c.name;
        EXPECT_EQ(r.WinVSMadnessAI, c.madnessAfter) << c.name;
        EXPECT_EQ(r.Permit, c.permitAfter) << c.name;
        EXPECT_EQ(r.WinVSApocalypseAI, 7) << c.name;
    }
}

TEST(RecordWins, EightDifferentCharactersRaisePermitOnTheEighth) {
    SystemSaveRecord r;
    r.Permit = 5;
    for (Long chara = 1; chara <= 8; ++chara) {
        EXPECT_EQ(r.Permit, 5) << "before character " << chara;
        RecordWins(Arcade(5, chara), 0, r);
    }
    EXPECT_EQ(r.WinVSMadnessAI, 0x1FE);
    EXPECT_EQ(r.Permit, 6);
}

}  // namespace
}  // namespace brumil::battle
