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

TEST(ApplicationConfig, JobsWithoutProcedureStayOnTheListSilently) {
    ApplicationConfig app;
    app.SetJobProcedure(7, nullptr);  // even the empty job, to be sure nothing runs
    for (Long job : {0, 1, 2, 7, 23}) app.Job().Add(ApplicationConfig::Key(job), 0);
    EXPECT_EQ(app.Job().Poll(), 5);
    EXPECT_EQ(app.Job().Poll(), 5);
    EXPECT_TRUE(app.Job().Test(ApplicationConfig::Key(1)));
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
