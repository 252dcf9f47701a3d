#include "framework/key_assign.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/input_codes.h"

namespace brumil::framework {
namespace {

KeyAssignTable Sample() {
    KeyAssignTable t{};
    SetDefaultPadAssign(t);
    SetDefaultKeyAssign1(t[1]);
    t[3].fill(0);
    return t;
}

TEST(KeyAssign, DefaultKeyboardSet) {
    KeyAssignRecord r;
    r.fill(77);
    SetDefaultKeyAssign1(r);
    const KeyAssignRecord expected = {0x102C, 0x102D, 0x102E, 0x101E, 0,      0,      0,
                                      0,      0,      0,      0x10C8, 0x10D0, 0x10CB, 0x10CD};
    EXPECT_EQ(r, expected);
}

TEST(KeyAssign, DefaultPadSetUsesPadPerPlayer) {
    KeyAssignTable t{};
    SetDefaultPadAssign(t);
    EXPECT_EQ(t[0][0], 0x4000);
    EXPECT_EQ(t[0][9], 0x4009);
    EXPECT_EQ(t[2][kAssignUp], 0x2200);
    EXPECT_EQ(t[3][kAssignRight], 0x2303);
}

TEST(KeyAssign, TextRoundTrip) {
    const KeyAssignTable t = Sample();
    const std::string text = SaveKeyAssign(t);
    EXPECT_EQ(text.substr(0, 27), "16384,16385,16386,16387,163");
    EXPECT_NE(text.find("\r\n4140,4141,4142,4126,0,0,0,0,0,0,4296,4304,4299,4301\r\n"),
              std::string::npos);
    KeyAssignTable back{};
    LoadKeyAssign(back, text);
    EXPECT_EQ(back, t);
}

TEST(KeyAssign, TolerantReading) {
    struct Case {
        const char* name;
        std::string text;
        // Expected entries of record 0 (the rest keeps the defaults).
        KeyAssignRecord record0;
    };
    KeyAssignTable defaults{};
    SetDefaultKeyAssign1(defaults[0]);
    const KeyAssignRecord d = defaults[0];
    auto with = [&d](std::initializer_list<std::pair<int, Long>> changes) {
        KeyAssignRecord r = d;
        for (auto [i, v] : changes) r[std::size_t(i)] = v;
        return r;
    };
    const std::vector<Case> table = {
        {"empty text changes nothing", "", d},
        {"short line sets the leading entries", "4097,0", with({{0, 4097}, {1, 0}})},
        {"blanks around numbers", " 4097 ,\t16384 ", with({{0, 4097}, {1, 16384}})},
        {"LF line ends, empty second line", "4097\n\n", with({{0, 4097}})},
        {"garbage fields are skipped", "abc,4098,12x,,-5,99999999999999,0x1001", with({{1, 4098}})},
        {"invalid codes are skipped", "4096,8196,16416,28672,12288,4353", d},
        {"too many fields are ignored", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,4097,4098", d},
        {"binary junk", std::string("\0\xff\x01,\x80\r\n", 7), d},
        {"only separators", ",,,,,,,,,,,,,,,,,\r\n\r\n\r\n\r\n\r\n", d},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.name);
        KeyAssignTable t = defaults;
        LoadKeyAssign(t, c.text);
        EXPECT_EQ(t[0], c.record0);
        EXPECT_EQ(t[1], defaults[1]);
    }
}

TEST(KeyAssign, LinesPastTheFourthAreIgnored) {
    KeyAssignTable t{};
    LoadKeyAssign(t, "4097\r\n4098\r\n4099\r\n4100\r\n4101\r\n");
    EXPECT_EQ(t[0][0], 4097);
    EXPECT_EQ(t[3][0], 4100);
}

TEST(KeyAssign, RemoveAndClearOnTheSharedRecords) {
    gKeyAssign() = Sample();
    gKeyAssign()[2][5] = 0x102C;  // Z also on player 3
    RemoveKeyAssign(0x102C);
    EXPECT_EQ(gKeyAssign()[1][0], 0);
    EXPECT_EQ(gKeyAssign()[2][5], 0);
    EXPECT_EQ(gKeyAssign()[1][1], 0x102D);
    RemoveKeyAssign(0);  // 0 is "no input", never a code to remove
    ClearKeyAssign(0);
    EXPECT_EQ(gKeyAssign()[0], KeyAssignRecord{});
    ClearKeyAssign(4);  // out of range: ignored
    SetDefaultKeyAssign1(-1);
    EXPECT_EQ(gKeyAssign()[1][1], 0x102D);
    gKeyAssign() = KeyAssignTable{};
}

TEST(InputCodes, Names) {
    struct Case {
        Long code;
        const char* name;
        const char* shortName;
    };
    const std::vector<Case> table = {
        {0, "", ""},
        {0x1001, "Escape", "Esc"},
        {0x102C, "Z", "Z"},
        {0x101C, "Enter", "Enter"},
        {0x109C, "Keypad Enter", "NumEnter"},
        {0x10C8, "Up", "↑"},
        {0x101D, "Left Ctrl", "LCtrl"},
        {0x10EE, "Key 238", "Key 238"},  // a scan code no key uses
        {0x2000, "JOY1 ↑", "↑"},
        {0x2101, "JOY2 ↓", "↓"},
        {0x2002, "JOY1 ←", "←"},
        {0x2F03, "JOY16 →", "→"},
        {0x4002, "JOY1 B3", "B3"},
        {0x411F, "JOY2 B32", "B32"},
        {0x2004, "0x2004", "0x2004"},  // no fifth direction
        {0x4020, "0x4020", "0x4020"},  // no button 33
        {0x1000, "0x1000", "0x1000"},
        {0x1100, "0x1100", "0x1100"},
        {0x3000, "0x3000", "0x3000"},
        {-1, "0xFFFFFFFF", "0xFFFFFFFF"},
    };
    for (const Case& c : table) {
        EXPECT_EQ(GetInputCodeName(c.code), c.name) << std::hex << c.code;
        EXPECT_EQ(GetInputCodeShortName(c.code), c.shortName) << std::hex << c.code;
    }
}

}  // namespace
}  // namespace brumil::framework
