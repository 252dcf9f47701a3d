#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/math_random.h"
#include "script_host.h"

namespace brumil::script::test {
namespace {

// A host that declared "int a", "array 2" and "str s" (s = "abcdef",
// a = 4, a[1] = 7).
Host MarkerHost(std::uint64_t seed = 7) {
    Host host(seed);
    host.script.PreProcessBegin("", "t");
    host.script.AddInt("a");
    host.script.AddArray(2);
    host.script.AddStr("s");
    host.script.AddCommand(100, "say");
    host.script.PreProcessEnd();
    host.script.LetVariable("a", 0, "4");
    host.script.LetVariable("a", 1, "7");
    host.script.LetVariable("s", 0, "abcdef");
    host.script.LetVariable("say", 0, "word");
    return host;
}

struct MarkerCase {
    const char* text;
    const char* result;
    bool found;
    const char* error;  // the one error posted, "" for none
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const MarkerCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::string(c.text));
}

class Marker : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(Marker, Substitutes) {
    const auto& c = GetParam();
    Host host = MarkerHost();
    std::string text = c.text;
    bool found = !c.found;
    host.script.Replace(text, found);
    EXPECT_EQ(text, c.result) << c.text;
    EXPECT_EQ(found, c.found) << c.text;
    if (std::string(c.error).empty()) {
        EXPECT_TRUE(host.posted.empty()) << c.text << ": " << host.posted[0];
    } else {
        ASSERT_EQ(host.posted.size(), 1u) << c.text;
        EXPECT_EQ(host.posted[0], c.error) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Script, Marker,
    ::testing::Values(
        MarkerCase{"$1+1$", "2", true, ""}, MarkerCase{"x$1+1$y$2*3$z", "x2y6z", true, ""},
        MarkerCase{"$ 1 + 1 $", "2", true, ""}, MarkerCase{"$2:10:20$", "20", true, ""},
        MarkerCase{"$1:10:20$", "10", true, ""}, MarkerCase{"$3:10:20$", "", true, ""},
        MarkerCase{"$0:10:20$", "", true, ""},
        // A chosen alternative is substituted again: a word is a variable.
        MarkerCase{"$2:x:a$", "4", true, ""}, MarkerCase{"$1:s$", "abcdef", true, ""},
        MarkerCase{"$s$", "abcdef", true, ""}, MarkerCase{"$S$", "abcdef", true, ""},
        MarkerCase{"$s,2,3$", "bcd", true, ""}, MarkerCase{"$s,3$", "cdef", true, ""},
        MarkerCase{"$s,0,2$", "ab", true, ""}, MarkerCase{"$s,2,0$", "", true, ""},
        MarkerCase{"$s,5,10$", "ef", true, ""}, MarkerCase{"$s,1+1,1*2$", "bc", true, ""},
        MarkerCase{"$s+1$", "1", true, ""}, MarkerCase{"$say$", "word", true, ""},
        MarkerCase{"$a$", "4", true, ""}, MarkerCase{"$a[1]$", "7", true, ""},
        MarkerCase{"$a*a[1]$", "28", true, ""}, MarkerCase{"$a,2$", "4", true, ""},
        MarkerCase{"$＄$", "$", true, ""}, MarkerCase{"$；$", ";", true, ""},
        MarkerCase{"$＃x$", "#x", true, ""}, MarkerCase{"$＾$", "^", true, ""},
        MarkerCase{"$あ$", "あ", true, ""}, MarkerCase{"$ あ / あ $", "あ", true, ""},
        MarkerCase{"$", "$", false, ""}, MarkerCase{"a$b", "a$b", false, ""},
        MarkerCase{"no marker", "no marker", false, ""}, MarkerCase{"$$", "", true, ""},
        MarkerCase{"$1$$2$$", "12$", true, ""},
        // An inserted text is not searched again.
        MarkerCase{"$＄$1+1$", "$1+1$", true, ""},
        MarkerCase{"$zz$", "", true, "変数 zz は宣言されていません"},
        MarkerCase{"[$zz[1]$]", "[]", true, "変数 zz[1] は宣言されていません"},
        MarkerCase{"$if$", "", true, "識別子 if は変換に使用できません"},
        MarkerCase{"$s[1$", "", true, "配列の参照方法が不正です"},
        MarkerCase{"$:1$", "", true, "計算できません"}));

TEST(ScriptMarker, SlashChoiceDrawsFromTheInjectedGenerator) {
    const std::string parts[] = {"あ", "い", "う"};
    std::set<std::string> seen;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        Host host = MarkerHost(seed);
        core::MathRandom expected(seed);
        std::string text = "$あ/い/う$";
        bool found = false;
        host.script.Replace(text, found);
        EXPECT_EQ(text, parts[expected.Range(0, 2)]) << seed;
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST(ScriptMarker, SubstitutedTextKeepsJapaneseWhole) {
    Host host = MarkerHost();
    host.script.LetVariable("s", 0, "日本語のテキスト");
    struct Case {
        const char* text;
        const char* result;
    };
    const Case cases[] = {
        {"$s,1,3$", "日本語"},
        {"$s,4,1$", "の"},
        {"[$s,5$]", "[テキスト]"},
        {"$s,9$", ""},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        bool found = false;
        host.script.Replace(text, found);
        EXPECT_EQ(text, c.result) << c.text;
    }
}

}  // namespace
}  // namespace brumil::script::test
