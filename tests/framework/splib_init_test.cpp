#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "core/api.h"
#include "framework/splib.h"
#include "temp_root.h"

namespace brumil::framework {
namespace {

// The root is shared by the whole test program, so this one test owns its
// start-up record: checks and failures only accumulate.
TEST(SpLibInit, CollectsEveryFailureIntoOneText) {
    ::setenv("BRUMIL_HEADLESS", "1", 1);
    testing::TempDataRoot root;
    spLib& lib = gSpLib();
    EXPECT_TRUE(lib.Init(false));
    EXPECT_TRUE(lib.StartupFailures().empty());

    // The check stays registered for the life of the program: it must not
    // hold a reference to this test's stack.
    static int runs = 0;
    lib.AddStartupCheck([]() -> std::optional<StartupFailure> {
        ++runs;
        return StartupFailure{"入れ直してください。", "ライブラリが見つかりません", "ライブラリ"};
    });
    lib.AddStartupCheck([]() -> std::optional<StartupFailure> { return std::nullopt; });
    lib.AddStartupFailure({"", "タイマーを設定できません", "タイマー"});
    EXPECT_FALSE(lib.Init(false));
    EXPECT_EQ(runs, 1);
    ASSERT_EQ(lib.StartupFailures().size(), 2u);
    EXPECT_EQ(lib.StartupFailureText(),
              "[タイマー]\nタイマーを設定できません\n\n"
              "[ライブラリ]\nライブラリが見つかりません\n入れ直してください。");
    // With the box asked for, the headless box goes to stderr and Init still fails.
    EXPECT_FALSE(lib.Init(true));
}

std::vector<Long> Draws(core::CApi& api) {
    std::vector<Long> out;
    for (int i = 0; i < 16; ++i) {
        out.push_back(api.Rnd(0, 1'000'000));
        out.push_back(api.Math_Rnd(0, 1'000'000));
    }
    return out;
}

// Start-up seeds both generators of the shared helper afresh, so two runs of
// the program do not replay the same random picks.
TEST(SpLibInit, SeedsTheRandomGeneratorsAfresh) {
    ::setenv("BRUMIL_HEADLESS", "1", 1);
    testing::TempDataRoot root;
    core::CApi& api = core::gApi();
    api.Randomize(1);
    const std::vector<Long> fixed = Draws(api);
    api.Randomize(1);
    spLib lib;  // a root of its own: the shared one carries the other test's checks
    EXPECT_TRUE(lib.Init(false));
    const std::vector<Long> first = Draws(api);
    EXPECT_TRUE(lib.Init(false));
    const std::vector<Long> second = Draws(api);
    EXPECT_NE(first, fixed);
    EXPECT_NE(second, first);
}

}  // namespace
}  // namespace brumil::framework
