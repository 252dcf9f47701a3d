#include <gtest/gtest.h>

#include <string>

#include "script_host.h"

namespace brumil::script::test {
namespace {

struct DumpCase {
    const char* source;
    const char* listing;
};

// Names the case in test listings by its source rather than its bytes.
void PrintTo(const DumpCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::string(c.source));
}

class Listing : public ::testing::TestWithParam<DumpCase> {};

TEST_P(Listing, ShowsEachLineOfCommands) {
    Host host;
    host.Compile(GetParam().source);
    EXPECT_EQ(host.script.Dump(), GetParam().listing);
}

INSTANTIATE_TEST_SUITE_P(
    Script, Listing,
    ::testing::Values(
        DumpCase{"if x", "   1 ： @If"}, DumpCase{"", ""},
        DumpCase{"int a ^ a = 1\r\n\"top\"\r\n#text\r\nsay hi\r\nfor a < 2\r\nend\r\n"
                 "goto \"top\"\r\n; c\r\nselect 1 ^ case 1 ^ case else ^ else if 1 ^ loop ^ "
                 "next ^ continue ^ break ^ endscript\r\nstr s ^ s = #x\r\nextend e ^ array 1",
                 "   1 ： @Int @Int a = 1\r\n"
                 "   2 ： <ラベル> \"top\"\r\n"
                 "   3 ： <テキスト>text\r\n"
                 "   4 ： Command[100]\r\n"
                 "   5 ： @For a < 2\r\n"
                 "   6 ： @Next\r\n"
                 "   7 ： @Goto top\r\n"
                 "   8 ： \r\n"
                 "   9 ： @Select @Case @Else @ElseIf @Loop @Next @Continue @Break @EndScript\r\n"
                 "  10 ： @Str @Str s = #x\r\n"
                 "  11 ： @Extend @Array"},
        DumpCase{"日本語\r\n\r\n#$1$ ^ ",
                 "   1 ： <テキスト>日本語\r\n   2 ： \r\n   3 ： <テキスト>$1$"},
        DumpCase{"undeclared 1\r\next go", "   1 ： Command[0]\r\n   2 ： Command[0]"}));

TEST(ScriptListing, MarksShowTheFirstCommandOfALine) {
    Host host;
    host.Compile("#a ^ #b\r\n#c\r\n#d");
    host.script.Move(2);
    host.script.DumpAlt();
    host.script.Move(3);
    for (int i = 0; i < 5; ++i) host.script.DumpAlt();  // at most 2
    host.script.Move(1);
    host.script.DumpAlt();  // not the line's first command: not shown
    host.script.Move(9);
    host.script.DumpAlt();  // outside the program: nothing
    EXPECT_EQ(host.script.Dump(),
              "   1 ： <テキスト>a <テキスト>b\r\n   2 ▼ <テキスト>c\r\n   3 ■ <テキスト>d");
    EXPECT_EQ(host.script.Command(3).DumpMark, 2);
    EXPECT_EQ(host.script.Command(1).DumpMark, 1);
}

TEST(ScriptListing, LongProgramsKeepTheirNumbers) {
    std::string source;
    for (int i = 0; i < 1000; ++i) source += "#x\r\n";
    source += "if x";
    Host host;
    host.Compile(source);
    const std::string dump = host.script.Dump();
    EXPECT_TRUE(dump.starts_with("   1 ： <テキスト>x\r\n")) << dump.substr(0, 40);
    EXPECT_NE(dump.find("\r\n 999 ： <テキスト>x\r\n1000 ： <テキスト>x\r\n1001 ： @If"),
              std::string::npos);
}

TEST(ScriptListing, CommandsRecordWhereTheyStand) {
    Host host;
    host.Compile("  int a ^ a = 1 ; rest\r\n\r\n  あ ; x");
    struct Expected {
        Long start, length, line, kind;
    };
    const Expected expected[] = {
        {3, 5, 1, kind::kInt},
        {11, 5, 1, kind::kLetInt},  // "int a", "a = 1"
        {25, 0, 2, kind::kEmpty},   // the blank line
        {29, 1, 3, kind::kText},    // "あ"
    };
    ASSERT_EQ(host.script.CommandCount(), 4);
    for (Long i = 0; i < 4; ++i) {
        const CommandRecord& c = host.script.Command(i);
        EXPECT_EQ(c.Start, expected[i].start) << i;
        EXPECT_EQ(c.Length, expected[i].length) << i;
        EXPECT_EQ(c.Line, expected[i].line) << i;
        EXPECT_EQ(c.Kind, expected[i].kind) << i;
    }
}

}  // namespace
}  // namespace brumil::script::test
