#include <gtest/gtest.h>

#include <string>

#include "script/script_reader.h"

namespace brumil::script {
namespace {

TEST(ScriptReader, CharacterClasses) {
    struct Case {
        char32_t c;
        Long cls;
    };
    const Case cases[] = {
        {U'\t', 1},        {U'\n', 1},        {U' ', 1},         {U'\u3000', 1},
        {U'\r', 0},        {U'\0', 0},        {U'\x01', 0},      {U'\x1f', 0},
        {U'0', 256 + '0'}, {U'9', 256 + '9'}, {U'A', 512 + 'A'}, {U'z', 512 + 'z'},
        {U'_', 512 + '_'}, {U'!', 128 + '!'}, {U'~', 128 + '~'}, {U'\x7f', 255},
        {U'$', 128 + '$'}, {U'あ', 1024},     {U'＄', 1024},     {U'\xe9', 1024},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CharClassOf(c.c), c.cls) << static_cast<unsigned>(c.c);
        EXPECT_EQ(ReadChar(Chars(1, c.c), 1), c.cls) << static_cast<unsigned>(c.c);
    }
    EXPECT_EQ(ReadChar(U"a", 0), 0);
    EXPECT_EQ(ReadChar(U"a", 2), 0);
}

TEST(ScriptReader, TextRoundTripsThroughCodePoints) {
    const std::string texts[] = {"",          "abc",           "日本語",      "\xff\xfe",
                                 "a\xe3\x81", "\xed\xa0\x80x", "\xc3\xa9\r\n"};
    for (const auto& t : texts) EXPECT_EQ(ToUtf8(ToChars(t)), t);
    EXPECT_EQ(ToChars("日本語").size(), 3u);
    EXPECT_EQ(ToChars("a\xe3\x81").size(), 3u);  // a broken sequence: one character per byte
    EXPECT_EQ(CharClassOf(ToChars("\xff")[0]), kClassOther);
}

TEST(ScriptReader, Tokens) {
    struct Case {
        const char* text;
        Long start;
        const char* token;
        Long cls;
        Long end;
    };
    const Case cases[] = {
        {"  abc123+", 1, "abc123", 512 + 'a', 9},
        {"12ab c", 1, "12ab", 256 + '1', 5},
        {"+=", 1, "+", 128 + '+', 2},
        {"あいう x", 1, "あいう", 1024, 4},
        {" \t", 1, "", 0, 4},
        {"x", 5, "", 0, 6},
    };
    for (const auto& c : cases) {
        const Chars text = ToChars(c.text);
        Long pos = c.start;
        Chars token;
        EXPECT_EQ(ReadToken(text, pos, token), c.cls) << c.text;
        EXPECT_EQ(ToUtf8(token), c.token) << c.text;
        EXPECT_EQ(pos, c.end) << c.text;
    }
}

TEST(ScriptReader, Operators) {
    struct Case {
        const char* text;
        const char* token;
        Long code;
        Long end;
    };
    const Case cases[] = {
        {"+=", "+=", 1025, 3}, {"=-", "=", 1024, 2},  {" <= ", "<=", 146, 4}, {"<", "<", 144, 2},
        {"$", "$", 0, 2},      {"--", "--", 1028, 3}, {"&&x", "&&", 48, 3},   {"&x", "&", 96, 2},
        {"||", "||", 32, 3},   {"!=", "!=", 129, 3},  {"!", "!", 480, 2},     {"@=", "@=", 1030, 3},
        {"?=", "?=", 1029, 3}, {"++", "++", 1027, 3}, {"(", "(", 512, 2},     {")", ")", 16, 2},
        {"^", "^", 64, 2},     {"*", "*", 274, 2},    {"%", "%", 272, 2},     {"a", "a", 0, 2},
        {"+あ", "+", 256, 2},
    };
    for (const auto& c : cases) {
        const Chars text = ToChars(c.text);
        Long pos = 1;
        Chars token;
        Long code = -1;
        ReadOperator(text, pos, token, code);
        EXPECT_EQ(ToUtf8(token), c.token) << c.text;
        EXPECT_EQ(code, c.code) << c.text;
        EXPECT_EQ(pos, c.end) << c.text;
    }
    EXPECT_EQ(op::ClassOf(op::kGreaterEq), op::kLess);
    EXPECT_EQ(OperatorCode(U'=', U'='), op::kEqual);
    EXPECT_EQ(OperatorCode(U'あ', 0), 0);
}

TEST(ScriptReader, Parts) {
    enum Reader { Multiple, End, Space };
    struct Case {
        Reader reader;
        const char* text;
        const char* part;
        Long cls;  // of the character that ended the part
        Long end;
    };
    const Case cases[] = {
        {Multiple, "  a = 1 ^ b", "a = 1 ", 128 + '^', 10},
        {Multiple, "a;b", "a", 128 + ';', 3},
        {Multiple, "a b\r\nc", "a b", 0, 5},
        {Multiple, "abc", "abc", 0, 5},
        {End, "a ^ b ; c\rd", "a ^ b ; c", 0, 11},
        {Space, " ab cd", "ab", 1, 5},
        {Space, "ab\rcd", "ab", 0, 4},
    };
    for (const auto& c : cases) {
        const Chars text = ToChars(c.text);
        Long pos = 1;
        Chars part;
        Long cls = -1;
        if (c.reader == Multiple) cls = ReadEndMultiple(text, pos, part);
        if (c.reader == End) cls = ReadEnd(text, pos, part);
        if (c.reader == Space) cls = ReadSpace(text, pos, part);
        EXPECT_EQ(ToUtf8(part), c.part) << c.text;
        EXPECT_EQ(cls, c.cls) << c.text;
        EXPECT_EQ(pos, c.end) << c.text;
    }
}

TEST(ScriptReader, Labels) {
    struct Case {
        const char* text;
        const char* label;
        bool bad;
        Long end;
    };
    const Case cases[] = {
        {"\"top\"", "top", false, 6}, {"  \" a b \" x", "a b", false, 10},
        {"\"open", "open", true, 6},  {"none", "", true, 1},
        {"\"\"", "", false, 3},       {"\"ラベル\"", "ラベル", false, 6},
    };
    for (const auto& c : cases) {
        const Chars text = ToChars(c.text);
        Long pos = 1;
        Chars label;
        bool bad = !c.bad;
        ReadLabel(text, pos, label, bad);
        EXPECT_EQ(ToUtf8(label), c.label) << c.text;
        EXPECT_EQ(bad, c.bad) << c.text;
        EXPECT_EQ(pos, c.end) << c.text;
    }
}

TEST(ScriptReader, Dividers) {
    struct Case {
        const char* text;
        bool bad;
        Long end;
    };
    const Case cases[] = {{"ab,cd", false, 4},
                          {"ab/cd", false, 4},
                          {"abc", true, 4},
                          {"a\rb,c", true, 2},
                          {",", false, 2}};
    for (const auto& c : cases) {
        Long pos = 1;
        bool bad = !c.bad;
        ReadDiv(ToChars(c.text), pos, bad);
        EXPECT_EQ(bad, c.bad) << c.text;
        EXPECT_EQ(pos, c.end) << c.text;
    }
}

TEST(ScriptReader, Variables) {
    struct Case {
        const char* text;
        const char* name;
        const char* index;
        bool bad;
        Long end;
    };
    const Case cases[] = {
        {"a[1] = 2", "a", "1", false, 5}, {" a[b[2]+1]", "a", "b[2]+1", false, 11},
        {"a[1", "a", "1", true, 4},       {"1a", "", "", false, 1},
        {"ab c", "ab", "", false, 3},     {"_x9あ+1", "_x9あ", "", false, 5},
        {"a [1]", "a", "", false, 2},     {"+a", "", "", false, 1},
    };
    for (const auto& c : cases) {
        const Chars text = ToChars(c.text);
        Long pos = 1;
        Chars name;
        Chars index;
        bool bad = !c.bad;
        ReadVariable(text, pos, name, index, bad);
        EXPECT_EQ(ToUtf8(name), c.name) << c.text;
        EXPECT_EQ(ToUtf8(index), c.index) << c.text;
        EXPECT_EQ(bad, c.bad) << c.text;
        EXPECT_EQ(pos, c.end) << c.text;
    }
}

TEST(ScriptReader, TrimAndMarkers) {
    EXPECT_EQ(Trim(U" \t\u3000a b\n "), U"a b");
    EXPECT_EQ(Trim(U"   "), U"");
    EXPECT_TRUE(HasMarker(U"x$a$"));
    EXPECT_FALSE(HasMarker(U"x$a"));
    EXPECT_FALSE(HasMarker(U"＄a＄"));
    EXPECT_EQ(MidChars(U"abcdef", 2, 3), U"bcd");
    EXPECT_EQ(MidChars(U"abcdef", 0, 2), U"ab");
    EXPECT_EQ(MidChars(U"abcdef", 9), U"");
    EXPECT_EQ(MidChars(U"abcdef", 5), U"ef");
}

}  // namespace
}  // namespace brumil::script
