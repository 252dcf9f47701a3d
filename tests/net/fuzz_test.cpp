#include <gtest/gtest.h>

#include "net/net_fuzz.h"

namespace brumil::net {
namespace {

// Seeded random and mutated messages, a bounded number per run, under the
// sanitizers: nothing a peer sends breaks a rule of the records or the log.
TEST(NetFuzz, SeededInputsKeepTheRules) {
    constexpr Long kCases = 20000;
    for (const std::uint64_t seed : {1u, 28u, 2026u}) {
        const NetFuzzSummary s = NetFuzzRun(seed, kCases);
        EXPECT_EQ(s.failures, 0) << "seed " << seed << " case " << s.firstFailure << ": "
                                 << s.fault;
        EXPECT_EQ(s.cases, kCases);
        // The cases reach every path: messages that decode, ones that do not,
        // and search answers.
        EXPECT_GT(s.decoded, kCases / 10) << seed;
        EXPECT_LT(s.decoded, kCases - kCases / 10) << seed;
        EXPECT_GT(s.answers, 0) << seed;
    }
}

TEST(NetFuzz, CasesAreReproducible) {
    for (Long i = 0; i < 20; ++i) EXPECT_EQ(NetFuzzCase(5, i), NetFuzzCase(5, i)) << i;
    EXPECT_NE(NetFuzzCase(5, 0), NetFuzzCase(6, 0));
}

// Well-formed input passes the checker untouched.
TEST(NetFuzz, TheCheckerSeesNothingWrongInCleanMessages) {
    bool decoded = false;
    bool answer = false;
    const struct {
        std::string bytes;
        bool decodes;
    } cases[] = {
        {std::string("\x00\x00\x00\x00\x02\x00\x00\x00hi", 10), true},
        {std::string("\x04\x00\x00\x00", 4), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NetFuzzOne(c.bytes, decoded, answer), "");
        EXPECT_EQ(decoded, c.decodes);
        EXPECT_FALSE(answer);
    }
}

}  // namespace
}  // namespace brumil::net
