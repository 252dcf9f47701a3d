// The pool's per-task prologue and its hand-over between jobs that follow
// closely or after a pause, and the runner that draws one part of a scene
// while the device records the next.
#include "band_runner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "band_pool.h"

namespace brumil::platform::raster {
namespace {

struct PoolCase {
    int threads, tasks;
    int pauseMicros;  // between jobs: below and above the workers' spin
};

void PrintTo(const PoolCase& c, std::ostream* os) {
    *os << c.threads << " threads " << c.tasks << " tasks pause " << c.pauseMicros << "us";
}

class PoolHandOverTest : public ::testing::TestWithParam<PoolCase> {};

TEST_P(PoolHandOverTest, PrologueRunsJustBeforeEachTaskAndOnlyForItsJob) {
    const PoolCase& c = GetParam();
    BandPool pool(c.threads);
    for (int job = 0; job < 40; ++job) {
        const bool withPrologue = job % 3 != 2;
        std::vector<std::atomic<int>> before(static_cast<std::size_t>(c.tasks));
        std::vector<std::atomic<int>> ran(static_cast<std::size_t>(c.tasks));
        std::vector<std::thread::id> prologueThread(static_cast<std::size_t>(c.tasks));
        std::atomic<int> misordered{0}, wrongThread{0};
        const std::function<void(int)> prologue = [&](int i) {
            prologueThread[static_cast<std::size_t>(i)] = std::this_thread::get_id();
            before[static_cast<std::size_t>(i)].fetch_add(1);
        };
        if (withPrologue) pool.SetPrologue(&prologue);
        pool.Run(c.tasks, [&](int i) {
            const auto k = static_cast<std::size_t>(i);
            if (withPrologue && before[k].load() != 1) misordered.fetch_add(1);
            if (withPrologue && prologueThread[k] != std::this_thread::get_id()) {
                wrongThread.fetch_add(1);
            }
            ran[k].fetch_add(1);
        });
        for (int i = 0; i < c.tasks; ++i) {
            ASSERT_EQ(ran[static_cast<std::size_t>(i)].load(), 1) << "job " << job << " task " << i;
            ASSERT_EQ(before[static_cast<std::size_t>(i)].load(), withPrologue ? 1 : 0)
                << "job " << job << " task " << i;
        }
        EXPECT_EQ(misordered.load(), 0) << "job " << job;
        EXPECT_EQ(wrongThread.load(), 0) << "job " << job;
        if (c.pauseMicros > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(c.pauseMicros));
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, PoolHandOverTest,
                         ::testing::Values(PoolCase{1, 5, 0}, PoolCase{2, 1, 0}, PoolCase{3, 7, 0},
                                           PoolCase{8, 32, 0}, PoolCase{8, 3, 0},
                                           PoolCase{4, 16, 1500}, PoolCase{8, 40, 800}));

TEST(BandRunner, JobsRunInOrderAndWaitSeesTheirWork) {
    BandRunner runner;
    BandPool pool(3);
    std::vector<int> order;
    int total = 0;
    for (int job = 0; job < 50; ++job) {
        // The runner is the pool's caller while this thread goes on.
        runner.Start([&, job] {
            std::atomic<int> sum{0};
            pool.Run(9, [&](int i) { sum.fetch_add(i + job); });
            order.push_back(job);
            total += sum.load();
        });
        if (job % 2 == 0) std::this_thread::sleep_for(std::chrono::microseconds(job * 20));
        runner.Wait();
        EXPECT_TRUE(runner.Idle());
        ASSERT_EQ(static_cast<int>(order.size()), job + 1);
        EXPECT_EQ(order.back(), job);
    }
    int want = 0;
    for (int job = 0; job < 50; ++job) want += 36 + 9 * job;
    EXPECT_EQ(total, want);
}

struct HelpCase {
    int poolThreads, tasks;
};

void PrintTo(const HelpCase& c, std::ostream* os) {
    *os << c.poolThreads << " pool threads " << c.tasks << " tasks";
}

class PoolHelpTest : public ::testing::TestWithParam<HelpCase> {};

// The runner is the pool's caller; this thread helps until the job is over.
// The pool's own threads hold their tasks until the helper has taken one, so
// a helper that takes nothing shows.
TEST_P(PoolHelpTest, AHelperTakesTasksOfTheRunnersJob) {
    const HelpCase& c = GetParam();
    BandPool pool(c.poolThreads);
    BandRunner runner;
    const std::thread::id helper = std::this_thread::get_id();
    for (int job = 0; job < 3; ++job) {
        std::vector<std::atomic<int>> ran(static_cast<std::size_t>(c.tasks));
        std::atomic<int> byHelper{0};
        runner.Start([&] {
            pool.Run(c.tasks, [&](int i) {
                ran[static_cast<std::size_t>(i)].fetch_add(1);
                if (std::this_thread::get_id() == helper) {
                    byHelper.fetch_add(1);
                    return;
                }
                const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
                while (byHelper.load() == 0 && std::chrono::steady_clock::now() < until) {
                    std::this_thread::yield();
                }
            });
        });
        while (!pool.HelpUntil([&] { return runner.Idle(); })) {
        }
        EXPECT_TRUE(runner.Idle());
        for (int i = 0; i < c.tasks; ++i) {
            ASSERT_EQ(ran[static_cast<std::size_t>(i)].load(), 1) << "job " << job << " task " << i;
        }
        EXPECT_GT(byHelper.load(), 0) << "job " << job;
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, PoolHelpTest,
                         ::testing::Values(HelpCase{1, 40}, HelpCase{2, 60}, HelpCase{4, 90}));

TEST(BandRunner, StartWaitsForTheJobBefore) {
    BandRunner runner;
    std::atomic<int> running{0}, overlapped{0}, done{0};
    for (int job = 0; job < 20; ++job) {
        runner.Start([&] {
            if (running.fetch_add(1) != 0) overlapped.fetch_add(1);
            std::this_thread::sleep_for(std::chrono::microseconds(300));
            running.fetch_sub(1);
            done.fetch_add(1);
        });
    }
    runner.Wait();
    EXPECT_EQ(done.load(), 20);
    EXPECT_EQ(overlapped.load(), 0);
}

}  // namespace
}  // namespace brumil::platform::raster
