#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace brumil::script
