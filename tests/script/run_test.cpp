#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/math_random.h"
#include "script_host.h"

namespace brumil::script::test {
namespace {

struct RunCase {
    const char* name;
    const char* source;
    const char* trace;  // see Host::Run
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

class CompileAndRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(CompileAndRun, HandsBackKindsAndTexts) {
    const auto& c = GetParam();
    Host host;
    host.Compile(c.source);
    EXPECT_EQ(host.Run(), c.trace) << c.source;
    EXPECT_EQ(host.script.GetErrorCount(), -1) << host.script.GetErrorMessage();
}

std::string CaseName(const ::testing::TestParamInfo<RunCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Script, CompileAndRun,
    ::testing::Values(
        RunCase{"AssignmentsAndTextLines",
                "int a\r\na = 2+3\r\n#a is $a$\r\nあいう\r\n$a$ more\r\n",
                "4:a|2:a is 5|2:あいう|2:5 more|-1"},
        RunCase{"LineFeedsOnly", "int a\na = 1\n\n#$a$\n", "4:a|2:1|-1"},
        RunCase{"CommandsSplitAtCaret", "int a ^ a = 1 ^ #$a$", "4:a|2:1|-1"},
        RunCase{"CommentsAfterSemicolon",
                "int a ; counter\r\na = 1 ; b = 2 ^ c = 3\r\n; whole line\r\n#x$a$ ; note",
                "4:a|2:x1|-1"},
        RunCase{"ClampedAt32767",
                "int a\r\nstr s\r\na = 200*200\r\na += 1\r\ns = 40000\r\n#$a$ $s$",
                "4:a|4:a|4:s|2:32767 32767|-1"},
        RunCase{"ClampedAtMinus32767", "int a\r\na = -32000\r\na -= 5000\r\na--\r\n#$a$",
                "4:a|4:a|4:a|2:-32767|-1"},
        RunCase{"IfTakesTheTrueBranch",
                "int a\r\na = 1\r\nif a == 1\r\n#one\r\nelseif a == 2\r\n#two\r\nelse\r\n"
                "#other\r\nend\r\n#done",
                "4:a|2:one|2:done|-1"},
        RunCase{"ElseIfTakesItsBranch",
                "int a\r\na = 2\r\nif a == 1\r\n#one\r\nelseif a == 2\r\n#two\r\nelse\r\n"
                "#other\r\nend\r\n#done",
                "4:a|2:two|2:done|-1"},
        RunCase{"ElseSpelledApart",
                "int a\r\na = 5\r\nif a == 1\r\n#one\r\nelse if a == 5\r\n#five\r\nelse\r\n"
                "#other\r\nend",
                "4:a|2:five|-1"},
        RunCase{"ElseTakesTheRest",
                "int a\r\na = 3\r\nif a == 1\r\n#one\r\nelseif a == 2\r\n#two\r\nelse\r\n"
                "#other\r\nend\r\n#done",
                "4:a|2:other|2:done|-1"},
        RunCase{"NestedIfSkipsInnerBlock",
                "if 0\r\nif 1\r\n#inner\r\nend\r\n#no\r\nelse\r\n#outer else\r\nend",
                "2:outer else|-1"},
        RunCase{"SelectFindsItsCase",
                "int a\r\na = 3\r\nselect a\r\ncase 1\r\n#one\r\ncase 1+2\r\n#three\r\ncase "
                "else\r\n#other\r\nend\r\n#done",
                "4:a|2:three|2:done|-1"},
        RunCase{"SwitchCaseFallsToCaseElse",
                "int a\r\na = 9\r\nswitch case a\r\ncase 1\r\n#one\r\ncase 3\r\n#three\r\ncase "
                "else\r\n#other\r\nend",
                "4:a|2:other|-1"},
        RunCase{"SelectWithMarkers", "int a\r\na = 2\r\nselect $a$\r\ncase $1+1$\r\n#two\r\nend",
                "4:a|2:two|-1"},
        RunCase{"ForCountsAndEndsAtZero", "int i\r\nfor i < 3\r\n#i=$i$\r\nnext\r\n#after $i$",
                "2:i=0|2:i=1|2:i=2|2:after 0|-1"},
        RunCase{"ForClosedByEnd", "int i\r\nfor i < 2\r\n#$i$\r\nend\r\n#x", "2:0|2:1|2:x|-1"},
        RunCase{"NestedFor", "int i, j\r\nfor i < 2\r\nfor j < 2\r\n#$i$$j$\r\nnext\r\nnext",
                "2:00|2:01|2:10|2:11|-1"},
        RunCase{"ForNotEntered", "int i\r\ni = 5\r\nfor i < 3\r\n#body\r\nnext\r\n#$i$",
                "4:i|2:0|-1"},
        RunCase{"LoopAsWhile", "int i\r\nif i < 3\r\ni += 1\r\n#$i$\r\nloop\r\nend\r\n#done",
                "4:i|2:1|4:i|2:2|4:i|2:3|2:done|-1"},
        RunCase{"GotoHandsTheLabelBackOnce",
                "int i\r\n\"top\"\r\ni += 1\r\nif i < 3\r\ngoto \"top\"\r\nend\r\n#$i$",
                "3:top|4:i|3|4:i|3|4:i|2:3|-1"},
        RunCase{"GotoForward", "goto \"Skip\"\r\n#hidden\r\n\"skip\"\r\n#shown", "3|2:shown|-1"},
        RunCase{"ComputedGoto",
                "str where\r\nwhere = #two\r\ngoto \"$where$\"\r\n\"one\"\r\n#1\r\n\"two\"\r\n#2",
                "4:where|3|2:2|-1"},
        RunCase{"ComputedGotoQuoted",
                "str w\r\nw = #\"Two\"\r\ngoto \"$w$\"\r\n#1\r\n\"two\"\r\n#2", "4:w|3|2:2|-1"},
        RunCase{"ComputedGotoUnknownLabelGoesOn",
                "str where\r\nwhere = #none\r\ngoto \"$where$\"\r\n#next", "4:where|3|2:next|-1"},
        RunCase{"BreakAndContinue",
                "int i\r\n\"loop\"\r\ni += 1\r\nif i == 2\r\ncontinue\r\nend\r\nif i == 4\r\n"
                "break\r\nend\r\n#i=$i$\r\ncontinue\r\n\"out\"\r\n#end $i$",
                "3:loop|4:i|2:i=1|3|4:i|3|4:i|2:i=3|3|4:i|3|2:end 4|-1"},
        RunCase{"BreakWithoutLabelEnds", "#a\r\nbreak\r\n#b", "2:a|3|-1"},
        RunCase{"EndScript", "#a\r\nendscript\r\n#b\r\n\"l\"", "2:a|3|-1"},
        RunCase{"HostCommandAndExtension",
                "int a\r\na = 7\r\nsay hello $a$\r\next  x  y\r\nSAY\r\nsay #$＄$;",
                "4:a|100:hello 7|0:x  y|100:|100:#$|-1"},
        RunCase{"ArraysAndListAssignment",
                "int a\r\narray 2\r\na @= 4, 5, 6\r\na[1] += 10\r\n#$a$ $a[1]$ $a[2]$",
                "4:a:0002|4:a:0001|2:4 15 6|-1"},
        RunCase{"DeclarationWithAssignment", "int a, b, c = 5\r\n#$a$,$b$,$c$", "4:c|2:0,0,5|-1"},
        RunCase{"TextOperators", "str s\r\ns = #abc\r\ns += #def\r\ns += $＄$x\r\n#$s,2,3$ $s$",
                "4:s|4:s|4:s|2:bcd abcdef $x|-1"},
        RunCase{"IncrementAndDecrement", "int a\r\na = 5\r\na -= 2\r\na++\r\na--\r\na--\r\n#$a$",
                "4:a|4:a|4:a|4:a|4:a|2:2|-1"},
        RunCase{"TextDifferenceAsNumbers", "str s ^ s = #7.25 ^ s -= ^ #$s$", "4:s|4:s|2:7.25|-1"},
        RunCase{"NamesIgnoreCase", "INT Big\r\nbig = 3\r\nBIG += 1\r\n#$bIg$",
                "4:Big|4:Big|2:4|-1"}),
    CaseName);

TEST(ScriptRun, ForIncrementsInSixtyFourBits) {
    // A text variable can hold the largest 32-bit integer; the step past it
    // must not wrap.
    Host host;
    host.Compile("str v\r\nfor v < 1\r\nbreak\r\nnext");
    host.script.LetVariable("v", 0, "2147483647");
    host.script.Move(1);
    Long k = 0;
    std::string text;
    host.script.Coming(k, text);  // the for: "v < 1" is 32767 < 1, false
    EXPECT_EQ(host.script.GetVariable("v", 0), "0");
    host.script.LetVariable("v", 0, "2147483647");
    host.script.Move(3);  // the next: the for's variable goes one up
    host.script.Coming(k, text);
    EXPECT_EQ(host.script.GetVariable("v", 0), "2147483648");
    EXPECT_EQ(host.script.PC(), 1);
}

TEST(ScriptRun, HostMoveToLandsOnTheLabel) {
    Host host;
    host.Compile("#a\r\n\"Here\"\r\n#b");
    EXPECT_TRUE(host.script.MoveTo("here"));
    EXPECT_EQ(host.script.PC(), 1);
    EXPECT_FALSE(host.script.MoveTo("nowhere"));
    EXPECT_EQ(host.script.PC(), 1);
    EXPECT_EQ(host.Run(), "3:Here|2:b|-1");
    host.script.Move(0);
    EXPECT_EQ(host.Run(), "2:a|3:Here|2:b|-1");
}

TEST(ScriptRun, EndedProgramStaysEnded) {
    Host host;
    host.Compile("#a");
    EXPECT_EQ(host.Run(), "2:a|-1");
    for (int i = 0; i < 3; ++i) {
        Long k = 0;
        std::string text = "x";
        host.script.Coming(k, text);
        EXPECT_EQ(k, -1);
        EXPECT_EQ(text, "");
    }
}

TEST(ScriptRun, VariablesOutliveMovesAndRuns) {
    Host host;
    host.Compile("int n\r\nn += 1\r\n#$n$");
    EXPECT_EQ(host.Run(), "4:n|2:1|-1");
    host.script.Move(0);
    EXPECT_EQ(host.Run(), "4:n|2:2|-1");
    EXPECT_EQ(host.script.GetVariable("N", 0), "2");
}

TEST(ScriptRun, ListAssignmentWritesAndReadsFromHost) {
    Host host;
    host.Compile("int a ^ array 3 ^ a[1] @= 8, 9");
    EXPECT_EQ(host.script.LetVariable("a", 3, "70000"), "a:0003");
    EXPECT_EQ(host.Run(), "4:a:0002|-1");
    const char* expected[] = {"", "8", "9", "32767"};
    for (Long i = 0; i < 4; ++i) EXPECT_EQ(host.script.GetVariable("a", i), expected[i]) << i;
}

TEST(ScriptRun, RandomAssignmentPicksOnePart) {
    std::set<std::string> seen;
    for (std::uint64_t seed = 1; seed <= 30; ++seed) {
        Host host(seed);
        host.Compile("str s\r\ns ?= 甲 / 乙 / 丙\r\n#$s$");
        core::MathRandom expected(seed);
        expected.Range(0, 2);  // the compiler's read-only run of the assignment draws too
        const char* parts[] = {"甲", "乙", "丙"};
        EXPECT_EQ(host.Run(), std::string("4:s|2:") + parts[expected.Range(0, 2)] + "|-1");
        seen.insert(host.script.GetVariable("s", 0));
    }
    EXPECT_EQ(seen.size(), 3u);
}

}  // namespace
}  // namespace brumil::script::test
