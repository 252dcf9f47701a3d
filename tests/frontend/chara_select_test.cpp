#include "frontend/chara_select.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "menu_screen_fixture.h"

namespace brumil::frontend {
namespace {

namespace scan = platform::scan;

constexpr Long kNameEntry1 = 8;
constexpr Long kLoadingEntry = 14;

class CharaSelect : public screentest::MenuScreenFixture {
protected:
    // The character select of a title item (level "Easy"), ready to choose.
    void Open(int titleItem, Long job) {
        PlugPads();
        TitleMenu();
        MenuScreenFixture::Down(titleItem);
        Press(scan::Return);
        ASSERT_TRUE(StepUntil([&] { return St().LevelStep == 2; }, 80));
        Press(scan::Return);
        ASSERT_TRUE(On(job));
        ASSERT_TRUE(StepUntil([&] { return St().CharaStep == 2 && St().CharaFrame >= 1; }, 80));
        host.sounds.clear();
    }
    // Player 0's controls: pad 1.
    void Accept(int pad = 0) { PressPadButton(pad, 0); }
    void Cancel(int pad = 0) { PressPadButton(pad, 1); }
    void PadDown(int pad = 0) { PressPadDown(pad); }
};

TEST_F(CharaSelect, TheArcadeOffersSlotsZeroOneAndSixOnly) {
    Open(0, kArcadeCharaJob);
    std::set<Long> seen;
    for (int i = 0; i < 8; ++i) {
        seen.insert(St().CharaCursor1);
        PadDown();
    }
    EXPECT_EQ(seen, (std::set<Long>{0, 1, 6}));
    const bool offered[] = {true, true, false, false, false, false, true, false, false};
    for (Long slot = 0; slot < kCharaSlotCount; ++slot) {
        EXPECT_EQ(CharaSlotOffered(kArcadeCharaJob, slot), offered[slot]) << slot;
        EXPECT_TRUE(CharaSlotOffered(kVersusCharaJob, slot)) << slot;
    }
    EXPECT_FALSE(CharaSlotOffered(kVersusCharaJob, 9));
}

TEST_F(CharaSelect, FreeFightPicksTwiceWithPadOneAndCancelOnTheSecondUndoesBoth) {
    Open(1, kFreeFightCharaJob);
    Accept();
    EXPECT_EQ(St().CharaDecided1, 1);
    EXPECT_EQ(Options().CharaID(0), 1);
    PadDown();
    EXPECT_EQ(St().CharaCursor1, 0) << "the first pick is fixed";
    EXPECT_EQ(St().CharaCursor2, 1);
    host.sounds.clear();
    Cancel();
    EXPECT_EQ(St().CharaDecided1, 0);
    EXPECT_EQ(St().CharaDecided2, 0);
    ASSERT_FALSE(host.sounds.empty());
    EXPECT_EQ(host.sounds.front(), 3);
    EXPECT_TRUE(On(kFreeFightCharaJob));
    // Both again: the player on slot 0; the computer's cursor kept slot 1
    // and moves on to slot 2 (id 3).
    Accept();
    PadDown();
    Accept();
    EXPECT_EQ(Options().CharaID(0), 1);
    EXPECT_EQ(Options().CharaID(1), 3);
    EXPECT_EQ(St().CharaStep, 4) << "picked, and the loading notice shown in the next step";
}

TEST_F(CharaSelect, CancelWithNothingPickedGoesBackToTheLevelSelectOnce) {
    Open(1, kFreeFightCharaJob);
    Cancel();
    EXPECT_EQ(host.sounds, std::vector<Long>{3});
    EXPECT_FALSE(On(kFreeFightCharaJob));
    EXPECT_TRUE(Active(kFreeFightLevelJob));
}

TEST_F(CharaSelect, VersusEndsOnlyWhenBothSidesPicked) {
    Open(2, kVersusCharaJob);
    PadDown(1);
    Accept(0);
    EXPECT_EQ(St().CharaStep, 2);
    Accept(0);  // a fixed side ignores further accepts
    EXPECT_EQ(St().CharaStep, 2);
    Cancel(0);  // and may undo its own pick
    EXPECT_EQ(St().CharaDecided1, 0);
    EXPECT_EQ(St().CharaDecided2, 0);
    Accept(0);
    Accept(1);
    EXPECT_EQ(St().CharaStep, 4);
    EXPECT_EQ(Options().CharaID(0), 1);
    EXPECT_EQ(Options().CharaID(1), 2);
}

TEST_F(CharaSelect, TheRandomSlotShowsTheQuestionMarkAndPicksOneToEight) {
    Open(3, kNetworkCharaJob);
    for (int i = 0; i < 8; ++i) PadDown();
    ASSERT_EQ(St().CharaCursor1, kCharaRandomSlot);
    EXPECT_EQ(View().Layer()->Text(kNameEntry1), "？");
    Accept();
    const Long id = Options().CharaID(0);
    EXPECT_GE(id, 1);
    EXPECT_LE(id, 8);
}

TEST_F(CharaSelect, ARightClickLeavesAtOnceEvenWithAPickFixed) {
    Open(1, kFreeFightCharaJob);
    Accept();
    ASSERT_EQ(St().CharaDecided1, 1);
    host.sounds.clear();
    devices.Mouse().right = true;
    Step();
    devices.Mouse().right = false;
    Step();
    EXPECT_EQ(host.sounds, std::vector<Long>{3});
    EXPECT_FALSE(On(kFreeFightCharaJob));
}

TEST_F(CharaSelect, ShowsTheLoadingNoticeThenOpensTheMatchSequence) {
    // The match sequence only notes that it began.
    int sequenceBegun = 0;
    app.SetJobProcedure(kMatchSequenceJob, [&](ApplicationConfig&, Long, Long m, Long) {
        if (m == 1) ++sequenceBegun;
    });
    Open(0, kArcadeCharaJob);
    devices.Joystick(0).buttons[0] = true;
    Step();
    devices.Joystick(0).buttons[0] = false;
    ASSERT_EQ(St().CharaStep, 3);
    EXPECT_EQ(View().Layer()->Text(kLoadingEntry), "");
    Step();
    EXPECT_EQ(View().Layer()->Text(kLoadingEntry), "Now Loading...");
    EXPECT_EQ(St().CharaStep, 4);
    Steps(2);
    EXPECT_EQ(sequenceBegun, 1);
    EXPECT_FALSE(Active(kArcadeCharaJob));
    EXPECT_TRUE(St().CharaLeaving);
    // Back from the match the screen rebuilds and keeps the cursors.
    app.Job().Remove(ApplicationConfig::Key(kMatchSequenceJob));
    Step();
    EXPECT_EQ(St().CharaStep, 0);
    EXPECT_EQ(St().CharaCursor1, 0);
    EXPECT_TRUE(Active(kArcadeCharaJob));
}

}  // namespace
}  // namespace brumil::frontend
