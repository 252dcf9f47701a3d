#include <gtest/gtest.h>

#include <string>

#include "core/math_random.h"
#include "script_host.h"

namespace brumil::script::test {
namespace {

struct ExpressionCase {
    std::string text;
    Long value;
    Long errors;               // errors posted by this evaluation
    const char* message = "";  // the first error's text, when there is one
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ExpressionCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.text);
}

std::string Repeat(std::string_view part, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += part;
    return s;
}

class Expression : public ::testing::TestWithParam<ExpressionCase> {};

TEST_P(Expression, ValueAndErrors) {
    const auto& c = GetParam();
    Host host;
    host.script.PreProcessBegin("", "t");
    host.script.AddInt("n");
    host.script.AddArray(2);
    host.script.AddStr("s");
    host.script.PreProcessEnd();
    host.script.LetVariable("n", 0, "5");
    host.script.LetVariable("n", 2, "-4");
    host.script.LetVariable("s", 0, "12abc");
    EXPECT_EQ(host.script.MathExpression(c.text), c.value) << c.text;
    EXPECT_EQ(static_cast<Long>(host.posted.size()), c.errors) << c.text;
    EXPECT_EQ(host.script.GetErrorCount(), c.errors == 0 ? -1 : c.errors) << c.text;
    if (c.errors > 0 && !host.posted.empty()) {
        EXPECT_EQ(host.posted[0], c.message) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Script, Expression,
    ::testing::Values(
        ExpressionCase{"", 0, 0}, ExpressionCase{"2+3*4", 14, 0}, ExpressionCase{"(2+3)*4", 20, 0},
        ExpressionCase{"10-2-3", 5, 0}, ExpressionCase{"-5", -5, 0}, ExpressionCase{"-7/2", -3, 0},
        ExpressionCase{"-7%3", -1, 0}, ExpressionCase{"7%-3", 1, 0}, ExpressionCase{"7/0", 0, 0},
        ExpressionCase{"7%0", 0, 0}, ExpressionCase{"200*200", 32767, 0},
        ExpressionCase{"-200*200", -32767, 0}, ExpressionCase{"30000+30000", 32767, 0},
        ExpressionCase{"99999", 32767, 0}, ExpressionCase{"!0", 1, 0}, ExpressionCase{"!5", 0, 0},
        ExpressionCase{"3 == 3", 1, 0}, ExpressionCase{"3 != 3", 0, 0},
        ExpressionCase{"3<=3", 1, 0}, ExpressionCase{"3<3", 0, 0}, ExpressionCase{"4>=5", 0, 0},
        ExpressionCase{"4>3", 1, 0}, ExpressionCase{"6&3", 2, 0}, ExpressionCase{"6^3", 5, 0},
        ExpressionCase{"6|3", 7, 0}, ExpressionCase{"1+2==3", 1, 0}, ExpressionCase{"1 && 0", 0, 0},
        ExpressionCase{"2 && 3", 1, 0}, ExpressionCase{"0 || 4", 1, 0},
        ExpressionCase{"0 || 0", 0, 0}, ExpressionCase{"?0", 0, 0}, ExpressionCase{"@7", 7, 0},
        ExpressionCase{"2*-3", -6, 0}, ExpressionCase{"5 - -3", 8, 0}, ExpressionCase{"2*+3", 6, 0},
        ExpressionCase{"8/-2", -4, 0}, ExpressionCase{"7%-2*3", 3, 0}, ExpressionCase{"1<-1", 0, 0},
        // A prefix operator after another operator binds to its operand.
        ExpressionCase{"!-5", 0, 0}, ExpressionCase{"!+5", 0, 0}, ExpressionCase{"!!5", 1, 0},
        ExpressionCase{"!!0", 0, 0}, ExpressionCase{"?-5", 0, 0}, ExpressionCase{"@-5", -5, 0},
        ExpressionCase{"1- - -5", -4, 0}, ExpressionCase{"3*!!7", 3, 0},
        ExpressionCase{"!-5+2", 2, 0}, ExpressionCase{"2-!!0*4", 2, 0},
        ExpressionCase{"((1+2)*(3+4))", 21, 0}, ExpressionCase{"1+2*3-4/2", 5, 0},
        ExpressionCase{"12abc+1", 13, 0},
        // Variables: an integer, an element, a text read as its leading number.
        ExpressionCase{"n*2", 10, 0}, ExpressionCase{"n[2]+1", -3, 0},
        ExpressionCase{"N[1+1]", -4, 0}, ExpressionCase{"s+1", 13, 0},
        // Faults: each gives 0 with one error.
        ExpressionCase{"3--2", 0, 1, "無効な演算子です"},
        ExpressionCase{"2 3", 0, 1, "式のエラーです"}, ExpressionCase{"2+", 0, 1, "式のエラーです"},
        ExpressionCase{")", 0, 1, "式のエラーです"}, ExpressionCase{"1+2)", 0, 1, "式のエラーです"},
        ExpressionCase{"(1+2", 3, 0}, ExpressionCase{"*", 0, 1, "式のエラーです"},
        ExpressionCase{Repeat("1+", 30), 0, 1, "式が長すぎます"},
        ExpressionCase{Repeat("1+", 24) + "1", 25, 0},
        ExpressionCase{"   ", 0, 1, "計算できません"},
        ExpressionCase{"zz", 0, 1, "識別子 zz は宣言されていません"},
        ExpressionCase{"if+1", 1, 1, "識別子 if は変数として参照できません"},
        ExpressionCase{"n[9]", 0, 1, "領域の範囲外を参照しました"},
        ExpressionCase{"n[1", 0, 1, "配列の参照方法が不正です"}));

TEST(ScriptExpression, DeepIndexNestingIsRefusedNotFollowed) {
    Host host;
    host.script.PreProcessBegin("", "t");
    host.script.AddInt("n");
    host.script.PreProcessEnd();
    host.script.LetVariable("n", 0, "0");
    const auto nested = [](int depth) { return Repeat("n[", depth) + "0" + Repeat("]", depth); };
    EXPECT_EQ(host.script.MathExpression(nested(20)), 0);
    EXPECT_TRUE(host.posted.empty());
    EXPECT_EQ(host.script.MathExpression(nested(5000)), 0);
    ASSERT_EQ(host.posted.size(), 1u);
    EXPECT_EQ(host.posted[0], "式のエラーです");
}

TEST(ScriptExpression, FortyNineTokensFitAndFiftyDoNot) {
    // "1+1+...+1" with 25 ones is 49 tokens; one more term is too long.
    Host host;
    host.script.PreProcessBegin("", "t");
    host.script.PreProcessEnd();
    EXPECT_EQ(host.script.MathExpression(Repeat("1+", 24) + "1"), 25);
    EXPECT_TRUE(host.posted.empty());
    EXPECT_EQ(host.script.MathExpression(Repeat("1+", 25) + "1"), 0);
    ASSERT_EQ(host.posted.size(), 1u);
    EXPECT_EQ(host.posted[0], "式が長すぎます");
}

TEST(ScriptExpression, RandomOperatorDrawsFromTheInjectedGenerator) {
    for (std::uint64_t seed : {1u, 2u, 3u, 99u}) {
        Host host(seed);
        host.script.PreProcessBegin("", "t");
        host.script.PreProcessEnd();
        core::MathRandom expected(seed);
        for (int i = 0; i < 20; ++i) {
            EXPECT_EQ(host.script.MathExpression("?6"), expected.Range(0, 6)) << seed;
        }
        // The bound is clamped to 0..32767 before drawing.
        EXPECT_EQ(host.script.MathExpression("?(0-5)"), expected.Range(0, 0));
    }
}

TEST(ScriptExpression, ErrorsNameTheCurrentLine) {
    Host host;
    host.Compile("#a\r\n#b\r\n#c");
    host.script.Move(2);
    host.script.MathExpression("2+");
    host.script.Move(5);  // outside the program: the message stands alone
    host.script.MathExpression("2+");
    EXPECT_EQ(host.ErrorLines(),
              (std::vector<std::string>{"Error://t:Line 3:式のエラーです", "式のエラーです"}));
}

}  // namespace
}  // namespace brumil::script::test
