#include "battle/system_save_record.h"

#include <gtest/gtest.h>

#include <string>

#include "battle/line_list.h"

namespace brumil::battle {
namespace {

constexpr std::string_view kResetText =
    "Version Brumil7version1.00\r\n"
    "Permit 0\r\n"
    "WinVSFantasitcAI 0\r\n"
    "WinVSMadnessAI 0\r\n"
    "WinVSApocalypseAI 0\r\n";

SystemSaveRecord FromText(std::string_view text) {
    SystemSaveRecord record;
    record.Permit = 3;  // must not survive: reading starts from the reset record
    record.Scores[5].Score = 77;
    SystemSaveFromText(record, text);
    return record;
}

bool AllRowsEmpty(const SystemSaveRecord& r) {
    for (const ScoreRow& row : r.Scores) {
        if (!(row == ScoreRow{})) return false;
    }
    return true;
}

TEST(SystemSaveRecord, EmptyTextGivesTheResetRecord) {
    const SystemSaveRecord r = FromText("");
    EXPECT_EQ(r.Version, "Brumil7version1.00");
    EXPECT_EQ(r.Permit, 0);
    EXPECT_EQ(r.WinVSFantasitcAI, 0);
    EXPECT_EQ(r.WinVSMadnessAI, 0);
    EXPECT_EQ(r.WinVSApocalypseAI, 0);
    EXPECT_TRUE(AllRowsEmpty(r));
    EXPECT_EQ(r, SystemSaveRecord{});
}

TEST(SystemSaveRecord, ResetRecordIsFiveLines) {
    SystemSaveRecord r;
    r.Permit = 4;
    r.Scores[0].Score = 1;
    SystemSaveReset(r);
    EXPECT_EQ(SystemSaveToText(r), kResetText);
}

TEST(SystemSaveRecord, HeaderNumbersAreClamped) {
    struct Case {
        std::string_view line;
        Long permit;
        Long fantastic;
        Long madness;
    };
    const Case cases[] = {
        {"Permit 9", 6, 0, 0},
        {"Permit -2", 0, 0, 0},
        {"Permit letters", 0, 0, 0},
        {"Permit 5", 5, 0, 0},
        {"Permit 4.6", 5, 0, 0},
        {"Permit", 0, 0, 0},
        {"permit 5", 0, 0, 0},  // key in another case is ignored
        {"WinVSFantasitcAI -5", 0, 0, 0},
        {"WinVSFantasitcAI 12", 0, 12, 0},
        {"WinVSFantasitcAI 99999999999", 0, 2147483647, 0},
        {"WinVSMadnessAI 510", 0, 0, 510},
        {"WinVSMadnessAI x", 0, 0, 0},
    };
    for (const Case& c : cases) {
        const SystemSaveRecord r = FromText(std::string(c.line) + "\r\n");
        EXPECT_EQ(r.Permit, c.permit) << c.line;
        EXPECT_EQ(r.WinVSFantasitcAI, c.fantastic) << c.line;
        EXPECT_EQ(r.WinVSMadnessAI, c.madness) << c.line;
    }
}

TEST(SystemSaveRecord, RowsWrittenInOrderAndZeroRowsSkipped) {
    SystemSaveRecord r;
    r.Permit = 6;
    r.WinVSFantasitcAI = 3;
    r.WinVSMadnessAI = 0x1FE;
    r.WinVSApocalypseAI = 1;
    r.Scores[99] = {1200, "chara8", "Apocalypse", "2024/01/01"};
    r.Scores[12] = {5000, "chara3", "Normal", ""};
    r.Scores[0] = {-40, "chara1", "Easy", ""};
    r.Scores[50] = {0, "ghost", "Madness", ""};  // score 0: an empty row
    EXPECT_EQ(SystemSaveToText(r),
              "Version Brumil7version1.00\r\nPermit 6\r\nWinVSFantasitcAI 3\r\n"
              "WinVSMadnessAI 510\r\nWinVSApocalypseAI 1\r\n"
              "Score 0,chara1,Easy,-40\r\n"
              "Score 12,chara3,Normal,5000\r\n"
              "Score 99,chara8,Apocalypse,1200\r\n");

    const SystemSaveRecord back = FromText(SystemSaveToText(r));
    SystemSaveRecord expected = r;
    expected.Scores[99].DateText.clear();  // the file does not carry dates
    expected.Scores[50] = ScoreRow{};
    EXPECT_EQ(back, expected);
}

TEST(SystemSaveRecord, ScoreLinesOnReading) {
    struct Case {
        std::string_view line;
        int row;  // -1: no row changes
        ScoreRow want;
    };
    const Case cases[] = {
        {"Score 0,a,b,10", 0, {10, "a", "b", ""}},
        {"Score 99,a,b,10", 99, {10, "a", "b", ""}},
        {"Score -1,a,b,10", -1, {}},
        {"Score 100,a,b,10", -1, {}},
        {"Score 3000000000,a,b,10", -1, {}},
        {"Score 7,,,-10", 7, {-10, "", "", ""}},
        {"Score 7,a,b,10,extra", 7, {10, "a", "b", ""}},
        {"Score 7x,a,b,10", 7, {10, "a", "b", ""}},  // index read leniently
        {"Score x,a,b,10", 0, {10, "a", "b", ""}},   // no number: index 0
        {"Score 7,a,b,ten", -1, {}},                 // score not a number: row skipped
        {"Score 7,a,b", -1, {}},
        {"Score 7,さくら,ハード,2147483647", 7, {2147483647, "さくら", "ハード", ""}},
        {"score 7,a,b,10", -1, {}},
    };
    for (const Case& c : cases) {
        const SystemSaveRecord r = FromText(std::string(c.line) + "\r\n");
        SystemSaveRecord expected;
        if (c.row >= 0) expected.Scores[static_cast<std::size_t>(c.row)] = c.want;
        EXPECT_EQ(r, expected) << c.line;
    }
}

TEST(SystemSaveRecord, RowTextsCannotShiftFields) {
    SystemSaveRecord r;
    r.Scores[4] = {900, "a,b\r\nScore 5,x,y,1", "L\nv,l\r", ""};
    r.Version = "v1\r\nPermit 6";
    const std::string text = SystemSaveToText(r);
    EXPECT_NE(text.find("Score 4,a b Score 5 x y 1,L v l ,900\r\n"), std::string::npos) << text;
    const SystemSaveRecord back = FromText(text);
    EXPECT_EQ(back.Scores[4].Score, 900);
    EXPECT_EQ(back.Scores[4].CharaText, "a b Score 5 x y 1");
    EXPECT_EQ(back.Scores[4].LevelText, "L v l ");
    EXPECT_EQ(back.Scores[5], ScoreRow{});
    EXPECT_EQ(back.Permit, 0);
    EXPECT_EQ(back.Version, "v1Permit 6");
}

TEST(SystemSaveRecord, ReaderLineRules) {
    const SystemSaveRecord lf = FromText("Version v2\nPermit 5\nScore 3,c,l,8\n");
    EXPECT_EQ(lf.Version, "v2");
    EXPECT_EQ(lf.Permit, 5);
    EXPECT_EQ(lf.Scores[3].Score, 8);

    // Last value wins; unknown keys, empty lines and a version with blanks.
    const SystemSaveRecord r = FromText(
        "Permit 2\r\n\r\nBogus 1\r\nPermit 4\r\nVersion my save 2\r\nScore 1,a,b,5\r\n"
        "Score 1,c,d,6");
    EXPECT_EQ(r.Permit, 4);
    EXPECT_EQ(r.Version, "my save 2");
    EXPECT_EQ(r.Scores[1], (ScoreRow{6, "c", "d", ""}));
    // A line "Version" with no blank leaves an empty banner.
    EXPECT_EQ(FromText("Version\r\n").Version, "");
}

TEST(SystemSaveRecord, DamagedTextGivesTheResetRecord) {
    std::string garbage;
    for (int i = 0; i < 512; ++i) garbage.push_back(static_cast<char>((i * 37 + 11) % 256));
    EXPECT_EQ(FromText(garbage), SystemSaveRecord{});
    EXPECT_EQ(FromText("\x01\x02\xff\xfe garbage\r\n"), SystemSaveRecord{});
}

TEST(LineList, JoinsLinesAndGrowsByDoubling) {
    LineList list;
    std::string text = "untouched";
    list.LineListAdd(text, true);
    EXPECT_EQ(text, "untouched");  // nothing stored: the argument is left as it was
    for (int i = 0; i < 205; ++i) {
        std::string line = std::to_string(i);
        list.LineListAdd(line, false);
    }
    EXPECT_EQ(list.Count(), 205u);
    EXPECT_EQ(list.Capacity(), 400u);
    std::string joined;
    list.LineListAdd(joined, true);
    std::string expected;
    for (int i = 0; i < 205; ++i) expected += std::to_string(i) + "\r\n";
    EXPECT_EQ(joined, expected);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.Capacity(), 100u);
}

}  // namespace
}  // namespace brumil::battle
