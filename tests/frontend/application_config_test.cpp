#include "frontend/application_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/front_end_jobs.h"

namespace brumil::frontend {
namespace {

// Every job 1..22 records "job:message" into one log.
class RecordingFrontEnd {
public:
    RecordingFrontEnd() {
        for (Long job = ApplicationConfig::kFirstJob; job <= ApplicationConfig::kLastJob; ++job) {
            app.SetJobProcedure(job, [this](ApplicationConfig& a, Long j, Long m, Long p) {
                log.push_back(std::to_string(j) + ":" + std::to_string(m));
                if (onMessage) onMessage(a, j, m, p);
            });
        }
    }
    std::vector<std::string> Step() {
        log.clear();
        app.Job().Poll();
        return log;
    }

    ApplicationConfig app;
    std::vector<std::string> log;
    JobProcedure onMessage;
};

using Log = std::vector<std::string>;

TEST(ApplicationConfig, KeyIsTheJobNumber) {
    for (Long n : {-1, 0, 1, 7, 22, 23, 1000}) EXPECT_EQ(ApplicationConfig::Key(n), n);
}

TEST(ApplicationConfig, DispatcherIgnoresJobsOutsideTheTable) {
    RecordingFrontEnd fe;
    for (Long job : {-5, 0, 23, 99}) {
        fe.app.Coming(job, 0, 0);
        fe.app.IJobResis_Coming(job, 1, 0);
        EXPECT_FALSE(fe.app.SetJobProcedure(job, [](ApplicationConfig&, Long, Long, Long) {}));
        EXPECT_FALSE(fe.app.HasJobProcedure(job));
    }
    EXPECT_TRUE(fe.log.empty());
    fe.app.Coming(22, 5, 9);
    EXPECT_EQ(fe.log, Log{"22:5"});
}

// A job number without a procedure is refused by the list, whatever its
// kind: a modal one would otherwise suspend the screen below it for good.
TEST(ApplicationConfig, JobsWithoutProcedureAreNeverAdded) {
    struct Case {
        Long job;
        Long kind;
    };
    const Case cases[] = {{3, 1},  {3, 0},  {3, 2}, {4, 2}, {11, 0},
                          {12, 1}, {20, 1}, {0, 0}, {23, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE("job " + std::to_string(c.job) + " kind " + std::to_string(c.kind));
        RecordingFrontEnd fe;
        for (Long job : {3L, 4L, 11L, 12L, 20L}) fe.app.SetJobProcedure(job, nullptr);
        fe.app.Job().Add(ApplicationConfig::Key(1), 0);  // the screen on show
        fe.Step();
        EXPECT_FALSE(fe.app.Job().Add(ApplicationConfig::Key(c.job), c.kind));
        // The screen keeps running and hears no suspension.
        EXPECT_EQ(fe.Step(), (Log{"1:0"}));
        EXPECT_FALSE(fe.app.Job().Test(ApplicationConfig::Key(c.job)));
        EXPECT_TRUE(fe.app.Job().IsActive(ApplicationConfig::Key(1)));
        EXPECT_EQ(fe.app.Job().Poll(), 1);
    }
}

// Once its procedure is registered the same number is added as usual.
TEST(ApplicationConfig, JobWithProcedureIsAddedAndSuspendsTheScreen) {
    RecordingFrontEnd fe;
    fe.app.Job().Add(ApplicationConfig::Key(1), 0);
    fe.Step();
    EXPECT_TRUE(fe.app.Job().Add(ApplicationConfig::Key(3), 1));
    EXPECT_EQ(fe.Step(), (Log{"3:1", "1:4", "3:0"}));
}

TEST(ApplicationConfig, CreationMakesWorkPictureAndEmptyJobSeven) {
    ApplicationConfig app;
    EXPECT_EQ(app.WorkPicture.GetWidth(), 640);
    EXPECT_EQ(app.WorkPicture.GetHeight(), 480);
    EXPECT_EQ(app.Job().Callback, &app);
    EXPECT_TRUE(app.HasJobProcedure(7));
    // Job 7 takes every message and does nothing.
    app.Job().Add(ApplicationConfig::Key(7), 2);
    app.Job().SendMessage(ApplicationConfig::Key(7), 42);
    EXPECT_EQ(app.Job().Poll(), 1);
    app.Job().Remove(ApplicationConfig::Key(7));
    EXPECT_EQ(app.Job().Poll(), 0);
}

TEST(ApplicationConfig, HandOverInOneStepEndsOldBeforeNewBegins) {
    RecordingFrontEnd fe;
    fe.onMessage = [](ApplicationConfig& a, Long job, Long message, Long) {
        if (job == 10 && message == 0) {
            a.Job().Remove(ApplicationConfig::Key(10));
            a.Job().Add(ApplicationConfig::Key(11), 0);
        }
    };
    fe.app.Job().Add(ApplicationConfig::Key(10), 0);
    EXPECT_EQ(fe.Step(), (Log{"10:1", "10:0"}));
    EXPECT_EQ(fe.Step(), (Log{"10:2", "11:1", "11:0"}));
    EXPECT_EQ(fe.Step(), (Log{"11:0"}));
}

TEST(ApplicationConfig, RemovingModalScreensReactivatesOnlyTheOneBelow) {
    RecordingFrontEnd fe;
    fe.app.Job().Add(ApplicationConfig::Key(2), 2);  // the menu ticker runs throughout
    fe.app.Job().Add(ApplicationConfig::Key(11), 0);
    fe.Step();
    for (Long job : {12, 13, 21}) {
        fe.app.Job().Add(ApplicationConfig::Key(job), 1);
        fe.Step();
    }
    fe.app.Job().Add(ApplicationConfig::Key(20), 1);
    EXPECT_EQ(fe.Step(), (Log{"20:1", "21:4", "2:0", "20:0"}));

    fe.app.Job().Remove(ApplicationConfig::Key(20));
    EXPECT_EQ(fe.Step(), (Log{"20:2", "21:3", "2:0", "21:0"}));

    for (Long job : {21, 13, 12}) fe.app.Job().Remove(ApplicationConfig::Key(job));
    EXPECT_EQ(fe.Step(), (Log{"21:2", "13:2", "12:2", "11:3", "2:0", "11:0"}));
    EXPECT_EQ(fe.app.Job().Poll(), 2);
}

}  // namespace
}  // namespace brumil::frontend
