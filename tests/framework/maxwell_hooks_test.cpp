// The frame host's two hooks for the main window: the close query and the
// step after each Poll.
#include <gtest/gtest.h>

#include <vector>

#include "framework/maxwell.h"
#include "platform/base/headless_window.h"

namespace brumil::framework {
namespace {

class MaxwellHooksTest : public ::testing::Test {
protected:
    MaxwellHooksTest() {
        host.Config().ddInit = false;
        host.Config().dsInit = false;
        auto w = std::make_unique<platform::HeadlessWindow>();
        window = w.get();
        host.Connect(std::move(w), nullptr);
    }
    platform::ManualClock clock{1'000'000};
    CMaxwell host{clock};
    platform::HeadlessWindow* window = nullptr;
};

TEST_F(MaxwellHooksTest, ACloseTheQueryRefusesIsCancelled) {
    std::vector<bool> answers = {false, true};
    int asked = 0;
    host.SetCloseQuery([&] { return answers[std::size_t(asked++)]; });
    EXPECT_EQ(host.Poll(), 0);  // no request: not asked
    EXPECT_EQ(asked, 0);
    window->InjectClose();
    EXPECT_EQ(host.Poll(), 0);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(host.Poll(), 0);  // a cancelled close stays cancelled
    window->InjectClose();
    EXPECT_NE(host.Poll(), 0);
    EXPECT_EQ(asked, 2);
}

TEST_F(MaxwellHooksTest, WithoutAQueryEveryCloseGoesAhead) {
    window->InjectClose();
    EXPECT_NE(host.Poll(), 0);
}

TEST_F(MaxwellHooksTest, TheAfterPollStepRunsOncePerPollWhileSet) {
    std::vector<int> seen;
    host.SetAfterPoll([&] { seen.push_back(int(seen.size())); });
    host.Poll();
    host.Poll();
    ASSERT_EQ(seen.size(), 2u);
    host.SetAfterPoll({});
    host.Poll();
    EXPECT_EQ(seen.size(), 2u);
}

}  // namespace
}  // namespace brumil::framework
