#include "core/text.h"

#include <gtest/gtest.h>

namespace brumil::core {
namespace {

TEST(Text, DivideSplitsAtTheFirstDelimiter) {
    struct Case {
        const char* text;
        const char* delimiter;
        const char* head;
        const char* rest;
    };
    const Case cases[] = {
        {"a,b,c", ",", "a", "b,c"}, {",b", ",", "", "b"},   {"a,", ",", "a", ""},
        {"abc", ",", "abc", ""},    {"", ",", "", ""},      {"key=value=x", "=", "key", "value=x"},
        {"a<>b", "<>", "a", "b"},   {"abc", "", "abc", ""}, {"名前：値", "：", "名前", "値"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(Divide(text, c.delimiter), c.head) << c.text;
        EXPECT_EQ(text, c.rest) << c.text;
    }
}

TEST(Text, DivideHalfLeavesTheTextAlone) {
    EXPECT_EQ(DivideHalf("a,b,c", ","), "a");
    EXPECT_EQ(DivideHalf("abc", ","), "abc");
    EXPECT_EQ(DivideHalf("", ","), "");
    EXPECT_EQ(DivideHalf("日本,語", ","), "日本");
}

TEST(Text, MidOtherCountsCharactersNotBytes) {
    struct Case {
        const char* text;
        Long start, length;
        const char* replacement;
        const char* expected;
    };
    const Case cases[] = {
        {"abcdef", 2, 3, "X", "aXef"},
        {"abcdef", 1, 0, "X", "Xabcdef"},
        {"abcdef", 6, 5, "XY", "abcdeXY"},
        {"abcdef", 7, 1, "X", "abcdefX"},
        {"abcdef", 0, 1, "X", "Xbcdef"},
        {"abcdef", 3, -2, "X", "abXcdef"},
        {"日本語のテキスト", 3, 1, "ご", "日本ごのテキスト"},
        {"日本語のテキスト", 5, 4, "文字", "日本語の文字"},
        {"ａｂｃ", 2, 1, "b", "ａbｃ"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MidOther(c.text, c.start, c.length, c.replacement), c.expected)
            << c.text << " " << c.start << " " << c.length;
    }
}

TEST(Text, MidAndInStrUseCharacterPositions) {
    EXPECT_EQ(Mid("日本語テキスト", 3, 2), "語テ");
    EXPECT_EQ(Mid("日本語", 2), "本語");
    EXPECT_EQ(Mid("日本語", 9, 2), "");
    EXPECT_EQ(InStr(1, "日本語：説明", "："), 4);
    EXPECT_EQ(InStr(1, "日本語:説明", "：", kTextCompare), 4);
    EXPECT_EQ(InStr(1, "日本語:説明", "：", kBinaryCompare), 0);
    EXPECT_EQ(InStr(3, "abcabc", "a"), 4);
    EXPECT_EQ(CharCount("日本語abc"), 6);
}

TEST(Text, StrayBytesCountAsOneCharacterEach) {
    const std::string broken = std::string("a\xE6\x97") + "b";  // truncated sequence
    EXPECT_EQ(CharCount(broken), 4);
    EXPECT_EQ(MidOther(broken, 4, 1, "c"), std::string("a\xE6\x97") + "c");
}

TEST(Text, TextChangeReplacesEveryOccurrence) {
    struct Case {
        const char* text;
        const char* search;
        const char* replacement;
        Long compare;
        const char* expected;
    };
    const Case cases[] = {
        {"a:b:c", ":", "\r\n", kBinaryCompare, "a\r\nb\r\nc"},
        {"a：b:c", ":", "|", kBinaryCompare, "a：b|c"},
        {"a：b:c", ":", "|", kTextCompare, "a|b|c"},
        {"a：b:c", "：", "|", kTextCompare, "a|b|c"},
        {"Hello hello", "HELLO", "x", kTextCompare, "x x"},
        {"Hello hello", "HELLO", "x", kBinaryCompare, "Hello hello"},
        {"ａｂｃ abc", "abc", "-", kTextCompare, "- -"},
        {"aaaa", "aa", "b", kBinaryCompare, "bb"},
        {"aaa", "a", "aa", kBinaryCompare, "aaaaaa"},
        {"abc", "", "x", kBinaryCompare, "abc"},
        {"", "a", "x", kBinaryCompare, ""},
        {"説明：一行目：二行目", "：", "\n", kTextCompare, "説明\n一行目\n二行目"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        TextChange(text, c.search, c.replacement, c.compare);
        EXPECT_EQ(text, c.expected) << c.text << " / " << c.search;
    }
}

TEST(Text, TextAddAppendsCrLf) {
    std::string text;
    TextAdd(text, "一");
    TextAdd(text, "");
    EXPECT_EQ(text, "一\r\n\r\n");
}

}  // namespace
}  // namespace brumil::core
