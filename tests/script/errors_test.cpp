#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "script_host.h"

namespace brumil::script::test {
namespace {

using Lines = std::vector<std::string>;

struct BadScriptCase {
    const char* name;
    const char* source;  // "#ok" follows it on a line of its own
    Lines errors;        // every error line, compiling and running, in order
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const BadScriptCase& c, std::ostream* os) {
    *os << c.name;
}

class BadScript : public ::testing::TestWithParam<BadScriptCase> {};

// Bad text never stops the host: the errors are posted (each through AddError
// once), the other commands stay, and the program runs to its end.
TEST_P(BadScript, PostsErrorsAndRunsToTheEnd) {
    const auto& c = GetParam();
    Host host;
    host.Compile(std::string(c.source) + "\r\n#ok");
    const std::string trace = host.Run();
    EXPECT_TRUE(trace.ends_with("2:ok|-1")) << trace;
    EXPECT_EQ(host.ErrorLines(), c.errors);
    EXPECT_EQ(host.posted, c.errors);
    EXPECT_EQ(host.script.GetErrorCount(), static_cast<Long>(c.errors.size()));
}

std::string CaseName(const ::testing::TestParamInfo<BadScriptCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Script, BadScript,
    ::testing::Values(
        BadScriptCase{
            "CompileErrorsInLineOrder",
            "int a\r\nint a\r\n1abc\r\nfoo = 1\r\nend",
            {"Error://t:Line 2:識別子 a が重複して宣言されています", "Error://t:Line 3:構文エラー",
             "Error://t:Line 4:識別子 foo は宣言されていません",
             "Error://t:Line 5:ブロックが開始されずにEndが呼び出されました"}},
        BadScriptCase{
            "CaseOutsideABlock",
            "case 1",
            {"Error://t:Line 1:ブロックの外側です", "Error://t:Line 1:ブロックが閉じていません"}},
        BadScriptCase{
            "LoopOutsideABlock",
            "\r\nloop",
            {"Error://t:Line 2:ブロックの外側です", "Error://t:Line 2:ブロックが閉じていません"}},
        BadScriptCase{"BlockNotClosed",
                      "if 1\r\nfor 0\r\nnext\r\nif 1",
                      {"Error://t:Line 4:ブロックが閉じられていません"}},
        BadScriptCase{"NextWithoutBlock",
                      "next",
                      {"Error://t:Line 1:ブロックが開始されずにNextが呼び出されました",
                       "Error://t:Line 1:ブロックが閉じていません"}},
        BadScriptCase{"SecondEndOfAFor",
                      "int a\r\nfor a < 1\r\nend\r\nend",
                      {"Error://t:Line 4:ブロックが開始されずにEndが呼び出されました"}},
        BadScriptCase{"MarkerWhereNoneMayStand",
                      "if 1 ^ else $a$ ^ end\r\n\"$x$\"",
                      {"Error://t:Line 1:この構文には $ を使用できません",
                       "Error://t:Line 2:この構文には $ を使用できません"}},
        BadScriptCase{"DuplicateLabelIgnoringCase",
                      "\"a\"\r\n\"A\"",
                      {"Error://t:Line 2:ラベル A が重複して宣言されています"}},
        BadScriptCase{"UndefinedLabel",
                      "goto \"nowhere\"",
                      {"Error://t:Line 1:ラベル nowhere は定義されていません"}},
        BadScriptCase{
            "DeclarationName", "int 1", {"Error://t:Line 1:宣言構文に使用された名前にエラー"}},
        BadScriptCase{
            "DeclarationOperator", "int a + 1", {"Error://t:Line 1:宣言構文の演算子にエラー"}},
        BadScriptCase{"DeclarationWithoutName", "int = 1", {"Error://t:Line 1:宣言構文のエラー"}},
        BadScriptCase{
            "KeywordDeclared", "str If", {"Error://t:Line 1:識別子 If が重複して宣言されています"}},
        // An assignment's errors show once when compiling, again when it runs.
        BadScriptCase{"NoAssignmentOperator",
                      "int a ^ a",
                      {"Error://t:Line 1:代入演算子が指定されていません",
                       "Error://t:Line 1:代入演算子が指定されていません"}},
        BadScriptCase{
            "WrongAssignmentOperator",
            "int a ^ a == 1",
            {"Error://t:Line 1:代入演算子が不正です", "Error://t:Line 1:代入演算子が不正です"}},
        BadScriptCase{"MissingBracket",
                      "int a ^ a[1 = 2",
                      {"Error://t:Line 1:配列の参照方法が不正です",
                       "Error://t:Line 1:配列の参照方法が不正です"}},
        BadScriptCase{"UndeclaredInMarker",
                      "int a ^ a = $zz$",
                      {"Error://t:Line 1:変数 zz は宣言されていません",
                       "Error://t:Line 1:変数 zz は宣言されていません"}},
        BadScriptCase{"OutOfRange",
                      "int a ^ a[5] = 1",
                      {"Error://t:Line 1:領域の範囲外を参照しました",
                       "Error://t:Line 1:領域の範囲外を参照しました"}},
        BadScriptCase{"KeywordAsValue",
                      "int a ^ a = if",
                      {"Error://t:Line 1:識別子 if は変数として参照できません",
                       "Error://t:Line 1:識別子 if は変数として参照できません"}},
        BadScriptCase{"BrokenExpression",
                      "int a\r\n\r\na = 1 +",
                      {"Error://t:Line 3:式のエラーです", "Error://t:Line 3:式のエラーです"}},
        BadScriptCase{
            "KeywordInMarker", "#$if$", {"Error://t:Line 1:識別子 if は変換に使用できません"}},
        BadScriptCase{"BrokenConditionAtRun",
                      "if 1 +\r\n#hidden\r\nend",
                      {"Error://t:Line 1:式のエラーです"}},
        BadScriptCase{"LoneLineFeedsCountLines",
                      "#a\n\n#b\nfoo",
                      {"Error://t:Line 4:識別子 foo は宣言されていません"}}),
    CaseName);

TEST(ScriptErrors, HundredAndFirstNestedIfIsTooDeep) {
    std::string source;
    for (int i = 0; i < 101; ++i) source += "if 1\r\n";
    source += "#deep\r\n";
    for (int i = 0; i < 101; ++i) source += "end\r\n";
    source += "#ok";
    Host host;
    host.Compile(source);
    EXPECT_EQ(host.Run(), "2:deep|2:ok|-1");
    const auto lines = host.ErrorLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Error://t:Line 101:ネストが深すぎます"), 1);
    // A hundred levels are fine.
    Host hundred;
    std::string ok;
    for (int i = 0; i < 100; ++i) ok += "if 1 ^ ";
    for (int i = 0; i < 100; ++i) ok += "end ^ ";
    hundred.Compile(ok);
    EXPECT_EQ(hundred.script.GetErrorCount(), -1) << hundred.script.GetErrorMessage();
}

TEST(ScriptErrors, CountIsMinusOneWithoutErrors) {
    Host host;
    host.Compile("#a");
    EXPECT_EQ(host.script.GetErrorCount(), -1);
    EXPECT_EQ(host.script.GetErrorMessage(), "");
    host.script.ErrorPost("first");
    EXPECT_EQ(host.script.GetErrorCount(), 1);
    host.script.ErrorPost("second");
    EXPECT_EQ(host.script.GetErrorCount(), 2);
    EXPECT_EQ(host.script.GetErrorMessage(), "first\r\nsecond\r\n");
    EXPECT_EQ(host.posted, (Lines{"first", "second"}));
    host.script.ErrorClear();
    EXPECT_EQ(host.script.GetErrorCount(), -1);
}

TEST(ScriptErrors, HostCodesBelowFiveAreRefused) {
    Host host;
    host.script.PreProcessBegin("low 1\r\nhigh 2", "t");
    host.script.AddCommand(4, "low");
    host.script.AddCommand(5, "high");
    host.script.PreProcessEnd();
    ASSERT_EQ(host.ErrorLines().size(), 2u);
    EXPECT_EQ(host.ErrorLines()[0], "コマンド low のコード番号は 5 以上にしてください");
    EXPECT_EQ(host.ErrorLines()[1], "Error://t:Line 1:識別子 low は宣言されていません");
    EXPECT_EQ(host.Run(), "0:|5:2|-1");
}

TEST(ScriptErrors, DuplicateDeclarationStillTakesASlot) {
    Host host;
    host.script.PreProcessBegin("", "t");
    host.script.AddInt("a");
    host.script.AddStr("A");
    host.script.AddExtend("a");  // a known name: nothing, and no error
    host.script.PreProcessEnd();
    EXPECT_EQ(host.posted, (Lines{"識別子 A が重複して宣言されています"}));
    EXPECT_EQ(host.script.SlotCount(), 2);
}

}  // namespace
}  // namespace brumil::script::test
