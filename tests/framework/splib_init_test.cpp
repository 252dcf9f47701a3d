#include <gtest/gtest.h>

#include <cstdlib>

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

    int runs = 0;
    lib.AddStartupCheck([&runs]() -> std::optional<StartupFailure> {
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

}  // namespace
}  // namespace brumil::framework
