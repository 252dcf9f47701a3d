#include <gtest/gtest.h>

#include <string>

#include "script_host.h"

namespace brumil::script::test {
namespace {

// "int a, b" with one element after b, "str s", and the host's "say" and
// "ext"; run to its end, so that errors carry no line.
Host DataHost() {
    Host host;
    host.Compile("int a, b ^ array 1 ^ str s");
    EXPECT_EQ(host.Run(), "-1");
    return host;
}

TEST(ScriptVariables, LetAndGetByNameAndIndex) {
    Host host = DataHost();
    struct Case {
        const char* name;
        Long index;
        const char* value;
        const char* slot;    // LetVariable's answer
        const char* stored;  // GetVariable afterwards
        const char* error;
    };
    const Case cases[] = {
        {"a", 0, "12.5", "a", "12", ""},  // rounded half to even
        {"A", 0, "40000", "a", "32767", ""},
        {"a", 0, "-99999", "a", "-32767", ""},
        {"b", 1, "7", "b:0001", "7", ""},
        {"a", 1, "3x", "b", "3", ""},  // an index reaches the slots declared later
        {"s", 0, "  first line \r\nsecond", "s", "first line", ""},
        {"s", 0, "日本語", "s", "日本語", ""},
        {"say", 0, "hello", "say", "hello", ""},
        {"zz", 0, "1", "", "", "識別子 zz は宣言されていません"},
        {"if", 0, "1", "", "", "識別子 if は変数として参照できません"},
        {"a", 9, "1", "", "", "領域の範囲外を参照しました"},
        {"say", -1, "1", "", "", "領域の範囲外を参照しました"},
    };
    for (const auto& c : cases) {
        host.posted.clear();
        EXPECT_EQ(host.script.LetVariable(c.name, c.index, c.value), c.slot) << c.name;
        EXPECT_EQ(host.script.GetVariable(c.name, c.index), c.stored) << c.name;
        if (std::string(c.error).empty()) {
            EXPECT_TRUE(host.posted.empty()) << c.name;
        } else {
            // Once for the write, once for the read.
            EXPECT_EQ(host.posted, (std::vector<std::string>{c.error, c.error})) << c.name;
        }
    }
}

TEST(ScriptVariables, DataLinesListEverySlot) {
    Host host = DataHost();
    host.script.LetVariable("a", 0, "3");
    host.script.LetVariable("b", 1, "4");
    host.script.LetVariable("s", 0, "テキスト");
    EXPECT_EQ(host.script.strData(), "say=\r\next=\r\na=3\r\nb=\r\nb:0001=4\r\ns=テキスト\r\n");
}

TEST(ScriptVariables, DataLinesSetVariables) {
    Host host = DataHost();
    host.script.strData("a=5\r\n s = hello = world \r\nb:0001=7\r\nb");
    EXPECT_EQ(host.script.GetErrorCount(), -1) << host.script.GetErrorMessage();
    EXPECT_EQ(host.script.GetVariable("a", 0), "5");
    EXPECT_EQ(host.script.GetVariable("s", 0), "hello = world");
    EXPECT_EQ(host.script.GetVariable("b", 1), "7");
    EXPECT_EQ(host.script.GetVariable("b", 0), "0");
    // A text ending with CR LF has an empty last line, which names nothing.
    host.script.strData("a=1\r\nzz=2\r\n");
    EXPECT_EQ(host.posted, (std::vector<std::string>{"識別子 zz は宣言されていません",
                                                     "識別子  は宣言されていません"}));
    EXPECT_EQ(host.script.GetVariable("a", 0), "1");
}

TEST(ScriptVariables, DataRoundTrip) {
    Host host = DataHost();
    host.script.strData("a=-3\r\nb=8\r\nb:0001=99\r\ns=あ い");
    const std::string saved = host.script.strData();
    Host other = DataHost();
    other.script.strData(saved);
    EXPECT_EQ(other.script.strData(), saved);
    // Only the final empty line was refused.
    EXPECT_EQ(other.script.GetErrorCount(), 1);
}

TEST(ScriptVariables, SubstituteRunsOneAssignment) {
    struct Case {
        const char* text;
        Long start;
        bool readOnly;
        bool noMarkers;
        const char* result;
        const char* a;  // a afterwards
    };
    const Case cases[] = {
        {"a = 5", 1, false, true, "a", "5"},         {"a = $1+1$", 1, false, false, "a", "2"},
        {"a = $1+1$", 1, false, true, "a", "0"},  // "$" kept: a text, read as 0
        {"a = 9", 1, true, false, "", "1"},       // read-only: nothing stored
        {"xx a += 4", 4, false, true, "a", "5"},  // from a position inside the text
        {"b[1] = 6", 1, false, true, "b:0001", "1"},
    };
    for (const auto& c : cases) {
        Host host = DataHost();
        host.script.LetVariable("a", 0, "1");
        Long pos = c.start;
        std::string result = "unset";
        host.script.Substitute(c.text, pos, c.readOnly, c.noMarkers, result);
        EXPECT_EQ(result, c.result) << c.text;
        EXPECT_EQ(host.script.GetVariable("a", 0), c.a) << c.text;
        EXPECT_EQ(pos, static_cast<Long>(std::string_view(c.text).size()) + 1) << c.text;
        EXPECT_TRUE(host.posted.empty()) << c.text;
    }
}

TEST(ScriptVariables, TextSlotsAreBounded) {
    Host host;
    host.Compile("str s ^ s = #ab ^ \"again\" ^ s += #$s$ ^ continue");
    host.Run(200);  // the text doubles every pass
    EXPECT_EQ(host.script.GetVariable("s", 0).size(),
              static_cast<std::size_t>(CBrisaScriptBRS8::kValueLimit));
}

// Arrays count against one bound on a script's slots: those within it are
// declared whole and every element stays reachable; one that would pass it is
// refused on its line and declares nothing.
TEST(ScriptVariables, ArraysStopAtTheSlotBound) {
    constexpr Long kFull = 32767;
    struct Case {
        int arrays;    // lines of "array 32767" after "int b"
        int declared;  // of them, the ones that fit
    };
    const Case cases[] = {{2, 2}, {40, 8}};
    for (const auto& c : cases) {
        std::string source = "int b";
        for (int i = 0; i < c.arrays; ++i) source += "\r\narray 32767";
        source += "\r\nb[1] = 5 ^ b[32767] = 7 ^ #$b[1]$ $b[32767]$";
        Host host;
        host.Compile(source);
        std::vector<std::string> errors;
        for (int line = c.declared + 2; line <= c.arrays + 1; ++line) {
            errors.push_back("Error://t:Line " + std::to_string(line) + ":配列の要素が多すぎます");
        }
        EXPECT_EQ(host.ErrorLines(), errors) << c.arrays;
        const Long elements = c.declared * kFull;
        EXPECT_EQ(host.script.SlotCount(), 3 + elements) << c.arrays;  // say, ext, b
        EXPECT_EQ(host.Run(), "4:b:0001|4:b:32767|2:5 7|-1") << c.arrays;
        const std::string last = "b:" + std::to_string(elements);
        EXPECT_EQ(host.script.LetVariable("b", elements, "9"), last) << c.arrays;
        EXPECT_EQ(host.script.GetVariable("b", elements), "9") << c.arrays;
        host.posted.clear();
        EXPECT_EQ(host.script.GetVariable("b", elements + 1), "") << c.arrays;
        EXPECT_EQ(host.posted, std::vector<std::string>{"領域の範囲外を参照しました"});
    }
}

TEST(ScriptVariables, BeginClearsEverything) {
    Host host = DataHost();
    host.script.LetVariable("a", 0, "3");
    host.script.ErrorPost("old");
    host.script.PreProcessBegin("#x", "u");
    EXPECT_EQ(host.script.SlotCount(), 0);
    EXPECT_EQ(host.script.CommandCount(), 0);
    EXPECT_EQ(host.script.GetErrorCount(), -1);
    EXPECT_EQ(host.script.ScriptName(), "u");
    host.script.PreProcessEnd();
    EXPECT_EQ(host.script.CommandCount(), 1);
    EXPECT_EQ(host.script.GetVariable("a", 0), "");
    EXPECT_EQ(host.script.GetErrorCount(), 1);  // a is gone
}

}  // namespace
}  // namespace brumil::script::test
