#include "frontend/level_select.h"

#include <gtest/gtest.h>

#include <vector>

#include "menu_screen_fixture.h"

namespace brumil::frontend {
namespace {

namespace scan = platform::scan;

std::uint32_t Rgb(std::uint32_t colour) {
    return colour & 0xFFFFFFu;
}
// A colour multiplied by the labels' grey (0x80).
std::uint32_t Labelled(std::uint32_t colour) {
    std::uint32_t out = 0;
    for (int shift : {0, 8, 16}) out |= (((colour >> shift) & 0xFFu) * 0x80u / 255u) << shift;
    return out;
}

class LevelSelect : public screentest::MenuScreenFixture {
protected:
    // The title's menu, then its item `item` chosen.
    void Open(int item) {
        TitleMenu();
        Down(item);
        Press(scan::Return);
        host.sounds.clear();
    }
    void UntilMenu() {
        ASSERT_TRUE(StepUntil([&] { return St().LevelStep == 2; }, 80));
    }
};

struct PermitCase {
    Long permit;
    Long items;
    Long labelRows;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const PermitCase& c, std::ostream* os) {
    *os << "permit=" << c.permit << " items=" << c.items << " labelRows=" << c.labelRows;
}

class LevelPermit : public LevelSelect, public ::testing::WithParamInterface<PermitCase> {};

TEST_P(LevelPermit, OffersTheUnlockedLevelsAndTheirLabelsOnly) {
    const PermitCase& c = GetParam();
    battle::gSystemSave().Permit = c.permit;
    Open(0);
    UntilMenu();
    EXPECT_EQ(LevelItemCount(c.permit), c.items);
    EXPECT_EQ(LevelLabelHeight(c.permit), c.labelRows);
    for (Long i = 0; i < 6; ++i) EXPECT_EQ(View().GetRects().InUse(i), i < c.items) << i;
    // The keyboard cycles through the offered items only.
    std::vector<Long> seen;
    for (Long i = 0; i < 7; ++i) {
        seen.push_back(Cursor());
        Press(scan::Down);
    }
    for (Long item : seen) EXPECT_LT(item, c.items);
    // Labels are multiplied into the top rows only.
    const std::uint32_t background = Rgb(screentest::kLevelColours[0]);
    EXPECT_EQ(static_cast<std::uint32_t>(St().LevelTo.dwGetPixel(5, c.labelRows - 1)) & 0xFFFFFFu,
              Labelled(background));
    if (c.labelRows < 480) {
        EXPECT_EQ(static_cast<std::uint32_t>(St().LevelTo.dwGetPixel(5, c.labelRows)) & 0xFFFFFFu,
                  background);
    }
}

INSTANTIATE_TEST_SUITE_P(Permits, LevelPermit,
                         ::testing::Values(PermitCase{0, 4, 350}, PermitCase{4, 4, 350},
                                           PermitCase{5, 5, 415}, PermitCase{6, 6, 480}));

struct ModeCase {
    int titleItem;
    Long levelJob;
    Long charaJob;
    int downs;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << "titleItem=" << c.titleItem << " levelJob=" << c.levelJob << " charaJob=" << c.charaJob
        << " downs=" << c.downs;
}

class LevelChoice : public LevelSelect, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(LevelChoice, AcceptSetsTheLevelAndOpensTheModesCharacterSelect) {
    const ModeCase& c = GetParam();
    battle::gSystemSave().Permit = 6;
    Open(c.titleItem);
    ASSERT_TRUE(On(c.levelJob));
    UntilMenu();
    Down(c.downs);
    host.sounds.clear();
    Press(scan::Return);
    EXPECT_EQ(Options().AILevel, c.downs + 1);
    EXPECT_TRUE(On(c.charaJob));
    EXPECT_FALSE(Active(c.levelJob));
    EXPECT_TRUE(St().LevelLeaving);
    ASSERT_FALSE(host.sounds.empty());
    EXPECT_EQ(host.sounds.front(), 1);
}

INSTANTIATE_TEST_SUITE_P(LevelModes, LevelChoice,
                         ::testing::Values(ModeCase{0, kArcadeLevelJob, kArcadeCharaJob, 0},
                                           ModeCase{1, kFreeFightLevelJob, kFreeFightCharaJob, 2},
                                           ModeCase{2, kVersusLevelJob, kVersusCharaJob, 4},
                                           ModeCase{3, kNetworkLevelJob, kNetworkCharaJob, 5}));

TEST_F(LevelSelect, CancelDuringTheFadeLeavesWithTheFinishedPicture) {
    Open(1);
    Steps(5);
    ASSERT_EQ(St().LevelStep, 0);
    devices.SetKey(scan::Backspace, true);
    Step();
    devices.SetKey(scan::Backspace, false);
    EXPECT_EQ(host.sounds, std::vector<Long>{3});
    // Below the label rows the finished picture is the plain background, not
    // a mix with the title.
    EXPECT_EQ(static_cast<std::uint32_t>(app.WorkPicture.dwGetPixel(5, 470)) & 0xFFFFFFu,
              Rgb(screentest::kLevelColours[1]));
    Step();
    EXPECT_FALSE(On(kFreeFightLevelJob));
    EXPECT_TRUE(Active(kTitleJob));
}

TEST_F(LevelSelect, OnceALevelWasChosenEveryActivationRebuildsTheScreen) {
    Open(0);
    UntilMenu();
    Press(scan::Return);
    ASSERT_TRUE(On(kArcadeCharaJob));
    // Back from the character select: rebuilt, fading in again.
    app.Job().Remove(ApplicationConfig::Key(kArcadeCharaJob));
    Step();
    EXPECT_EQ(St().LevelStep, 0);
    EXPECT_TRUE(St().LevelLeaving);
    UntilMenu();
    // A dialog over it: rebuilt again when it closes.
    app.Job().Add(ApplicationConfig::Key(7), kJobKindModal);
    Step();
    app.Job().Remove(ApplicationConfig::Key(7));
    Step();
    EXPECT_EQ(St().LevelStep, 0);
}

TEST(LevelTables, CursorColoursAndBackgroundsByNumber) {
    const Long colours[] = {0x403060, 0x505050, 0x607040, 0x709030, 0x80B020, 0x10D010};
    for (Long i = 0; i < 6; ++i) EXPECT_EQ(LevelCursorColour(i), colours[i]);
    EXPECT_EQ(LevelCursorColour(-1), -1);
    EXPECT_EQ(LevelCursorColour(6), -1);
    EXPECT_EQ(LevelBackground(12), "level1.bmp");
    EXPECT_EQ(LevelBackground(18), "level4.bmp");
    EXPECT_EQ(LevelBackground(13), "");
}

}  // namespace
}  // namespace brumil::frontend
