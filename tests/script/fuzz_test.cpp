#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "script/brisa_script.h"
#include "script/script_fuzz.h"

namespace brumil::script {
namespace {

// Seeded random and mutated scripts, a bounded number of each run, under the
// sanitizers: no crash, no hang, no broken promise to the host.
TEST(ScriptFuzz, SeededScriptsKeepTheHostSafe) {
    constexpr Long kCases = 800;
    for (const std::uint64_t seed : {1u, 29u, 2026u}) {
        const FuzzSummary s = FuzzRun(seed, kCases);
        EXPECT_EQ(s.failures, 0) << "seed " << seed << " script " << s.firstFailure << ": "
                                 << s.fault << "\n"
                                 << FuzzCase(seed, s.firstFailure);
        EXPECT_EQ(s.cases, kCases);
        // The scripts are varied enough to end, to loop and to go wrong.
        EXPECT_GT(s.ended, 0) << seed;
        EXPECT_LT(s.ended, s.cases) << seed;
        EXPECT_GT(s.errors, s.cases) << seed;
    }
}

TEST(ScriptFuzz, CasesAreReproducible) {
    for (Long i = 0; i < 20; ++i) EXPECT_EQ(FuzzCase(5, i), FuzzCase(5, i)) << i;
    EXPECT_NE(FuzzCase(5, 0), FuzzCase(6, 0));
    const FuzzOutcome a = FuzzScript(FuzzCase(5, 3), 11);
    const FuzzOutcome b = FuzzScript(FuzzCase(5, 3), 11);
    EXPECT_EQ(a.steps, b.steps);
    EXPECT_EQ(a.errors, b.errors);
}

TEST(ScriptFuzz, HostileShapes) {
    struct Case {
        std::string source;
        bool ends;  // within the step bound
        Long steps = kFuzzStepLimit;
    };
    const Case cases[] = {
        {std::string(5000, '$'), true},
        {std::string(3000, '[') + "n" + std::string(3000, ']'), true},
        {"n = " + std::string(2000, '(') + "1", true},
        // A text that doubles every pass: held to its limit (slow, so fewer steps).
        {"s = #x ^ \"l\" ^ s += #$s$$s$ ^ continue", false, 400},
        {"if 1 ^ loop ^ end", false},
        {std::string("\xff\xfe\x00\x01\r\r\n\n", 8) + "あ$n$\"", true},
        {"say $1:$n$:2$ ^ m[99999] = 1 ^ m[-5]++ ^ s @= 1,2,3,4,5,6,7", true},
        {"for n < 1 ^ goto \"$s$\" ^ next", true},
    };
    for (const auto& c : cases) {
        const FuzzOutcome o = FuzzScript(c.source, 3, c.steps);
        EXPECT_EQ(o.fault, "") << c.source.substr(0, 60);
        EXPECT_EQ(o.ended, c.ends) << c.source.substr(0, 60);
        EXPECT_LE(o.steps, c.steps);
    }
}

std::string Repeat(std::string_view part, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += part;
    return s;
}

// Loops over one long line of markers (a few hundred steps: each pass
// substitutes thousands of markers): every pass hands back the whole replaced
// line, and errors posted in the hundred thousands leave the error text at
// its first lines while the count and the host's handler see every one.
TEST(ScriptFuzz, HostileLoopsStayWithinTheirLimits) {
    constexpr Long kSteps = 200;
    struct Case {
        const char* name;
        std::string line;      // the looped text line
        std::string expected;  // what each pass hands back
        Long errorsPerPass;
        std::string undeclared;  // the name each error is about
    };
    const std::string longName = "q" + std::string(300, 'x');
    const Case cases[] = {
        {"many markers", "#" + Repeat("$s$", 7000) + "<", Repeat("ab", 7000) + "<", 0, ""},
        {"markers that post errors", "#" + Repeat("$q$", 1300), "", 1300, "q"},
        {"long error lines", "#" + Repeat("$" + longName + "$", 20), "", 20, longName},
    };
    for (const Case& c : cases) {
        CBrisaScriptBRS8 script;
        Long posted = 0;
        script.SetAddErrorHandler([&posted](const std::string&) { ++posted; });
        script.PreProcessBegin("str s = #ab ^ \"l\"\r\n" + c.line + "\r\ncontinue", "t");
        script.PreProcessEnd();
        ASSERT_EQ(script.GetErrorCount(), -1) << c.name;
        Long passes = 0;
        for (Long step = 0; step < kSteps; ++step) {
            Long k = 0;
            std::string text;
            script.Coming(k, text);
            if (k != kind::kText) continue;
            ++passes;
            ASSERT_EQ(text, c.expected) << c.name;
        }
        EXPECT_GT(passes, kSteps / 3) << c.name;
        const Long errors = passes * c.errorsPerPass;
        EXPECT_EQ(posted, errors) << c.name;
        EXPECT_EQ(script.GetErrorCount(), errors == 0 ? -1 : errors) << c.name;
        const std::string kept = script.GetErrorMessage();
        EXPECT_LE(kept.size(), static_cast<std::size_t>(CBrisaScriptBRS8::kErrorTextLimit));
        const std::string error =
            "Error://t:Line 2:変数 " + c.undeclared + " は宣言されていません\r\n";
        const Long fit = CBrisaScriptBRS8::kErrorTextLimit / static_cast<Long>(error.size());
        const Long lines = std::min({errors, CBrisaScriptBRS8::kErrorLineLimit, fit});
        EXPECT_EQ(kept, Repeat(error, static_cast<int>(lines))) << c.name;
    }
}

}  // namespace
}  // namespace brumil::script
