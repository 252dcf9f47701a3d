// The pool's hand-over between jobs that follow
// closely or after a pause, and the runner that draws one part of a scene
// while the device records the next.
#include "band_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "band_pool.h"
#include "band_queue.h"

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

TEST_P(PoolHandOverTest, EveryTaskRunsOnceInEachOfManyJobs) {
    const PoolCase& c = GetParam();
    BandPool pool(c.threads);
    for (int job = 0; job < 40; ++job) {
        std::vector<std::atomic<int>> ran(static_cast<std::size_t>(c.tasks));
        pool.Run(c.tasks, [&](int i) { ran[static_cast<std::size_t>(i)].fetch_add(job + 1); });
        for (int i = 0; i < c.tasks; ++i) {
            ASSERT_EQ(ran[static_cast<std::size_t>(i)].load(), job + 1)
                << "job " << job << " task " << i;
        }
        if (c.pauseMicros > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(c.pauseMicros));
    }
}

// A queue's per-band step (the device's recorded clears) runs once for each
// band, on the thread that draws the band and before its primitives, also
// when nothing is recorded.
TEST_P(PoolHandOverTest, BandStepRunsOnceBeforeEachBandsPrimitives) {
    const PoolCase& c = GetParam();
    constexpr int kWidth = 16;
    const int height = c.tasks * 3;
    BandPool pool(c.threads);
    BandQueue queue(height, 3);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth * height), 0u);
    PixelState ps;
    ps.target = pixels.data();
    ps.width = kWidth;
    ps.height = height;
    ps.clipX2 = kWidth;
    ps.clipY2 = height;
    Classify(ps);
    for (int job = 0; job < 6; ++job) {
        const bool draw = job % 2 == 0;
        std::fill(pixels.begin(), pixels.end(), 0u);
        std::vector<std::atomic<int>> steps(static_cast<std::size_t>(queue.Bands()));
        std::atomic<int> drawnFirst{0};
        const std::function<void(int)> step = [&](int band) {
            steps[static_cast<std::size_t>(band)].fetch_add(1);
            // Rows of the band as the step leaves them: any pixel already
            // drawn means the primitives came first.
            for (int y = band * 3; y < band * 3 + 3; ++y) {
                for (int x = 0; x < kWidth; ++x) {
                    auto& p = pixels[static_cast<std::size_t>(y * kWidth + x)];
                    if (p != 0u) drawnFirst.fetch_add(1);
                    p = 0u;
                }
            }
        };
        if (draw) {
            queue.BeginDraw(ps);
            Vertex a, b, d;
            a.x = -1;
            a.y = -1;
            b.x = 3.0f * kWidth;
            b.y = -1;
            d.x = -1;
            d.y = 3.0f * float(height);
            for (Vertex* v : {&a, &b, &d}) v->c[2] = v->c[3] = 255.0f;
            queue.AddTriangle(a, b, d, a);
        }
        queue.Run(pool, &step);
        for (int b = 0; b < queue.Bands(); ++b) {
            ASSERT_EQ(steps[static_cast<std::size_t>(b)].load(), 1)
                << "job " << job << " band " << b;
        }
        EXPECT_EQ(drawnFirst.load(), 0) << "job " << job;
        for (std::uint32_t p : pixels) ASSERT_EQ(p, draw ? 0xFFFF0000u : 0u) << "job " << job;
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
