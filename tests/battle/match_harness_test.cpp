// Whole matches through the headless harness: determinism, and damaged data.
#include "battle_harness/match_harness.h"

#include <gtest/gtest.h>

#include "battle/player_record.h"
#include "battle/system_save_record.h"
#include "core/api.h"
#include "image/cmg_bbi_function.h"
#include "temp_root.h"

namespace brumil::harness {
namespace {

// Both players move and attack; player 0 keeps firing from step 100.
MatchSetup Scripted(platform::Millis startMs) {
    MatchSetup s;
    s.GameMode = 4;
    s.Chara0 = 1;
    s.Chara1 = 4;
    s.StartMs = startMs;
    s.Keys = {
        {0, 0, kRight, true},      {30, 0, kRight, false},    {100, 0, kButton1, true},
        {120, 1, kButton2, true},  {140, 1, kLeft, true},     {170, 1, kLeft, false},
        {200, 1, kButton2, false}, {230, 0, kButton4, true},  {240, 0, kButton4, false},
        {250, 1, kButton3, true},  {260, 1, kButton3, false}, {300, 0, kButton5, true},
        {302, 0, kButton5, false},
    };
    return s;
}

TEST(MatchHarness, TwoRunsOfOneScriptGiveTheSameDigestEveryStep) {
    std::vector<std::uint64_t> first, second;
    {
        MatchHarness match(Scripted(1000));
        first = match.Run(420);
    }
    {
        MatchHarness match(Scripted(1000));
        second = match.Run(420);
    }
    ASSERT_EQ(first.size(), 420u);
    ASSERT_EQ(second.size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        ASSERT_EQ(first[i], second[i]) << "first differing step " << i;
    // The match did something: the state changes from step to step.
    EXPECT_NE(first[150], first[300]);
}

TEST(MatchHarness, ShotsAreOnTheFieldInAScriptedMatch) {
    MatchHarness match(Scripted(1000));
    match.Run(130);
    Long live = 0;
    for (const auto& s : battle::gPlayers()[0].Shots) live += s.State != 0;
    EXPECT_GT(live, 0);
    EXPECT_EQ(battle::gPlayers()[0].AttackCode, 10);
}

TEST(MatchHarness, DamagedDataLetsTheMatchRunToItsEnd) {
    testing::TempDataRoot root;
    root.Write("data/TheBackScreen.bmp", std::string("BM\x36\x10\0\0", 6));  // cut short
    root.Write("data/sound/zio1x08.wav", "RIFF");  // damaged; the other effects are missing
    int prompts = 0;
    auto& prompt = image::gBBIFunction().LoadErrorPrompt;
    const auto previousPrompt = prompt;
    prompt = [&prompts](std::string_view, std::string_view) { ++prompts; };
    battle::SystemSaveRecord& save = battle::gSystemSave();
    const battle::SystemSaveRecord previousSave = save;
    save = battle::SystemSaveRecord{};

    MatchSetup setup;
    setup.GameMode = 1;  // arcade: player 1 is the computer opponent
    setup.AILevel = 4;
    setup.Chara0 = 3;
    setup.Chara1 = 5;
    {
        MatchHarness match(setup);
        for (int i = 0; i < 20; ++i) match.Step();
        battle::gPlayers()[1].Life = 2;
        battle::gPlayers()[1].HitStrength = 2;
        match.Run(1000);
        EXPECT_TRUE(match.Ended());
        EXPECT_EQ(match.Game().Winner, 0);
    }
    EXPECT_EQ(prompts, 0);
    EXPECT_EQ(save.Scores[40].Score, 100000);
    EXPECT_EQ(save.Scores[40].CharaText, "odrane");
    EXPECT_EQ(save.Scores[40].LevelText, "Fantastic");
    EXPECT_EQ(save.Scores[40].DateText,
              core::gApi().GetTimeWideYearMD(true, "/", true, "/", true, ""));
    EXPECT_EQ(save.WinVSFantasitcAI, 1);
    save = previousSave;
    prompt = previousPrompt;
}

}  // namespace
}  // namespace brumil::harness
