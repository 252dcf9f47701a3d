#include "battle/b_game_option.h"

#include <gtest/gtest.h>

#include <string_view>

namespace brumil::battle {
namespace {

struct ModeCase {
    Long mode;
    Long type0, type1, control0, control1;
    std::string_view caption;
};

// Modes 0 to 9 (and a negative one): who drives and who simulates each
// player, and the caption at match start.
constexpr ModeCase kModeCases[] = {
    {0, 0, 0, 0, 0, "エラー"},
    {1, 1, 2, 1, 1, "arcade"},
    {2, 1, 2, 1, 1, "freefight"},
    {3, 2, 1, 1, 1, "freefight"},
    {4, 1, 1, 1, 1, "battle"},
    {5, 2, 2, 1, 1, "watch"},
    {6, 3, 3, 2, 2, "replay"},
    {7, 1, 4, 1, 2, "networked battle"},
    {8, 4, 1, 2, 1, "networked battle"},
    {9, 0, 0, 0, 0, ""},
    {-1, 0, 0, 0, 0, ""},
};

TEST(BGameOption, TypesControlsAndCaptionsByMode) {
    for (const ModeCase& c : kModeCases) {
        BGameOption o;
        o.GameMode = c.mode;
        EXPECT_EQ(o.PlayerType(0), c.type0) << "mode " << c.mode;
        EXPECT_EQ(o.PlayerType(1), c.type1) << "mode " << c.mode;
        EXPECT_EQ(o.PlayerControl(0), c.control0) << "mode " << c.mode;
        EXPECT_EQ(o.PlayerControl(1), c.control1) << "mode " << c.mode;
        EXPECT_EQ(o.ModeCaption(), c.caption) << "mode " << c.mode;
        // Players other than 0 and 1 have no type and no control in any mode.
        for (Long player : {-1, 2}) {
            EXPECT_EQ(o.PlayerType(player), 0) << "mode " << c.mode << " player " << player;
            EXPECT_EQ(o.PlayerControl(player), 0) << "mode " << c.mode << " player " << player;
        }
    }
}

struct CharaCase {
    Long id;
    std::string_view folder;
    std::string_view str;
};

constexpr CharaCase kCharaCases[] = {
    {0, "", ""},
    {1, "chara_vesna\\", "vesna"},
    {2, "chara_pell\\", "pell"},
    {3, "chara_odrane\\", "odrane"},
    {4, "chara_marwenne\\", "marwenne"},
    {5, "chara_tolka\\", "tolka"},
    {6, "chara_brisa\\", "brisa"},
    {7, "chara_gundral\\", "gundral"},
    {8, "chara_emmet\\", "emmet"},
    {9, "", ""},
    {-3, "", ""},
};

TEST(BGameOption, CharacterFolderAndIdentifierPerPlayer) {
    for (const CharaCase& c : kCharaCases) {
        BGameOption o;
        o.CharaID(0, c.id);
        o.CharaID(1, 9 - c.id);  // the other player's id must not leak across
        EXPECT_EQ(o.CharaID(0), c.id);
        EXPECT_EQ(o.CharaFolder(0), c.folder) << c.id;
        EXPECT_EQ(o.CharaStr(0), c.str) << c.id;
        EXPECT_EQ(o.CharaFolder(1), CharaFolderOf(9 - c.id)) << c.id;
    }
}

TEST(BGameOption, OtherPlayersAreIgnoredOnWriteAndZeroOnRead) {
    BGameOption o;
    o.CharaID(0, 3);
    o.CharaID(1, 5);
    for (Long player : {-1, 2, 7}) {
        o.CharaID(player, 8);
        EXPECT_EQ(o.CharaID(player), 0) << player;
        EXPECT_EQ(o.CharaFolder(player), "") << player;
        EXPECT_EQ(o.CharaStr(player), "") << player;
    }
    EXPECT_EQ(o.CharaID(0), 3);
    EXPECT_EQ(o.CharaID(1), 5);
}

TEST(BGameOption, LevelNames) {
    constexpr std::pair<Long, std::string_view> kLevels[] = {
        {-1, ""},         {0, ""},        {1, "Easy"},       {2, "Normal"}, {3, "Hard"},
        {4, "Fantastic"}, {5, "Madness"}, {6, "Apocalypse"}, {7, ""},
    };
    for (const auto& [level, name] : kLevels) {
        BGameOption o;
        o.AILevel = level;
        EXPECT_EQ(o.AILevelStr(), name) << level;
    }
}

TEST(BGameOption, StartsAtZeroAndStoresWithoutChecks) {
    BGameOption o;
    EXPECT_EQ(o.GameMode, 0);
    EXPECT_EQ(o.AILevel, 0);
    EXPECT_EQ(o.StageNumber, 0);
    EXPECT_EQ(o.CharaID(0), 0);
    EXPECT_EQ(o.CharaID(1), 0);
    o.StageNumber = 42;
    o.CharaID(1, 99);
    EXPECT_EQ(o.StageNumber, 42);
    EXPECT_EQ(o.CharaID(1), 99);
    EXPECT_EQ(o.CharaStr(1), "");
}

}  // namespace
}  // namespace brumil::battle
